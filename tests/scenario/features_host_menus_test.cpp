// Plugin hiding, the Options-menu entry, search sorting and group URLs on the
// reference host. The Groups menu loop is played message by message, as
// Windows sends it while the user moves through the menu.

#include "features_fixture.h"
#include "menus/host_menu_state.h"
#include "support/step_failures.h"

namespace {

using features_test::FeatureOnHost;
using Values = std::vector<std::pair<std::string, std::string>>;

constexpr UINT kEntry = 168;
constexpr UINT kFirstGroupCommand = 0x6001;
constexpr UINT kPluginsBand = 33045;

class HostMenus : public FeatureOnHost {
protected:
    bool Hidden(int entry) const {
        return host::SendMessageA(host->PluginsToolbar(), TB_ISBUTTONHIDDEN, 29521 + entry, 0) > 0;  // -1: no button
    }
    // The user hovers group g, then (page >= 0) a page of it, and leaves the menu.
    void HoverGroup(int g, int page = -1) {
        const auto send = [this](UINT msg, WPARAM w, HMENU menu) {
            host::SendMessageA(host->Frame(), msg, w, reinterpret_cast<LPARAM>(menu));
        };
        HMENU groups = host->RefreshGroupsMenu(), pages = host::GetSubMenu(groups, 4 + g);
        send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(groups), nullptr);
        send(WM_MENUSELECT, MAKEWPARAM(static_cast<WORD>(4 + g), MF_POPUP | MF_HILITE), groups);
        send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pages), nullptr);
        if (page >= 0) send(WM_MENUSELECT, MAKEWPARAM(static_cast<WORD>(host::GetMenuItemID(pages, page)), MF_HILITE), pages);
        testsupport::PumpFor(10);
        send(WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(pages), nullptr);
        send(WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(groups), nullptr);
    }
    // A fresh process whose settings have `feature` switched on besides `values`.
    void Restart(Values values, const char* feature) {
        Renew();
        values.push_back({feature, "1"});
        Settings(values);
    }
    std::string StatusText() const { return testsupport::TextOf(host->StatusBar()); }
};

// ---- plugin hiding ----------------------------------------------------------------------------

struct HideCase {
    Values settings;
    std::vector<int> hidden;  // entries 2 Alpha, 3 Beta, 5 Auto are buttons; 4 Gamma is not
    bool flagOn;
};

TEST_F(HostMenus, PluginButtonsAreHiddenByTheirSourcesAndGivenBackExactly) {
    testsupport::ExpectFailedSteps();  // an invalid pattern among the cases
    const std::vector<HideCase> cases = {
        {{}, {}, true},
        {{{"HideContextPlugin", "1"}, {"PluginInclude", "Alpha"}}, {2}, true},
        {{{"HideOtherPlugin", "1"}, {"HidePluginInclude", "gamma|BETA"}}, {3}, true},
        {{{"HideAutoPlugin", "1"}}, {5}, true},
        // Empty alternatives do not match every plugin.
        {{{"HideContextPlugin", "1"}, {"HideAutoPlugin", "1"}, {"HideOtherPlugin", "1"}, {"HidePluginInclude", "Beta"}},
         {3, 5}, true},
        {{{"HideOtherPlugin", "1"}, {"HidePluginInclude", "Al(pha"}}, {}, false},
    };
    for (const HideCase& c : cases) {
        SCOPED_TRACE(&c - cases.data());
        Restart(c.settings, "HidePlugin");
        // The auto-started one has pattern characters in its name (as "Notepad++" has).
        for (const char* name : {"Alpha", "Beta", "Gamma", "Auto++"}) config.plugins.push_back({name, name});
        config.plugins[4].type = "M2Plugin_Other";
        config.plugins[5].extraIni = "StartAfterPageDone=1\r\n[MyIE2Buttons]\r\nCount=1\r\n";
        Start();
        for (int entry = 2; entry <= 5; ++entry)
            EXPECT_EQ(Hidden(entry), std::count(c.hidden.begin(), c.hidden.end(), entry) == 1) << "entry " << entry;
        // The band's width less the sim's buttons.
        EXPECT_EQ(BandWidth(kPluginsBand), 160 - 23 * static_cast<int>(c.hidden.size()));
        EXPECT_EQ(tillwick::State().HidePluginOn, c.flagOn);
        tillwick::ShowPlugins();
        for (int entry = 2; entry <= 5; ++entry) EXPECT_FALSE(Hidden(entry));
        EXPECT_EQ(BandWidth(kPluginsBand), 160);
    }
}

