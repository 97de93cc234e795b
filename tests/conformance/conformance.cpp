#include "conformance/conformance.h"

#include <algorithm>

namespace conformance {

namespace {

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Log().push_back({hwnd, msg, wParam, lParam, 'P'});
    return host::DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

const char* EnsureClass(const char* name, WNDPROC proc) {
    WNDCLASSA wc{.lpfnWndProc = proc, .lpszClassName = name};
    host::RegisterClassA(&wc);  // fails harmlessly when a previous test registered it
    return name;
}

HWND Create(const char* className, DWORD style, HWND parent, int x, int y, int width, int height,
            const char* title, UINT_PTR id, void* param) {
    return host::CreateWindowExA(0, className, title, style, x, y, width, height, parent,
                                 reinterpret_cast<HMENU>(id), nullptr, param);
}

HWND CreatePlain(DWORD style, HWND parent, int x, int y, int width, int height, const char* title,
                 UINT_PTR id) {
    return Create(EnsureClass(kPlainClass, PlainProc), style, parent, x, y, width, height, title, id);
}

HWND CreateFrame(int width, int height) {
    return CreatePlain(WS_POPUP | WS_CLIPCHILDREN, nullptr, 20, 20, width, height, "TwConf frame");
}

RECT WindowRectOf(HWND hwnd) {
    RECT rc{};
    EXPECT_TRUE(host::GetWindowRect(hwnd, &rc));
    return rc;
}

RECT ClientRectOf(HWND hwnd) {
    RECT rc{};
    EXPECT_TRUE(host::GetClientRect(hwnd, &rc));
    return rc;
}

std::vector<Seen>& Log() {
    static std::vector<Seen> log;
    return log;
}

std::string WhoSaw(UINT msg) {
    std::string who;
    for (const auto& s : Log()) {
        if (s.msg == msg) who += s.who;
    }
    return who;
}

Order OrderOf(const std::vector<UINT>& candidates) {
    Order order;
    for (const auto& s : Log()) {
        if (std::find(candidates.begin(), candidates.end(), s.msg) != candidates.end()) {
            order.emplace_back(s.hwnd, s.msg);
        }
    }
    return order;
}

std::vector<UINT> SequenceOf(HWND hwnd, const std::vector<UINT>& candidates) {
    std::vector<UINT> seq;
    for (const auto& [who, msg] : OrderOf(candidates)) {
        if (who == hwnd) seq.push_back(msg);
    }
    return seq;
}

}  // namespace conformance
