// The host's pop-up menus: the tab menu, the page menus of each kind, the
// Options, Groups and quick-search menus. Each is built when it opens, tracked
// with the frame as owner (so the frame sees the whole menu loop), destroyed
// when the loop ends, and its choice reaches the frame as a posted WM_COMMAND,
// the way a menu's command arrives after the loop.
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "base/errors.h"
#include "refhost/host_impl.h"

namespace refhost {

namespace c = tillwick::contract;

namespace {

struct Item {
    UINT id;  // 0: separator
    std::string text;
    UINT state = 0;  // MF_CHECKED, MF_GRAYED
};
using Items = std::vector<Item>;
const Item kSep{0, ""};

void Fill(HMENU menu, const Items& items) {
    for (const auto& item : items) {
        if (item.id == 0)
            host::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        else
            host::AppendMenuA(menu, MF_STRING | item.state, item.id, item.text.c_str());
    }
}

HMENU Build(const Items& items) {
    HMENU menu = host::CreatePopupMenu();
    if (menu) Fill(menu, items);
    return menu;
}

void AppendPopup(HMENU menu, UINT id, const std::string& text, HMENU popup) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_FTYPE;
    info.fType = MFT_STRING;
    info.wID = id;
    info.hSubMenu = popup;
    std::string copy = text;
    info.dwTypeData = copy.data();
    info.cch = static_cast<UINT>(copy.size());
    host::InsertMenuItemA(menu, static_cast<UINT>(host::GetMenuItemCount(menu)), TRUE, &info);
}

UINT Checked(bool on) { return on ? MF_CHECKED : MF_UNCHECKED; }

std::string LanguageText(const Host::State& s, std::string_view section, UINT id,
                         std::string_view fallback) {
    return HostLanguageText(s, section, std::to_string(id), fallback);
}

const Tab* TabAt(const Host::State& s, int index) {
    if (index < 0 || index >= static_cast<int>(s.tabs.size())) return nullptr;
    return s.tabs[static_cast<std::size_t>(index)].get();
}

// The tab menu: the tab-bar commands sit two places lower, and "Close All"
// one place lower, when the tab bar is on top (the close commands come first
// there, next to the tabs).
HMENU BuildTabMenu(const Host::State& s, int tabIndex) {
    const Tab* tab = TabAt(s, tabIndex);
    const bool locked = tab && tab->locked;
    const Item closeTab{c::kCmdCloseTab, "&Close Tab"};
    const Item undoClose{ids::kUndoClose, "&Undo Close Tab"};
    const Item closeAll{c::kCmdCloseAll, LanguageText(s, "MENU_MAIN", c::kCmdCloseAll, "Close &All")};
    const Item closeUnlocked{c::kCmdCloseAllUnlocked,
                             LanguageText(s, "MENU_RTAB", c::kCmdCloseAllUnlocked,
                                          "Close All &Unlocked")};
    const Item onTop{c::kCmdTabBarTop, "Tab Bar on &Top", Checked(s.tabBarOnTop)};
    const Item atBottom{c::kCmdTabBarBottom, "Tab Bar at &Bottom", Checked(!s.tabBarOnTop)};
    const Item newTab{c::kCmdNewTab, "&New Tab"};
    const Item duplicate{ids::kDuplicateTab, "&Duplicate Tab"};
    const Item refresh{c::kCmdRefresh, "&Refresh"};
    const Item refreshAll{ids::kRefreshAll, "Refresh A&ll"};
    const Item stop{c::kCmdStop, "&Stop"};
    const Item lock{c::kCmdLockTab, "&Lock Tab", Checked(locked)};
    const Item favorite{ids::kAddFavorite, "Add to &Favorites"};
    const Item saveAs{ids::kSaveAs, "Save &As..."};
    const Item autoRefresh{ids::kAutoRefresh, "Auto Re&fresh"};
    const Item copyAddress{ids::kCopyAddress, "Copy Address"};
    Items items;
    if (s.tabBarOnTop) {
        items = {closeTab, undoClose,  kSep,        newTab, duplicate, kSep,  refresh,
                 refreshAll, stop,     kSep,        lock,   favorite,  saveAs, autoRefresh,
                 copyAddress, onTop,   atBottom,    kSep,   closeUnlocked, closeAll};
    } else {
        items = {newTab, duplicate,  kSep,       refresh,   refreshAll, stop, kSep,
                 lock,   favorite,   saveAs,     autoRefresh, kSep,     copyAddress, onTop,
                 atBottom, kSep,     undoClose,  closeTab,  closeAll,   kSep, closeUnlocked};
    }
    return Build(items);
}

// Page menus: the host's items up to the insert position, the entries other
// software added, then the kind's closing items.
HMENU BuildPageMenu(const Host::State& s, PageMenuKind kind) {
    const Item back{c::kPageMenuDefaultFirst, "&Back"};
    const Item forward{2283, "&Forward"};
    const Item open{c::kPageMenuLinkFirst, "&Open"};
    const Item openNew{c::kCmdOpenLinkNewWindow, "Open in New &Window"};
    const Item saveTarget{2268, "Save Target &As..."};
    const Item printTarget{2270, "&Print Target"};
    const Item cut{c::kPageMenuSelectionFirst, "Cu&t"};
    const Item copy{15, "&Copy"};
    const Item paste{26, "&Paste"};
    const Item selectAll{31, "Select &All"};
    const Item copyShortcut{2274, "Copy Shor&tcut"};
    const Item favorites{2261, "Add to &Favorites..."};
    const Item properties{28, "P&roperties"};
    const Item viewSource{2139, "View &Source"};
    const Item refresh{6042, "R&efresh"};
    const Item print{27, "&Print..."};
    const Item openInTab{c::kPageMenuHostFirst, "Open in New &Tab"};
    Items head, tail;
    switch (kind) {
        case PageMenuKind::Default:
            head = {back, forward, kSep, {2263, "Save &Background As..."},
                    {2264, "Set as Back&ground"}, {2265, "&Copy Background"},
                    {2266, "Set as &Desktop Item..."}, kSep, selectAll, paste, kSep,
                    {2267, "Create Shor&tcut"}, favorites, viewSource, kSep, {2252, "&Encoding"},
                    kSep, print, refresh, kSep};
            tail = {kSep, properties};
            break;
        case PageMenuKind::Link:
            head = {open, openNew, kSep, saveTarget, printTarget,
                    {c::kPageMenuLinkFifth, "S&how Picture"}, {2263, "&Save Picture As..."},
                    {2271, "E-&mail Picture..."}, {2272, "Pr&int Picture..."},
                    {2273, "&Go to My Pictures"}, {2264, "Set as Back&ground"},
                    {2266, "Set as &Desktop Item..."}, kSep, cut, copy, copyShortcut, paste, kSep,
                    favorites, kSep};
            tail = {kSep, properties};
            break;
        case PageMenuKind::LinkShort:
            head = {open, openNew, kSep, saveTarget, printTarget, kSep, copy, copyShortcut, paste,
                    kSep, favorites, kSep};
            tail = {kSep, properties};
            break;
        case PageMenuKind::Edit:
            head = {{c::kPageMenuEditFirst, "&Undo"}, kSep, cut, copy, paste, {17, "&Delete"},
                    kSep};
            tail = {kSep, selectAll};
            break;
        case PageMenuKind::Selection:
            head = {cut, copy, paste, kSep, selectAll, print};
            break;
        case PageMenuKind::HostLink:
            head = {openInTab, kSep, open, openNew, kSep, saveTarget, printTarget, kSep,
                    copyShortcut, copy, kSep, favorites,
                    {c::kCmdGroupsMenuFirst, "Add to &Group"}, kSep};
            tail = {kSep, properties};
            break;
        case PageMenuKind::HostPage:
            head = {openInTab, kSep, back, forward, kSep, selectAll, viewSource, refresh, kSep};
            break;
    }
    for (const auto& extension : s.config.pageMenuExtensions)
        head.push_back({extension.id, extension.text});
    head.insert(head.end(), tail.begin(), tail.end());
    return Build(head);
}

Items OptionsItems(const Host::State& s) {
    Items items;
    const char* const names[6] = {"Block &Popup Windows", "Popup &Filter",  "&URL Filter",
                                  "Remove &Modal Dialogs", "Remove Floating &Ads",
                                  "Block Active&X"};
    for (int k = 0; k < 6; ++k) {
        const auto& blocker = c::kHostBlockers[k];
        const bool on =
            ReadHostConfig(s, c::kHostSettingsSection, blocker.configKey, "0") == "1";
        items.push_back({blocker.command, names[k], Checked(on)});
    }
    items.insert(items.end(),
                 {kSep,
                  {c::kCmdToggleStatusBar, "&Status Bar", Checked(BarVisible(s.statusBar))},
                  {c::kCmdToggleTabBar, "&Tab Bar", Checked(BarVisible(s.tabBar))},
                  {c::kCmdFullScreen, "F&ull Screen", Checked(s.fullScreen)},
                  kSep,
                  {ids::kInternetOptions, "&Internet Options..."},
                  {ids::kSkins, "S&kins"},
                  {c::kCmdOptionsMenu, "Maxthon Setup &Center..."}});
    return items;
}

HMENU BuildOptionsMenu(const Host::State& s) { return Build(OptionsItems(s)); }

// The kept Options menu with its check marks brought up to date.
HMENU KeptOptionsMenu(Host::State& s) {
    if (!host::IsMenu(s.optionsMenu)) {
        s.optionsMenu = BuildOptionsMenu(s);
        return s.optionsMenu;
    }
    for (const Item& item : OptionsItems(s))
        if (item.id != 0)
            host::CheckMenuItem(s.optionsMenu, item.id, MF_BYCOMMAND | (item.state & MF_CHECKED));
    return s.optionsMenu;
}

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() &&
           std::equal(tail.begin(), tail.end(), text.end() - static_cast<std::ptrdiff_t>(tail.size()),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) ==
                                                  std::tolower(static_cast<unsigned char>(b)); });
}

