// A system-wide hot key turns the main frame into a small,
// captioned, topmost window at a fixed rectangle, with the host in its
// full-screen layout so that the page alone floats above other windows; the
// same key turns it back.
//
// RegisterOnTopHotKey and AlwaysOnTopMessage are declared in core/feature_hooks.h.
#pragma once

#include <cstdint>

#include "host/host.h"

namespace tillwick {

inline constexpr int kOnTopHotKeyId = 138;

void UnregisterOnTopHotKey() noexcept;
// Modifier flags (MOD_*) of setting OnTopHotKeyMOD; 0 for an unknown name.
std::int32_t OnTopModifiers();
// Virtual key of setting OnTopHotKeyVK ("A" to "Z"); 0 for anything else.
std::int32_t OnTopKey();
void EnterOnTop();
void LeaveOnTop() noexcept;

}  // namespace tillwick
