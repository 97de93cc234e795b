// A system-wide hot key turns the main frame into a small,
// captioned, topmost window at a fixed rectangle, with the host in its
// full-screen layout so that the page alone floats above other windows; the
// same key turns it back.
#pragma once

#include <cstdint>

#include "host/host.h"

namespace tillwick {

// always_on_top.cpp.
struct OnTopState {
    LONG SavedStyle = 0;  // the frame's style just before the mode was entered
    bool Active = false;
};
OnTopState& OnTopData() noexcept;

inline constexpr int kOnTopHotKeyId = 138;

void UnregisterOnTopHotKey() noexcept;
// Modifier flags (MOD_*) of setting OnTopHotKeyMOD; 0 for an unknown name.
std::int32_t OnTopModifiers();
// Virtual key of setting OnTopHotKeyVK ("A" to "Z"); 0 for anything else.
std::int32_t OnTopKey();
void EnterOnTop();
void LeaveOnTop() noexcept;

// The feature's entry points: its start and stop, and its message handlers.
LRESULT AlwaysOnTopMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
void RegisterOnTopHotKey();

// Its rows of the feature table (src/plugin/feature_table.cpp).
struct Feature;
extern const Feature kAlwaysOnTopFeature;

}  // namespace tillwick
