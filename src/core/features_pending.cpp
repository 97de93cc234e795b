// Stand-ins for the feature modules that are not built yet (see
// feature_hooks.h). Each does nothing: a handler hands back the value that
// its window procedure would pass on anyway, so the host sees the message
// unchanged. A feature that lands removes its lines here.
#include "core/feature_hooks.h"
#include "core/state.h"

namespace tillwick {

// ---- message handlers: "nothing to do" for the value each one's result replaces.
LRESULT StatusHtmlBarMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) { return 0; }

// ---- start and stop operations.
void StartStatusHtml() {}
void StopStatusHtml() noexcept {}

// ---- tab changes, browser events, queries.
void ScheduleStripCheck() {}
void NotifyStatusHtmlPages(std::int32_t&) {}
void StatusHtmlProgress(std::int32_t, std::int32_t) {}
void StatusHtmlMenuCommand(std::int32_t&) {}
void OpenPanelEditor() {}

}  // namespace tillwick
