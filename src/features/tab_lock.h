// The first tabs locked at start-up (their icons
// kept on the host's lock image for 15 seconds), and the browser closed with
// its last tab while in full screen.
//
// LockStartupTabs and TabExitMessage are declared in core/feature_hooks.h.
#pragma once

#include <cstdint>

namespace tillwick {

// The host's lock image in the tab bar's image list.
inline constexpr std::int32_t kLockImage = 4;
// The icons are put back 30 times, every 500 ms.
inline constexpr std::int16_t kLockIconTicks = 30;
inline constexpr unsigned kLockIconPeriodMs = 500;
inline constexpr unsigned kExitDelayMs = 100;

}  // namespace tillwick
