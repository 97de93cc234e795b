// Tabs, layout and the other host commands, each sent as WM_COMMAND to the
// frame the way a plugin sends them.
#include "core/host_contract.h"
#include "settings/ini_store.h"
#include "support/refhost_fixture.h"

namespace {

namespace c = tillwick::contract;
using namespace refhost_fixture;

RECT WindowRect(HWND hwnd) {
    RECT r{};
    host::GetWindowRect(hwnd, &r);
    return r;
}

int TabItemCount(HWND tabBar) {
    return static_cast<int>(host::SendMessageA(tabBar, TCM_GETITEMCOUNT, 0, 0));
}

class RefHostTabs : public HostTest {};

TEST_F(RefHostTabs, NewTabActivateAndCloseKeepTabBarMdiAndPluginsInStep) {
    auto& h = Start();
    for (int i = 0; i < 3; ++i) h.Command(c::kCmdNewTab);
    ASSERT_EQ(h.TabCount(), 3);
    EXPECT_EQ(h.ActiveTab(), 2);

    h.Command(c::kCmdActivateTabBase + 0);
    EXPECT_TRUE(host::IsWindowVisible(h.TabWindow(0)));
    EXPECT_FALSE(host::IsWindowVisible(h.TabWindow(2)));

    // The form a plugin uses to select the last tab: 0xBFFF + count.
    h.Command(c::kCmdSelectTabFromCount + 3);
    EXPECT_EQ(h.ActiveTab(), 2);

    HWND closing = h.TabWindow(2);
    h.Command(c::kCmdCloseTab);
    EXPECT_EQ(h.TabCount(), 2);
    EXPECT_FALSE(host::IsWindow(closing));
    EXPECT_EQ(h.ActiveTab(), 1);
    // Plugin 3 was unsited and released.
    EXPECT_EQ(LogOf(3), (std::vector<std::string>{"SetSite", "SetSite(null)", "Release"}));
    EXPECT_EQ(LogOf(1), (std::vector<std::string>{"SetSite"}));
}

TEST_F(RefHostTabs, LockedTabDoesNotCloseAndAClosedMdiChildClosesItsTabThroughTheHost) {
    auto& h = Start(1);
    h.Command(c::kCmdLockTab);
    TCITEMA item{.mask = TCIF_IMAGE};
    host::SendMessageA(h.TabBar(), TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.iImage, c::kLockedTabImage);
    h.Command(c::kCmdCloseTab);
    EXPECT_EQ(h.TabCount(), 1);
    h.Command(c::kCmdLockTab);  // unlock
    h.Command(c::kCmdCloseTab);
    EXPECT_EQ(h.TabCount(), 0);

    // Closing an MDI child closes its tab through the host.
    h.OpenTab();
    h.OpenTab();
    host::SendMessageA(h.TabWindow(0), WM_CLOSE, 0, 0);
    EXPECT_EQ(h.TabCount(), 1);
    EXPECT_EQ(TabItemCount(h.TabBar()), 1);
    EXPECT_EQ(LogOf(2).back(), "Release");
}

TEST_F(RefHostTabs, CloseCommandsOfTheTabMenuCloseTheirTabs) {
    auto& h = Start();
    h.OpenTab("http://a.example.com/1");
    h.OpenTab("http://b.example.com/1");
    h.OpenTab("http://a.example.com/2");
    h.OpenTab();
    testsupport::PumpFor(1000);
    h.ActivateTab(2);
    h.Command(c::kCmdCloseBlankAndError);  // the about:blank tab
    EXPECT_EQ(h.TabCount(), 3);
    h.Command(c::kCmdCloseAllButSameSite);  // b.example.com
    ASSERT_EQ(h.TabCount(), 2);
    EXPECT_EQ(h.Document(0).GetText("URL"), "http://a.example.com/1");
    h.Command(c::kCmdCloseLeft);
    EXPECT_EQ(h.TabCount(), 1);
    EXPECT_EQ(h.Document(0).GetText("URL"), "http://a.example.com/2");
}

class RefHostLayout : public HostTest {};

TEST_F(RefHostLayout, StatusBarFlipsWithRelayoutOfThePages) {
    auto& h = Start(1);
    const RECT before = WindowRect(h.MdiClient());

    h.Command(c::kCmdToggleStatusBar);
    EXPECT_FALSE(host::IsWindowVisible(h.StatusBar()));
    const RECT noStatus = WindowRect(h.MdiClient());
    EXPECT_EQ(noStatus.bottom - noStatus.top,
              before.bottom - before.top + (WindowRect(h.StatusBar()).bottom - WindowRect(h.StatusBar()).top));

    h.Command(c::kCmdToggleStatusBar);
    EXPECT_TRUE(host::IsWindowVisible(h.StatusBar()));
    const RECT after = WindowRect(h.MdiClient());
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.bottom, before.bottom);
    // The page window follows its tab.
    RECT page{}, client{};
    host::GetClientRect(h.PageWindow(0), &page);
    host::GetClientRect(h.MdiClient(), &client);
    EXPECT_EQ(page.bottom, client.bottom);
}

