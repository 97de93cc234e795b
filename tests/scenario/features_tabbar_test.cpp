// The auto-hidden tab bar on the reference host: the band on its side, the
// wheel while it floats, tabs opened and closed, and the last-tab mode.
#include "features_fixture.h"

namespace {

class HideTabBar : public features_test::FeatureOnHost {
protected:
    HWND Bar() const { return host->TabBar(); }
    // One notch from tab `from`, the bar revealed: the tab activated (-1: none); a
    // wheel the page passed on to its parent fails the test. The mouse is out of the
    // band first: a bar hidden by a new tab counts as revealed until the mouse leaves.
    long WheelFrom(int from, int delta) {
        host->ActivateTab(from);
        testsupport::PumpFor(300);
        MouseOverPage(100);
        RestOverPage(0, 250);
        EXPECT_TRUE(Visible(Bar()));
        const HWND page = host->PageWindow(from);
        const std::size_t mark = LogMark();
        host::SendMessageA(page, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(delta)) << 16, 0);
        EXPECT_EQ(Delivered(host::GetParent(page), WM_MOUSEWHEEL, mark), 0);
        for (WPARAM cmd : FrameCommands(mark))
            if (cmd >= 0xC000 && cmd < 0xC100) return static_cast<long>(cmd - 0xC000);
        return -1;
    }
};

TEST_F(HideTabBar, OnlyTheBandOnItsSideOfThePageRevealsIt) {
    for (bool onTop : {false, true}) {
        SCOPED_TRACE(onTop);
        Renew();
        Settings({{"HideTabBar", "1"}, {"TBHotArea", "15"}});
        config.tabBarOnTop = onTop;
        Start();
        ASSERT_FALSE(Visible(Bar()));
        const RECT page = WindowRect(host->MdiClient());
        for (int d : {0, 15}) {
            RestOverPage(d, 500, d == 0 ? !onTop : onTop);  // the other side, then just outside the band
            EXPECT_FALSE(Visible(Bar()));
        }
        RestOverPage(14, 249, onTop);
        ExpectShownInOneMs(Bar());
        host::SendMessageA(host->Frame(), WM_SIZE, SIZE_RESTORED, 0);  // laid out: the floating bar gets no room
        EXPECT_EQ(WindowRect(host->MdiClient()).top, page.top);
        EXPECT_EQ(WindowRect(host->MdiClient()).bottom, page.bottom);
    }
}

TEST_F(HideTabBar, TheWheelSwitchesTabsWrappingAroundAndIsConsumed) {
    StartWith({{"HideTabBar", "1"}}, {"http://a.example/", "http://b.example/", "http://c.example/", "http://d.example/",
                                      "http://e.example/"});
    for (auto [from, delta, to] : {std::tuple{2, 120, 1}, {2, -120, 3}, {0, 120, 4}, {4, -120, 0}, {3, 240, 1}})
        EXPECT_EQ(WheelFrom(from, delta), to) << from << " " << delta;
    for (int tab = 4; tab > 0; --tab) host->CloseTab();
    testsupport::PumpFor(1000);
    EXPECT_EQ(WheelFrom(0, 120), -1);  // with one tab nothing is sent, but the wheel is still consumed
}

// The closing tab's object goes before or after its windows, as hosts differ:
// either way the plugin stays on for the tabs that remain.
TEST_F(HideTabBar, TheLastTabModeShowsTheBarOnlyWithTwoTabs) {
    for (auto order : {refhost::ReleaseOrder::AfterWindows, refhost::ReleaseOrder::BeforeWindows}) {
        SCOPED_TRACE(static_cast<int>(order));
        Renew();
        config.releaseOrder = order;
        refhost::Host& h = StartWith({{"HideTabBar", "1"}, {"HideLastTab", "1"}});
        EXPECT_FALSE(h.TabBarShown());
        for (int round = 0; round < 2; ++round) {
            h.OpenTab("http://b.example/");
            testsupport::PumpFor(1000);
            EXPECT_TRUE(h.TabBarShown());
            h.CloseTab();
            testsupport::PumpFor(199);
            EXPECT_TRUE(h.TabBarShown());
            testsupport::PumpFor(1);
            EXPECT_FALSE(h.TabBarShown()) << "round " << round;
        }
        EXPECT_EQ(host::GetWindowLongPtrW(h.Frame(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&tillwick::MainFrameProc));
    }
}

// A stop inside the re-layout or hold window, then a start: as fresh as the first start.
TEST_F(HideTabBar, AStopInsideTheRelayoutWindowLeavesNothingHalfDone) {
    refhost::Host& h = StartWith({{"HideTabBar", "1"}, {"HideStatusBar", "1"}});
    host::SendMessageA(h.Frame(), WM_COMMAND, 0x818C, 0);  // the tab bar below the pages
    ASSERT_TRUE(tillwick::State().StatusBarRevealBlocked);
    tillwick::StopHideStatusBar();
    EXPECT_TRUE(tillwick::State().StatusBarRevealBlocked);  // the tab bar's re-layout still holds it
    const std::size_t mark = LogMark();
    tillwick::StopHideTabBar();
    EXPECT_EQ(CommandCount(0x8179, mark), 2);  // the re-layout is done now, not dropped
    EXPECT_FALSE(tillwick::State().StatusBarRevealBlocked);
    EXPECT_EQ(tillwick::HideTabBarData().TabBarRelayoutTimer, 0u);
    tillwick::State().StatusBarHeld = true;  // as a click on the bar leaves it
    tillwick::StartHideStatusBar();
    tillwick::StopHideStatusBar();
    EXPECT_FALSE(tillwick::State().StatusBarHeld);
}

}  // namespace
