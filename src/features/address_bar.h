// The address-bar decorations: the secure-page highlight (highlight_combo.cpp),
// the progress bar (progress_bar.cpp) and the combined Refresh/Stop button
// (combine_buttons.cpp). Their start, stop, message and event entry points are
// declared in core/feature_hooks.h.
#pragma once

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

}  // namespace tillwick
