// Visibility, painting, activation and keyboard focus.
#include "host/host.h"

namespace host {

BOOL IsWindowVisible(HWND hwnd) { return ::IsWindowVisible(hwnd); }

BOOL ShowWindow(HWND hwnd, int cmdShow) { return ::ShowWindow(hwnd, cmdShow); }

BOOL RedrawWindow(HWND hwnd, const RECT* update, void* region, UINT flags) {
    return ::RedrawWindow(hwnd, update, static_cast<HRGN>(region), flags);
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    return ::InvalidateRect(hwnd, rect, erase);
}

BOOL ValidateWindow(HWND hwnd) {
    // BeginPaint empties the update region and EndPaint pairs it; nothing is drawn.
    PAINTSTRUCT paint{};
    if (!::BeginPaint(hwnd, &paint)) return FALSE;
    ::EndPaint(hwnd, &paint);
    return TRUE;
}

HWND GetForegroundWindow() { return ::GetForegroundWindow(); }

BOOL SetForegroundWindow(HWND hwnd) { return ::SetForegroundWindow(hwnd); }

HWND SetFocus(HWND hwnd) { return ::SetFocus(hwnd); }

HWND GetFocus() { return ::GetFocus(); }

}  // namespace host
