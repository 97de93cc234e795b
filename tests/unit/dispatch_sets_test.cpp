// The message sets beside the dispatch rows: every handler, handed a message
// outside its row's set, must change nothing (the window procedures skip it
// for such messages), and a message no handler acts on costs no platform call
// and no failed step, with every feature on and the modifier key held.
#include <gtest/gtest.h>

#include <vector>

#include "core/errors.h"
#include "core/state.h"
#include "core/subclassing.h"
#include "host/sim/sim.h"

namespace {

using tillwick::DispatchRow;
using tillwick::ResultUse;
using tillwick::SharedState;
using tillwick::State;

HWND Fake(std::uintptr_t n) { return reinterpret_cast<HWND>(n); }

void EveryFeatureOn() {
    SharedState& s = State();
    s.MainFrameWnd = Fake(0x101);
    s.MdiClientWnd = Fake(0x102);
    s.RebarWnd = Fake(0x103);
    s.TabBarWnd = Fake(0x104);
    s.StatusBarWnd = Fake(0x105);
    s.PageViewWnd = Fake(0x106);
    s.AddressComboWnd = Fake(0x107);
    s.HighlightOverlayWnd = Fake(0x108);
    s.AddressEditWnd = Fake(0x109);
    s.SearchEditWnd = Fake(0x10A);
    for (bool* flag :
         {&s.LastTabExitOn, &s.PasteGoOn, &s.ShowInMenuOn, &s.StatusHtmlOn, &s.ShowGroupUrlOn, &s.OpenGroupConfirmOn,
          &s.OnTopDispatch, &s.HideTitleOn, &s.HideStatusBarOn, &s.HideTabBarOn, &s.HideLastTabOn, &s.TabHoverOn,
          &s.ToggleFilterOn, &s.TabMenuOn, &s.TabPluginMenuOn, &s.TabOtherMenuOn, &s.PluginMenuOn,
          &s.ExtensionMenuOn, &s.OtherMenuOn, &s.SortSearchOn, &s.StatusBarInfoOn, &s.ZoneIconOn,
          &s.StatusStripClips, &s.CustomProgressOn, &s.HighlightComboOn, &s.CombineButtonsOn, &s.StatusBarRevealed,
          &s.TabBarRevealed})
        *flag = true;
    s.GlobalModifierKey = VK_SHIFT;
}

std::vector<const DispatchRow*> AllRows() {
    std::vector<const DispatchRow*> rows;
    for (auto table : {tillwick::MainFrameRows(), tillwick::MdiClientRows(), tillwick::RebarRows(),
                       tillwick::TabBarRows(), tillwick::StatusBarRows(), tillwick::PageViewRows(),
                       tillwick::EditRows()})
        for (const DispatchRow& row : table) rows.push_back(&row);
    rows.push_back(&tillwick::HighlightAfterHostRow());
    return rows;
}

class DispatchSets : public ::testing::Test {
protected:
    void SetUp() override {
        host::sim::Reset();
        tillwick::ResetState();
        tillwick::Handlers() = tillwick::DefaultHandlers();
        tillwick::ClearStepFailures();
        EveryFeatureOn();
    }
    void TearDown() override {
        host::sim::Reset();
        tillwick::ResetState();
    }
};

TEST_F(DispatchSets, HandlersChangeNothingForMessagesOutsideTheirSet) {
    const tillwick::MessageHandlers handlers = tillwick::DefaultHandlers();
    const LPARAM lParam = 0x00050005;
    const std::vector<const DispatchRow*> rows = AllRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const DispatchRow* row = rows[i];
        if (row->actsOn->Has(WM_APP + 7)) continue;  // a handler that sees every message
        for (std::uintptr_t w = 0x101; w <= 0x10A; ++w) {
            for (UINT m = 0; m < 0x410; ++m) {
                if (row->actsOn->Has(m)) continue;
                HWND hwnd = Fake(w);
                UINT msg = m;
                WPARAM wParam = 0x8179;
                LPARAM lp = lParam;
                LRESULT slot = 42;
                const std::uint64_t calls = host::sim::CountedCalls();
                LRESULT value = (handlers.*(row->handler))(hwnd, msg, wParam, lp, slot);
                const bool passes = row->use == ResultUse::ReplacesMsg      ? value == static_cast<LRESULT>(m)
                                    : row->use == ResultUse::ReplacesLParam ? value == lParam
                                    : row == &tillwick::HighlightAfterHostRow() ? value == 42
                                                                               : true;
                ASSERT_TRUE(passes && msg == m && lp == lParam && host::sim::CountedCalls() == calls)
                    << "row " << i << ", window " << w << ", message 0x"
                    << std::hex << m;
            }
        }
    }
    EXPECT_EQ(tillwick::SkippedSteps().count, 0u) << tillwick::SkippedSteps().lastText;
    EXPECT_EQ(host::sim::LiveTimerCount(), 0);
}

TEST_F(DispatchSets, AMessageNoHandlerActsOnCostsNoPlatformCall) {
    host::sim::SetKeyDown(VK_SHIFT, true);
    using Proc = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM) noexcept;
    const std::pair<Proc, HWND> procs[] = {
        {&tillwick::MainFrameProc, Fake(0x101)},  {&tillwick::MdiClientProc, Fake(0x102)},
        {&tillwick::RebarProc, Fake(0x103)},      {&tillwick::TabBarProc, Fake(0x104)},
        {&tillwick::StatusBarProc, Fake(0x105)},
        {&tillwick::PageViewProc, Fake(0x106)},   {&tillwick::AddressComboProc, Fake(0x107)},
        {&tillwick::AddressEditProc, Fake(0x109)}, {&tillwick::SearchEditProc, Fake(0x10A)}};
    for (UINT msg : {UINT{WM_NCHITTEST}, UINT{WM_TIMER}, UINT{WM_PAINT}, UINT{WM_APP + 7}}) {
        for (const auto& [proc, hwnd] : procs) {
            const std::uint64_t calls = host::sim::CountedCalls();
            proc(hwnd, msg, 0, 0);
            EXPECT_EQ(host::sim::CountedCalls(), calls) << "message 0x" << std::hex << msg;
        }
    }
}

}  // namespace