TEST_F(RefHostLayout, TabBarAboveOrBelowThePagesAsAPluginMeasuresIt) {
    auto& h = Start(1);
    EXPECT_EQ(WindowRect(h.MdiClient()).bottom, WindowRect(h.TabBar()).top);
    h.Command(c::kCmdTabBarTop);
    EXPECT_EQ(WindowRect(h.TabBar()).bottom, WindowRect(h.MdiClient()).top);
    h.Command(c::kCmdTabBarBottom);
    EXPECT_EQ(WindowRect(h.MdiClient()).bottom, WindowRect(h.TabBar()).top);
}

TEST_F(RefHostLayout, AViewMovedIntoAnotherWindowKeepsTheRectangleItWasGiven) {
    auto& h = Start(2);
    HWND view = h.TabView(1);
    host::SetParent(view, h.StatusBar());
    host::MoveWindow(view, 5, 1, 100, 18, TRUE);
    h.Command(c::kCmdToggleStatusBar);
    h.Command(c::kCmdToggleStatusBar);
    RECT r{};
    host::GetClientRect(view, &r);
    EXPECT_EQ(r.right, 100);
    EXPECT_EQ(r.bottom, 18);
    EXPECT_EQ(host::GetParent(view), h.StatusBar());
}

TEST_F(RefHostLayout, FullScreenRemovesTheCaptionBitsAndTheBarsUntilSwitchedBack) {
    auto& h = Start(1);
    ASSERT_NE(StyleOf(h.Frame()) & WS_CAPTION, 0u);
    h.Command(c::kCmdFullScreen);
    EXPECT_EQ(StyleOf(h.Frame()) & WS_CAPTION, 0u);
    EXPECT_FALSE(host::IsWindowVisible(h.Rebar()));
    h.Command(c::kCmdFullScreen);
    EXPECT_EQ(StyleOf(h.Frame()) & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(host::IsWindowVisible(h.Rebar()));
    // The keyboard form of the switch.
    h.Command(c::kCmdFullScreenAccel);
    EXPECT_TRUE(h.FullScreen());
    EXPECT_EQ(StyleOf(h.Frame()) & WS_CAPTION, 0u);
}

class RefHostCommands : public HostTest {};

TEST_F(RefHostCommands, OwnButtonExecsTheActiveTabsPlugin) {
    auto& h = Start(3);
    h.ActivateTab(1);
    h.PressPluginButton(0);  // Tillwick is entry 0
    EXPECT_EQ(LogOf(2).back(), "Exec");
    EXPECT_EQ(LogOf(1).back(), "SetSite");
    EXPECT_EQ(LogOf(3).back(), "SetSite");
}

TEST_F(RefHostCommands, ProxyCommandsSwitchTheConfiguredProxy) {
    auto& h = Start();
    const std::string ini = h.HostFile("config\\config.ini");
    auto setting = [&](const char* key) { return tillwick::ini::ReadString(ini, "Settings", key, "?"); };
    h.Command(c::kCmdProxyBase + 2);
    EXPECT_EQ(setting("EnableProxy"), "1");
    EXPECT_EQ(setting("DefaultProxy"), "10.0.0.1:3128");  // p2 of the set-up centre
    h.Command(c::kCmdUseIeProxy);
    EXPECT_EQ(setting("EnableProxy"), "0");
    EXPECT_EQ(setting("UseIEProxy"), "1");
    h.Command(c::kCmdNoProxy);
    EXPECT_EQ(setting("UseIEProxy"), "0");
}

TEST_F(RefHostCommands, DoubleClickOnTheTabBarRunsTheConfiguredCommand) {
    config.settings.push_back({"config\\config.ini", "MouseAction", "Double_Click_on_Tab_Bar",
                               std::to_string(c::kCmdToggleStatusBar)});
    auto& h = Start(1);
    host::SendMessageA(h.TabBar(), WM_LBUTTONDBLCLK, 0, 0);
    EXPECT_FALSE(h.StatusBarShown());
    EXPECT_EQ(h.CommandsCarriedOut().back(), c::kCmdToggleStatusBar);
}

TEST_F(RefHostCommands, CommandsTheHostDoesNotKnowAreNotCarriedOut) {
    auto& h = Start();
    h.Command(168);
    h.Command(c::kCmdPluginBase + 7);  // past the plugin list
    h.Command(c::kCmdNewTab);
    EXPECT_EQ(h.CommandsCarriedOut(), std::vector<UINT>{c::kCmdNewTab});
}

}  // namespace
