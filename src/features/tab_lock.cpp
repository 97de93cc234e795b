// The host redraws a tab's icon while its page loads, so the lock
// image is applied again every half second until the start-up pages are in.
#include "features/tab_lock.h"

#include "base/convert.h"
#include "base/errors.h"
#include "core/feature.h"
#include "core/host_contract.h"
#include "core/startup.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "features/feature_timers.h"
#include "settings/settings_catalogue.h"

namespace tillwick {
namespace {

namespace c = contract;

TabLockState& Module() noexcept { return TabLockData(); }

void CALLBACK TabLockTimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    TabLockState& m = Module();
    for (std::int16_t i = 0; i < m.LockCount; ++i) RunStep("TabLockTimerProc", [&] { SetTabImage(i, kLockImage); });
    ++m.LockTicks;
    if (m.LockTicks >= kLockIconTicks) features::EndTimer(m.TabLockTimer, id);
}

}  // namespace

void LockStartupTabs() {
    TabLockState& m = Module();
    // A count that is not a number locks nothing; the icon ticks still run.
    RunStep([&] {
        m.LockCount = ToInt16(SettingText(Setting::TabToLock));
        const std::int32_t tabs = CountTabs();
        if (m.LockCount > tabs) m.LockCount = static_cast<std::int16_t>(tabs);
        const HWND frame = State().MainFrameWnd;
        for (std::int16_t i = 0; i < m.LockCount; ++i) {
            host::SendMessageA(frame, WM_COMMAND, c::kCmdActivateTabBase + static_cast<WPARAM>(i), 0);
            host::SendMessageA(frame, WM_COMMAND, c::kCmdLockTab, 0);
        }
    });
    if (m.LockTicks < kLockIconTicks) features::RestartTimer(m.TabLockTimer, kLockIconPeriodMs, &TabLockTimerProc);
}

TabLockState& TabLockData() noexcept {
    static TabLockState data;
    return data;
}

// Runs at start-up only: Apply never locks tabs again.
constinit const Feature kTabLockFeature{.name = "start-up tab lock",
                                        .setting = Setting::StartUpTabLock,
                                        .start = &Run<&LockStartupTabs>,
                                        .apply = ApplyRestart::No,
                                        .release = []() noexcept { features::EndTimer(TabLockData().TabLockTimer); },
                                        .reset = [] { TabLockData() = {}; }};

}  // namespace tillwick
