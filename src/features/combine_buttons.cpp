// The combined button: of the two adjacent toolbar buttons Stop (0x800A) and
// Refresh (0x800B) only one is shown at a time, switched by the load state;
// the band gives up the hidden button's width. (0 = loading shows Stop,
// 1 = loaded shows Refresh.)
#include <cstdlib>

#include "base/errors.h"
#include "core/feature.h"
#include "core/host_contract.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "features/address_bar.h"
#include "features/address_bar_state.h"

namespace tillwick {
namespace {

namespace c = contract;

CombineState& Module() noexcept { return AddressBarData().Combine; }

void HideButton(std::uint32_t command, bool hide) {
    host::SendMessageA(State().ButtonsToolbarWnd, TB_HIDEBUTTON, command, MAKELONG(hide ? TRUE : FALSE, 0));
}

std::int16_t ButtonWidth(std::uint32_t command) {
    TBBUTTONINFOA info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_SIZE;
    host::SendMessageA(State().ButtonsToolbarWnd, TB_GETBUTTONINFOA, command, reinterpret_cast<LPARAM>(&info));
    return static_cast<std::int16_t>(info.cx);
}

// Adds `delta` to the ideal width of the main buttons' band.
void AdjustBandWidth(int delta) {
    const HWND rebar = State().RebarWnd;
    const auto count = static_cast<UINT>(host::SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0));
    for (UINT i = 0; i < count; ++i) {
        REBARBANDINFOA band{};
        band.cbSize = sizeof(band);
        band.fMask = RBBIM_ID | RBBIM_IDEALSIZE;
        if (!host::SendMessageA(rebar, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&band))) continue;
        if (band.wID != c::kMainButtonsBandId) continue;
        band.cxIdeal = static_cast<UINT>(static_cast<int>(band.cxIdeal) + delta);
        host::SendMessageA(rebar, RB_SETBANDINFOA, i, reinterpret_cast<LPARAM>(&band));
        return;
    }
}

}  // namespace

bool FindRefreshStop() {
    SharedState& s = State();
    CombineState& m = Module();
    // Without the toolbar there is nothing to ask; the report names the missing toolbar itself.
    if (!host::IsWindow(s.ButtonsToolbarWnd)) return false;
    m.StopIndex = static_cast<std::int32_t>(host::SendMessageA(s.ButtonsToolbarWnd, TB_COMMANDTOINDEX, c::kCmdStop, 0));
    m.RefreshIndex =
        static_cast<std::int32_t>(host::SendMessageA(s.ButtonsToolbarWnd, TB_COMMANDTOINDEX, c::kCmdRefresh, 0));
    if (m.StopIndex >= 0 && m.RefreshIndex >= 0 && std::abs(m.StopIndex - m.RefreshIndex) == 1) return true;
    std::string reason;
    if (m.StopIndex < 0)
        reason = LanguageText("121", "Cannot find Stop button.");
    else if (m.RefreshIndex < 0)
        reason = LanguageText("120", "Cannot find Refresh button.");
    else
        reason = LanguageText("122", "The Stop button and Refresh button are not next to each other.");
    s.DiagnosticsText += LanguageText("123", "Cannot combine Refresh and Stop button:") + "\r\n" + reason + "\r\n";
    return false;
}

void StartCombineButtons() {
    SharedState& s = State();
    if (s.CombineButtonsOn) return;  // already combined: the band gave the width up once
    if (!FindRefreshStop()) return;
    CombineState& m = Module();
    m.StopWidth = ButtonWidth(c::kCmdStop);
    HideButton(c::kCmdStop, true);
    AdjustBandWidth(-m.StopWidth);
    s.CombineButtonsOn = true;
}

void StopCombineButtons() noexcept {
    SharedState& s = State();
    if (!s.CombineButtonsOn) return;
    s.CombineButtonsOn = false;
    RunStep([] {
        HideButton(c::kCmdRefresh, false);
        HideButton(c::kCmdStop, false);
        AdjustBandWidth(Module().StopWidth);
    });
}

void SetCombinedState(std::int32_t& n) {
    if (n == 0) {
        HideButton(c::kCmdRefresh, true);
        HideButton(c::kCmdStop, false);
    } else {
        HideButton(c::kCmdStop, true);
        HideButton(c::kCmdRefresh, false);
    }
}

AddressBarState& AddressBarData() noexcept {
    static AddressBarState data;
    return data;
}

namespace {

void ShowDocumentState() {
    std::optional<std::string> readyState = State().ActiveDocument.GetText("readyState");
    std::int32_t n = readyState && *readyState == "complete" ? 1 : 0;
    SetCombinedState(n);
}

void OnNotice(const SpineNotice& notice) {
    if (!State().CombineButtonsOn) return;
    std::int32_t n = 0;
    switch (notice.what) {
    case Notice::TabSwitched:
        ShowDocumentState();
        break;
    case Notice::NavigationStarted:
        SetCombinedState(n);
        break;
    case Notice::DownloadComplete:
        n = 1;
        SetCombinedState(n);
        break;
    default:
        break;
    }
}

// The host's Stop command ends the loading the button shows.
LRESULT StopCommandMessage(HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
    if (msg == WM_COMMAND && wParam == contract::kCmdStop) {
        std::int32_t loaded = 1;
        SetCombinedState(loaded);
    }
    return 0;
}

constexpr MessageSet kActsOn{WM_COMMAND};
constexpr DispatchRow kRows[] = {
    Row(HookedWindow::MainFrame, 0, kAnyKey, {&SharedState::CombineButtonsOn}, &ByValue<&StopCommandMessage>,
        ResultUse::Ignored, kActsOn),
};

}  // namespace

constinit const Feature kCombineButtonsFeature{.name = "combined Refresh/Stop button",
                                               .setting = Setting::CombineButtons,
                                               .startAt = StartPoint::ButtonsToolbar,
                                               .start = &Run<&StartCombineButtons>,
                                               .stop = &StopCombineButtons,
                                               .running = &SharedState::CombineButtonsOn,
                                               .rows = kRows,
                                               .notice = &OnNotice,
                                               .reset = [] { AddressBarData() = {}; },
                                               .diagnose = [] { FindRefreshStop(); }};

}  // namespace tillwick
