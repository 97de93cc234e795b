// Helpers shared by the sim's own tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/sim/sim.h"

namespace simtest {

class SimTest : public ::testing::Test {
protected:
    void SetUp() override { host::sim::Reset(); }
    void TearDown() override { EXPECT_EQ(host::sim::SwallowedExceptionCount(), expectedSwallowed); }
    int expectedSwallowed = 0;
};

inline LRESULT CALLBACK PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) { return host::DefWindowProcA(h, m, w, l); }

// Registers `name` with `proc` (each test starts from a fresh sim).
inline void Register(const char* name, WNDPROC proc = PlainProc) {
    WNDCLASSA wc{};
    wc.lpszClassName = name;
    wc.lpfnWndProc = proc;
    ASSERT_NE(host::RegisterClassA(&wc), 0) << name;
}

inline HWND Make(const char* cls, DWORD style, HWND parent = nullptr, RECT r = {0, 0, 100, 100},
                 const char* title = "", UINT_PTR id = 0, void* param = nullptr) {
    return host::CreateWindowExA(0, cls, title, style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                                 reinterpret_cast<HMENU>(id), nullptr, param);
}

// The messages of the log that went to `hwnd`, restricted to `only` when given.
inline std::vector<UINT> Sequence(HWND hwnd, const std::vector<UINT>& only = {}) {
    std::vector<UINT> out;
    for (const auto& m : host::sim::MessageLog()) {
        if (m.hwnd != hwnd) continue;
        if (!only.empty() && std::find(only.begin(), only.end(), m.msg) == only.end()) continue;
        out.push_back(m.msg);
    }
    return out;
}

inline std::string Text(HWND hwnd) {
    char buffer[256] = {};
    return std::string(buffer, static_cast<std::size_t>(host::GetWindowTextA(hwnd, buffer, sizeof(buffer))));
}

template <class T>
LPARAM Ptr(T* p) {
    return reinterpret_cast<LPARAM>(p);
}

}  // namespace simtest
