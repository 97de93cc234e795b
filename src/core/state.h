// The process-wide shared state: host window handles, folders, language,
// command ids and the flags that tell the window procedures which feature
// handlers to call. One instance, owned here, written on the UI thread only.
// Tests start from a fresh one with ResetState().
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "settings/ini_store.h"
#include "core/plugin_registry.h"
#include "features/address_bar_state.h"
#include "features/tab_hover_state.h"
#include "host/host.h"
#include "menus/menu_state.h"
#include "menus/host_menu_state.h"
#include "statushtml/status_html_state.h"
#include "statusinfo/statusinfo_state.h"

namespace tillwick {

// The host windows the subclassing module can hook, in the order of its table.
enum class HookedWindow : std::uint8_t {
    MainFrame,
    MdiClient,
    Rebar,
    TabBar,
    StatusBar,
    AddressCombo,
    HighlightOverlay,
    AddressEdit,
    SearchEdit,
    PageView,
};
inline constexpr std::size_t kHookedWindowCount = 10;

// One hooked window: the window whose procedure was replaced and the host's
// procedure saved from it. `installed` stays set after the hooks are removed,
// so that a window is hooked at most once per process.
struct HookSlot {
    HWND wnd = nullptr;
    LONG_PTR savedProc = 0;
    bool installed = false;
};

// The subclassing module's own state.
struct SubclassingState {
    std::array<HookSlot, kHookedWindowCount> hooks{};
    // Set by UnhookAll: from then on nothing is hooked again in this process,
    // not even the page window of a newly active tab.
    bool removedForProcess = false;
    // Earlier tabs' page windows whose procedure could not be put back
    // (another add-on hooked them after us): ours stays in their chain and
    // passes their messages on to what it saved from them.
    std::vector<HookSlot> leftBehind;
    // The tab-tracking timer (ActiveViewTimer, then FindPageViewTimer) and PanelCommandTimer.
    UINT_PTR TabTrackTimerId = 0;
    TIMERPROC TabTrackProc = nullptr;  // which of the two the tab-tracking timer runs
    DWORD ActiveViewDue = 0;           // tick count at which ActiveViewTimer may look
    UINT_PTR PanelCommandTimerId = 0;
    // The last WM_COMMAND the main frame saw while the panels are on; 0 after a tab change.
    std::int32_t LastCommandId = 0;

    HookSlot& slot(HookedWindow w) { return hooks[static_cast<std::size_t>(w)]; }
    const HookSlot& slot(HookedWindow w) const { return hooks[static_cast<std::size_t>(w)]; }
};

// ---- the window features' own state (each written by its feature's unit only) ----
// Kept here so that a test's ResetState() starts every module afresh.

// always_on_top.cpp.
struct OnTopState {
    LONG SavedStyle = 0;  // the frame's style just before the mode was entered
    bool Active = false;
};

class TitleMatcher;  // hide_title.cpp's compiled TitleToHide
class OptionsForm;   // the options dialog's form (options/options_form.h)

// hide_title.cpp.
struct HideTitleState {
    std::string NewTitle;
    // NewTitle as the frame's Unicode procedure is handed it; lives until the next start.
    std::u16string NewTitleWide;
    std::string HideKeyTitleMode;
    std::shared_ptr<const TitleMatcher> Matcher;  // null while every caption is replaced
};

// toggle_filter.cpp: our copy of the host's six blockers, in their fixed order.
struct ToggleFilterState {
    std::array<bool, 6> BlockerState{};
    bool MasterOn = false;
    bool Restoring = false;
    UINT_PTR RestoreTimer = 0;
    UINT_PTR StartupTimer = 0;
    std::int16_t StartupPresses = 0;  // once per process: never reset by a restart
};

// paste_go.cpp.
struct PasteGoState {
    HWND TargetEdit = nullptr;
    UINT_PTR MenuTimer = 0;
    UINT_PTR PasteTimer = 0;
};

// hide_status_bar.cpp: settings copied at start, and its four one-shot timers.
struct HideStatusBarState {
    bool ShowStatusMessage = false;
    bool ShowSwitchTab = false;
    std::int32_t HotArea = 7;
    std::int32_t TimeDelay = 250;
    std::string OpeningKeyword = "opening";  // lower case
    bool PendingShow = false;
    bool PageDone = false;  // the host's "done" text was swallowed before the bar got it
    std::string LastHost;
    UINT_PTR RevealTimer = 0;
    UINT_PTR MessageTimer = 0;
    UINT_PTR BlockTimer = 0;
    UINT_PTR HoldTimer = 0;
};

// hide_tab_bar.cpp: the mouse mode and the last-tab mode.
struct HideTabBarState {
    std::int32_t HotArea = 15;
    std::int32_t TimeDelay = 250;
    RECT SavedClientRect{};
    bool PendingShowTabBar = false;
    UINT_PTR TabBarTimer = 0;
    UINT_PTR TabBarRelayoutTimer = 0;
    UINT_PTR LastTabTimer = 0;
};

// tab_lock.cpp and tab_exit.cpp.
struct TabLockState {
    std::int16_t LockCount = 0;
    std::int16_t LockTicks = 0;  // once per process: never reset by a restart
    UINT_PTR TabLockTimer = 0;
    UINT_PTR ExitTimer = 0;
};

struct SharedState {
    // Host windows.
    HWND MainFrameWnd = nullptr;
    HWND MdiClientWnd = nullptr;
    HWND StatusBarWnd = nullptr;
    HWND TabBarWnd = nullptr;
    HWND TabToolTipWnd = nullptr;
    HWND RebarWnd = nullptr;
    HWND StatusToolbarWnd = nullptr;
    HWND ButtonsToolbarWnd = nullptr;
    HWND PluginToolbarWnd = nullptr;
    HWND AddressComboWnd = nullptr;
    HWND AddressEditWnd = nullptr;
    HWND SearchEditWnd = nullptr;
    HWND ActiveChildWnd = nullptr;
    HWND PageViewWnd = nullptr;
    HWND HighlightOverlayWnd = nullptr;
    HWND ProgressWnd = nullptr;  // the address bar's own progress window, when made

