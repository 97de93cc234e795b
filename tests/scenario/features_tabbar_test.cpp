// The auto-hidden tab bar on the reference host: the band on its side, the
// wheel while it floats, tabs opened and closed, and the last-tab mode.
#include "features_fixture.h"

namespace {

class HideTabBar : public features_test::FeatureOnHost {
protected:
    HWND Bar() const { return host->TabBar(); }
    // Out of the band first: a bar hidden by a new tab counts as revealed until the mouse leaves.
    void Reveal() {
        MouseOverPage(100);
        RestOverPage(0, 250);
        ASSERT_TRUE(Visible(Bar()));
    }
    // One notch from tab `from`, the bar revealed: the tab activated (-1: none); a
    // wheel the page passed on to its parent fails the test.
    long WheelFrom(int from, int delta) {
        host->ActivateTab(from);
        testsupport::PumpFor(300);
        Reveal();
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

// The host lays the frame out anew; a second later the bar is laid out again
// on its side of the page, hidden, and reveals from that side.
TEST_F(HideTabBar, AfterTheHostMovesItOrSwitchesFullScreenTheBarIsLaidOutHiddenOnItsSide) {
    refhost::Host& h = StartWith({{"HideTabBar", "1"}});
    const struct {
        WPARAM command;
        bool onTop;
    } steps[] = {{0x818B, true}, {0x804D, true}, {0x818C, false}, {0x1809A, false}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.command);
        h.Command(step.command);
        EXPECT_TRUE(tillwick::State().StatusBarRevealBlocked);
        std::size_t mark = LogMark();
        testsupport::PumpFor(999);
        EXPECT_EQ(CommandCount(0x8179, mark), 0);
        mark = LogMark();
        testsupport::PumpFor(1);
        EXPECT_EQ(CommandCount(0x8179, mark), 2);
        EXPECT_FALSE(tillwick::State().StatusBarRevealBlocked);
        EXPECT_FALSE(Visible(Bar()));
        RestOverPage(0, 300, !step.onTop);
        EXPECT_FALSE(Visible(Bar()));
        RestOverPage(0, 250, step.onTop);
        EXPECT_TRUE(Visible(Bar()));
        // Over the page's edge: the page kept its room.
        const RECT bar = WindowRect(Bar()), page = WindowRect(h.MdiClient());
        EXPECT_EQ(step.onTop ? bar.top : bar.bottom, step.onTop ? page.top : page.bottom);
        RestOverPage(100, 250, step.onTop);
        ASSERT_FALSE(Visible(Bar()));
    }
}

// A double-click on the page while the bar floats runs the host's configured command; it and a closed tab
// flash the bar, an opened one hides it.
TEST_F(HideTabBar, ADoubleClickWhileItFloatsRunsTheHostsConfiguredCommandAndOpeningOrClosingATabHidesOrFlashesIt) {
    HostConfig("Double_Click_on_Tab_Bar", "33008", "MouseAction");  // 0x80F0: lock the tab
    refhost::Host& h = StartWith({{"HideTabBar", "1"}}, {"http://a.example/", "http://b.example/"});
    const HWND page = h.PageWindow(h.ActiveTab());
    std::size_t mark = LogMark();
    host::SendMessageA(page, WM_LBUTTONDBLCLK, 0, 0);  // hidden: the page's own double-click
    EXPECT_TRUE(FrameCommands(mark).empty());
    Reveal();
    mark = LogMark();
    host::SendMessageA(page, WM_LBUTTONDBLCLK, 0, 0);
    EXPECT_EQ(FrameCommands(mark), (std::vector<WPARAM>{0x80F0}));
    ExpectShownInOneMs(Bar());
    testsupport::PumpFor(1000);
    Reveal();
    h.OpenTab("http://c.example/");
    EXPECT_FALSE(Visible(Bar()));
    testsupport::PumpFor(1000);
    Reveal();
    h.CloseTab();
    ExpectShownInOneMs(Bar());
}

}  // namespace
