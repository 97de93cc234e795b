// Start-up on the simulated host: the inert path, the tab wait and the final
// tab selection, the start table's settings, discovery, the capture chain,
// the security-id poll.
#include <array>
#include <memory>
#include <tuple>

#include "core/feature.h"
#include "core/host_contract.h"
#include "core/startup.h"
#include "scenario/spine_fixture.h"

namespace spine {
namespace {

using tillwick::PluginObject;
using tillwick::State;

constexpr WPARAM kSelectTab0 = 0xC000;
constexpr WPARAM kSelectTab4 = 0xC004;

class SpineStartup : public SpineTest {
protected:
    int TabSelections() const {
        int n = 0;
        for (WPARAM i = 0; i < 10; ++i) n += Delivered(w.frame, WM_COMMAND, kSelectTab0 + i);
        return n;
    }
};

// Five restored tabs: the last one is selected, or the first with ActivateFirstTab, once, through
// the hook; a second start-up with the panels on selects nothing.
TEST_F(SpineStartup, FiveTabsSelectTheChosenTabOnceThroughTheHook) {
    for (const auto& [first, command] : {std::pair{"0", kSelectTab4}, std::pair{"1", kSelectTab0}}) {
        SCOPED_TRACE(first);
        Renew();
        Setting("ActivateFirstTab", first);
        BuildHost({.tabs = 5});
        auto plugin = StartPlugin();
        EXPECT_EQ(Delivered(w.frame, WM_COMMAND, command), 1);
        ASSERT_EQ(HostReceived(w.frame, WM_COMMAND, command), 1);
        for (const HostMessage& m : hostLog)
            if (m.hwnd == w.frame && m.msg == WM_COMMAND && m.wParam == command) EXPECT_TRUE(m.throughHook);
        host::sim::Advance(5000);  // the start-up timer has ended
        EXPECT_EQ(TabSelections(), 1);

        plugin.reset();
        host::sim::ClearMessageLog();
        Setting("StatusHtml", "1");
        auto second = StartPlugin();
        EXPECT_TRUE(State().StatusHtmlOn);
        EXPECT_EQ(TabSelections(), 0);
    }
}

// Objects created together (a host restoring its tabs) wait unhooked for the first tab and start up
// once, and no start-up timer is left running; an object created later starts up again.
TEST_F(SpineStartup, ObjectsCreatedTogetherWaitForTheFirstTabStartUpOnceAndLaterOnesAgain) {
    BuildHost({.tabs = 0});
    const LONG_PTR hostProc = ProcOf(w.frame);
    auto first = StartPlugin(100);
    auto second = StartPlugin(2000);
    EXPECT_EQ(TabSelections(), 0);
    EXPECT_EQ(ProcOf(w.frame), hostProc);
    EXPECT_EQ(host::sim::LiveTimerCount(), 1);  // still waiting

    AddTab();
    host::sim::Advance(200);
    EXPECT_EQ(Delivered(w.frame, WM_COMMAND, kSelectTab0), 1);  // 0xBFFF + 1
    EXPECT_EQ(ProcOf(w.frame), reinterpret_cast<LONG_PTR>(&tillwick::MainFrameProc));
    host::sim::Advance(3000);
    EXPECT_EQ(Delivered(w.frame, WM_COMMAND, kSelectTab0), 1);

    auto third = StartPlugin(3000);
    EXPECT_EQ(Delivered(w.frame, WM_COMMAND, kSelectTab0), 2);
}

TEST_F(SpineStartup, OutsideTheBrowserThePluginStaysInert) {
    host::sim::SetExecutablePath("C:\\Program Files\\Internet Explorer\\iexplore.exe");
    BuildHost({.tabs = 5});
    LONG_PTR hostProc = ProcOf(w.frame);
    {
        auto plugin = StartPlugin(3000);
        EXPECT_EQ(host::sim::LiveTimerCount(), 0);
        EXPECT_EQ(ProcOf(w.frame), hostProc);
        EXPECT_EQ(Delivered(w.frame, WM_COMMAND), 0);
        host::SendMessageA(w.frame, WM_GETTEXT, 0, 0);
        EXPECT_EQ(host::sim::LiveTimerCount(), 0);
    }
    EXPECT_FALSE(host::fs::FileExists(kPluginFolder + "\\settings.ini"));
    EXPECT_FALSE(host::fs::FileExists(kPluginFolder + "\\temp1"));
    EXPECT_EQ(ProcOf(w.frame), hostProc);
}

// What start-up makes of a setting: the language from ours or the host's, Show in menu on unless
// the key holds something else, the modifier Shift only for exactly "Shift".
struct SettingCase {
    const char* key;
    const char* value;  // nullptr: missing
    const char* hostLanguageId;
    std::string (*read)();
    std::string expected;
};

std::string Language() { return State().LanguageId; }
std::string ShowInMenu() { return State().ShowInMenuOn ? "on" : "off"; }
std::string Modifier() {
    const int key = State().GlobalModifierKey;
    return key == VK_SHIFT ? "Shift" : key == VK_CONTROL ? "Ctrl" : std::to_string(key);
}

class SpineStartupSetting : public SpineStartup, public ::testing::WithParamInterface<SettingCase> {};

TEST_P(SpineStartupSetting, IsReadAsItsExactText) {
    const SettingCase& c = GetParam();
    if (c.value) Setting(c.key, c.value);
    WriteText(kHostFolder + "Language\\English.ini",
              std::string("[General]\r\nlanguage_id=") + c.hostLanguageId + "\r\n");
    BuildHost();
    auto plugin = StartPlugin();
    EXPECT_EQ(c.read(), c.expected) << c.key << "=" << (c.value ? c.value : "<missing>");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpineStartupSetting,
    ::testing::Values(
        SettingCase{"LanguageID", nullptr, "", Language, "0000"},
        SettingCase{"LanguageID", "auto", "", Language, "0000"},
        SettingCase{"LanguageID", "auto", "2052", Language, "2052"},
        SettingCase{"LanguageID", "", "2052", Language, "2052"},
        SettingCase{"LanguageID", "1031", "2052", Language, "1031"},
        SettingCase{"LanguageID", "1031", "", Language, "1031"},
        SettingCase{"ShowInMenu", nullptr, "", ShowInMenu, "on"}, SettingCase{"ShowInMenu", "", "", ShowInMenu, "on"},
        SettingCase{"ShowInMenu", "1", "", ShowInMenu, "on"}, SettingCase{"ShowInMenu", "0", "", ShowInMenu, "off"},
        SettingCase{"ShowInMenu", "yes", "", ShowInMenu, "off"},
        SettingCase{"GlobalModifier", nullptr, "", Modifier, "Shift"},
        SettingCase{"GlobalModifier", "Shift", "", Modifier, "Shift"},
        SettingCase{"GlobalModifier", "Ctrl", "", Modifier, "Ctrl"},
        SettingCase{"GlobalModifier", "shift", "", Modifier, "Ctrl"},
        SettingCase{"GlobalModifier", "Alt", "", Modifier, "Ctrl"}));

// The first start writes the keywords and the automatic language but keeps
// the user's values; switch rows set their flags; a start-offline value that
// is no number is ignored.
TEST_F(SpineStartup, TheStartTableWritesDefaultsSetsFlagsAndHidesTheTabToolTips) {
    for (const char* key : {"LastTabExit", "PasteGo", "ShowGroupUrl", "OpenGroupConfirm", "HideTabToolTip"})
        Setting(key, "1");
    Setting("Done", "Fertig", "Keywords");
    Setting("StartOffLine", "abc");
    BuildHost();
    auto plugin = StartPlugin();
    EXPECT_EQ(SettingValue("Opening", "Keywords"), "opening");
    EXPECT_EQ(SettingValue("Done", "Keywords"), "Fertig");
    EXPECT_EQ(State().DoneKeyword, "Fertig");
    EXPECT_EQ(SettingValue("LanguageID"), "auto");
    EXPECT_FALSE(host::sim::OfflineModeSet());
    EXPECT_EQ(Delivered(w.frame, WM_COMMAND, kSelectTab4), 1);  // start-up went on
    using S = tillwick::SharedState;
    for (bool S::*on :
         {&S::LastTabExitOn, &S::PasteGoOn, &S::ShowGroupUrlOn, &S::OpenGroupConfirmOn, &S::TabToolTipsHidden})
        EXPECT_TRUE(State().*on);
    EXPECT_EQ(Delivered(w.tooltip, TTM_ACTIVATE, 0), 1);
    // The edits of the address and search bars are hooked for Paste and Go.
    EXPECT_EQ(ProcOf(w.addressEdit), reinterpret_cast<LONG_PTR>(&tillwick::AddressEditProc));
    EXPECT_EQ(ProcOf(w.searchEdit), reinterpret_cast<LONG_PTR>(&tillwick::SearchEditProc));

    Setting("HideTabToolTip", "0");  // switched off by Apply: the tooltips come back
    tillwick::RestartFeatures();
    EXPECT_EQ(Delivered(w.tooltip, TTM_ACTIVATE, 1), 1);
    EXPECT_FALSE(State().TabToolTipsHidden);

    plugin.reset();
    Setting("StartOffLine", " 1 ");
    auto second = std::make_unique<PluginObject>();
    EXPECT_TRUE(host::sim::OfflineModeSet());
}

// Tool bars are told apart by exact styles; the start position moves the frame out of maximize.
TEST_F(SpineStartup, ToolbarStylesMustMatchExactlyAndStartPositionMovesTheFrameAndClearsMaximize) {
    for (auto [key, value] : {std::pair{"StartPosition", "1"}, {"StartLeft", "50"}, {"StartTop", "not a number"}})
        Setting(key, value);
    BuildHost({.tabs = 5, .visible = false});
    host::SetWindowLongPtrW(w.frame, GWL_STYLE, WS_OVERLAPPEDWINDOW | WS_MAXIMIZE);
    // Not the main button bar: the extended style must be exactly WS_EX_TOOLWINDOW.
    host::SetWindowLongPtrW(w.buttons, GWL_EXSTYLE, WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE);
    // The hidden variant of the plugin bar's style still counts.
    host::SetWindowLongPtrW(w.plugins, GWL_STYLE, 0x4400994D);
    auto plugin = std::make_unique<PluginObject>();
    host::ShowWindow(w.frame, SW_SHOW);
    host::SetForegroundWindow(w.frame);
    host::sim::Advance(200);
    EXPECT_EQ(State().ButtonsToolbarWnd, nullptr);
    EXPECT_EQ(State().PluginToolbarWnd, w.plugins);
    EXPECT_EQ(static_cast<DWORD>(host::GetWindowLongA(w.frame, GWL_STYLE)) & WS_MAXIMIZE, 0u);
    RECT r{};
    host::GetWindowRect(w.frame, &r);
    // Left, top (the default stands in for the non-number), width and height.
    EXPECT_EQ((std::array{r.left, r.top, r.right - r.left, r.bottom - r.top}), (std::array<LONG, 4>{50, 84, 800, 600}));
}

TEST_F(SpineStartup, UnrecognisedAddressBarIsFoundByItsTextCaseSensitively) {
    for (const auto& [text, found] : {std::pair{"http://www.example.com/", true}, {"HTTP://www.example.com/", false}}) {
        SCOPED_TRACE(text);
        Renew();
        BuildHost({.tabs = 5, .visible = true, .addressToolbarStyle = false, .addressText = text});
        auto plugin = StartPlugin();
        EXPECT_EQ(State().AddressComboWnd, found ? w.addressCombo : nullptr);
        EXPECT_EQ(State().AddressEditWnd, found ? w.addressEdit : nullptr);
    }
    EXPECT_TRUE(tillwick::HasClass(w.addressCombo, "ComboBox"));
    EXPECT_FALSE(tillwick::HasClass(w.addressCombo, "Combo"));  // whole names only: a "ComboBoxEx32" is no "ComboBox"
}

// The capture waits until the host (or its own "Open Selected URLs" dialog) is in front, then
// saves two slices of the blank status bar, the frame topmost only meanwhile.
TEST_F(SpineStartup, CaptureWaitsForTheHostInFrontAndSavesTwoSlicesOfTheBlankStatusBar) {
    for (const auto& [stored, height] : {std::pair{"", 18}, {"14", 14}}) {  // 18 unless the panels' height is set
        SCOPED_TRACE(height);
        Renew();
        if (*stored) Setting("StatusHtmlHeight", stored);
        HWND other = host::CreateWindowExA(0, "Afx:400000:8", "Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100,
                                           100, nullptr, nullptr, nullptr, nullptr);
        BuildHost();
        host::SetForegroundWindow(other);
        auto plugin = StartPlugin(2000);
        EXPECT_FALSE(State().CaptureDone);
        EXPECT_FALSE(host::fs::FileExists(kPluginFolder + "\\temp1"));

        host::SetWindowTextA(other, "Open Selected URLs");
        host::sim::Advance(200);
        RECT part{};
        host::SendMessageA(w.status, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part));
        const std::string y = " y=" + std::to_string((part.bottom - height - 2) / 2 + 2);
        const std::string h = " height=" + std::to_string(height) + "\n";
        for (auto [file, fromRight, width] : {std::tuple{"\\temp1", 25, "20"}, {"\\temp2", 3, "8"}})
            EXPECT_EQ(host::fs::ReadFile(kPluginFolder + file),
                      "SIM-CAPTURE x=" + std::to_string(part.right - fromRight) + y + " width=" + width + h);
        EXPECT_TRUE(State().CaptureDone);
        EXPECT_EQ(host::sim::WindowText(w.status), "     ");
        EXPECT_EQ(static_cast<DWORD>(host::GetWindowLongA(w.frame, GWL_EXSTYLE)) & WS_EX_TOPMOST, 0u);
    }
}

// On a host in its full-screen layout (no caption, status bar hidden) the status bar is shown for
// the capture only; with status-bar hiding on, hidden once more by the auto-hide feature, which owns
// it from then on.
TEST_F(SpineStartup, FullScreenHostShowsTheStatusBarForTheCaptureOnly) {
    for (const char* hiding : {"0", "1"}) {
        SCOPED_TRACE(hiding);
        Renew();
        Setting("HideStatusBar", hiding);
        BuildHost({.tabs = 5, .visible = false});
        host::SetWindowLongPtrW(w.frame, GWL_STYLE, WS_POPUP);
        host::ShowWindow(w.status, SW_HIDE);
        host::ShowWindow(w.frame, SW_SHOW);
        host::SetForegroundWindow(w.frame);
        auto plugin = StartPlugin(600);
        EXPECT_EQ(Delivered(w.frame, WM_COMMAND, tillwick::contract::kCmdToggleStatusBar), 2);
        EXPECT_EQ(State().HideStatusBarOn, *hiding == '1');
        if (*hiding == '0') EXPECT_TRUE(State().StatusBarShownForCapture);
        EXPECT_TRUE(State().CaptureDone);
        EXPECT_FALSE(host::IsWindowVisible(w.status));
    }
}

// ---- the security-id poll ----

class SpineSecurityPoll : public SpineStartup {
protected:
    void SetUp() override {
        SpineStartup::SetUp();
        Description("Helper", "Tillwick Helper", "COM|Button");
        SwitchFile("[MyIEPlugins]\r\nTillwick1.0=1\r\nTillwick Helper1.0=1\r\n");
    }
    static constexpr WPARAM kCompanion = 29522;
};

TEST_F(SpineSecurityPoll, GivesUpAfter3002SendsAndALaterPollStopsAtOnce) {
    BuildHost();
    auto plugin = StartPlugin();
    EXPECT_EQ(State().CompanionCommandId, static_cast<std::int32_t>(kCompanion));
    EXPECT_EQ(SettingValue("SecurityID"), "");  // cleared for the companion to fill
    EXPECT_EQ(Delivered(w.frame, WM_COMMAND, kCompanion), 0);

    host::sim::Advance(3100 * 200);
    EXPECT_EQ(Delivered(w.frame, WM_COMMAND, kCompanion), 3002);

    auto later = StartPlugin(2000);
    EXPECT_EQ(Delivered(w.frame, WM_COMMAND, kCompanion), 3003);
    EXPECT_TRUE(State().SecurityId.empty());
}

TEST_F(SpineSecurityPoll, StopsWhenTheCompanionHasWrittenTheId) {
    int sends = 0;
    onHostCommand = [&](WPARAM wParam) {
        if (wParam == kCompanion && ++sends == 3) Setting("SecurityID", "{SECRET}");
    };
    BuildHost();
    auto plugin = StartPlugin(5000);
    EXPECT_EQ(sends, 3);
    EXPECT_EQ(State().SecurityId, "{SECRET}");
    EXPECT_EQ(SettingValue("SecurityID"), std::nullopt);  // read, then removed
}

}  // namespace
}  // namespace spine
