// The first tabs locked at start-up (their icons
// kept on the host's lock image for 15 seconds), and the browser closed with
// its last tab while in full screen.
#pragma once

#include "host/host.h"

#include <cstdint>

namespace tillwick {

// tab_lock.cpp and tab_exit.cpp.
struct TabLockState {
    std::int16_t LockCount = 0;
    std::int16_t LockTicks = 0;  // once per process: never reset by a restart
    UINT_PTR TabLockTimer = 0;
    UINT_PTR ExitTimer = 0;
};
TabLockState& TabLockData() noexcept;

// The host's lock image in the tab bar's image list.
inline constexpr std::int32_t kLockImage = 4;
// The icons are put back 30 times, every 500 ms.
inline constexpr std::int16_t kLockIconTicks = 30;
inline constexpr unsigned kLockIconPeriodMs = 500;
inline constexpr unsigned kExitDelayMs = 100;

// The feature's entry points: its start and stop, and its message handlers.
LRESULT TabExitMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
void LockStartupTabs();

// Its rows of the feature table (src/plugin/feature_table.cpp).
struct Feature;
extern const Feature kTabLockFeature;
extern const Feature kLastTabExitFeature;

}  // namespace tillwick