bool SameNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && EndsWithNoCase(a, b);
}

// The groups as the host lists them: one per group file in its Groups folder,
// then any configured group not among them (a hand-edited list may name a
// group whose file is gone or whose name makes no file).
std::vector<std::string> GroupNames(const Host::State& s) {
    const std::string folder = s.hostFolder + std::string(c::kHostGroupsFolder);
    std::vector<std::string> names;
    for (const std::string& file : host::fs::ListFiles(folder))
        if (EndsWithNoCase(file, c::kGroupFileExtension))
            names.push_back(file.substr(0, file.size() - c::kGroupFileExtension.size()));
    // In the order NTFS lists them, whatever file system the host runs on.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::toupper(static_cast<unsigned char>(x)) < std::toupper(static_cast<unsigned char>(y));
        });
    });
    const std::size_t files = names.size();
    for (const Group& group : s.config.groups) {
        const auto end = names.begin() + static_cast<std::ptrdiff_t>(files);
        if (std::none_of(names.begin(), end, [&](const std::string& n) { return SameNoCase(n, group.name); }))
            names.push_back(group.name);
    }
    return names;
}

// The pages of a group as its file lists them: "title=address" lines of the
// "[CaptorGroup]" section.
std::vector<GroupPage> PagesOf(const Host::State& s, const std::string& group) {
    std::vector<GroupPage> pages;
    const auto text = host::fs::ReadFile(s.hostFolder + std::string(c::kHostGroupsFolder) + "\\" +
                                         group + std::string(c::kGroupFileExtension));
    if (!text) return pages;
    bool inPages = false;
    std::size_t from = 0;
    while (from < text->size()) {
        std::size_t end = text->find("\r\n", from);
        if (end == std::string::npos) end = text->size();
        const std::string line = text->substr(from, end - from);
        from = end + 2;
        if (!line.empty() && line.front() == '[') {
            std::string lower = line;
            std::transform(lower.begin(), lower.end(), lower.begin(),
                           [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
            inPages = lower == "[captorgroup]";
            continue;
        }
        const std::size_t eq = line.find('=');
        if (inPages && eq != std::string::npos) pages.push_back({line.substr(0, eq), line.substr(eq + 1)});
    }
    return pages;
}

// The Groups menu: three group commands and a separator, then one item per
// group ("1. Name") whose submenu lists the group's pages and its open command.
void FillGroupsMenu(const Host::State& s, HMENU menu) {
    Fill(menu, {{ids::kGroupAddPage, "&Add Current Page to Group"},
                {ids::kGroupAddAll, "Add All &Pages to Group"},
                {ids::kGroupOrganize, "&Organize Groups..."},
                kSep});
    const std::vector<std::string> groups = GroupNames(s);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const std::vector<GroupPage> pages = PagesOf(s, groups[g]);
        Items items;
        for (std::size_t p = 0; p < pages.size() && p < 64; ++p)
            items.push_back({ids::kGroupPageBase + static_cast<UINT>(g * 64 + p), pages[p].title});
        items.push_back(kSep);
        items.push_back({c::kGroupCommandBase + 1 + static_cast<UINT>(g), "Open &All Pages"});
        AppendPopup(menu, ids::kGroupItemBase + 1 + static_cast<UINT>(g),
                    std::to_string(g + 1) + ". " + groups[g], Build(items));
    }
}

HMENU BuildGroupsMenu(const Host::State& s) {
    HMENU menu = host::CreatePopupMenu();
    if (menu) FillGroupsMenu(s, menu);
    return menu;
}

HMENU BuildSearchMenu(const Host::State& s) {
    Items items;
    for (std::size_t k = 0; k < s.config.searchEngines.size(); ++k)
        items.push_back({ids::kSearchEngineBase + static_cast<UINT>(k), s.config.searchEngines[k]});
    items.insert(items.end(),
                 {kSep,
                  {ids::kClearAddressHistory, "Clear &Address Bar History"},
                  {ids::kClearSearchHistory,
                   HostLanguageText(s, c::kClearSearchHistorySection, c::kClearSearchHistoryKey,
                                    c::kClearSearchHistoryText)},
                  {ids::kClearAllHistory, "Clear A&ll History"}});
    return Build(items);
}

// Tracks a menu the host keeps (the Options and Groups menus) and carries
// out the chosen command. From a context menu the host carries out only the
// commands it knows: an entry a plugin put there for another plugin is that
// plugin's to launch.
void TrackKept(Host::State& s, HMENU menu, POINT at, bool context = false) {
    if (!menu) return;
    s.contextMenuOpen = context;
    const UINT chosen = static_cast<UINT>(host::TrackPopupMenu(
        menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, s.frame, nullptr));
    s.contextMenuOpen = false;
    if (chosen == 0) return;
    const bool pluginEntry = chosen >= c::kCmdPluginBase && chosen < c::kCmdPluginBase + s.config.plugins.size();
    if (!context || (!pluginEntry && KnownCommand(s, chosen))) host::PostMessageA(s.frame, WM_COMMAND, chosen, 0);
}

// A menu built for one opening.
void Track(Host::State& s, HMENU menu, POINT at, bool context = false) {
    TrackKept(s, menu, at, context);
    if (menu) host::DestroyMenu(menu);
}

POINT CentreOnScreen(HWND hwnd, const RECT& r) {
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    host::ClientToScreen(hwnd, &p);
    return p;
}

LPARAM PackPoint(POINT p) {
    return static_cast<LPARAM>((static_cast<std::uint32_t>(p.y & 0xFFFF) << 16) |
                               static_cast<std::uint32_t>(p.x & 0xFFFF));
}

void Walk(std::set<UINT>& into, HMENU menu) {
    const int count = host::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = host::GetSubMenu(menu, i)) {
            Walk(into, sub);
            continue;
        }
        const UINT id = host::GetMenuItemID(menu, i);
        if (id != 0 && id != static_cast<UINT>(-1)) into.insert(id);
    }
}

}  // namespace

