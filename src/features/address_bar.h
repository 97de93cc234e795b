// The address-bar decorations: the secure-page highlight (highlight_combo.cpp),
// the progress bar (progress_bar.cpp) and the combined Refresh/Stop button
// (combine_buttons.cpp). Their start, stop, message and event entry points are
#pragma once

#include <cstdint>

#include "host/host.h"

#include <string>
#include <string_view>

namespace tillwick {

// highlight_combo.cpp: redraws the address box (and the progress container) after the overlay painted.
void RefreshAddressBar();

// progress_bar.cpp.
void ShowProgressBar();
void HideProgressBar();
void PlaceProgressBar();
void UpdateProgressPlacement();
// The progress page, line by line with CR LF, as written to "temp3".
std::string ProgressPageText();

// The feature's entry points: its start and stop, and its message handlers.
LRESULT ProgressBarMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
LRESULT HighlightComboMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
void StartCombineButtons();
void StartHighlightCombo();
void StartProgressBar();
void StopCombineButtons() noexcept;
void StopHighlightCombo() noexcept;
void StopProgressBar() noexcept;
void SetCombinedState(std::int32_t& n);
void ProgressBarChange(std::int32_t progress, std::int32_t progressMax);
void ScheduleHideProgress();
bool FindRefreshStop();
void AppendProgressDiagnostics();

// Its rows of the feature table (src/plugin/feature_table.cpp).
struct Feature;
extern const Feature kCombineButtonsFeature;
extern const Feature kHighlightComboFeature;
extern const Feature kProgressBarFeature;

}  // namespace tillwick
