// One-shot thread timers as the window features use them: starting one first
// ends the previous timer of the same kind, and the callback ends its own
// timer, so each kind has at most one timer alive and every timer has an owner.
#pragma once

#include "host/host.h"

namespace tillwick::features {

// (Re)starts the timer kept in `id`.
inline void RestartTimer(UINT_PTR& id, UINT elapseMs, TIMERPROC proc) noexcept {
    if (id != 0) host::KillTimer(nullptr, id);
    id = host::SetTimer(nullptr, 0, elapseMs, proc);
}

// Ends the timer kept in `id`; `firing` is the id a timer callback was handed,
// ended too in case it is not (or no longer) the one on record.
inline void EndTimer(UINT_PTR& id, UINT_PTR firing = 0) noexcept {
    if (firing != 0 && firing != id) host::KillTimer(nullptr, firing);
    if (id != 0) host::KillTimer(nullptr, id);
    id = 0;
}

}  // namespace tillwick::features
