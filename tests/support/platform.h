// What differs between running a test on the simulated Windows and on the
// real one (under Wine): setting up a fresh process state and letting time pass.
#pragma once

#include <cstdint>
#include <vector>

#include "host/win_types.h"

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

// A clean start: on the sim a fresh process, on Windows the common controls
// initialised and the windows of the previous test gone.
void PlatformReset();

// Lets about `ms` milliseconds pass while dispatching posted messages and
// timers (the sim's virtual clock; a real message loop on Windows).
void PumpFor(std::uint32_t ms);

// True on the simulated backend.
bool IsSim();

}  // namespace testsupport
