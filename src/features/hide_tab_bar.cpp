// The host hides and shows its tab bar with
// re-layout (command 0x8179); the mouse mode keeps it laid out hidden and only
// shows the window over the page, refusing it room while it floats.
#include "features/hide_tab_bar.h"

#include <algorithm>
#include <cmath>
#include <string>

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

constexpr std::int32_t kMinDelayMs = 100;
constexpr UINT kRelayoutDelayMs = 1000;
constexpr UINT kLastTabDelayMs = 200;
constexpr std::int32_t kWheelNotch = 120;

HideTabBarState& Module() noexcept { return HideTabBarData(); }

// lParam 0: the tab bar's own commands need no out parameter.
void SendFrameCommand(std::uint32_t command) {
    host::SendMessageA(State().MainFrameWnd, WM_COMMAND, command, 0);
}

bool BarVisible() { return host::IsWindowVisible(State().TabBarWnd) != FALSE; }

void CALLBACK TabBarTimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    HideTabBarState& m = Module();
    features::EndTimer(m.TabBarTimer, id);
    RunStep("TabBarTimerProc", [&] {
        if (m.PendingShowTabBar)
            ShowTabBarNow();
        else
            HideTabBarNow();
    });
}

void CALLBACK RelayoutTimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    features::EndTimer(Module().TabBarRelayoutTimer, id);
    RunStep("RelayoutTimerProc", [] {
        SendFrameCommand(c::kCmdToggleTabBar);
        SendFrameCommand(c::kCmdToggleTabBar);
    });
    State().StatusBarRevealBlocked = false;
}

void CALLBACK LastTabTimerProc(HWND, UINT, UINT_PTR, DWORD) noexcept { RunStep("LastTabTimerProc", UpdateLastTab); }

void StartTabBarTimer(bool show, UINT delayMs) {
    HideTabBarState& m = Module();
    m.PendingShowTabBar = show;
    features::RestartTimer(m.TabBarTimer, delayMs, &TabBarTimerProc);
}

// The mouse left the tab bar's side: it goes after the delay.
void Release() {
    State().TabBarRevealed = false;
    StartTabBarTimer(false, static_cast<UINT>(Module().TimeDelay));
}

void OnFrameMoved() {
    HideTabBarState& m = Module();
    RECT client{};
    host::GetClientRect(State().MainFrameWnd, &client);
    if (client.right == m.SavedClientRect.right) return;
    SendFrameCommand(c::kCmdToggleTabBar);
    SendFrameCommand(c::kCmdToggleTabBar);
    m.SavedClientRect = client;
}

// The host moves the tab bar or switches full screen: lay the bar out again
// once that is over, and keep the status bar's message reveals out meanwhile.
void OnLayoutCommand() {
    State().StatusBarRevealBlocked = true;
    features::RestartTimer(Module().TabBarRelayoutTimer, kRelayoutDelayMs, &RelayoutTimerProc);
}

void OnPageMouseMove() {
    SharedState& s = State();
    const HideTabBarState& m = Module();
    POINT cursor{};
    RECT client{};
    host::GetCursorPos(&cursor);
    host::ScreenToClient(s.PageViewWnd, &cursor);
    host::GetClientRect(s.PageViewWnd, &client);
    const LONG fromEdge = s.TabBarOnTop ? cursor.y - client.top : client.bottom - cursor.y;
    if (!s.TabBarRevealed) {
        if (fromEdge < m.HotArea) {
            s.TabBarRevealed = true;
            StartTabBarTimer(true, static_cast<UINT>(m.TimeDelay));
        }
    } else if (fromEdge > s.TabBarHeight - 2) {
        Release();
    }
}

// One notch forward activates the tab to the left, wrapping around.
void SwitchTabByWheel(WPARAM wParam) {
    const std::int32_t n = CountTabs();
    if (n <= 1) return;
    std::int32_t d = HiWordOf(static_cast<std::int32_t>(wParam));
    if (d < 0) d += 5;
    const auto steps = static_cast<std::int32_t>(std::floor(static_cast<double>(d) / kWheelNotch));
    auto i = static_cast<std::int32_t>(host::SendMessageA(State().TabBarWnd, TCM_GETCURSEL, 0, 0)) - steps;
    if (i >= n)
        i -= n;
    else if (i < 0)
        i += n;
    SendFrameCommand(c::kCmdActivateTabBase + static_cast<std::uint32_t>(i));
}

