// The pop-up filter toggle on the reference host: the all-blockers button
// brings back only the blockers the user had on, and the commands the plugin
// sends for that are what the host's frame sees.
#include <array>

#include "features_fixture.h"

namespace {

using features_test::FeatureOnHost;
using Blockers = std::array<bool, 6>;

constexpr WPARAM kAllBlockers = 0x813C;

class ToggleFilter : public FeatureOnHost {
protected:
    void SetUp() override {
        FeatureOnHost::SetUp();
        Settings({{"ToggleFilter", "1"}});
    }
    Blockers HostBlockers() const {
        Blockers on{};
        for (int k = 0; k < 6; ++k) on[static_cast<std::size_t>(k)] = host->Blocker(k);
        return on;
    }
    // One press of the button and what the frame received in the next 200 ms.
    std::vector<WPARAM> Press() {
        const std::size_t mark = LogMark();
        host->Command(kAllBlockers);
        testsupport::PumpFor(200);
        return FrameCommands(mark);
    }
};

TEST_F(ToggleFilter, SwitchingOffBeforeTheRestoreCancelsIt) {
    HostConfig("UseUrlFilter", "1");
    refhost::Host& h = Start();
    Press();  // off
    const std::size_t mark = LogMark();
    h.Command(kAllBlockers);  // on, restore pending
    h.Command(kAllBlockers);  // off again at once
    testsupport::PumpFor(500);
    EXPECT_EQ(FrameCommands(mark), (std::vector<WPARAM>{kAllBlockers, kAllBlockers}));
    EXPECT_EQ(HostBlockers(), Blockers{});
}

// A host key that is not exactly "1" (empty, a word) is off, as the host
// itself reads it; the feature still starts. Only some of the last three on
// makes start-up press the button four times, which settles on the selection.
TEST_F(ToggleFilter, UnreadableHostKeysCountAsOffAndStartUpPressesFourTimes) {
    HostConfig("EnablePop", "");
    HostConfig("EnableAutoFilter", "yes");
    HostConfig("RemoveFloatAD", "1");
    Start();
    testsupport::PumpFor(2000);
    EXPECT_EQ(CommandCount(kAllBlockers, 0), 4);
    EXPECT_EQ(HostBlockers(), (Blockers{false, false, false, false, true, false}));
    EXPECT_TRUE(tillwick::State().ToggleFilterOn);
    // The start-up timer has ended: nothing of ours is left running.
    EXPECT_EQ(host::sim::LiveTimerCount(), 0);
}

// The selection the button brings back, as the user's commands leave it: with
// none, all six; a blocker switched on while all are off is the selection alone;
// commands from an accelerator (notification code 1) count as from the menu.
TEST_F(ToggleFilter, TheSelectionFollowsTheUsersCommands) {
    constexpr WPARAM kPress = 0;
    const struct {
        std::vector<const char*> hostKeys;
        std::vector<WPARAM> steps;  // kPress: the button, which restores nothing yet
        std::vector<WPARAM> lastPress;
        Blockers after;
    } cases[] = {
        {{}, {kPress, kPress}, {kAllBlockers}, {true, true, true, true, true, true}},
        {{"EnablePop", "RemoveModeDialog"}, {kPress, 0x810E, kPress},
         {kAllBlockers, 0x8034, 0x80F1, 0x818F, 0x8190, 0x8193}, {false, false, true, false, false, false}},
        {{"EnableAutoFilter", "RemoveFloatAD"}, {0x810E, 0x80F1, kPress},
         {kAllBlockers, 0x8034, 0x80F1, 0x818F, 0x8193}, {false, false, true, false, true, false}},
        {{"EnableAutoFilter", "RemoveFloatAD"}, {0x1810E, 0x180F1, kPress},
         {kAllBlockers, 0x8034, 0x80F1, 0x818F, 0x8193}, {false, false, true, false, true, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        Renew();
        for (const char* key : c.hostKeys) HostConfig(key, "1");
        Start();
        for (WPARAM step : c.steps) {
            if (step == kPress) EXPECT_EQ(Press(), std::vector<WPARAM>{kAllBlockers});
            else host->Command(step);
        }
        EXPECT_EQ(Press(), c.lastPress);
        EXPECT_EQ(HostBlockers(), c.after);
    }
}

TEST_F(ToggleFilter, SwitchingOnRestoresOnlyTheSelectionInBlockerOrder) {
    HostConfig("EnableAutoFilter", "1");  // blocker 2
    HostConfig("RemoveFloatAD", "1");     // blocker 5
    refhost::Host& h = Start();
    ASSERT_EQ(HostBlockers(), (Blockers{false, true, false, false, true, false}));

    EXPECT_EQ(Press(), std::vector<WPARAM>{kAllBlockers});  // off: nothing follows
    EXPECT_EQ(HostBlockers(), Blockers{});

    // On: the host switches all six on, and 100 ms later the others go off again.
    const std::size_t mark = LogMark();
    h.Command(kAllBlockers);
    testsupport::PumpFor(99);
    EXPECT_EQ(FrameCommands(mark), std::vector<WPARAM>{kAllBlockers});
    EXPECT_EQ(HostBlockers(), (Blockers{true, true, true, true, true, true}));
    testsupport::PumpFor(101);
    EXPECT_EQ(FrameCommands(mark), (std::vector<WPARAM>{kAllBlockers, 0x8034, 0x810E, 0x818F, 0x8193}));
    EXPECT_EQ(HostBlockers(), (Blockers{false, true, false, false, true, false}));

    // Our own restoring commands did not change the selection: the next cycle is the same.
    EXPECT_EQ(Press(), std::vector<WPARAM>{kAllBlockers});
    EXPECT_EQ(Press(), (std::vector<WPARAM>{kAllBlockers, 0x8034, 0x810E, 0x818F, 0x8193}));
}

}  // namespace