    // Objects reached late-bound.
    host::Object CurrentBrowser;
    host::Object ActiveDocument;

    // Texts.
    std::string HostExePath;
    std::string HostFolder;    // lower case, with a trailing backslash
    std::string HostLanguageFile;
    std::string LanguageId;
    std::string ShowWordText;
    std::string DoneKeyword;
    std::string StatusInfoText;  // the information line status_bar_info.cpp last wrote into the status bar
    std::string SecurityId;

    // Numbers.
    std::int32_t LiveObjects = 0;  // plugin objects not yet released
    std::int32_t CompanionCommandId = 0;
    std::int32_t OwnCommandId = 0;
    std::int32_t GlobalModifierKey = 0;
    std::int16_t TabBarHeight = 0;
    std::int16_t StatusBarHeight = 0;
    UINT_PTR StartupTimerId = 0;
    UINT_PTR CaptureTimerId = 0;
    // The security-id poll has a timer id of its own, so that re-arming the
    // start-up timer never ends a running poll.
    UINT_PTR SecurityPollTimerId = 0;
    std::int16_t SecurityPollCount = 0;

    // The host's plugin list and what was learned from it.
    std::vector<std::string> HostPluginList;
    std::string AfterPageDonePlugins;
    std::string DiagnosticsText;
    // The total width of the status-bar HTML panels' strip (status_html.cpp writes it).
    std::int32_t StatusHtmlTotalWidth = 0;

    // Flags of start-up.
    bool LargeCaptionButtons = false;
    bool TabBarOnTop = false;
    bool PopupFilterEnabled = false;
    bool CaptureDone = false;
    bool StatusBarShownForCapture = false;
    bool FirstShowDone = false;
    bool LastTabExitOn = false;
    bool PasteGoOn = false;
    bool ShowInMenuOn = false;
    bool StatusHtmlOn = false;
    bool ShowGroupUrlOn = false;
    bool OpenGroupConfirmOn = false;
    bool TabToolTipsHidden = false;
    bool SelfCommandInProgress = false;
    bool StatusInfoRefresh = false;  // the information line is due to be written again

    // Feature flags, set by the features' own start procedures.
    bool OnTopDispatch = false;
    bool HideTitleOn = false;
    bool HideStatusBarOn = false;
    bool HideTabBarOn = false;
    bool HideLastTabOn = false;
    bool TabHoverOn = false;
    bool ToggleFilterOn = false;
    bool HidePluginOn = false;
    bool TabMenuOn = false;
    bool TabPluginMenuOn = false;
    bool TabOtherMenuOn = false;
    bool PluginMenuOn = false;
    bool ExtensionMenuOn = false;
    bool OtherMenuOn = false;
    bool SortSearchOn = false;
    bool StatusBarInfoOn = false;
    bool ZoneIconOn = false;
    bool StatusStripClips = false;
    bool DonorTabPending = false;
    bool CustomProgressOn = false;
    bool ProgressInAddressBar = false;
    bool HighlightComboOn = false;
    bool CombineButtonsOn = false;

    // Values shared by the status-bar and tab-bar auto-hide features.
    bool StatusBarRevealed = false;
    bool StatusBarHeld = false;
    bool StatusBarRevealBlocked = false;
    bool TabBarRevealed = false;

    // Shared by the group URLs and the status-bar information: while a group's
    // submenu is open its page addresses own the status bar, and when the Groups
    // menu closes the information line is due again.
    bool InGroupSubmenu = false;
    std::string StatusText;

    SubclassingState Subclassing;
    // The options dialog, made on first use and kept for the process.
    std::shared_ptr<OptionsForm> OptionsDialog;

    // The window features' own state.
    OnTopState OnTop;
    HideTitleState HideTitle;
    ToggleFilterState ToggleFilter;
    PasteGoState PasteGo;
    HideStatusBarState HideStatusBar;
    HideTabBarState HideTabBar;
    TabLockState TabLock;
    TabMenuState TabMenu;
    PageMenuState PageMenu;
    HostMenuState HostMenus;
    TabHoverState TabHover;
    AddressBarState AddressBar;
    StatusInfoModules StatusInfo;
    StatusHtmlState StatusHtml;

    // What start-up reads for every new tab, kept while the files are unchanged.
    PluginFolderCache PluginFolders;
};

SharedState& State();
void ResetState();

}  // namespace tillwick
