// Finding windows and walking the window tree.
#include "host/host.h"

namespace host {

HWND FindWindowA(const char* className, const char* windowName) {
    return ::FindWindowA(className, windowName);
}

HWND FindWindowExA(HWND parent, HWND childAfter, const char* className, const char* windowName) {
    return ::FindWindowExA(parent, childAfter, className, windowName);
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
    return ::EnumChildWindows(parent, proc, lParam);
}

int GetClassNameA(HWND hwnd, char* buffer, int maxCount) {
    return ::GetClassNameA(hwnd, buffer, maxCount);
}

BOOL IsWindow(HWND hwnd) { return ::IsWindow(hwnd); }

HWND GetParent(HWND hwnd) { return ::GetParent(hwnd); }

HWND SetParent(HWND child, HWND newParent) { return ::SetParent(child, newParent); }

}  // namespace host
