// Tab lock and last-tab exit on the reference host: which tabs the host
// locks at start-up, how long their icons are kept, and when the frame is
// told to exit after its last tab closes.
#include "features_fixture.h"

namespace {

using features_test::FeatureOnHost;

constexpr WPARAM kLock = 0x80F0;
constexpr WPARAM kExit = 0xE141;

class TabLock : public FeatureOnHost {};

TEST_F(TabLock, ThreeWithTwoTabsLocksBothInOrderAndKeepsIconsForFifteenSeconds) {
    const std::size_t mark = LogMark();
    refhost::Host& h = StartWith({{"StartUpTabLock", "1"}, {"TabToLock", "3"}}, {"http://a.example/", "http://b.example/"});
    EXPECT_EQ(h.ActiveTab(), 1);
    // Activate then lock, one tab after the other.
    std::vector<WPARAM> lockRun;
    for (WPARAM cmd : FrameCommands(mark))
        if (cmd == kLock || (cmd >= 0xC000 && cmd < 0xC100)) lockRun.push_back(cmd);
    ASSERT_GE(lockRun.size(), 4U);
    EXPECT_EQ(std::vector<WPARAM>(lockRun.begin(), lockRun.begin() + 4),
              (std::vector<WPARAM>{0xC000, kLock, 0xC001, kLock}));

    // Two icons per 500 ms tick, 30 ticks, then nothing more.
    testsupport::PumpFor(15000);
    EXPECT_EQ(Delivered(h.TabBar(), TCM_SETITEMW, mark), 60);
    testsupport::PumpFor(2000);
    EXPECT_EQ(Delivered(h.TabBar(), TCM_SETITEMW, mark), 60);
}

// Releasing a tab's plugin object removes the hooks, so each case closes the
// only tab of a fresh host. The exit command follows exactly 100 ms later, only
// in full screen, not with the modifier held, and not once switched off.
using TabExit = FeatureOnHost;

TEST_F(TabExit, LastTabClosedInFullScreenExits) {
    struct Case { bool fullScreen, modifier, switchedOff; } const cases[] = {
        {true, false, false}, {false, false, false}, {true, true, false}, {true, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.fullScreen << c.modifier << c.switchedOff);
        Renew();
        refhost::Host& h = StartWith({{"LastTabExit", "1"}}, {"http://a.example/"});
        if (c.fullScreen) h.Command(0x804D);
        if (c.switchedOff) {  // by the options dialog's Apply
            Settings({{"LastTabExit", "0"}});
            tillwick::RestartFeatures();
        }
        EXPECT_EQ(h.FullScreen(), c.fullScreen);
        host::sim::SetKeyDown(VK_SHIFT, c.modifier);
        const std::size_t mark = LogMark();
        h.CloseTab();
        host::sim::SetKeyDown(VK_SHIFT, false);
        testsupport::PumpFor(99);
        EXPECT_EQ(Delivered(h.Frame(), WM_COMMAND, mark, kExit), 0);
        const HWND frame = h.Frame();  // gone from the host once it has closed
        testsupport::PumpFor(1);
        const bool exited = Delivered(frame, WM_COMMAND, mark, kExit) == 1;
        testsupport::PumpFor(10);
        EXPECT_EQ(h.Running(), !exited);
        EXPECT_EQ(exited, c.fullScreen && !c.modifier && !c.switchedOff);
    }
}

}  // namespace
