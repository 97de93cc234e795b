// What the plugin relies on from the host browser: window classes, the host's
// command numbers (WM_COMMAND wParam to the main frame), and file names. One
// definition each; features that use a host command of their own name it here.
#pragma once

#include <cstdint>
#include <string_view>

namespace tillwick::contract {

// Window classes (compared exactly, case-sensitive).
inline constexpr std::string_view kMainFrameClass = "IEFrame";
inline constexpr std::string_view kMdiClientClass = "MDIClient";
inline constexpr std::string_view kStatusBarClass = "msctls_statusbar32";
inline constexpr std::string_view kTabBarClass = "SysTabControl32";
inline constexpr std::string_view kRebarClass = "ReBarWindow32";
inline constexpr std::string_view kToolbarClass = "ToolbarWindow32";
inline constexpr std::string_view kComboBoxClass = "ComboBox";
inline constexpr std::string_view kEditClass = "Edit";
inline constexpr std::string_view kPageViewClass = "Internet Explorer_Server";
inline constexpr std::string_view kTabChildClassPrefix = "Afx:400000:8";
inline constexpr std::string_view kTooltipClass = "tooltips_class32";
inline constexpr std::string_view kHtmlGetObjectMessage = "WM_HTML_GETOBJECT";

// Host commands shared by several features.
inline constexpr std::uint32_t kCmdActivateTabBase = 0xC000;  // + tab index (0-based)
inline constexpr std::uint32_t kCmdSelectTabFromCount = 0xBFFF;  // + tab count selects the last tab
inline constexpr std::uint32_t kCmdPluginBase = 29521;           // + index in the host's plugin list
inline constexpr std::uint32_t kCmdToggleStatusBar = 0xE801;
inline constexpr std::uint32_t kCmdToggleTabBar = 0x8179;
inline constexpr std::uint32_t kCmdTabBarTop = 0x818B;
inline constexpr std::uint32_t kCmdTabBarBottom = 0x818C;
inline constexpr std::uint32_t kCmdFullScreen = 0x804D;
inline constexpr std::uint32_t kCmdNewTab = 0x8004;
inline constexpr std::uint32_t kCmdCloseTab = 0x8008;
inline constexpr std::uint32_t kCmdLockTab = 0x80F0;
inline constexpr std::uint32_t kCmdExit = 0xE141;
// The toolbar's Stop and Refresh: the combined button shows Stop while a page loads.
inline constexpr std::uint32_t kCmdStop = 0x800A;
inline constexpr std::uint32_t kCmdRefresh = 0x800B;
inline constexpr std::uint32_t kCmdOptionsMenu = 0x801C;
inline constexpr std::uint32_t kCmdAllBlockers = 0x813C;
// The pop-up filter switch, from the menu, the all-blockers button and an accelerator.
inline constexpr std::uint32_t kCmdPopupFilter = 0x80F1;
inline constexpr std::uint32_t kCmdPopupFilterAccel = 0x180F1;
// Notification code 1 in the high word: the same command from an accelerator.
inline constexpr std::uint32_t kAcceleratorBit = 0x10000;

// Host bands and toolbar styles (window style as read with GWL_STYLE).
inline constexpr std::uint32_t kMainButtonsBandId = 0xE800;
inline constexpr std::uint32_t kPluginButtonsBandId = 33045;

// Host files, relative to the host folder.
inline constexpr std::string_view kHostConfigFile = "config\\config.ini";
inline constexpr std::string_view kHostSetupCenterFile = "config\\SetupCenter.ini";
inline constexpr std::string_view kHostPluginSwitchFile = "Config\\Plugins.ini";
inline constexpr std::string_view kHostPluginFolder = "Plugin";
inline constexpr std::string_view kHostGroupsFolder = "Groups";
inline constexpr std::string_view kHostExeName = "Maxthon.exe";
inline constexpr std::string_view kHostExeMarker = "maxthon";

// Our own files, relative to the plugin folder.
inline constexpr std::string_view kStatusImage1 = "temp1";
inline constexpr std::string_view kStatusImage2 = "temp2";
inline constexpr std::string_view kProgressPage = "temp3";
inline constexpr std::string_view kPanelHostPage = "Tillwick.html";
inline constexpr std::string_view kLanguageFilePrefix = "Languages\\Language";
inline constexpr std::string_view kBaseLanguageId = "0000";

// The plugin and its companion as the host's plugin list names them.
inline constexpr std::string_view kOwnPluginName = "Tillwick";
inline constexpr std::string_view kCompanionPluginName = "Tillwick Helper";
inline constexpr std::string_view kClassId = "{16657407-4686-40CE-B8BF-1BE47D1AB637}";
inline constexpr std::string_view kProgId = "prjTillwick.clsTillwick";

// The six content blockers: the host's config.ini key (section "Settings") and
// the command that flips each one (accelerator form: notification code 1, 0 = none).
struct HostBlocker {
    std::string_view configKey;
    std::uint32_t command;
    std::uint32_t acceleratorCommand;
};
inline constexpr HostBlocker kHostBlockers[6] = {
    {"EnablePop", 0x8034, 0x18034},       {"EnableAutoFilter", 0x80F1, 0x180F1},
    {"UseUrlFilter", 0x810E, 0x1810E},    {"RemoveModeDialog", 0x818F, 0},
    {"RemoveFloatAD", 0x8190, 0},         {"EnableActiveXBlocker", 0x8193, 0},
};
inline constexpr std::string_view kHostSettingsSection = "Settings";
inline constexpr std::string_view kHostLanguageFileKey = "language_file";

// Full screen from the keyboard (the command 0x809A with notification code 1).
inline constexpr std::uint32_t kCmdFullScreenAccel = 0x1809A;

// The tab context menu: the tab-bar-bottom command marks it, at one of two
// positions depending on where the tab bar sits; the host's "Close All" item
// and its close commands.
inline constexpr int kTabMenuMarkerPos = 14;
inline constexpr int kTabMenuMarkerPosTabsOnTop = 16;
inline constexpr int kTabMenuCloseAllPos = 18;
inline constexpr int kTabMenuCloseAllPosTabsOnTop = 19;
inline constexpr std::uint32_t kCmdCloseAll = 0x8109;
inline constexpr std::uint32_t kCmdCloseAllButCurrent = 0x806A;
inline constexpr std::uint32_t kCmdCloseLeft = 0x8171;
inline constexpr std::uint32_t kCmdCloseRight = 0x8172;
inline constexpr std::uint32_t kCmdCloseBlankAndError = 0x8170;
inline constexpr std::uint32_t kCmdCloseSameSite = 0x8173;
inline constexpr std::uint32_t kCmdCloseAllButSameSite = 0x8174;
inline constexpr std::uint32_t kCmdCloseAllUnlocked = 0x8060;

// Page context menus, told apart by the command of their first item.
inline constexpr std::uint32_t kPageMenuDefaultFirst = 2282;   // Back
inline constexpr std::uint32_t kPageMenuLinkFirst = 2136;      // Open Link
inline constexpr std::uint32_t kPageMenuLinkFifth = 2269;      // at position 5 of the full link menu
inline constexpr std::uint32_t kPageMenuEditFirst = 43;        // Undo
inline constexpr std::uint32_t kPageMenuSelectionFirst = 16;   // Cut
inline constexpr std::uint32_t kPageMenuHostFirst = 0x804C;    // the host's own page menu
inline constexpr std::uint32_t kCmdOpenLinkNewWindow = 2137;

// The Options menu is known by this command at this position.
inline constexpr int kOptionsMenuMarkerPos = 13;

// The Groups menu: its first item, and the commands of its groups (above the base).
inline constexpr std::uint32_t kCmdGroupsMenuFirst = 0x80D1;
inline constexpr std::uint32_t kGroupCommandBase = 0x6000;
inline constexpr std::string_view kGroupFileExtension = ".cgp";
inline constexpr std::string_view kGroupPagesSection = "[CaptorGroup]";
inline constexpr std::string_view kGroupPropertiesSection = "[Properties]";

// The quick-search menu is known by the text of its second-to-last item.
inline constexpr std::string_view kClearSearchHistoryKey = "897";
inline constexpr std::string_view kClearSearchHistorySection = "String";
inline constexpr std::string_view kClearSearchHistoryText = "Clear Search Bar History";

// The frame's layout message to its bars (MFC's WM_SIZEPARENT): a bar that
// does not answer it gets no room.
inline constexpr unsigned kWmSizeParent = 0x0361;

// The host's tab-bar double-click action (config.ini).
inline constexpr std::string_view kDoubleClickTabBarSection = "MouseAction";
inline constexpr std::string_view kDoubleClickTabBarKey = "Double_Click_on_Tab_Bar";
inline constexpr std::uint32_t kDoubleClickTabBarDefault = 32772;

// The host's plugin list files.
inline constexpr std::string_view kPluginDescriptionFile = "plugin.ini";
inline constexpr std::string_view kPluginListSection = "[MyIEPlugins]";
inline constexpr std::string_view kPluginListEndSection = "[IEPlugins]";

// Where the companion plugin leaves the host's security id (our settings file).
inline constexpr std::string_view kSecurityIdSection = "General";
inline constexpr std::string_view kSecurityIdKey = "SecurityID";

// The host's proxy commands: none, the system's, or proxy n of the set-up
// centre's list (base + n, below the limit).
inline constexpr std::uint32_t kCmdNoProxy = 0x8123;
inline constexpr std::uint32_t kCmdUseIeProxy = 0x812C;
inline constexpr std::uint32_t kCmdProxyBase = 25375;
inline constexpr std::uint32_t kCmdProxyLimit = 25450;

// The tab bar's image for a locked tab.
inline constexpr int kLockedTabImage = 4;

}  // namespace tillwick::contract
