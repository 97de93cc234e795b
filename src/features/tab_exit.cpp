// The exit with the last tab. The close command goes on to the host unchanged; the exit
// follows once the host has closed the tab.
#include "base/errors.h"
#include "core/feature_hooks.h"
#include "core/host_contract.h"
#include "core/state.h"
#include "features/feature_timers.h"
#include "features/tab_lock.h"

namespace tillwick {
namespace {

namespace c = contract;

void CALLBACK ExitTimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    features::EndTimer(State().TabLock.ExitTimer, id);
    RunStep("ExitTimerProc", [] { host::SendMessageA(State().MainFrameWnd, WM_COMMAND, c::kCmdExit, 0); });
}

}  // namespace

LRESULT TabExitMessage(HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
    if (msg != WM_COMMAND || wParam != c::kCmdCloseTab) return msg;
    RunStep([] {
        const SharedState& s = State();
        const auto style = static_cast<std::uint32_t>(host::GetWindowLongA(s.MainFrameWnd, GWL_STYLE));
        if (CountTabs() == 1 && (style & WS_CAPTION) == 0)
            features::RestartTimer(State().TabLock.ExitTimer, kExitDelayMs, &ExitTimerProc);
    });
    return msg;
}

}  // namespace tillwick
