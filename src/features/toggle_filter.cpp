// A host switch counts as on only when config.ini holds
// exactly "1", which is how the host itself reads it; any other value (empty,
// "yes", a stray number) is off, so a hand-edited config never keeps the
// feature from starting.
#include "features/toggle_filter.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "base/convert.h"
#include "base/errors.h"
#include "core/feature.h"
#include "core/host_contract.h"
#include "core/startup.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "features/feature_timers.h"

namespace tillwick {
namespace {

namespace c = contract;
using features::EndTimer;
using features::RestartTimer;

constexpr UINT kRestoreDelayMs = 100;
constexpr UINT kStartupPressPeriodMs = 200;
// Presses of the all-blockers button at start-up, once per process: off, on
// (restoring the selection), off, on again, so the host's own view settles on it.
constexpr std::int16_t kStartupPressLimit = 4;

ToggleFilterState& Module() noexcept { return ToggleFilterData(); }

bool AllOff() noexcept {
    const auto& states = Module().BlockerState;
    return std::none_of(states.begin(), states.end(), [](bool on) { return on; });
}

// The blocker a command flips, from its menu or its accelerator; -1 for none.
int BlockerOf(WPARAM command) noexcept {
    for (std::size_t k = 0; k < std::size(c::kHostBlockers); ++k) {
        const c::HostBlocker& blocker = c::kHostBlockers[k];
        if (command == blocker.command) return static_cast<int>(k);
        if (blocker.acceleratorCommand != 0 && command == blocker.acceleratorCommand) return static_cast<int>(k);
    }
    return -1;
}

void FollowBlockerCommand(std::size_t k) noexcept {
    ToggleFilterState& m = Module();
    if (!m.MasterOn) {
        // A single blocker switched on while everything is off starts a new selection.
        SetAllBlockers(false);
        m.BlockerState[k] = true;
        m.MasterOn = true;
    } else if (!m.Restoring) {
        m.BlockerState[k] = !m.BlockerState[k];
    }
    // While restoring, the commands are our own and the selection stays.
}

void FollowAllBlockersButton() noexcept {
    ToggleFilterState& m = Module();
    if (!m.MasterOn) {
        // The host switches all six on; with no selection remembered, all six are it.
        m.MasterOn = true;
        if (AllOff()) {
            SetAllBlockers(true);
        } else {
            RestartTimer(m.RestoreTimer, kRestoreDelayMs, &RestoreBlockers);
            m.Restoring = true;
        }
    } else {
        // All six go off; the selection is kept for the next switch-on.
        m.MasterOn = false;
        EndTimer(m.RestoreTimer);
        m.Restoring = false;
    }
}

}  // namespace

void SetAllBlockers(bool on) noexcept { Module().BlockerState.fill(on); }

void StartToggleFilter() {
    ToggleFilterState& m = Module();
    for (std::size_t k = 0; k < std::size(c::kHostBlockers); ++k)
        m.BlockerState[k] = IsOn(ReadHostConfig(c::kHostBlockers[k].configKey, "0", c::kHostSettingsSection));
    if (!AllOff()) m.MasterOn = true;
    // Only some of the last three are on: the host's button would switch them all.
    const bool firstThreeOff = !m.BlockerState[0] && !m.BlockerState[1] && !m.BlockerState[2];
    if (firstThreeOff && !AllOff()) RestartTimer(m.StartupTimer, kStartupPressPeriodMs, &PressAllBlockersAtStartup);
    State().ToggleFilterOn = true;
}

void StopToggleFilter() noexcept { State().ToggleFilterOn = false; }

LRESULT ToggleFilterMessage(HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
    if (msg != WM_COMMAND) return msg;
    const int k = BlockerOf(wParam);
    if (k >= 0)
        FollowBlockerCommand(static_cast<std::size_t>(k));
    else if (wParam == c::kCmdAllBlockers)
        FollowAllBlockersButton();
    return msg;  // the host always carries the command out itself
}

void CALLBACK RestoreBlockers(HWND, UINT, UINT_PTR timerId, DWORD) noexcept {
    ToggleFilterState& m = Module();
    EndTimer(m.RestoreTimer, timerId);
    // Our commands come back through the frame while Restoring is still set,
    // so they do not change the selection.
    for (std::size_t k = 0; k < std::size(c::kHostBlockers); ++k) {
        if (!m.BlockerState[k]) RunStep("RestoreBlockers", [&] { SendHostCommand(c::kHostBlockers[k].command); });
    }
    m.Restoring = false;
}

void CALLBACK PressAllBlockersAtStartup(HWND, UINT, UINT_PTR timerId, DWORD) noexcept {
    ToggleFilterState& m = Module();
    if (m.StartupPresses >= kStartupPressLimit) {
        EndTimer(m.StartupTimer, timerId);
        return;
    }
    ++m.StartupPresses;
    RunStep("PressAllBlockersAtStartup", [] { SendHostCommand(c::kCmdAllBlockers); });
}

ToggleFilterState& ToggleFilterData() noexcept {
    static ToggleFilterState data;
    return data;
}

namespace {
constexpr MessageSet kActsOn{WM_COMMAND};
constexpr DispatchRow kRows[] = {
    Row(HookedWindow::MainFrame, 20, kAnyKey, {&SharedState::ToggleFilterOn}, &ByValue<&ToggleFilterMessage>,
        ResultUse::Ignored, kActsOn),
};
}  // namespace

constinit const Feature kToggleFilterFeature{.name = "pop-up filter toggle",
                                             .setting = Setting::ToggleFilter,
                                             .start = &Run<&StartToggleFilter>,
                                             .stop = &StopToggleFilter,
                                             .running = &SharedState::ToggleFilterOn,
                                             .rows = kRows,
                                             .release = []() noexcept {
                                                 features::EndTimer(ToggleFilterData().RestoreTimer);
                                                 features::EndTimer(ToggleFilterData().StartupTimer);
                                             },
                                             .reset = [] { ToggleFilterData() = {}; }};

}  // namespace tillwick