void CollectMenuCommands(Host::State& s) {
    s.menuCommands.clear();
    std::vector<HMENU> menus = {BuildTabMenu(s, -1), BuildOptionsMenu(s), BuildGroupsMenu(s),
                                BuildSearchMenu(s)};
    for (auto kind : {PageMenuKind::Default, PageMenuKind::Link, PageMenuKind::LinkShort,
                      PageMenuKind::Edit, PageMenuKind::Selection, PageMenuKind::HostLink,
                      PageMenuKind::HostPage})
        menus.push_back(BuildPageMenu(s, kind));
    const bool onTop = s.tabBarOnTop;
    s.tabBarOnTop = !onTop;  // both tab-menu layouts hold the same commands; walk the other too
    menus.push_back(BuildTabMenu(s, -1));
    s.tabBarOnTop = onTop;
    for (HMENU menu : menus) {
        if (!menu) continue;
        Walk(s.menuCommands, menu);
        host::DestroyMenu(menu);
    }
}

void GrayUnknownCommands(const Host::State& s, HMENU popup) {
    const int count = host::GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        if (host::GetSubMenu(popup, i)) continue;
        const UINT id = host::GetMenuItemID(popup, i);
        if (id == 0 || id == static_cast<UINT>(-1) || KnownCommand(s, id)) continue;
        host::EnableMenuItem(popup, static_cast<UINT>(i), MF_BYPOSITION | MF_GRAYED);
    }
}

