// Makes the host's all-blockers button (0x813C) switch only
// the blockers the user last had on. The module keeps its own copy of the six
// blocker switches, follows every single-blocker command, and 100 ms after the
// button has switched all six on it switches the unselected ones off again.
//
// StartToggleFilter and ToggleFilterMessage are declared in core/feature_hooks.h.
#pragma once

#include "host/host.h"

namespace tillwick {

// Clears the dispatch flag only: the copy of the switches stays as it is.
void StopToggleFilter() noexcept;
void SetAllBlockers(bool on) noexcept;

// Timer procedures.
void CALLBACK RestoreBlockers(HWND, UINT, UINT_PTR timerId, DWORD) noexcept;
void CALLBACK PressAllBlockersAtStartup(HWND, UINT, UINT_PTR timerId, DWORD) noexcept;

}  // namespace tillwick
