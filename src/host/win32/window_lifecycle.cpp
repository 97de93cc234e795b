// Window classes, and creating and destroying windows.
#include "host/host.h"

namespace host {

ATOM RegisterClassA(const WNDCLASSA* wc) { return ::RegisterClassA(wc); }

HWND CreateWindowExA(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                     int x, int y, int width, int height, HWND parent, HMENU menu,
                     HINSTANCE instance, void* param) {
    return ::CreateWindowExA(exStyle, className, windowName, style, x, y, width, height, parent,
                             menu, instance, param);
}

BOOL DestroyWindow(HWND hwnd) { return ::DestroyWindow(hwnd); }

}  // namespace host
