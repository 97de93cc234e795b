#include "refhost/win32/page_paint.h"

#include "refhost/win32/com_objects.h"

#include <set>
#include <string>

#include "host/win32/com.h"

#include <commctrl.h>

namespace refhost::win32 {
namespace {

constexpr UINT_PTR kPaintSubclassId = 0x7A11;
// Page windows that carry the subclass; each leaves when its window goes.
std::set<HWND> g_painted;

std::string TextProperty(const host::Object& object, std::string_view name) {
    if (!object) return {};
    auto value = object.Get(name);
    if (!value) return {};
    if (const auto* text = std::get_if<std::string>(&*value)) return *text;
    return {};
}

void Paint(HWND hwnd, Host& host) {
    int index = -1;
    for (int i = 0; i < host.TabCount(); ++i)
        if (host.PageWindow(i) == hwnd) index = i;
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd, &ps);
    if (dc == nullptr) return;
    RECT client;
    ::GetClientRect(hwnd, &client);
    ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    RECT band = client;
    band.bottom = band.top + 64;
    HBRUSH bandBrush = ::CreateSolidBrush(RGB(0x2F, 0x5F, 0x9F));
    ::FillRect(dc, &band, bandBrush);
    ::DeleteObject(bandBrush);

    const host::Object document = index >= 0 ? host.Document(index) : host::Object();
    const std::string title = TextProperty(document, "title");
    const std::string url = TextProperty(document, "URL");
    const TabPlugin* plugin = index >= 0 ? host.Plugin(index) : nullptr;
    const bool sited = plugin != nullptr && plugin->AttachedBrowser() == host.Browser(index);
    const bool connected = sited && AdvisedSinks(host.Browser(index)) > 0;
    const bool loading = index >= 0 && host.Loading(index);

    HFONT big = ::CreateFontA(28, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    HFONT small = ::CreateFontA(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ old = ::SelectObject(dc, big);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
    RECT line{client.left + 16, client.top + 16, client.right - 16, client.top + 56};
    ::DrawTextA(dc, title.c_str(), -1, &line, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    ::SelectObject(dc, small);
    ::SetTextColor(dc, RGB(0x20, 0x20, 0x20));
    const std::string lines[] = {
        "Address: " + url,
        "Tab " + std::to_string(index + 1) + " of " + std::to_string(host.TabCount()) +
            (loading ? "  (loading...)" : "  (done)"),
        plugin == nullptr ? "Tillwick.dll: no plugin object for this tab"
        : connected       ? "Tillwick.dll: plugin object sited with this tab's browser, its event sink connected"
        : sited           ? "Tillwick.dll: plugin object sited with this tab's browser, no event sink"
                          : "Tillwick.dll: plugin object made, but not sited with this tab's browser",
    };
    int y = client.top + 84;
    for (const auto& text : lines) {
        RECT r{client.left + 16, y, client.right - 16, y + 22};
        ::DrawTextA(dc, text.c_str(), -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        y += 26;
    }
    ::SelectObject(dc, old);
    ::DeleteObject(big);
    ::DeleteObject(small);
    ::EndPaint(hwnd, &ps);
}

LRESULT CALLBACK PaintProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) noexcept {
    try {
        if (msg == WM_PAINT) {
            Paint(hwnd, *reinterpret_cast<Host*>(data));
            return 0;
        }
        if (msg == WM_ERASEBKGND) return 1;  // the paint fills everything
        if (msg == WM_NCDESTROY) {
            ::RemoveWindowSubclass(hwnd, PaintProc, kPaintSubclassId);
            g_painted.erase(hwnd);
        }
    } catch (...) {
        // A failed paint leaves the area as it was; the window goes on.
    }
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace

void PaintPages(Host& host) {
    for (int i = 0; i < host.TabCount(); ++i) {
        HWND page = host.PageWindow(i);
        if (page == nullptr) continue;
        if (g_painted.count(page) == 0 &&
            ::SetWindowSubclass(page, PaintProc, kPaintSubclassId, reinterpret_cast<DWORD_PTR>(&host)))
            g_painted.insert(page);
        ::InvalidateRect(page, nullptr, TRUE);
    }
}

}  // namespace refhost::win32
