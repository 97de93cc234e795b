// Inside the reference host: the state every unit shares and the entry points
// each unit offers the others. One owner per piece: frame.cpp owns the frame
// and layout, bars.cpp the rebar, tool bars and status bar, tabs.cpp the tab
// windows, pages.cpp the page objects and loads, commands.cpp the host
// commands, menus.cpp the menus, files.cpp the host folder.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/host_contract.h"
#include "refhost/host.h"

namespace refhost {

struct Tab {
    int id = 0;  // unique for the life of the host
    HWND child = nullptr;
    HWND view = nullptr;
    HWND page = nullptr;
    std::string url = "about:blank";
    std::string title;
    bool locked = false;
    host::Object site, browser, window, document, location;
    std::unique_ptr<TabPlugin> plugin;
    // A load in progress: the step reached (0 = none) and its timer.
    int loadStep = 0;
    std::string loadingUrl;
    UINT_PTR loadTimer = 0;
    bool hasPopup = false;  // its page made an HTML pop-up (createPopup)
};

struct Host::State {
    explicit State(Config c) : config(std::move(c)) {}

    Config config;
    bool running = false;
    std::string hostFolder;
    std::string languageFile;
    UINT htmlGetObject = 0;  // the registered WM_HTML_GETOBJECT

    HWND frame = nullptr;
    HWND mdiClient = nullptr;
    HWND statusBar = nullptr;
    HWND statusToolbar = nullptr;
    HWND tabBar = nullptr;
    HWND tabToolTip = nullptr;  // the one the host made when the control had none
    HWND rebar = nullptr;
    HWND buttonsBar = nullptr;
    HWND pluginsBar = nullptr;
    HWND addressBar = nullptr;
    HWND addressCombo = nullptr;
    HWND addressEdit = nullptr;
    HWND searchBar = nullptr;
    HWND searchCombo = nullptr;
    HWND searchEdit = nullptr;
    HWND unusedBars[2] = {nullptr, nullptr};

    bool tabBarOnTop = false;
    bool fullScreen = false;
    LONG_PTR savedStyle = 0;
    RECT savedRect{};

    std::vector<std::unique_ptr<Tab>> tabs;
    int active = -1;
    int nextTabId = 1;
    host::Object external;  // the page script object `external`, one per host

    std::vector<UINT> carriedOut;
    std::set<UINT> menuCommands;  // every command the host's own menus carry
    bool contextMenuOpen = false;  // a tab or page menu is being tracked
    // The Options and Groups menus live as long as the frame, as a menu bar's
    // submenus do; the others are built for each opening.
    HMENU optionsMenu = nullptr;
    HMENU groupsMenu = nullptr;
    std::vector<std::string> popupLog;  // what page scripts asked of pop-ups and of `external`

