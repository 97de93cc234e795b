// Makes the host's all-blockers button (0x813C) switch only
// the blockers the user last had on. The module keeps its own copy of the six
// blocker switches, follows every single-blocker command, and 100 ms after the
// button has switched all six on it switches the unselected ones off again.
#pragma once

#include <array>
#include <cstdint>

#include "host/host.h"

namespace tillwick {

// toggle_filter.cpp: our copy of the host's six blockers, in their fixed order.
struct ToggleFilterState {
    std::array<bool, 6> BlockerState{};
    bool MasterOn = false;
    bool Restoring = false;
    UINT_PTR RestoreTimer = 0;
    UINT_PTR StartupTimer = 0;
    std::int16_t StartupPresses = 0;  // once per process: never reset by a restart
};
ToggleFilterState& ToggleFilterData() noexcept;

// Clears the dispatch flag only: the copy of the switches stays as it is.
void StopToggleFilter() noexcept;
void SetAllBlockers(bool on) noexcept;

// Timer procedures.
void CALLBACK RestoreBlockers(HWND, UINT, UINT_PTR timerId, DWORD) noexcept;
void CALLBACK PressAllBlockersAtStartup(HWND, UINT, UINT_PTR timerId, DWORD) noexcept;

// The feature's entry points: its start and stop, and its message handlers.
LRESULT ToggleFilterMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
void StartToggleFilter();

// Its rows of the feature table (src/plugin/feature_table.cpp).
struct Feature;
extern const Feature kToggleFilterFeature;

}  // namespace tillwick
