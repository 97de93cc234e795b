// The exit with the last tab. The close command goes on to the host unchanged; the exit
// follows once the host has closed the tab.
#include "base/errors.h"
#include "core/feature.h"
#include "core/host_contract.h"
#include "core/startup.h"
#include "core/state.h"
#include "features/feature_timers.h"
#include "features/tab_lock.h"

namespace tillwick {
namespace {

namespace c = contract;

void CALLBACK ExitTimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    features::EndTimer(TabLockData().ExitTimer, id);
    RunStep("ExitTimerProc", [] { host::SendMessageA(State().MainFrameWnd, WM_COMMAND, c::kCmdExit, 0); });
}

}  // namespace

LRESULT TabExitMessage(HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
    if (msg != WM_COMMAND || wParam != c::kCmdCloseTab) return msg;
    RunStep([] {
        const SharedState& s = State();
        const auto style = static_cast<std::uint32_t>(host::GetWindowLongA(s.MainFrameWnd, GWL_STYLE));
        if (CountTabs() == 1 && (style & WS_CAPTION) == 0)
            features::RestartTimer(TabLockData().ExitTimer, kExitDelayMs, &ExitTimerProc);
    });
    return msg;
}

namespace {
constexpr MessageSet kActsOn{WM_COMMAND};
constexpr DispatchRow kRows[] = {
    Row(HookedWindow::MainFrame, 10, kBypassable, {&SharedState::LastTabExitOn}, &ByValue<&TabExitMessage>,
        ResultUse::Ignored, kActsOn),
};
}  // namespace

// Switching it on is setting its dispatch flag. Its timer outlives the last
// release: closing the last tab releases the last object, and that timer is
// what then leaves the browser; it ends itself.
constinit const Feature kLastTabExitFeature{.name = "last-tab exit",
                                            .setting = Setting::LastTabExit,
                                            .start = [](StartRun&, std::string_view) { State().LastTabExitOn = true; },
                                            .stop = []() noexcept { State().LastTabExitOn = false; },
                                            .running = &SharedState::LastTabExitOn,
                                            .rows = kRows};

}  // namespace tillwick
