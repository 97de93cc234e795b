// The reference host: a small browser frame that keeps the host's side of the
// plugin contract (the "IEFrame" window family, host commands, menus, files,
// page and browser objects), written against src/host so it runs on the sim
// and on Win32.
//
// Use on the sim (tests/support/refhost_fixture.h sets up the seams):
//
//   testsupport::PlatformReset();
//   refhost::Config config = refhost_fixture::SimConfig();   // seams + exe path
//   config.pluginFactory = [] { return std::make_unique<MyTabPlugin>(); };
//   refhost::Host host(std::move(config));
//   host.Start();                         // files, windows; the frame is shown
//   host.OpenTab("http://example.com/");  // command 0x8004, then the page loads
//   testsupport::PumpFor(1000);           // the load runs on the clock
//   host.Command(0xC000 + 0);             // any host command, as WM_COMMAND
//   host.RightClickTab(0);                // the tab menu, tracked by the frame
//
// One Host runs per process at a time (as one browser frame would).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/host.h"
#include "refhost/object_seam.h"
#include "refhost/plugin_seam.h"

namespace refhost {

// One entry of the host's plugin list (Config\Plugins.ini) and its
// description file Plugin\<folder>\plugin.ini.
struct PluginEntry {
    std::string folder;  // empty: listed, but no folder or description exists
    std::string name;
    std::string version = "1.0";
    std::string type = "button";
    std::string moduleType = "COM";
    std::string fileName;
    bool enabled = true;
    std::string extraIni;  // appended to plugin.ini as it is (CR LF line ends)
};
// Tillwick and its companion "Tillwick Helper", both enabled buttons.
std::vector<PluginEntry> DefaultPlugins();

// A value written over the built-in content of a host file (path relative to
// the host folder, e.g. "config\\config.ini").
struct IniSetting {
    std::string file, section, key, value;
};

struct GroupPage {
    std::string title, url;
};
// A group as the host lists it; its pages are written to Groups\<name>.cgp at
// start, and the Groups menu and the group's open command read them from there.
struct Group {
    std::string name;
    std::vector<GroupPage> pages;
};

struct MenuEntry {
    UINT id = 0;
    std::string text;
};

enum class PageMenuKind {
    Default,    // first item 2282 (Back)
    Link,       // first item 2136, 2269 at position 5
    LinkShort,  // first item 2136, something else at position 5
    Edit,       // first item 43 (Undo)
    Selection,  // first item 16
    HostLink,   // first item 0x804C, 2136 at position 2
    HostPage,   // first item 0x804C, something else at position 2
};

// What a tab's site object answers: browsers differ, and a site owes a
// plugin no IDispatch.
enum class SiteKind : std::uint8_t {
    Full,                    // IDispatch and the browser service
    WithoutDispatch,         // the browser service only
    WithoutServiceProvider,  // no way to the browser
};
// When the host releases a closing tab's plugin object: after its windows
// are gone (as a browser control inside the MDI child is), or before.
enum class ReleaseOrder : std::uint8_t { AfterWindows, BeforeWindows };

struct Config {
    ObjectSeam objects;            // required
    PluginFactory pluginFactory;   // empty: tabs get no plugin object
    SiteKind siteKind = SiteKind::Full;
    ReleaseOrder releaseOrder = ReleaseOrder::AfterWindows;
    std::string hostFolder;        // empty: the executable's folder
    std::string securityId = "{3A1F7C2E-5B6D-4E8F-9A0B-1C2D3E4F5A6B}";
    std::vector<PluginEntry> plugins = DefaultPlugins();
    std::vector<IniSetting> settings;  // applied over the built-in files
    std::vector<Group> groups = {
        {"News", {{"BBC", "http://www.bbc.co.uk/"}, {"Reuters", "http://www.reuters.com/"}}},
        {"Search", {{"Google", "http://www.google.com/"}}},
    };
    std::vector<std::string> searchEngines = {"Google", "Yahoo", "MSN"};
    std::vector<MenuEntry> pageMenuExtensions = {{3700, "E&xport to Microsoft Excel"},
                                                 {3701, "Send to One&Note"}};
    // Title a page gets when it has loaded; empty: the address itself.
    std::function<std::string(std::string_view url)> titleOf;
    // The markup a page has (document.documentElement.innerHTML); empty: none.
    std::function<std::string(std::string_view url)> markupOf;
    bool tabBarOnTop = false;
    bool statusBarVisible = true;
    bool tabBarVisible = true;
    bool showFrame = true;
    RECT frameRect{0, 0, 1024, 768};
    std::uint32_t loadStepMs = 100;  // a page load takes three steps
    // Buttons put between Refresh (0x800B) and Stop (0x800A) on the main toolbar (0: adjacent).
    int buttonsBetweenRefreshAndStop = 0;
};

// Status-bar parts: text, progress (wide only while loading), zone, tool bar.
inline constexpr int kProgressPartLoadingWidth = 85;
inline constexpr int kLoadSteps = 3;

class Host {
public:
    explicit Host(Config config);
    ~Host();  // closes the frame if it still runs
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // Lays out the host folder, creates the frame and its bars, shows it.
    // False when the object seam is incomplete or a window could not be made.
    bool Start();
    // WM_CLOSE to the frame: plugins released, windows, menus and timers gone.
    void Close();
    bool Running() const;
    // Lets go of the plugin factory, as a browser frees unused libraries: new
    // tabs get no object, and a DLL behind the factory may go once its own
    // DllCanUnloadNow agrees.
    void DropPluginFactory();

