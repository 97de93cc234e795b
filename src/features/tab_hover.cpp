// The tab hover: one one-shot timer per hovered background tab. Moving to
// another tab restarts it; the active tab, no tab, a click or leaving the bar
// only cancel it (and close a shown preview).
#include "features/tab_hover.h"
#include "features/tab_hover_state.h"

#include <algorithm>

#include "base/convert.h"
#include "base/errors.h"
#include "core/feature.h"
#include "core/host_contract.h"
#include "core/startup.h"
#include "core/state.h"
#include "features/feature_timers.h"
#include "settings/settings_catalogue.h"

namespace tillwick {
namespace {

constexpr std::int32_t kMinHoverMs = 100;

TabHoverState& Module() noexcept { return TabHoverData(); }

// The tab bar's own WM_MOUSEMOVE carries the cursor in its client coordinates.
std::int16_t TabUnderCursor(LPARAM at) {
    const HWND bar = State().TabBarWnd;
    TCHITTESTINFO hit{};
    hit.pt = POINT{static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(at))),
                   static_cast<std::int16_t>(HIWORD(static_cast<std::uintptr_t>(at)))};
    return static_cast<std::int16_t>(host::SendMessageA(bar, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

void CancelHover() {
    TabHoverState& m = Module();
    features::EndTimer(m.HoverTimer);
    if (!m.Activate) ClosePreview();
}

void CALLBACK HoverTimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    TabHoverState& m = Module();
    features::EndTimer(m.HoverTimer, id);
    if (m.HoveredTab < 0) return;  // never a command for tab -1
    RunStep("HoverTimerProc", [&] {
        // The global modifier key held at this moment does the other of the two.
        const bool activate = m.Activate != IsGlobalModifierDown();
        if (activate) {
            SendHostCommand(contract::kCmdActivateTabBase + static_cast<std::uint32_t>(m.HoveredTab));
        } else if (State().CompanionCommandId > 0) {
            std::int16_t tab = m.HoveredTab;
            ShowPreview(tab);
        }
    });
}

void OnMouseMove(LPARAM at) {
    TabHoverState& m = Module();
    m.HoveredTab = TabUnderCursor(at);
    const auto current = static_cast<std::int16_t>(host::SendMessageA(State().TabBarWnd, TCM_GETCURSEL, 0, 0));
    if (m.HoveredTab != m.LastHoveredTab) {
        CancelHover();
        if (m.HoveredTab != -1 && m.HoveredTab != current)
            features::RestartTimer(m.HoverTimer, static_cast<UINT>(m.HoverTime), &HoverTimerProc);
    }
    m.LastHoveredTab = m.HoveredTab;
}

}  // namespace

void StartTabHover() {
    TabHoverState& m = Module();
    // A hand-edited value that is not a number leaves that one setting at its default.
    m.HoverTime = std::max(TrySettingNumber(Setting::HoverTime).value_or(350), kMinHoverMs);
    m.Activate = SettingOn(Setting::TabHoverActivate);
    m.PreviewScrollPos = SettingOn(Setting::PreviewScrollPos);
    RunStep([&] {
        const auto zoom = ParseNumber(SettingText(Setting::PreviewZoom));
        if (zoom && *zoom > 0 && *zoom < 1e6) m.PreviewZoom = static_cast<float>(*zoom);
    });
    // Every new tab's object starts the feature again: a hover under way keeps
    // its tab, or its timer would fire for no tab at all.
    if (!State().TabHoverOn) {
        m.HoveredTab = -1;
        m.LastHoveredTab = -1;
    }
    State().TabHoverOn = true;
}

void StopTabHover() noexcept {
    State().TabHoverOn = false;
    TabHoverState& m = Module();
    features::EndTimer(m.HoverTimer);
    ReleasePreview();
    m.HoveredTab = -1;
    m.LastHoveredTab = -1;
}

LRESULT TabHoverMessage(HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT&) {
    switch (msg) {
        case WM_MOUSEMOVE:
            RunStep([&] { OnMouseMove(lParam); });
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MOUSELEAVE:
            RunStep(CancelHover);
            if (msg == WM_MOUSELEAVE) Module().HoveredTab = Module().LastHoveredTab = -1;
            break;
        default:
            break;
    }
    return 0;
}

TabHoverState& TabHoverData() noexcept {
    static TabHoverState data;
    return data;
}

namespace {
constexpr MessageSet kActsOn{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MOUSELEAVE};
constexpr DispatchRow kRows[] = {
    Row(HookedWindow::TabBar, 10, kAnyKey, {&SharedState::TabHoverOn}, &ByValue<&TabHoverMessage>, ResultUse::Ignored,
        kActsOn),
};
}  // namespace

constinit const Feature kTabHoverFeature{.name = "tab hover",
                                         .setting = Setting::TabHoverAction,
                                         .start = &Run<&StartTabHover>,
                                         .stop = &StopTabHover,
                                         .running = &SharedState::TabHoverOn,
                                         .rows = kRows,
                                         .reset = [] { TabHoverData() = {}; }};

}  // namespace tillwick
