// The plugin object's logic: site attachment, the command's status, creation and release.
#include <map>
#include <memory>
#include <vector>

#include "core/startup.h"
#include "refhost/other_addon.h"
#include "scenario/spine_fixture.h"

namespace spine {
namespace {

using tillwick::PluginObject;
using tillwick::State;

class SpinePluginObject : public SpineTest {
protected:
    void SetUp() override {
        SpineTest::SetUp();
        PluginObject::OptionsDialogHook = [] {};
        BuildHost();
    }
    static host::Object NewObject() { return host::Object(host::sim::MakeObject()); }
};

TEST_F(SpinePluginObject, SiteWithABrowserAttachesItANullSiteDetachesAndOneWithoutTheServiceFails) {
    PluginObject plugin;
    host::Object site = NewObject(), browser = NewObject();
    EXPECT_EQ(plugin.SetSite(site, browser), S_OK);
    EXPECT_EQ(plugin.Site(), site);
    EXPECT_EQ(plugin.Browser(), browser);
    EXPECT_EQ(State().CurrentBrowser, browser);

    EXPECT_EQ(plugin.SetSite(std::nullopt, std::nullopt), S_OK);
    EXPECT_FALSE(plugin.Site());
    EXPECT_FALSE(plugin.Browser());
    EXPECT_FALSE(State().CurrentBrowser);

    // A site without the browser service fails and keeps the browser.
    plugin.SetSite(NewObject(), browser);
    host::Object other = NewObject();
    State().CurrentBrowser = other;  // another object was sited since

    host::Object bareSite = NewObject();
    EXPECT_EQ(plugin.SetSite(bareSite, std::nullopt, E_NOINTERFACE), E_NOINTERFACE);
    EXPECT_EQ(plugin.Site(), bareSite);  // the site is already replaced
    EXPECT_EQ(plugin.Browser(), browser);
    EXPECT_EQ(State().CurrentBrowser, other);

    // A site answering no dispatch still attaches its browser; without a service provider it fails, not unsites.
    host::Object next = NewObject();
    EXPECT_EQ(plugin.SetSite(host::Object(), next), S_OK);
    EXPECT_EQ(plugin.Browser(), next);
    EXPECT_EQ(State().CurrentBrowser, next);
    EXPECT_EQ(plugin.SetSite(host::Object(), std::nullopt, E_NOINTERFACE), E_NOINTERFACE);
    EXPECT_EQ(plugin.Browser(), next);
}

// The host makes one object per view: closing a view must not switch the
// plugin off, and the last release must give every window back its own
// procedure and leave nothing that calls into us.
TEST_F(SpinePluginObject, OnlyTheLastReleaseStopsThePluginAndItLeavesNothingRunning) {
    for (const char* key : {"HideStatusBar", "AlwaysOnTop", "ToggleFilter", "PasteGo", "StatusHtml"}) Setting(key, "1");
    std::vector<HWND> windows = {w.frame,  w.mdi,          w.rebar,       w.tabBar,
                                 w.status, w.addressCombo, w.addressEdit, w.searchEdit, w.tabs.back().page};
    std::map<HWND, LONG_PTR> hostProcs;
    for (HWND h : windows) hostProcs[h] = ProcOf(h);
    for (const Tab& t : w.tabs) hostProcs[t.page] = ProcOf(t.page);
    auto first = std::make_unique<PluginObject>();
    EXPECT_EQ(host::sim::LiveTimerCount(), 1);
    auto second = std::make_unique<PluginObject>();
    EXPECT_EQ(host::sim::LiveTimerCount(), 1);  // re-armed, not doubled
    // Flags no start operation sets, so that every window of the table is hooked.
    State().HideTabBarOn = true;
    State().HighlightComboOn = true;
    host::sim::Advance(200);
    const auto hooked = reinterpret_cast<LONG_PTR>(&tillwick::MainFrameProc);
    EXPECT_EQ(ProcOf(w.frame), hooked);
    for (HWND h : windows) EXPECT_NE(ProcOf(h), hostProcs[h]) << "not hooked";
    EXPECT_TRUE(State().OnTopDispatch);

    first.reset();
    EXPECT_EQ(ProcOf(w.frame), hooked);
    EXPECT_TRUE(tillwick::PluginStillActive());
    host::SendMessageA(w.frame, WM_GETTEXT, 0, 0);  // the tab tracking's timer is armed at the last release
    second.reset();
    for (const auto& [h, proc] : hostProcs) EXPECT_EQ(ProcOf(h), proc);
    EXPECT_TRUE(host::ModuleFootprint().Empty());
    EXPECT_FALSE(tillwick::PluginStillActive());
    EXPECT_FALSE(State().HideStatusBarOn || State().OnTopDispatch || State().ToggleFilterOn);

    // Nothing is hooked again in this process, even by a new object, its tab tracking, an Apply or its release.
    auto third = std::make_unique<PluginObject>();
    host::sim::Advance(400);
    host::SendMessageA(w.frame, WM_GETTEXT, 0, 0);
    host::sim::Advance(400);
    ActivateTabFromHost(0);
    State().HideTabBarOn = true;  // a page-window row wanted, then the reinstall an Apply makes
    tillwick::InstallSubclasses();
    third.reset();
    for (const auto& [h, proc] : hostProcs) EXPECT_EQ(ProcOf(h), proc);
}

// Another add-on hooks the frame and a page window after us and removes its
// hooks only after our release, putting back what it replaced. Its chain is
// never cut, ours stays in it passing messages on, never twice in one chain,
// and our module is pinned so that its procedures outlive every user.
TEST_F(SpinePluginObject, AnotherAddOnsLaterHooksKeepTheirChainsAndOursStayPinned) {
    auto object = std::make_unique<PluginObject>();
    State().HideTabBarOn = true;  // the page window is hooked
    host::sim::Advance(200);
    const HWND page = w.tabs.back().page, other = w.tabs[0].page;
    ASSERT_EQ(ProcOf(page), reinterpret_cast<LONG_PTR>(&tillwick::PageViewProc));
    const LONG_PTR hostPageProc = ProcOf(other);
    refhost::OtherAddOnHook frameHook(w.frame), pageHook(page);
    constexpr UINT kProbe = WM_APP + 7;
    // Each probe reaches the other add-on and then the host's own procedure, once each.
    const auto probe = [&](HWND window, const refhost::OtherAddOnHook* hook) {
        const int seen = hook ? hook->MessagesSeen() : 0, received = HostReceived(window, kProbe);
        host::SendMessageA(window, kProbe, 0, 0);
        if (hook) EXPECT_EQ(hook->MessagesSeen(), seen + 1);
        EXPECT_EQ(HostReceived(window, kProbe), received + 1);
    };
    SwitchTab(0);
    EXPECT_EQ(ProcOf(other), reinterpret_cast<LONG_PTR>(&tillwick::PageViewProc));
    probe(page, &pageHook);
    SwitchTab(static_cast<int>(w.tabs.size()) - 1);  // taken back as it is
    EXPECT_EQ(ProcOf(other), hostPageProc);
    probe(page, &pageHook);

    object.reset();
    EXPECT_TRUE(host::sim::ModulePinned());
    probe(w.frame, &frameHook);
    probe(page, &pageHook);
    frameHook.Remove();
    pageHook.Remove();
    EXPECT_EQ(ProcOf(w.frame), reinterpret_cast<LONG_PTR>(&tillwick::MainFrameProc));
    probe(w.frame, nullptr);
    probe(page, nullptr);
}

// A page window left under another add-on's hook by a tab switch carries ours
// again once that hook goes; our release must still give it back its own.
TEST_F(SpinePluginObject, APageWindowLeftUnderAnotherHookIsRestoredAtTheRelease) {
    const HWND page = w.tabs.back().page;
    const LONG_PTR hostPageProc = ProcOf(page);
    auto object = std::make_unique<PluginObject>();
    State().HideTabBarOn = true;  // the page window is hooked
    host::sim::Advance(200);
    {
        refhost::OtherAddOnHook pageHook(page);
        SwitchTab(0);
    }
    ASSERT_EQ(ProcOf(page), reinterpret_cast<LONG_PTR>(&tillwick::PageViewProc));
    object.reset();
    EXPECT_EQ(ProcOf(page), hostPageProc);
}

TEST_F(SpinePluginObject, QueryStatusEnablesTheFirstCommandOnly) {
    std::uint32_t flags = 0x10;
    PluginObject::QueryStatus(&flags);
    EXPECT_EQ(flags, 2u);  // OLECMDF_ENABLED, without OLECMDF_SUPPORTED
    PluginObject::QueryStatus(nullptr);
}

}  // namespace

}  // namespace spine