    // Hostile pages (hostile_page.cpp): each watched tab with what it held when the watch began.
    struct Watch {
        int tabId = 0;
        std::size_t scriptsFrom = 0;
        host::Object window, document;  // a page kept elsewhere after its tab closed is still read
        std::vector<std::string> windowNames, documentNames;
    };
    std::vector<Watch> watched;
    std::map<int, std::vector<std::string>> pageScripts;  // by tab id: the code run in its page window
    std::vector<bool> blockersAtWatch;
};

// The running host's state (one per process), for window and timer procedures.
Host::State* Current();
void SetCurrent(Host::State* state);

// ---- files.cpp
std::string DefaultHostFolder();
bool LayOutHostFolder(Host::State& s);
std::string PluginFolderOf(const Host::State& s, std::string_view pluginName);
std::string HostLanguageText(const Host::State& s, std::string_view section, std::string_view key,
                             std::string_view fallback);
std::string ReadHostConfig(const Host::State& s, std::string_view section, std::string_view key,
                           std::string_view fallback);
void WriteHostConfig(const Host::State& s, std::string_view section, std::string_view key,
                     std::string_view value);
// Indexes (in the host's list) of enabled entries whose type is a button.
std::vector<int> ButtonPluginIndexes(const Host::State& s);

// ---- frame.cpp
// The frame's layout, the way an MFC frame recalculates it: the bars that are
// visible (window style) take their room, the tab bar only when it answers
// WM_SIZEPARENT itself (a plugin that swallows it lets the tab bar float).
void Layout(Host::State& s);
bool BarVisible(HWND bar);
void ShowBar(Host::State& s, HWND bar, bool shown);  // then re-layout
void UpdateCaption(Host::State& s);
void SetFullScreen(Host::State& s, bool on);
void CloseFrame(Host::State& s);

// ---- bars.cpp
bool CreateBars(Host::State& s);
void LayoutStatusParts(Host::State& s, int width);
void SetStatusText(Host::State& s, std::string_view text);
void SetAddressText(Host::State& s, std::string_view text);
void RefreshStatusParts(Host::State& s);  // the progress part follows the active tab
// The host's own procedures over the address and search edits (Enter
// navigates or searches) and the tab bar (layout room, double-click action).
bool SubclassControls(Host::State& s);
void UnsubclassControls(Host::State& s);
// Sends WM_SIZEPARENT to the tab bar; true when it reached the host's own
// procedure of the tab bar (nobody consumed it on the way).
bool TabBarClaimsRoom(Host::State& s);
inline constexpr int kRebarHeight = 56;
inline constexpr int kTabBarHeight = 24;
inline constexpr int kStatusBarHeight = 22;

// ---- tabs.cpp
void RegisterTabClasses();
int NewTab(Host::State& s, std::string_view windowName);  // index, -1 on failure
void ActivateTabAt(Host::State& s, int index);
void CloseTabAt(Host::State& s, int index);  // locked tabs stay
void SetTabText(Host::State& s, int index);
void SetTabLocked(Host::State& s, int index, bool locked);
void LayoutTabs(Host::State& s);
int TabIndexById(const Host::State& s, int id);
int TabIndexByPage(const Host::State& s, HWND page);

// ---- pages.cpp
void MakeTabObjects(Host::State& s, Tab& tab, std::string_view windowName);
void MakeExternal(Host::State& s);
void UpdateExternal(Host::State& s);
void StartLoad(Host::State& s, Tab& tab, std::string_view url);
void StopLoad(Host::State& s, Tab& tab);
void ReleaseTabObjects(Tab& tab);
std::string HostNameOf(std::string_view url);

// ---- popups.cpp
// Gives the tab's page window an execScript that answers the pop-up statements.
void AnswerPopupScripts(Host::State& s, Tab& tab);

// ---- hostile_page.cpp
// A page opened through a watched page's window.open is watched from its start.
void WatchOpenedPage(Host::State& s, int openerId, int openedIndex);

// ---- strip_scripts.cpp
// Carries out the script that closes every tab named after Tillwick; false
// when `code` is not that script.
bool AnswerTabClosingScript(Host::State& s, int callerIndex, std::string_view code);
// A string literal's inside as the script engine reads it: \uXXXX, \xNN and
// \c escapes decoded (to the system code page).
std::string ScriptStringValue(std::string_view literal);

// ---- commands.cpp
void RunCommand(Host::State& s, WPARAM wParam);
bool KnownCommand(const Host::State& s, UINT id);
void RunPlugin(Host::State& s, int entryIndex);

// ---- menus.cpp
void TrackTabMenu(Host::State& s, int tabIndex);
void TrackPageMenu(Host::State& s, PageMenuKind kind);
void TrackOptionsMenu(Host::State& s);
void TrackGroupsMenu(Host::State& s);
// The Groups menu filled afresh from the groups' files (made on first use).
HMENU RefreshGroupsMenu(Host::State& s);
void DestroyKeptMenus(Host::State& s);
void TrackSearchMenu(Host::State& s);
void CollectMenuCommands(Host::State& s);
// The frame's part of WM_INITMENUPOPUP: gray what the host does not know.
void GrayUnknownCommands(const Host::State& s, HMENU popup);
bool OpenGroupCommand(Host::State& s, UINT id);
bool OpenGroupPageCommand(Host::State& s, UINT id);
bool SearchCommand(Host::State& s, UINT id);

// Host commands of our own menus that the plugin contract does not name.
namespace ids {
inline constexpr UINT kBack = 0x8002, kForward = 0x8003, kHome = 0x800D;
inline constexpr UINT kDuplicateTab = 0x8107, kRefreshAll = 0x8108, kAddFavorite = 0x8106,
                      kSaveAs = 0xE103, kAutoRefresh = 0x8105, kUndoClose = 0x8104,
                      kCopyAddress = 0x8103;
inline constexpr UINT kGroupAddPage = tillwick::contract::kCmdGroupsMenuFirst, kGroupAddAll = 0x80D2,
                      kGroupOrganize = 0x80D3;
inline constexpr UINT kGroupItemBase = 0x6800;   // the group's own item (carries its pages)
inline constexpr UINT kGroupPageBase = 0x5000;   // + group * 64 + page
inline constexpr UINT kSearchEngineBase = 0x8600;
inline constexpr UINT kClearAddressHistory = 0x8620, kClearSearchHistory = 0x8621,
                      kClearAllHistory = 0x8622;
inline constexpr UINT kInternetOptions = 0x8020, kSkins = 0x8021;
// The frame closes a tab that its page asked to close, after the script call returned.
inline constexpr UINT kMsgCloseTabById = 0x8000 + 0x101;  // WM_APP + 0x101
}  // namespace ids

}  // namespace refhost
