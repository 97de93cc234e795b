// The auto-hidden status bar on the reference host, told by what the host's
// windows and frame see.
#include "features_fixture.h"

namespace {

class HideStatusBar : public features_test::FeatureOnHost {
protected:
    HWND Bar() const { return host->StatusBar(); }
    // The host shows `text` in the bar; 300 ms go by.
    void Text(const char* text) {
        host::SendMessageA(Bar(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        testsupport::PumpFor(300);
    }
    void HideByMovingTheFrame() {
        host::SetWindowPos(host->Frame(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    }
    // In and out of the hot band; whether the bar is up afterwards.
    bool ShownAfterLeaving() {
        RestOverPage(0, 300);
        RestOverPage(100, 300);
        return Visible(Bar());
    }
};

TEST_F(HideStatusBar, HotBandBoundaryRevealsAfterTheDelayFloatingOverThePage) {
    Settings({{"HideStatusBar", "1"}, {"SBHotArea", "7"}, {"SBTimeDelay", "50"}});
    config.tabBarOnTop = true;  // nothing between the page and the status bar
    Start();
    ASSERT_FALSE(Visible(Bar()));
    const RECT page = WindowRect(host->MdiClient());
    const std::size_t mark = LogMark();
    RestOverPage(7, 500);
    EXPECT_FALSE(Visible(Bar()));
    RestOverPage(6, 99);  // a delay of 50 counts as 100
    ExpectShownInOneMs(Bar());
    EXPECT_EQ(CommandCount(0xE801, mark), 0);  // floating: no re-layout
    EXPECT_EQ(WindowRect(host->MdiClient()).bottom, page.bottom);
    // It stays within the bar's height less 2, and goes beyond it.
    RECT bar{};
    host::GetClientRect(Bar(), &bar);
    RestOverPage(bar.bottom - 2, 200);
    EXPECT_TRUE(Visible(Bar()));
    RestOverPage(bar.bottom - 1, 100);
    EXPECT_FALSE(Visible(Bar()));
}

TEST_F(HideStatusBar, ProgressPartWidthsStrictlyBetween80And90AreBusy) {
    StartWith({{"HideStatusBar", "1"}});
    for (int width = 79; width <= 91; ++width) {
        SCOPED_TRACE(width);
        RestOverPage(0, 250);
        // Part 1 as SB_GETRECT measures it, inside its borders.
        int rights[4] = {500, 500 + width, 700, -1};
        for (int pass = 0; pass < 2; ++pass) {
            host::SendMessageA(Bar(), SB_SETPARTS, 4, reinterpret_cast<LPARAM>(rights));
            const RECT part = StatusPart(1);
            rights[1] += width - (part.right - part.left);
        }
        RestOverPage(100, 250);  // leaving the band hides the bar only while no page loads
        EXPECT_EQ(Visible(Bar()), width > 80 && width < 90);
        HideByMovingTheFrame();
        EXPECT_FALSE(Visible(Bar()));
    }
}

// Our own information line is no message once it has five letters.
TEST_F(HideStatusBar, OnlyMessagesWorthShowingRevealAndAnOpeningPageHoldsTheBar) {
    StartWith({{"HideStatusBar", "1"}, {"ShowStatusMessage", "1"}});
    // The status bar is hooked by the next plugin object's start-up, so a later tab opens first.
    host->OpenTab("http://b.example/");
    testsupport::PumpFor(1000);
    HideByMovingTheFrame();
    for (const char* text : {"DONE loading", "Ready.", "rEaDy", "x", ""}) {
        SCOPED_TRACE(text);
        Text(text);
        EXPECT_FALSE(Visible(Bar()));
    }
    testsupport::PumpFor(300);  // the hold of the last "done" is over
    Text("Page is OPENING http://a.example/...");
    EXPECT_TRUE(Visible(Bar()));
    RestOverPage(0, 300);  // in and out of the hot band: held
    RestOverPage(100, 300);
    EXPECT_TRUE(Visible(Bar()));
    Text("Done");  // held 500 ms more
    EXPECT_TRUE(Visible(Bar()));
    testsupport::PumpFor(300);
    Text("Done");
    EXPECT_FALSE(Visible(Bar()));
    testsupport::PumpFor(300);
    const struct {
        const char* info;
        const char* text;
        bool shown;
    } cases[] = {
        {"Zone: Internet", "zone: INTERNET", false},  // the line itself, in any capitals
        {"Zone: Internet", "Zone: Internet | IP 10.0.0.1", false},
        {"Zone: Internet", "Zone: Intranet", true},
        {"Zone:", "Zone: Intranet", false},
        {"Zone", "Zone: Intranet", true},  // too short to tell apart from a message
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        tillwick::State().StatusInfoText = c.info;
        Text(c.text);
        EXPECT_EQ(Visible(Bar()), c.shown) << c.info;
        HideByMovingTheFrame();
    }
}

TEST_F(HideStatusBar, SwitchingRevealsOnlyForAnotherSiteAndNotForABlankPage) {
    refhost::Host& h = StartWith({{"HideStatusBar", "1"}, {"ShowSwitchTab", "1"}},
                                 {"http://a.example/1", "http://a.example/2", "about:blank", "http://b.example/"});
    tillwick::State().StatusBarInfoOn = true;  // the status information is on
    h.ActivateTab(0);
    testsupport::PumpFor(1000);
    HideByMovingTheFrame();
    for (int tab : {1, 2, 3}) {
        h.ActivateTab(tab);
        testsupport::PumpFor(250);  // the tab change settles in 200 ms
        EXPECT_EQ(Visible(Bar()), tab == 3) << tab;
    }
    EXPECT_TRUE(ShownAfterLeaving());  // held for 500 ms
    EXPECT_FALSE(ShownAfterLeaving());
}

}  // namespace
