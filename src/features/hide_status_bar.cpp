// The bar floats over the bottom of the page when the host
// left it there (its edges agree with the page area's); otherwise the host's
// own status-bar command lays it out again. Every timer is one-shot.
#include "features/hide_status_bar.h"
#include "features/hide_tab_bar.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <utility>

#include "base/convert.h"
#include "base/errors.h"
#include "core/feature.h"
#include "core/host_contract.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "features/feature_timers.h"
#include "settings/settings_catalogue.h"
#include "statusinfo/statusinfo.h"

namespace tillwick {
namespace {

namespace c = contract;

constexpr std::int32_t kMinDelayMs = 100;
constexpr UINT kLeaveFrameDelayMs = 250;
constexpr UINT kHoldMs = 500;
constexpr UINT kBlockExtraMs = 200;
constexpr int kStatusTextChars = 255;
// SB_GETRECT of the host's progress part: between these widths (exclusive) it shows a load.
constexpr WPARAM kProgressPart = 1;
constexpr LONG kBusyWidthAbove = 80;
constexpr LONG kBusyWidthBelow = 90;
constexpr std::size_t kMinInfoTextLength = 5;

HideStatusBarState& Module() noexcept { return HideStatusBarData(); }

void SendHostCommand(std::uint32_t command) {
    host::SendMessageA(State().MainFrameWnd, WM_COMMAND, command, 0);
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return text;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool BarVisible() { return host::IsWindowVisible(State().StatusBarWnd) != FALSE; }

// The bar lies over the bottom of the page area: it can be shown and hidden
// without the host laying out the frame again.
bool BarFloatsOverPage() {
    RECT page{}, bar{};
    host::GetWindowRect(State().MdiClientWnd, &page);
    host::GetWindowRect(State().StatusBarWnd, &bar);
    return page.bottom == bar.bottom && page.right == bar.right;
}

void CALLBACK RevealTimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    HideStatusBarState& m = Module();
    features::EndTimer(m.RevealTimer, id);
    RunStep("RevealTimerProc", [&] {
        if (m.PendingShow)
            ShowStatusBar();
        else
            HideStatusBarNow();
    });
}

void CALLBACK BlockTimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    features::EndTimer(Module().BlockTimer, id);
    State().StatusBarRevealBlocked = false;
}

void CALLBACK HoldTimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    features::EndTimer(Module().HoldTimer, id);
    State().StatusBarHeld = false;
}

void CALLBACK MessageTimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    HideStatusBarState& m = Module();
    features::EndTimer(m.MessageTimer, id);
    RunStep("MessageTimerProc", [&] {
        SharedState& s = State();
        std::array<char, kStatusTextChars + 1> buffer{};
        host::GetWindowTextA(s.StatusBarWnd, buffer.data(), static_cast<int>(buffer.size()));
        const std::string text = Lower(buffer.data());
        const bool pageDone = std::exchange(m.PageDone, false);
        if (!pageDone && MessageWorthShowing(text)) {
            // While a page opens the bar stays up, unless the tab bar's reveal
            // band is at the bottom and would be covered.
            if ((IsPageBusy() || text.find(m.OpeningKeyword) != std::string::npos) &&
                (!s.HideTabBarOn || s.TabBarOnTop))
                s.StatusBarHeld = true;
            if (!s.StatusBarRevealBlocked) ShowStatusBar();
        } else {
            if (!IsPageBusy()) features::RestartTimer(m.HoldTimer, kHoldMs, &HoldTimerProc);
            if (!s.StatusBarHeld && !s.StatusBarRevealed) HideStatusBarNow();
        }
    });
}

void StartReveal(bool show, UINT delayMs) {
    HideStatusBarState& m = Module();
    m.PendingShow = show;
    features::RestartTimer(m.RevealTimer, delayMs, &RevealTimerProc);
}

UINT Delay() { return static_cast<UINT>(Module().TimeDelay); }

