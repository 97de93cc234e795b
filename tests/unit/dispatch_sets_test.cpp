// Each dispatch row names the messages its handler acts on. Handed any other
// message, the handler must change nothing (the window procedures skip it
// then); and a message no handler acts on costs no platform call, with every
// feature on and the modifier key held.
#include <gtest/gtest.h>

#include <vector>

#include "base/errors.h"
#include "core/feature.h"
#include "core/state.h"
#include "core/subclassing.h"
#include "host/sim/sim.h"

namespace {

using namespace tillwick;

HWND Fake(std::uintptr_t n) { return reinterpret_cast<HWND>(n); }

void EveryFeatureOn() {
    host::sim::Reset();
    ResetState();
    SharedState& s = State();
    HWND* windows[] = {&s.MainFrameWnd,    &s.MdiClientWnd,    &s.RebarWnd,          &s.TabBarWnd,
                       &s.StatusBarWnd,    &s.PageViewWnd,     &s.AddressComboWnd,   &s.HighlightOverlayWnd,
                       &s.AddressEditWnd,  &s.SearchEditWnd};
    for (std::uintptr_t i = 0; i < std::size(windows); ++i) *windows[i] = Fake(0x101 + i);
    for (bool* flag : {&s.LastTabExitOn, &s.PasteGoOn, &s.ShowInMenuOn, &s.StatusHtmlOn, &s.ShowGroupUrlOn,
                       &s.OpenGroupConfirmOn, &s.OnTopDispatch, &s.HideTitleOn, &s.HideStatusBarOn, &s.HideTabBarOn,
                       &s.HideLastTabOn, &s.TabHoverOn, &s.ToggleFilterOn, &s.TabMenuOn, &s.TabPluginMenuOn,
                       &s.TabOtherMenuOn, &s.PluginMenuOn, &s.ExtensionMenuOn, &s.OtherMenuOn, &s.SortSearchOn,
                       &s.StatusBarInfoOn, &s.ZoneIconOn, &s.StatusStripClips, &s.CustomProgressOn,
                       &s.HighlightComboOn, &s.CombineButtonsOn, &s.StatusBarRevealed, &s.TabBarRevealed})
        *flag = true;
    s.GlobalModifierKey = VK_SHIFT;
}

TEST(DispatchSets, HandlersChangeNothingForMessagesOutsideTheirSet) {
    EveryFeatureOn();
    std::vector<const DispatchRow*> rows;
    for (const Feature* f : FeatureTable())
        for (const DispatchRow& row : f->rows) rows.push_back(&row);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const DispatchRow& row = *rows[i];
        // On the address box and its overlay a row runs after the host and passes the host's result on.
        const bool afterHost = row.window == HookedWindow::AddressCombo || row.window == HookedWindow::HighlightOverlay;
        for (std::uintptr_t w = 0x101; w <= 0x10A; ++w) {
            for (UINT m = 0; m < 0x410; ++m) {
                if (row.actsOn->Has(m)) continue;
                HWND hwnd = Fake(w);
                UINT msg = m;
                WPARAM wParam = 0x8179;
                LPARAM lParam = 0x50005;
                LRESULT slot = 42;
                const std::uint64_t calls = host::sim::CountedCalls();
                const LRESULT value = row.handler(hwnd, msg, wParam, lParam, slot);
                const LRESULT passed = row.use == ResultUse::ReplacesMsg      ? LRESULT(m)
                                       : row.use == ResultUse::ReplacesLParam ? 0x50005
                                       : afterHost                            ? 42  // the host's result
                                                                              : value;
                ASSERT_TRUE(value == passed && msg == m && lParam == 0x50005 && host::sim::CountedCalls() == calls)
                    << "row " << i << ", window " << w << ", message 0x" << std::hex << m;
            }
        }
    }
    EXPECT_EQ(SkippedSteps().count, 0u) << SkippedSteps().lastText;
    EXPECT_EQ(host::sim::LiveTimerCount(), 0);
}

TEST(DispatchSets, AMessageNoHandlerActsOnCostsNoPlatformCall) {
    EveryFeatureOn();
    host::sim::SetKeyDown(VK_SHIFT, true);
    using Proc = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM) noexcept;
    const Proc procs[] = {&MainFrameProc,   &MdiClientProc,  &RebarProc,        &TabBarProc,
                          &StatusBarProc,   &PageViewProc,   &AddressComboProc, &HighlightOverlayProc,
                          &AddressEditProc, &SearchEditProc};
    for (UINT msg : {UINT{WM_NCHITTEST}, UINT{WM_TIMER}, UINT{WM_PAINT}, UINT{WM_APP + 7}}) {
        for (std::uintptr_t i = 0; i < std::size(procs); ++i) {
            const std::uint64_t calls = host::sim::CountedCalls();
            procs[i](Fake(0x101 + i), msg, 0, 0);
            EXPECT_EQ(host::sim::CountedCalls(), calls) << "procedure " << i << ", message 0x" << std::hex << msg;
        }
    }
    host::sim::Reset();
    ResetState();
}

}  // namespace
