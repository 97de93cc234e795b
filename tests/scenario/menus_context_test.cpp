// The tab and page context menus on the reference host: where our submenus
// go, what the plugin submenu lists, what a picked entry launches, and that
// every menu has its owner once the host's menu loop is over.
#include "features_fixture.h"
#include "menus/menu_items.h"
#include "menus/menu_regroup.h"
#include "menus/plugin_menu.h"
#include "support/step_failures.h"

namespace {

using features_test::FeatureOnHost;
using refhost::PageMenuKind;
using Items = std::vector<host::MenuItemSnapshot>;

// The host's plugin list tells same-named plugins apart by version: the folder stands in for it.
refhost::PluginEntry Plugin(std::string folder, std::string name, std::string type, std::string module,
                            std::string extra = "") {
    return {.folder = folder, .name = name, .version = folder, .type = type, .moduleType = module,
            .fileName = "main.htm", .extraIni = extra};
}

class ContextMenus : public FeatureOnHost {
protected:
    void SetUp() override {
        FeatureOnHost::SetUp();
        // Behind the two default plugins (29521, 29522): ids 29523 onwards.
        for (auto p : {Plugin("a", "Alpha", "button", "COM"), Plugin("a2", "ALPHA", "button", "COM"),
                       Plugin("b", "Beta", "toolbar", "COM"), Plugin("b2", "Beta", "Button", "COM"),
                       Plugin("g", "Gamma", "button", "script", "[MyIE2Buttons]\r\nCount=0\r\n"),
                       Plugin("d", "Delta", "", "Script"), Plugin("s", "Side", "sidebar", "script"),
                       Plugin("e", "Eps", "", "script",
                              "[MyIE2Buttons]\r\nCount=3\r\nName1=One\r\nFileName1=one.htm\r\nName2=---\r\n"
                              "Name3=Two-Three\r\nFileName3=t.htm\r\n"),
                       Plugin("z", "Zeta", "", "script", "[MyIE2Buttons]\r\nCount=abc\r\n")})
            config.plugins.push_back(p);
    }
    // The user picks `id` in the page's selection menu and `ms` go by; the log position before it.
    std::size_t PickInPageMenu(UINT id, std::uint32_t ms) {
        const std::size_t mark = LogMark();
        host::sim::QueueMenuAnswer(id);
        host->RightClickPage(PageMenuKind::Selection);
        testsupport::PumpFor(ms);
        return mark;
    }
    static int PositionOf(const Items& items, UINT id) {
        const auto at = std::ranges::find(items, id, &host::MenuItemSnapshot::id);
        return at == items.end() ? -1 : static_cast<int>(at - items.begin());
    }
    static std::vector<std::pair<UINT, std::string>> Entries(const Items& items) {
        std::vector<std::pair<UINT, std::string>> out;
        for (const auto& item : items) out.push_back({item.id, item.text});
        return out;
    }
};

constexpr auto kAllPlugins = "^(alpha|beta|gamma|delta|side|eps|zeta)$";

TEST_F(ContextMenus, TabMenuPositionsFollowTheTabBarSideAndTheFeaturesOn) {
    struct Case {
        bool onTop, close;
        std::string pluginInclude;
        int closeAt, pluginAt, otherAt;
        UINT moveTabBar = 0;  // the user moves the tab bar after start-up (0x818B: on top)
    };
    const Case cases[] = {{false, true, kAllPlugins, 18, 17, 19},
                          {true, true, kAllPlugins, 1, 2, 3},
                          {true, false, kAllPlugins, -1, 1, 2},
                          {false, false, kAllPlugins, -1, 17, 20},
                          {false, true, "", 17, -1, 18},  // empty pattern: no plugin item
                          {false, true, kAllPlugins, 1, 2, 3, 0x818B},
                          {true, true, kAllPlugins, 18, 17, 19, 0x818C}};
    for (const Case& k : cases) {
        SCOPED_TRACE(::testing::Message() << k.onTop << k.close << k.pluginInclude << k.moveTabBar);
        Renew();
        config.tabBarOnTop = k.onTop;
        StartWith({{"TabMenu", k.close ? "1" : "0"}, {"TabPluginMenu", "1"}, {"TabPluginInclude", k.pluginInclude},
                   {"TabOtherMenu", "1"}, {"TabOtherInclude", "Unlocked"}});
        if (k.moveTabBar != 0) host->Command(k.moveTabBar);
        for (int opening = 0; opening < 2; ++opening) {  // the kept submenus come back the second time
            host->RightClickTab(0);
            EXPECT_EQ(PositionOf(LastMenuItems(), 178), k.closeAt);
            EXPECT_EQ(PositionOf(LastMenuItems(), 188), k.pluginAt);
            EXPECT_EQ(PositionOf(LastMenuItems(), 198), k.otherAt);
            ASSERT_EQ(PositionOf(LastMenuItems(), 0x8060), -1);  // moved into "Other Options"
            EXPECT_EQ(LastMenuItems()[static_cast<std::size_t>(k.otherAt)].submenu.at(0).id, 0x8060u);
        }
        const auto& m = tillwick::TabMenuData();
        for (HMENU kept : {m.CloseSubmenu, m.Plugins.PluginPopup, m.OtherSubmenu})
            if (kept) EXPECT_TRUE(host::IsMenu(kept));
    }
}

TEST_F(ContextMenus, PluginSubmenuListsDropDownsFirstAndSkipsWhatCannotBeLaunched) {
    testsupport::ExpectFailedSteps();  // a plugin's Count that is no number
    using E = std::vector<std::pair<UINT, std::string>>;
    const E plain = {{29523, "Alpha"}, {29526, "Beta"}, {29527, "Gamma"}, {9001, "Delta"}, {9002, "Eps"}, {9003, "Zeta"}};
    const E dropDowns = {{7007, "Gamma"}, {7010, "Eps"}, {29523, "Alpha"}, {29526, "Beta"}, {9001, "Delta"}};
    // Without the companion no script can be run: only buttons, and no drop-downs.
    const E noCompanion = {{29523, "Alpha"}, {29526, "Beta"}, {29527, "Gamma"}};
    for (int k : {0, 1, 2}) {  // plain, drop-downs, drop-downs asked for without the companion
        Renew();
        StartWith({{"PluginMenu", "1"}, {"PluginInclude", kAllPlugins}, {"PluginDropDown", k > 0 ? "1" : "0"}});
        if (k == 2) {
            tillwick::State().CompanionCommandId = 0;
            tillwick::StartPagePluginMenu();
        }
        host->RightClickPage(PageMenuKind::Selection);
        const Items& items = LastMenuItems().at(6).submenu;
        EXPECT_EQ(Entries(items), k == 0 ? plain : k == 1 ? dropDowns : noCompanion);
        if (k != 1) continue;
        // The script button keeps its host command; dash-only lines are separators.
        EXPECT_EQ(Entries(items[0].submenu), (E{{29527, "Gamma"}, {0, ""}}));
        EXPECT_EQ(Entries(items[1].submenu), (E{{8001, "Eps"}, {0, ""}, {8002, "One"}, {0, ""}, {8003, "Two-Three"}}));
    }
}

TEST_F(ContextMenus, PickedEntriesLaunchAfterTheLoopWithThePopupFilterOffMeanwhile) {
    testsupport::ExpectFailedSteps();  // a script that cannot be read and a Count that is no number
    HostConfig("EnableAutoFilter", "1");
    StartWith({{"PluginMenu", "1"}, {"PluginInclude", kAllPlugins}, {"PluginDropDown", "1"}});
    host::sim::PutFile(host->HostFolder() + "Plugin\\e\\one.htm",
                       "<SCRIPT type=\"text/javascript\">go(%max_security_id);</script><script>b()</script>");
    const auto* window = refhost_fixture::Bag(host->PageWindowObject(0));
    ASSERT_NE(window, nullptr);

    std::size_t mark = PickInPageMenu(29523, 0);  // a button entry: its command, once
    EXPECT_EQ(FrameCommands(mark), std::vector<WPARAM>{29523});

    tillwick::State().SecurityId = "\x95');steal('";  // a double-byte lead byte before a quote
    mark = PickInPageMenu(8002, 0);  // a drop-down script entry: run in the page, leaving nothing there
    EXPECT_EQ(window->Scripts(), std::vector<std::string>{"go('\\u0095\\u0027\\u0029\\u003Bsteal\\u0028\\u0027');"
                                                          "<script>b()</script>"});
    EXPECT_FALSE(host->PageWindowObject(0).Get("sScript"));
    EXPECT_EQ(FrameCommands(mark), std::vector<WPARAM>{0x80F1});
    testsupport::PumpFor(500);
    EXPECT_EQ(FrameCommands(mark), (std::vector<WPARAM>{0x80F1, 0x80F1}));

    // Delta's script file is missing: nothing runs, nothing else happens.
    mark = PickInPageMenu(9001, 600);
    EXPECT_EQ(window->Scripts().size(), 1u);
    EXPECT_TRUE(FrameCommands(mark).empty());

    // Stopped while the filter is off: it is switched back at once, and only once.
    mark = PickInPageMenu(8002, 0);
    tillwick::StopPagePluginMenu();
    testsupport::PumpFor(600);
    EXPECT_EQ(FrameCommands(mark), (std::vector<WPARAM>{0x80F1, 0x80F1}));
    EXPECT_EQ(host::sim::SwallowedExceptionCount(), 0);
}

TEST_F(ContextMenus, PageMenuKindsTakePluginThenExtensionsAtTheirPosition) {
    StartWith({{"PluginMenu", "1"}, {"PluginInclude", "^alpha$"}, {"ExtensionMenu", "1"}, {"ExtensionInclude", "E&x|note"}});
    const std::pair<PageMenuKind, int> kinds[] = {{PageMenuKind::Default, 20}, {PageMenuKind::Link, 20},
                                                   {PageMenuKind::LinkShort, 12}, {PageMenuKind::Edit, 7},
                                                   {PageMenuKind::Selection, 6}, {PageMenuKind::HostLink, 14},
                                                   {PageMenuKind::HostPage, 9}};
    for (const auto& [kind, p] : kinds) {
        SCOPED_TRACE(p);
        host->RightClickPage(kind);
        EXPECT_EQ(PositionOf(LastMenuItems(), 118), p);
        EXPECT_EQ(PositionOf(LastMenuItems(), 128), p + 1);
        EXPECT_EQ(Entries(LastMenuItems().at(static_cast<std::size_t>(p + 1)).submenu),
                  (std::vector<std::pair<UINT, std::string>>{{3700, "E&xport to Microsoft Excel"}, {3701, "Send to One&Note"}}));
        // Neighbours, both gone.
        for (UINT moved : {3700u, 3701u}) EXPECT_EQ(PositionOf(LastMenuItems(), moved), -1) << moved;
    }
}

// A menu's items by id, a separator as 0.
std::vector<UINT> ItemIds(HMENU menu) {
    std::vector<UINT> ids;
    for (int i = 0; i < host::GetMenuItemCount(menu); ++i)
        ids.push_back(tillwick::ReadMenuItem(menu, i).separator ? 0u : host::GetMenuItemID(menu, i));
    return ids;
}

TEST(MenuItems, AMovedItemKeepsItsSubmenuTextAndNeighbours) {
    testsupport::PlatformReset();
    HMENU menu = host::CreatePopupMenu(), sub = host::CreatePopupMenu();
    host::AppendMenuA(menu, MF_STRING, 1, "One");
    host::AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "Two");
    ASSERT_TRUE(tillwick::menus::MoveItem(menu, 1, 0));
    EXPECT_EQ(host::GetSubMenu(menu, 0), sub);
    EXPECT_EQ(tillwick::menus::ItemText(menu, 0, true), "Two");
    EXPECT_EQ(host::GetMenuItemID(menu, 1), 1u);
    host::DestroyMenu(menu);
}