void DoubleClickAction() {
    const std::int32_t command = ToInt32(ReadHostConfig(c::kDoubleClickTabBarKey,
                                                        std::to_string(c::kDoubleClickTabBarDefault),
                                                        c::kDoubleClickTabBarSection));
    host::SendMessageA(State().MainFrameWnd, WM_COMMAND, static_cast<WPARAM>(static_cast<std::uint32_t>(command)), 0);
    FlashTabBar();
}

bool IsConsumedClick(UINT msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN ||
           msg == WM_RBUTTONDBLCLK || msg == WM_SETCURSOR;
}

}  // namespace

void StartHideTabBar() {
    SharedState& s = State();
    HideTabBarState& m = Module();
    RunStep([&] { m.HotArea = SettingNumber(Setting::TBHotArea); });
    RunStep([&] { m.TimeDelay = SettingNumber(Setting::TBTimeDelay); });
    m.TimeDelay = std::max(m.TimeDelay, kMinDelayMs);
    m.HotArea = std::min<std::int32_t>(m.HotArea, s.TabBarHeight);
    RunStep([] {
        if (BarVisible()) SendFrameCommand(c::kCmdToggleTabBar);
    });
    RunStep([&] { host::GetClientRect(s.MainFrameWnd, &m.SavedClientRect); });
    s.HideTabBarOn = true;
}

void StopHideTabBar() noexcept {
    HideTabBarState& m = Module();
    features::EndTimer(m.TabBarTimer);
    m.PendingShowTabBar = false;
    // A re-layout still waiting is done now rather than dropped half way.
    if (m.TabBarRelayoutTimer != 0) RelayoutTimerProc(nullptr, 0, m.TabBarRelayoutTimer, 0);
    RunStep([] {
        if (!BarVisible()) SendFrameCommand(c::kCmdToggleTabBar);
    });
    State().HideTabBarOn = false;
    State().TabBarRevealed = false;
}

void HideTabBarNow() {
    if (BarVisible()) host::ShowWindow(State().TabBarWnd, SW_HIDE);
}

void ShowTabBarNow() {
    if (!BarVisible()) host::ShowWindow(State().TabBarWnd, SW_SHOW);
}

void FlashTabBar() {
    HideTabBarNow();
    State().TabBarRevealed = true;
    StartTabBarTimer(true, 0);
}

LRESULT HideTabBarMessage(HWND& hwnd, UINT& msg, WPARAM& wParam, LPARAM&, LRESULT&) {
    const SharedState& s = State();
    if (hwnd == s.MainFrameWnd) {
        if (msg == WM_WINDOWPOSCHANGED) {
            RunStep(OnFrameMoved);
        } else if (msg == WM_COMMAND && (wParam == c::kCmdTabBarTop || wParam == c::kCmdTabBarBottom ||
                                         wParam == c::kCmdFullScreen || wParam == c::kCmdFullScreenAccel)) {
            RunStep(OnLayoutCommand);
        } else if (msg == WM_NCMOUSELEAVE && s.TabBarRevealed) {
            RunStep(Release);
        }
    } else if (hwnd == s.RebarWnd) {
        // The mouse is over the tool bars: the tab bar goes.
        if (msg == WM_SETCURSOR) RunStep(Release);
    } else if (hwnd == s.MdiClientWnd) {
        if (msg == WM_MDICREATE)
            RunStep(HideTabBarNow);
        else if (msg == WM_MDIDESTROY)
            RunStep(FlashTabBar);
    } else if (hwnd == s.PageViewWnd) {
        if (msg == WM_MOUSEMOVE) {
            RunStep(OnPageMouseMove);
            if (s.TabBarRevealed) msg = 0;
        } else if (msg == WM_MOUSEWHEEL && s.TabBarRevealed) {
            RunStep([&] { SwitchTabByWheel(wParam); });
            msg = 0;
        }
        if (s.TabBarRevealed && IsConsumedClick(msg)) {
            if (msg == WM_LBUTTONDBLCLK) RunStep(DoubleClickAction);
            msg = 0;
        }
    } else if (hwnd == s.TabBarWnd && msg == c::kWmSizeParent && s.TabBarRevealed) {
        // The floating bar gets no room in the host's layout.
        msg = 0;
    }
    return msg;
}

