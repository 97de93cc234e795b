// Small HTML pages (panels) side by side in a strip at the
// right end of the status bar. The strip is a browser view borrowed from a
// throw-away host tab (the donor tab) and re-parented into a child window of
// the status bar; a generated frameset page holds one frame per panel.
#pragma once

#include <cstdint>
#include <vector>

#include "host/host.h"
#include "statushtml/status_html_page.h"

namespace tillwick {

// The strip's own steps, public for the tests and the panel editor.
void BuildStatusHtmlPage();
void PlaceStatusHtmlStrip();
void HideStatusHtmlStrip();
// Whether script runs in the document's window.
bool IsScriptable(const host::Object& document);
// Panel records 0 .. count-1 as stored (with the features' defaults).
std::vector<StatusHtmlPanel> ReadPanels(std::int32_t count);

// The start-up chain and the strip's timers.
void CALLBACK WaitForDocumentTimer(HWND, UINT, UINT_PTR, DWORD) noexcept;
void CALLBACK AdoptHelperTabTimer(HWND, UINT, UINT_PTR, DWORD) noexcept;
void CALLBACK WaitForCaptureTimer(HWND, UINT, UINT_PTR, DWORD) noexcept;
void CALLBACK CheckStripTimer(HWND, UINT, UINT_PTR, DWORD) noexcept;
void CALLBACK RedrawStripTimer(HWND, UINT, UINT_PTR, DWORD) noexcept;

void StartStatusHtml();
void StopStatusHtml() noexcept;
// Stops, then destroys the strip and the view it adopted.
void ReleaseStatusHtmlStrip() noexcept;
void ScheduleStripCheck();
// 0 = tab change, else the command id.
void NotifyStatusHtmlPages(std::int32_t& n);
void StatusHtmlProgress(std::int32_t progress, std::int32_t progressMax);
// A panel choice from the status-bar menu.
void StatusHtmlMenuCommand(std::int32_t& n);
// The panel editor, from the options dialog.
void OpenPanelEditor();

// The feature's entry points: its start and stop, and its message handlers.
LRESULT StatusHtmlBarMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

// Its rows of the feature table (src/plugin/feature_table.cpp).
struct Feature;
extern const Feature kStatusHtmlFeature;

}  // namespace tillwick
