// The spine on the reference host: the host creates one plugin object per tab
// through its factory, presses buttons and sends its own messages.
#include <algorithm>
#include <string>

#include "features_fixture.h"

namespace {

using tillwick::State;

int g_dialogs = 0;

using SpineOnReferenceHost = features_test::FeatureOnHost;

TEST_F(SpineOnReferenceHost, FiveRestoredTabsSelectTheLastOnceTheSecurityIdArrivesAndTheActiveTabIsTracked) {
    g_dialogs = 0;
    tillwick::PluginObject::OptionsDialogHook = [] { ++g_dialogs; };  // counted instead of shown
    refhost::Host& h = Start(std::vector<std::string>(5, "http://example.com/"));
    testsupport::PumpFor(1000);
    EXPECT_EQ(std::count(h.CommandsCarriedOut().begin(), h.CommandsCarriedOut().end(), 0xC004u), 1);
    EXPECT_EQ(host::GetWindowLongPtrW(h.Frame(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&tillwick::MainFrameProc));
    EXPECT_EQ(State().OwnCommandId, 29521);
    EXPECT_EQ(State().CompanionCommandId, 29522);
    EXPECT_EQ(State().SecurityId, h.SecurityId());
    // Discovery by class and style.
    const HWND found[] = {State().RebarWnd, State().StatusToolbarWnd, State().ButtonsToolbarWnd, State().PluginToolbarWnd,
                          State().AddressComboWnd, State().AddressEditWnd, State().SearchEditWnd};
    const HWND hosts[] = {h.Rebar(), h.StatusToolbar(), h.ButtonsToolbar(), h.PluginsToolbar(), h.AddressCombo(),
                          h.AddressEdit(), h.SearchEdit()};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(found[i], hosts[i]) << i;
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