void StartHideLastTab() {
    RunStep(UpdateLastTab);
    State().HideLastTabOn = true;
}

void StopHideLastTab() noexcept {
    features::EndTimer(Module().LastTabTimer);
    RunStep([] {
        if (!BarVisible()) SendFrameCommand(c::kCmdToggleTabBar);
    });
    State().HideLastTabOn = false;
}

void UpdateLastTab() {
    features::EndTimer(Module().LastTabTimer);
    const std::int32_t n = CountTabs();
    if ((n < 2 && BarVisible()) || (n >= 2 && !BarVisible())) SendFrameCommand(c::kCmdToggleTabBar);
}

LRESULT HideLastTabMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_MDICREATE || msg == WM_MDIDESTROY)
        RunStep([] { features::RestartTimer(Module().LastTabTimer, kLastTabDelayMs, &LastTabTimerProc); });
    return 0;
}

HideTabBarState& HideTabBarData() noexcept {
    static HideTabBarState data;
    return data;
}

namespace {

// The one setting chooses the mode: with the mouse, or only while one tab is left.
void StartTabBarHiding() {
    if (SettingOn(Setting::HideLastTab))
        StartHideLastTab();
    else
        StartHideTabBar();
}

void StopTabBarHiding() noexcept {
    if (State().HideTabBarOn) StopHideTabBar();
    if (State().HideLastTabOn) StopHideLastTab();
}

void RestartTabBarHiding() {
    StopTabBarHiding();
    if (SettingOn(Setting::HideTabBar)) StartTabBarHiding();
}

constexpr MessageSet kActsOn{WM_WINDOWPOSCHANGED, WM_COMMAND,       WM_NCMOUSELEAVE,   WM_SETCURSOR,
                             WM_MDICREATE,        WM_MDIDESTROY,    WM_MOUSEMOVE,      WM_MOUSEWHEEL,
                             WM_LBUTTONDOWN,      WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,    WM_RBUTTONDBLCLK,
                             contract::kWmSizeParent};
constexpr MessageSet kLastTabActsOn{WM_MDICREATE, WM_MDIDESTROY};
constexpr std::array<bool SharedState::*, 3> kOn{&SharedState::HideTabBarOn};
constexpr auto kReplaces = ResultUse::ReplacesMsg;
constexpr DispatchRow kRows[] = {
    Row(HookedWindow::MainFrame, 50, kAnyKey, kOn, &HideTabBarMessage, kReplaces, kActsOn),
    Row(HookedWindow::MdiClient, 20, kAnyKey, {&SharedState::HideLastTabOn}, &ByValue<&HideLastTabMessage>,
        ResultUse::Ignored, kLastTabActsOn),
    Row(HookedWindow::MdiClient, 30, kBypassable, kOn, &HideTabBarMessage, kReplaces, kActsOn),
    Row(HookedWindow::Rebar, 10, kBypassable, kOn, &HideTabBarMessage, kReplaces, kActsOn),
    Row(HookedWindow::TabBar, 20, kBypassable, kOn, &HideTabBarMessage, kReplaces, kActsOn),
    Row(HookedWindow::StatusBar, 20, kBypassable, kOn, &HideTabBarMessage, kReplaces, kActsOn),
    Row(HookedWindow::PageView, 20, kBypassable, kOn, &HideTabBarMessage, kReplaces, kActsOn),
};

}  // namespace

constinit const Feature kTabBarHidingFeature{.name = "tab bar hiding",
                                             .setting = Setting::HideTabBar,
                                             .start = &Run<&StartTabBarHiding>,
                                             .stop = &StopTabBarHiding,
                                             .apply = ApplyRestart::Own,
                                             .restart = &RestartTabBarHiding,
                                             .rows = kRows,
                                             .reset = [] { HideTabBarData() = {}; }};

}  // namespace tillwick