    // ---- driving: each goes through the frame the way a user's action does
    LRESULT Command(std::uintptr_t wParam);  // SendMessage(frame, WM_COMMAND, wParam, 0)
    int OpenTab(std::string_view url = "about:blank");  // 0x8004, then LoadPage; new index
    void ActivateTab(int index);                        // 0xC000 + index
    void CloseTab();                                    // 0x8008
    void LoadPage(std::string_view url);                // active tab; steps run on the clock
    void PressToolbarButton(HWND toolbar, UINT command);  // WM_COMMAND from that bar
    void PressPluginButton(int entryIndex);             // 29521 + k from the plugins bar
    void RightClickTab(int index);                      // tab menu at the tab
    void RightClickPage(PageMenuKind kind);             // page menu of that kind
    void OpenOptionsMenu();
    void OpenGroupsMenu();
    void OpenSearchMenu();
    // The kept menus: the Options menu once it has been opened (else null),
    // and the Groups menu filled from the groups' files, for a test that
    // plays the menu loop itself.
    HMENU OptionsMenu() const;
    HMENU RefreshGroupsMenu();

    // ---- windows
    HWND Frame() const;
    HWND MdiClient() const;
    HWND StatusBar() const;
    HWND StatusToolbar() const;
    HWND TabBar() const;
    HWND Rebar() const;
    HWND ButtonsToolbar() const;
    HWND PluginsToolbar() const;
    HWND AddressCombo() const;
    HWND AddressEdit() const;
    HWND SearchEdit() const;

    // ---- tabs and pages
    int TabCount() const;
    int ActiveTab() const;  // -1 without tabs
    HWND TabWindow(int index) const;  // the MDI child
    HWND PageWindow(int index) const; // "Internet Explorer_Server"
    host::Object Document(int index) const;
    host::Object PageWindowObject(int index) const;  // document.parentWindow
    host::Object Browser(int index) const;
    TabPlugin* Plugin(int index) const;
    bool Loading(int index) const;

    // ---- layout and switches
    bool TabBarShown() const;
    bool TabBarOnTop() const;
    bool FullScreen() const;
    bool Blocker(int index) const;  // 0..5, as the host's config.ini holds it

    // ---- files and facts
    const std::string& HostFolder() const;  // with a trailing backslash
    std::string PluginFolder(std::string_view pluginName) const;  // no trailing backslash
    const std::string& SecurityId() const;
    // Host commands the frame carried out, in order (WM_COMMAND low words it knew).
    const std::vector<UINT>& CommandsCarriedOut() const;
    // What page scripts asked of HTML pop-ups and of `external`, in order:
    // "createPopup tab 1", "get_tab '<id>',3 from tab 1", "show at x 500 from tab 1", "hide tab 1",
    // and for the tab-closing script "tab_count 3 from tab 0", "close_tab '<id>',2 from tab 0".
    const std::vector<std::string>& PopupLog() const;

    // ---- a hostile page
    // From now on the page of tab `index` reads everything script can reach
    // from it: every global that script run in it leaves (names, values,
    // function sources), every property put on its window or document, and
    // the pages opened from it. The content blockers are noted as they are.
    void WatchPage(int index);
    // What the watched pages gained since, one line each: globals, new
    // properties, scripts run there that held the security id or reached
    // other tabs, other tabs' objects or markup, a content blocker left
    // switched. Empty when they gained nothing.
    std::vector<std::string> PageGains() const;

    struct State;

private:
    std::unique_ptr<State> state_;
};

}  // namespace refhost
