// Window captions. These are the ANSI calls: they travel as WM_GETTEXT and
// WM_SETTEXT, so a subclass of the window sees (and may answer) them.
#include "host/host.h"

namespace host {

int GetWindowTextA(HWND hwnd, char* buffer, int maxCount) {
    return ::GetWindowTextA(hwnd, buffer, maxCount);
}

BOOL SetWindowTextA(HWND hwnd, const char* text) { return ::SetWindowTextA(hwnd, text); }

}  // namespace host
