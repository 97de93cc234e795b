// The process-wide shared state: host window handles, folders, language,
// command ids and the flags that tell the window procedures which feature
// handlers to call. One instance, owned here, written on the UI thread only.
// Each feature keeps its own state in its own unit; a test starts everything
// afresh with ResetState().
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/plugin_registry.h"
#include "host/host.h"

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
    // The tab-tracking timer (ActiveViewTimer, then FindPageViewTimer).
    UINT_PTR TabTrackTimerId = 0;
    TIMERPROC TabTrackProc = nullptr;  // which of the two the tab-tracking timer runs
    DWORD ActiveViewDue = 0;           // tick count at which ActiveViewTimer may look

    HookSlot& slot(HookedWindow w) { return hooks[static_cast<std::size_t>(w)]; }
    const HookSlot& slot(HookedWindow w) const { return hooks[static_cast<std::size_t>(w)]; }
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

    // What start-up reads for every new tab, kept while the files are unchanged.
    PluginFolderCache PluginFolders;
};

SharedState& State();
void ResetState();

}  // namespace tillwick
