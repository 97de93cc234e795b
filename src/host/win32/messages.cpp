// Sent and posted messages, and registered message numbers.
#include "host/host.h"

namespace host {

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(hwnd, msg, wParam, lParam);
}

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(hwnd, msg, wParam, lParam);
}

LRESULT SendMessageTimeoutA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags,
                            UINT timeoutMs, DWORD_PTR* result) {
    return ::SendMessageTimeoutA(hwnd, msg, wParam, lParam, flags, timeoutMs, result);
}

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageA(hwnd, msg, wParam, lParam);
}

UINT RegisterWindowMessageA(const char* name) { return ::RegisterWindowMessageA(name); }

}  // namespace host
