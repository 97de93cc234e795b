// The spine on the reference host: the host creates one plugin object per tab
// through its factory, presses buttons and sends its own messages.
#include <algorithm>
#include <string>

#include "features_fixture.h"

namespace {

using tillwick::State;

int g_dialogs = 0;

// The features' fixture, with the options dialog counted instead of shown.
class SpineOnReferenceHost : public features_test::FeatureOnHost {
protected:
    void SetUp() override {
        FeatureOnHost::SetUp();
        g_dialogs = 0;
        tillwick::PluginObject::OptionsDialogHook = [] { ++g_dialogs; };
    }

    // The host with `tabs` tabs, no settings file and no recorder below the plugin's hook.
    refhost::Host& Start(int tabs) {
        host = std::make_unique<refhost::Host>(std::move(config));
        EXPECT_TRUE(host->Start());
        for (int i = 0; i < tabs; ++i) host->OpenTab("http://example.com/" + std::to_string(i));
        return *host;
    }
    int CommandsSeen(UINT command) const {
        const auto& done = host->CommandsCarriedOut();
        return static_cast<int>(std::count(done.begin(), done.end(), command));
    }
    LONG_PTR ProcOf(HWND hwnd) const { return host::GetWindowLongPtrW(hwnd, GWLP_WNDPROC); }
};

TEST_F(SpineOnReferenceHost, FiveRestoredTabsSelectTheLastOnceTheSecurityIdArrivesAndTheActiveTabIsTracked) {
    refhost::Host& h = Start(5);
    testsupport::PumpFor(2000);
    EXPECT_EQ(CommandsSeen(0xC004), 1);
    EXPECT_EQ(ProcOf(h.Frame()), reinterpret_cast<LONG_PTR>(&tillwick::MainFrameProc));
    EXPECT_EQ(State().OwnCommandId, 29521);
    EXPECT_EQ(State().CompanionCommandId, 29522);
    EXPECT_EQ(State().SecurityId, h.SecurityId());
    // Discovery by class and style.
    EXPECT_EQ(State().RebarWnd, h.Rebar());
    EXPECT_EQ(State().StatusToolbarWnd, h.StatusToolbar());
    EXPECT_EQ(State().ButtonsToolbarWnd, h.ButtonsToolbar());
    EXPECT_EQ(State().PluginToolbarWnd, h.PluginsToolbar());
    EXPECT_EQ(State().AddressComboWnd, h.AddressCombo());
    EXPECT_EQ(State().AddressEditWnd, h.AddressEdit());
    EXPECT_EQ(State().SearchEditWnd, h.SearchEdit());
    EXPECT_EQ(State().TabBarOnTop, h.TabBarOnTop());

    // Tab tracking points CurrentBrowser at the active tab.
    State().CustomProgressOn = true;
    h.ActivateTab(0);
    testsupport::PumpFor(300);
    EXPECT_EQ(State().CurrentBrowser, h.Browser(0));
    EXPECT_EQ(g_dialogs, 0);
    EXPECT_FALSE(State().SelfCommandInProgress);

    h.PressPluginButton(0);  // the user presses our button
    EXPECT_EQ(g_dialogs, 1);
}

}  // namespace
