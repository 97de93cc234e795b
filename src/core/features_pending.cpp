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
LRESULT StatusBarInfoMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT&) { return msg; }
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
void StartTabHover() {}
void StartTabMenu() {}
void StartTabPluginMenu() {}
void StartTabOtherMenu() {}
void StartPageExtensionMenu() {}
void StartPagePluginMenu() {}
void StartPageOtherMenu() {}
void StartSortSearch() {}
void StartZoneIcon() {}
void StartStatusBarInfo() {}
void StartStatusHtml() {}
void StartCombineButtons() {}
void StartHighlightCombo() {}
void StartProgressBar() {}
void HidePlugins() {}
void LoadZoneNames() {}

// ---- stop operations.
void StopTabHover() noexcept {}
void StopTabMenu() noexcept {}
void StopTabPluginMenu() noexcept {}
void StopTabOtherMenu() noexcept {}
void StopPageExtensionMenu() noexcept {}
void StopPagePluginMenu() noexcept {}
void StopPageOtherMenu() noexcept {}
void StopSortSearch() noexcept {}
void StopZoneIcon() noexcept {}
void StopStatusBarInfo() noexcept {}
void StopStatusHtml() noexcept {}
void StopCombineButtons() noexcept {}
void StopHighlightCombo() noexcept {}
void StopProgressBar() noexcept {}
void ShowPlugins() noexcept {}
void StopShowInMenu() noexcept { State().ShowInMenuOn = false; }

// ---- tab changes, browser events, queries.
void RefreshInfo() {}
bool StatusInfoZoneOn() { return false; }
// The line lives in the shared state; mdlStatusBarInfo will write it there.
std::string StatusInfoText() { return State().StatusInfoText; }
bool WhoisReportShowing() { return false; }
void FillReport() {}
void ScheduleStripCheck() {}
void NotifyStatusHtmlPages(std::int32_t&) {}
void StatusHtmlProgress(std::int32_t, std::int32_t) {}
void SetCombinedState(std::int32_t&) {}
void ProgressBarChange(std::int32_t, std::int32_t) {}
void ScheduleHideProgress() {}
bool FindRefreshStop() { return false; }
void OpenPanelEditor() {}

// ---- complete already; these move with their modules.
void StartShowInMenu() { State().ShowInMenuOn = true; }

}  // namespace tillwick
