// Stand-ins for the feature modules that are not built yet (see
// feature_hooks.h). Each does nothing: a handler hands back the value that
// its window procedure would pass on anyway, so the host sees the message
// unchanged. A feature that lands removes its lines here.
#include "core/feature_hooks.h"
#include "core/state.h"

namespace tillwick {

// ---- message handlers: "nothing to do" for the value each one's result replaces.
// Handlers whose result is ignored or replaces the message number give the message back;
// HideTitleMessage's result replaces lParam, so it gives lParam back.
LRESULT TabExitMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT&) { return msg; }
LRESULT HideStatusBarMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT&) { return msg; }
LRESULT StatusBarInfoMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT&) { return msg; }
LRESULT HideTabBarMessage(HWND&, UINT& msg, WPARAM&, LPARAM&, LRESULT&) { return msg; }
LRESULT HideLastTabMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT&) { return msg; }
LRESULT ShowInMenuMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT&) { return msg; }
LRESULT SortSearchMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT&) { return msg; }
LRESULT GroupUrlMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT&) { return msg; }
LRESULT ProgressBarMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT&) { return msg; }
// Called after the host's procedure with its result in the slot: that result stands.
LRESULT HighlightComboMessage(HWND, UINT, WPARAM, LPARAM, LRESULT& result) { return result; }
LRESULT TabMenuMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT&) { return msg; }
LRESULT PageMenuMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT&) { return msg; }
LRESULT TabHoverMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT&) { return msg; }
LRESULT ZoneIconMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT&) { return msg; }
LRESULT StatusHtmlBarMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) { return 0; }

// ---- start operations.
void LockStartupTabs() {}
void StartTabHover() {}
void StartTabMenu() {}
void StartTabPluginMenu() {}
void StartTabOtherMenu() {}
void StartPageExtensionMenu() {}
void StartPagePluginMenu() {}
void StartPageOtherMenu() {}
void StartSortSearch() {}
void StartHideTabBar() {}
void StartHideLastTab() {}
void StartZoneIcon() {}
void StartStatusBarInfo() {}
void StartHideStatusBar() {}
void StartStatusHtml() {}
void StartCombineButtons() {}
void StartHighlightCombo() {}
void StartProgressBar() {}
void HidePlugins() {}
void LoadZoneNames() {}

// ---- tab changes, browser events, queries.
void StatusBarTabSwitch() {}
void RefreshInfo() {}
bool StatusInfoZoneOn() { return false; }
bool WhoisReportShowing() { return false; }
void FillReport() {}
void ScheduleStripCheck() {}
void NotifyStatusHtmlPages(std::int32_t&) {}
void StatusHtmlProgress(std::int32_t, std::int32_t) {}
void SetCombinedState(std::int32_t&) {}
void ProgressBarChange(std::int32_t, std::int32_t) {}
void ScheduleHideProgress() {}
bool FindRefreshStop() { return false; }
void ShowOptionsDialog() {}

// ---- complete already; these move with their modules.
std::int32_t CountTabs() {
    return static_cast<std::int32_t>(host::SendMessageA(State().TabBarWnd, TCM_GETITEMCOUNT, 0, 0));
}

void StartShowInMenu() { State().ShowInMenuOn = true; }

}  // namespace tillwick
