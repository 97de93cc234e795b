// Window data and procedures. The plugin subclasses host windows as Unicode
// windows, hence the W calls for the window procedure and its forwarding; on
// 32-bit Windows the *LongPtr* names are macros for the *Long* functions.
#include "host/host.h"

namespace host {

LONG GetWindowLongA(HWND hwnd, int index) { return ::GetWindowLongA(hwnd, index); }

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) { return ::GetWindowLongPtrW(hwnd, index); }

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
    return ::SetWindowLongPtrW(hwnd, index, value);
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcW(proc, hwnd, msg, wParam, lParam);
}

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT DefMDIChildProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::DefMDIChildProcA(hwnd, msg, wParam, lParam);
}

}  // namespace host