// A text-less item with id 0 parts picked items as a separator does, none
// ends the copy, our own items never move, and removal keeps the rest in place.
TEST(MenuRegroup, CopiesAndRemovesExactlyThePickedItemsAndSeparatorRunsCollapse) {
    testsupport::PlatformReset();
    HMENU menu = host::CreatePopupMenu();
    for (auto [id, text] : {std::pair{1u, "Copy"}, {0u, ""}, {2u, "Paste"}, {3u, "Copy mine"}, {0u, nullptr}, {4u, "Other"}})
        host::AppendMenuA(menu, text ? MF_STRING : MF_SEPARATOR, id, text);
    const tillwick::TextPattern pattern("Copy|Paste");
    const UINT own[] = {3};
    const tillwick::ItemPick pick{pattern, "", own};
    const tillwick::CopiedMenu copy = tillwick::CopyMatchingItems(menu, pick);
    EXPECT_EQ(ItemIds(copy.popup), (std::vector<UINT>{1, 0, 2}));
    EXPECT_EQ(copy.count, 3);
    host::DestroyMenu(copy.popup);
    tillwick::RemoveMatchingItems(menu, pick);
    EXPECT_EQ(ItemIds(menu), (std::vector<UINT>{0, 3, 0, 4}));
    host::DestroyMenu(menu);
    // What moving items out leaves: runs of separators become one, and none leads.
    HMENU runs = host::CreatePopupMenu();
    for (UINT id : {0u, 0u, 1u, 0u, 0u, 0u, 2u, 0u})
        host::AppendMenuA(runs, id ? MF_STRING : MF_SEPARATOR, id, id ? "item" : nullptr);
    tillwick::TidySeparators(runs);
    EXPECT_EQ(ItemIds(runs), (std::vector<UINT>{1, 0, 2, 0}));
    host::DestroyMenu(runs);
}