void OnPageMouseMove() {
    SharedState& s = State();
    const HideStatusBarState& m = Module();
    POINT cursor{};
    RECT client{};
    host::GetCursorPos(&cursor);
    host::ScreenToClient(s.PageViewWnd, &cursor);
    host::GetClientRect(s.PageViewWnd, &client);
    const LONG d = client.bottom - cursor.y;
    if (!s.StatusBarRevealed) {
        if (d < m.HotArea) {
            s.StatusBarRevealed = true;
            StartReveal(true, Delay());
        }
    } else if (d > s.StatusBarHeight - 2) {
        s.StatusBarRevealed = false;
        if (!IsPageBusy() && !s.StatusBarHeld) StartReveal(false, Delay());
    }
}

// Scrolling: message reveals would cover the page's bottom while it moves.
void BlockReveals() {
    State().StatusBarRevealBlocked = true;
    features::RestartTimer(Module().BlockTimer, Delay() + kBlockExtraMs, &BlockTimerProc);
    HideStatusBarNow();
}

}  // namespace

void StartHideStatusBar() {
    SharedState& s = State();
    HideStatusBarState& m = Module();
    RunStep([&] { m.ShowStatusMessage = SettingOn(Setting::ShowStatusMessage); });
    RunStep([&] { m.HotArea = SettingNumber(Setting::SBHotArea); });
    RunStep([&] { m.TimeDelay = SettingNumber(Setting::SBTimeDelay); });
    RunStep([&] { m.ShowSwitchTab = SettingOn(Setting::ShowSwitchTab); });
    RunStep([&] { m.OpeningKeyword = Lower(SettingText(Setting::Opening)); });
    m.TimeDelay = std::max(m.TimeDelay, kMinDelayMs);
    m.HotArea = std::min<std::int32_t>(m.HotArea, s.StatusBarHeight);
    RunStep([&] {
        if (BarVisible()) SendHostCommand(c::kCmdToggleStatusBar);
    });
    // The tab bar below the page is laid out again in the room the status bar left.
    RunStep([&] {
        if (s.HideTabBarOn && !s.TabBarOnTop) {
            SendHostCommand(c::kCmdToggleTabBar);
            SendHostCommand(c::kCmdToggleTabBar);
        }
    });
    s.HideStatusBarOn = true;
}

void StopHideStatusBar() noexcept {
    SharedState& s = State();
    s.HideStatusBarOn = false;
    HideStatusBarState& m = Module();
    for (UINT_PTR* timer : {&m.RevealTimer, &m.MessageTimer, &m.BlockTimer, &m.HoldTimer})
        features::EndTimer(*timer);
    // A stop inside a hold or block window leaves nothing behind for the next
    // start; a block the tab bar's pending re-layout holds ends with that.
    m.PendingShow = false;
    s.StatusBarHeld = false;
    s.StatusBarRevealed = false;
    if (HideTabBarData().TabBarRelayoutTimer == 0) s.StatusBarRevealBlocked = false;
    RunStep([&] {
        if (!BarVisible()) SendHostCommand(c::kCmdToggleStatusBar);
    });
    RunStep([&] {
        if (s.HideTabBarOn && !s.TabBarOnTop) SendHostCommand(c::kCmdToggleTabBar);
    });
}

void ShowStatusBar() {
    if (BarVisible()) return;
    const SharedState& s = State();
    const bool floats = BarFloatsOverPage();
    // The status information writes its pending line while the bar is free for
    // it; a host message on the bar stays.
    if (s.StatusBarInfoOn) InfoRedrawTimer(nullptr, 0, 0, 0);
    if (!floats) {
        // Two flips: the host lays the bar out again and hides it, the page keeps its height.
        SendHostCommand(c::kCmdToggleStatusBar);
        SendHostCommand(c::kCmdToggleStatusBar);
    }
    host::ShowWindow(s.StatusBarWnd, SW_SHOW);
}

void HideStatusBarNow() {
    if (!BarVisible()) return;
    if (BarFloatsOverPage())
        host::ShowWindow(State().StatusBarWnd, SW_HIDE);
    else
        SendHostCommand(c::kCmdToggleStatusBar);
}

bool IsPageBusy() {
    const SharedState& s = State();
    if (s.CustomProgressOn && host::IsWindowVisible(s.ProgressWnd)) return true;
    RECT part{};
    host::SendMessageA(s.StatusBarWnd, SB_GETRECT, kProgressPart, reinterpret_cast<LPARAM>(&part));
    const LONG width = part.right - part.left;
    return width > kBusyWidthAbove && width < kBusyWidthBelow;
}

