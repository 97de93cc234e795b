// What differs between running a test on the simulated Windows and on the
// real one (under Wine): setting up a fresh process state and letting time pass.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/host.h"

namespace testsupport {

// A window enumeration's callback: adds each window to the std::vector<HWND> at `list`.
inline BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM list) noexcept {
    try {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

// A window's class name and its text, as the host layer reads them.
inline std::string ClassOf(HWND hwnd) {
    char buffer[256] = {};
    const int n = host::GetClassNameA(hwnd, buffer, sizeof(buffer));
    return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}
inline std::string TextOf(HWND hwnd) {
    char buffer[1024] = {};
    const int n = host::GetWindowTextA(hwnd, buffer, sizeof(buffer));
    return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

// A clean start: on the sim a fresh process, on Windows the common controls
// initialised and the windows of the previous test gone.
void PlatformReset();

// Lets about `ms` milliseconds pass while dispatching posted messages and
// timers (the sim's virtual clock; a real message loop on Windows).
void PumpFor(std::uint32_t ms);

}  // namespace testsupport