TEST_F(ContextMenus, OpeningEachMenuAThousandTimesLeavesNoMenuBehind) {
    testsupport::ExpectFailedSteps();  // a plugin's Count that is no number
    StartWith({{"TabMenu", "1"}, {"TabPluginMenu", "1"}, {"TabPluginInclude", kAllPlugins}, {"TabPluginDropDown", "1"},
               {"TabOtherMenu", "1"}, {"TabOtherInclude", "Refresh"}, {"PluginMenu", "1"}, {"PluginInclude", kAllPlugins},
               {"PluginDropDown", "1"}, {"ExtensionMenu", "1"}, {"ExtensionInclude", "."}, {"OtherMenu", "1"},
               {"OtherInclude", "Copy|Paste"}});
    host->RightClickTab(0);  // the tab menu's "Other Options" is made once, at its first opening
    const int before = host::sim::LiveMenuCount();
    for (int i = 0; i < 1000; ++i) {
        host->RightClickTab(0);
        host->RightClickPage(PageMenuKind::Link);
        host->RightClickPage(PageMenuKind::HostPage);
    }
    EXPECT_EQ(host::sim::LiveMenuCount(), before);
    EXPECT_EQ(PositionOf(LastMenuItems(), 118), 9);  // still built and shown at the end
    for (auto stop : {&tillwick::StopTabMenu, &tillwick::StopTabPluginMenu, &tillwick::StopTabOtherMenu,
                      &tillwick::StopPagePluginMenu})
        stop();
    EXPECT_EQ(host::sim::LiveMenuCount(), before - 8);  // two submenus, two popups with two drop-downs each
}

