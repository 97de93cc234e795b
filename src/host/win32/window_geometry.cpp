// Window rectangles, positions and placement, and the coordinate mapping
// between screen and client space.
#include "host/host.h"

namespace host {

BOOL GetClientRect(HWND hwnd, RECT* rect) { return ::GetClientRect(hwnd, rect); }

BOOL GetWindowRect(HWND hwnd, RECT* rect) { return ::GetWindowRect(hwnd, rect); }

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return ::SetWindowPos(hwnd, insertAfter, x, y, cx, cy, flags);
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return ::MoveWindow(hwnd, x, y, width, height, repaint);
}

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement) {
    return ::GetWindowPlacement(hwnd, placement);
}

BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement) {
    return ::SetWindowPlacement(hwnd, placement);
}

BOOL ScreenToClient(HWND hwnd, POINT* point) { return ::ScreenToClient(hwnd, point); }

BOOL ClientToScreen(HWND hwnd, POINT* point) { return ::ClientToScreen(hwnd, point); }

}  // namespace host