// ---- the Options-menu entry -------------------------------------------------------------------

int g_dialogOpened = 0;

TEST_F(HostMenus, TheEntryIsAddedOnceEnabledAfterEveryOpeningAndOpensTheDialog) {
    g_dialogOpened = 0;
    tillwick::PluginObject::OptionsDialogHook = [] { ++g_dialogOpened; };
    refhost::Host& h = Start();
    for (int opening = 0; opening < 4; ++opening) {
        if (opening == 3) host::sim::QueueMenuAnswer(kEntry);  // the fourth time the user picks the entry
        h.OpenOptionsMenu();
        testsupport::PumpFor(10);
        HMENU menu = h.OptionsMenu();
        EXPECT_EQ(host::GetMenuItemCount(menu), 15);
        EXPECT_EQ(host::GetMenuItemID(menu, 14), kEntry);
        EXPECT_EQ(host::GetMenuState(menu, kEntry, MF_BYCOMMAND) & MF_GRAYED, 0u) << "opening " << opening;
    }
    EXPECT_EQ(LastMenuItems().back().text, "Tillwick...");
    EXPECT_EQ(g_dialogOpened, 1);
    tillwick::StopShowInMenu();
    EXPECT_EQ(host::GetMenuItemCount(h.OptionsMenu()), 14);
}

// ---- search sorting -----------------------------------------------------------------------------

struct SortCase {
    Values settings;
    std::vector<std::string> engines, expected;
    const char* hostClearText = nullptr;  // the host's text for its clear command, when not its own
};

TEST_F(HostMenus, TheQuickSearchMenuIsSortedAlphabeticallyOrInTheUsersOrder) {
    const std::vector<SortCase> cases = {
        {{{"SortSearchAlphabetical", "1"}}, {"Yahoo", "google", "MSN"}, {"google", "MSN", "Yahoo"}},
        {{{"SortSearchAlphabetical", "1"}}, {"Google Images", "Google", "Ask"}, {"Ask", "Google", "Google Images"}},
        {{{"SortSearchCustom", "1"}, {"SortSearchOrder", "msn|google"}}, {"Google", "Yahoo", "MSN"}, {"MSN", "Google", "Yahoo"}},
        // A name that matches nothing, and empty names, leave no gap.
        {{{"SortSearchCustom", "1"}, {"SortSearchOrder", "ask||yahoo|"}}, {"Google", "Yahoo", "MSN"}, {"Yahoo", "Google", "MSN"}},
        {{{"SortSearchCustom", "1"}}, {"Google", "Yahoo", "MSN"}, {"Google", "Yahoo", "MSN"}},
        // A translation that is empty once its "&" goes makes no menu the search menu.
        {{{"SortSearchAlphabetical", "1"}}, {"Yahoo", "google", "MSN"}, {"Yahoo", "google", "MSN"}, "&"},
    };
    for (const SortCase& c : cases) {
        Restart(c.settings, "SortSearch");
        config.searchEngines = c.engines;
        if (c.hostClearText) config.settings.push_back({"Language\\English.ini", "String", "897", c.hostClearText});
        Start().OpenSearchMenu();
        const auto& items = host::sim::TrackedMenus().back().items;
        ASSERT_EQ(items.size(), 7u);
        std::vector<std::string> shown;
        for (std::size_t i = 0; i < 3; ++i) shown.push_back(items[i].text);
        EXPECT_EQ(shown, c.expected) << c.engines[0];
        EXPECT_EQ(items[5].text, c.hostClearText ? c.hostClearText : "Clear Search Bar History");
    }
}

// ---- group URLs and the confirmation -----------------------------------------------------

class GroupMenus : public HostMenus {
protected:
    void SetUp() override {
        HostMenus::SetUp();
        config.groups = {{"News", {{"BBC News", "http://news.bbc/"}, {"BBC", "http://bbc/"}}},
                         {"Three", {{"A", "http://a/"}, {"B", "http://b/"}, {"C", "http://c/"}}}};
    }
    // Opens group g through its command, answering a prompt (0: none expected); the prompt, "" when none.
    std::string OpenGroup(int g, int answer) {
        if (answer != 0) host::sim::QueueMessageBoxAnswer(answer);
        const std::size_t boxes = host::sim::MessageBoxes().size();
        host->Command(kFirstGroupCommand + static_cast<UINT>(g));
        testsupport::PumpFor(1000);
        return host::sim::MessageBoxes().size() > boxes ? host::sim::MessageBoxes().back().text : "";
    }
    // Where the host lists a group ("N. name"): group files by name, then names that make no file.
    int PositionOf(const std::string& name) {
        const HMENU menu = host->RefreshGroupsMenu();
        for (int g = 0, n = host::GetMenuItemCount(menu) - 4; g < n; ++g) {
            char text[256] = {};
            host::GetMenuStringA(menu, static_cast<UINT>(g + 4), text, sizeof text, MF_BYPOSITION);
            if (text == std::to_string(g + 1) + ". " + name) return g;
        }
        return -1;
    }
};