TEST_F(ContextMenus, OtherOptionsSeesTextsWithoutAmpersandsAndRenamesTheNewWindowItemAlways) {
    for (auto [include, moved] : {std::pair{"E&x", false}, {"Export", true}}) {
        SCOPED_TRACE(include);
        Renew();
        StartWith({{"OtherMenu", "1"}, {"OtherInclude", include}});
        host->RightClickPage(PageMenuKind::LinkShort);
        const Items& items = LastMenuItems();
        EXPECT_EQ(items.at(1).text, "Open in New &Tab");
        EXPECT_EQ(PositionOf(items, 3700) == -1, moved);
        EXPECT_EQ(items.back().id, moved ? 138u : 28u);
        // Nothing matched: no separator appended, the separators left alone.
        EXPECT_EQ(items.size(), moved ? 17u : 16u);
    }
}

TEST_F(ContextMenus, CloseAllSubmenuHoldsTheHostsCloseCommandsAndRunsThem) {
    StartWith({{"TabMenu", "1"}});
    host->OpenTab("http://example.org/");
    host->RightClickTab(0);
    const Items& close = LastMenuItems().at(17).submenu;
    EXPECT_EQ(LastMenuItems().at(17).text, "Close All");
    EXPECT_EQ(Entries(close), (std::vector<std::pair<UINT, std::string>>{
                                  {0x806A, "Close All Except Current"}, {0x8171, "Close All on the Left"},
                                  {0x8172, "Close All on the Right"}, {0, ""}, {0x8170, "Close Blank and Error"},
                                  {0, ""}, {0x8173, "Close All From Same Site"},
                                  {0x8174, "Close All Except From Same Site"}, {0, ""}, {0x8060, "Close All Unlocked"}}));
    host::sim::QueueMenuAnswer(0x806A);
    host->RightClickTab(1);
    testsupport::PumpFor(100);
    EXPECT_EQ(host->TabCount(), 1);
}

}  // namespace