bool StatusBarFreeForInfo() {
    const SharedState& s = State();
    return !s.HideStatusBarOn || !s.StatusBarHeld;
}

void StatusBarPageDone() {
    if (State().HideStatusBarOn && Module().ShowStatusMessage) Module().PageDone = true;
}

bool MessageWorthShowing(std::string_view text) {
    const SharedState& s = State();
    if (StartsWith(text, s.DoneKeyword) || StartsWith(text, "ready") || text.size() <= 1) return false;
    const std::string info = StatusInfoText();
    return info.size() < kMinInfoTextLength || !StartsWith(text, Lower(info));
}

LRESULT HideStatusBarMessage(HWND hwnd, UINT msg, WPARAM, LPARAM, LRESULT&) {
    const SharedState& s = State();
    const HideStatusBarState& m = Module();
    if (hwnd == s.PageViewWnd) {
        if (msg == WM_MOUSEMOVE) {
            RunStep(OnPageMouseMove);
        } else if (m.ShowStatusMessage &&
                   (msg == WM_CAPTURECHANGED || (msg == WM_MOUSEWHEEL && !s.StatusBarHeld))) {
            RunStep(BlockReveals);
        }
    } else if (hwnd == s.MainFrameWnd) {
        if (msg == WM_WINDOWPOSCHANGING) {
            RunStep(HideStatusBarNow);
        } else if (msg == WM_NCMOUSELEAVE && s.StatusBarRevealed) {
            State().StatusBarRevealed = false;
            RunStep([] { StartReveal(false, kLeaveFrameDelayMs); });
        }
    } else if (hwnd == s.StatusBarWnd && msg == WM_SETTEXT && m.ShowStatusMessage) {
        RunStep([] { features::RestartTimer(Module().MessageTimer, Delay(), &MessageTimerProc); });
    }
    return 0;
}

void StatusBarTabSwitch() {
    const SharedState& s = State();
    HideStatusBarState& m = Module();
    if (!m.ShowSwitchTab || !s.StatusBarInfoOn) return;
    RunStep([&] {
        const std::string hostName =
            s.ActiveDocument.GetObject("parentWindow").GetObject("location").GetText("hostname").value_or("");
        if (hostName == m.LastHost) return;
        m.LastHost = hostName;
        if (s.ActiveDocument.GetText("URL").value_or("") == "about:blank") return;
        ShowStatusBar();
        State().StatusBarHeld = true;
        features::RestartTimer(m.HoldTimer, kHoldMs, &HoldTimerProc);
    });
}

HideStatusBarState& HideStatusBarData() noexcept {
    static HideStatusBarState data;
    return data;
}

namespace {
constexpr MessageSet kActsOn{WM_MOUSEMOVE, WM_CAPTURECHANGED, WM_MOUSEWHEEL, WM_WINDOWPOSCHANGING, WM_NCMOUSELEAVE, WM_SETTEXT};
constexpr auto kHandler = &ByValue<&HideStatusBarMessage>;
constexpr DispatchRow kRows[] = {
    Row(HookedWindow::MainFrame, 30, kBypassable, {&SharedState::HideStatusBarOn}, kHandler, ResultUse::Ignored, kActsOn),
    Row(HookedWindow::StatusBar, 10, kBypassable, {&SharedState::HideStatusBarOn}, kHandler, ResultUse::Ignored, kActsOn),
    Row(HookedWindow::PageView, 10, kBypassable, {&SharedState::HideStatusBarOn}, kHandler, ResultUse::Ignored, kActsOn),
};

void OnNotice(const SpineNotice& notice) {
    if (notice.what == Notice::TabSwitched && State().HideStatusBarOn) StatusBarTabSwitch();
}
}  // namespace

// Starts once the status-bar images are taken: it hides the bar they were taken from.
constinit const Feature kHideStatusBarFeature{.name = "status bar hiding",
                                              .setting = Setting::HideStatusBar,
                                              .startAt = StartPoint::StatusCaptured,
                                              .start = &Run<&StartHideStatusBar>,
                                              .stop = &StopHideStatusBar,
                                              .running = &SharedState::HideStatusBarOn,
                                              .rows = kRows,
                                              .notice = &OnNotice,
                                              .reset = [] { HideStatusBarData() = {}; }};

}  // namespace tillwick