TEST_F(GroupMenus, HoveredPagesShowTheirOwnAddressAndLargerGroupsAskFirst) {
    refhost::Host& h = StartWith({{"ShowGroupUrl", "1"}, {"OpenGroupConfirm", "1"}, {"OpenGroupCount", "2"}});
    HoverGroup(0, 1);  // "BBC", the beginning of the first page's title
    EXPECT_EQ(StatusText(), "http://bbc/");
    EXPECT_TRUE(tillwick::State().StatusInfoRefresh);
    HoverGroup(0, 0);
    EXPECT_EQ(StatusText(), "http://news.bbc/");
    EXPECT_EQ(tillwick::HostMenusData().GroupUrl.GroupLines.size(), 2u);
    // More pages than the count: a question, and Cancel opens nothing.
    const int tabs = h.TabCount();
    HoverGroup(0);
    EXPECT_EQ(OpenGroup(0, 0), "");
    EXPECT_EQ(h.TabCount(), tabs + 2);
    HoverGroup(1);
    EXPECT_EQ(OpenGroup(1, IDCANCEL), "Do you want to open all 3 pages in: Three");
    EXPECT_EQ(h.TabCount(), tabs + 2);
    EXPECT_EQ(host::sim::MessageBoxes().back().caption, "Tillwick");
    HoverGroup(1);
    OpenGroup(1, IDOK);
    EXPECT_EQ(h.TabCount(), tabs + 5);
}

struct HostileGroup {
    std::string name;
    std::optional<std::string> file;  // at Groups\<name>.cgp as the path is spelled
};

TEST_F(GroupMenus, HostileGroupFilesCountAsOnePageAndNothingOutsideTheFolderIsRead) {
    const std::string planted = "[CaptorGroup]\r\nx=1\r\ny=2\r\nz=3\r\n";
    std::string huge = "[CaptorGroup]\r\n";
    while (huge.size() < (3u << 20)) huge += "Page=http://example.com/\r\n";
    const std::vector<HostileGroup> cases = {
        {"Missing", std::nullopt},
        {"Empty", ""},
        {"NoHeader", "[CaptorGroup]"},
        {"Binary", std::string("\0\xff\x01=\0\x7f", 6)},
        {"NoEquals", "[CaptorGroup]\r\njunk\r\n\r\n[Properties]\r\nCount=1\r\n"},
        {"..\\outside", planted},
        {"C:secret", planted},
        {"CON", planted},
    };
    Settings({{"ShowGroupUrl", "1"}, {"OpenGroupConfirm", "1"}, {"OpenGroupCount", "0"}});
    for (const HostileGroup& c : cases) config.groups.push_back({c.name, {}});
    refhost::Host& h = Start();
    for (std::size_t k = 0; k < cases.size(); ++k) {
        SCOPED_TRACE(cases[k].name);
        const std::string path = h.HostFolder() + "Groups\\" + cases[k].name + ".cgp";
        if (cases[k].file) host::sim::PutFile(path, *cases[k].file); else host::fs::DeleteFile(path);
        const int items = host::GetMenuItemCount(h.RefreshGroupsMenu());
        const int g = PositionOf(cases[k].name);
        ASSERT_GE(g, 0);
        HoverGroup(g);
        EXPECT_EQ(OpenGroup(g, IDCANCEL), "Do you want to open all 1 pages in: " + cases[k].name);
        EXPECT_EQ(host::GetMenuItemCount(h.RefreshGroupsMenu()), items);
    }
    host::sim::PutFile(h.HostFolder() + "Groups\\Huge.cgp", huge);
    tillwick::HostMenusData().GroupUrl.GroupName = "Huge";
    tillwick::LoadGroup();
    const std::size_t lines = tillwick::HostMenusData().GroupUrl.GroupLines.size();
    EXPECT_GT(lines, 1000u);
    EXPECT_LT(lines, (1u << 20) / 26 + 1);
    EXPECT_LE(host::sim::LargestFileRead(), (1u << 20) + 1);  // only the first megabyte is read
}

}  // namespace
