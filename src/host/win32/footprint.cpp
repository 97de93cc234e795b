// The module's footprint: the thread timers, hot keys and windows made
// through this layer, so that the DLL can tell whether anything in the
// process may still call into it.
#include <algorithm>
#include <set>
#include <utility>

#include "host/host.h"

namespace host {
namespace {

// The UI thread only, like every caller of this layer.
std::set<UINT_PTR> g_threadTimers;
std::set<std::pair<HWND, int>> g_hotKeys;
std::set<HWND> g_windows;

}  // namespace

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
    UINT_PTR made = ::SetTimer(hwnd, id, elapseMs, proc);
    if (made != 0 && hwnd == nullptr) g_threadTimers.insert(made);
    return made;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    if (hwnd == nullptr) g_threadTimers.erase(id);
    return ::KillTimer(hwnd, id);
}

BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT vk) {
    BOOL ok = ::RegisterHotKey(hwnd, id, modifiers, vk);
    if (ok) g_hotKeys.insert({hwnd, id});
    return ok;
}

BOOL UnregisterHotKey(HWND hwnd, int id) {
    g_hotKeys.erase({hwnd, id});
    return ::UnregisterHotKey(hwnd, id);
}

HWND CreateWindowExA(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                     int x, int y, int width, int height, HWND parent, HMENU menu,
                     HINSTANCE instance, void* param) {
    HWND made = ::CreateWindowExA(exStyle, className, windowName, style, x, y, width, height, parent,
                                  menu, instance, param);
    if (made != nullptr) g_windows.insert(made);
    return made;
}

BOOL DestroyWindow(HWND hwnd) {
    g_windows.erase(hwnd);
    return ::DestroyWindow(hwnd);
}

void PinModule() noexcept {
    HMODULE self = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                         reinterpret_cast<LPCWSTR>(reinterpret_cast<const void*>(&PinModule)), &self);
}

Footprint ModuleFootprint() noexcept {
    // A window destroyed with its parent never passed through DestroyWindow here.
    std::erase_if(g_windows, [](HWND w) { return !::IsWindow(w); });
    return Footprint{static_cast<int>(g_threadTimers.size()), static_cast<int>(g_hotKeys.size()),
                     static_cast<int>(g_windows.size())};
}

}  // namespace host