void TrackTabMenu(Host::State& s, int tabIndex) {
    if (!s.running || !TabAt(s, tabIndex)) return;
    RECT r{};
    host::SendMessageA(s.tabBar, TCM_GETITEMRECT, static_cast<WPARAM>(tabIndex),
                       reinterpret_cast<LPARAM>(&r));
    const POINT client{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    host::SendMessageA(s.tabBar, WM_RBUTTONDOWN, 0, PackPoint(client));
    host::SendMessageA(s.tabBar, WM_RBUTTONUP, 0, PackPoint(client));
    Track(s, BuildTabMenu(s, tabIndex), CentreOnScreen(s.tabBar, r), true);
}

void TrackPageMenu(Host::State& s, PageMenuKind kind) {
    const Tab* tab = TabAt(s, s.active);
    if (!s.running || !tab) return;
    RECT r{};
    host::GetClientRect(tab->page, &r);
    const POINT client{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    host::SendMessageA(tab->page, WM_RBUTTONDOWN, 0, PackPoint(client));
    host::SendMessageA(tab->page, WM_RBUTTONUP, 0, PackPoint(client));
    Track(s, BuildPageMenu(s, kind), CentreOnScreen(tab->page, r), true);
}

void TrackOptionsMenu(Host::State& s) {
    if (s.running) TrackKept(s, KeptOptionsMenu(s), POINT{40, 40});
}

void TrackGroupsMenu(Host::State& s) {
    if (s.running) TrackKept(s, RefreshGroupsMenu(s), POINT{80, 40});
}

HMENU RefreshGroupsMenu(Host::State& s) {
    if (!host::IsMenu(s.groupsMenu)) {
        s.groupsMenu = host::CreatePopupMenu();
    } else {
        while (host::GetMenuItemCount(s.groupsMenu) > 0) host::DeleteMenu(s.groupsMenu, 0, MF_BYPOSITION);
    }
    if (s.groupsMenu) FillGroupsMenu(s, s.groupsMenu);
    return s.groupsMenu;
}

void DestroyKeptMenus(Host::State& s) {
    for (HMENU* menu : {&s.optionsMenu, &s.groupsMenu}) {
        if (*menu && host::IsMenu(*menu)) host::DestroyMenu(*menu);
        *menu = nullptr;
    }
}

void TrackSearchMenu(Host::State& s) {
    if (!s.running) return;
    RECT r{};
    host::GetWindowRect(s.searchCombo, &r);
    Track(s, BuildSearchMenu(s), POINT{r.left, r.bottom});
}

bool OpenGroupCommand(Host::State& s, UINT id) {
    const UINT first = c::kGroupCommandBase + 1;
    const std::vector<std::string> groups = GroupNames(s);
    if (id < first || id >= first + groups.size()) return false;
    for (const auto& page : PagesOf(s, groups[id - first])) {
        int index = NewTab(s, "");
        if (index >= 0) StartLoad(s, *s.tabs[static_cast<std::size_t>(index)], page.url);
    }
    return true;
}

bool OpenGroupPageCommand(Host::State& s, UINT id) {
    const std::vector<std::string> groups = GroupNames(s);
    if (id < ids::kGroupPageBase || id >= ids::kGroupPageBase + groups.size() * 64) return false;
    const UINT offset = id - ids::kGroupPageBase;
    const std::vector<GroupPage> pages = PagesOf(s, groups[offset / 64]);
    if (offset % 64 >= pages.size()) return true;
    int index = NewTab(s, "");
    if (index >= 0) StartLoad(s, *s.tabs[static_cast<std::size_t>(index)], pages[offset % 64].url);
    return true;
}

bool SearchCommand(Host::State& s, UINT id) {
    if (id < ids::kSearchEngineBase || id >= ids::kSearchEngineBase + s.config.searchEngines.size())
        return false;
    std::string engine = s.config.searchEngines[id - ids::kSearchEngineBase];
    std::transform(engine.begin(), engine.end(), engine.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    char text[1024] = {};
    if (s.searchEdit) host::GetWindowTextA(s.searchEdit, text, sizeof text);
    int index = s.active >= 0 ? s.active : NewTab(s, "");
    if (index >= 0)
        StartLoad(s, *s.tabs[static_cast<std::size_t>(index)],
                  "http://www." + engine + ".com/search?q=" + std::string(text));
    return true;
}

}  // namespace refhost
