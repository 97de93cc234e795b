// The address-bar decorations: the secure-page highlight (mdlHighlightCombo),
// the progress bar (mdlAddressProgress) and the combined Refresh/Stop button
// (mdlCombineButtons). Their start, stop, message and event entry points are
// declared in core/feature_hooks.h.
#pragma once

#include <string>
#include <string_view>

namespace tillwick {

// mdlHighlightCombo: redraws the address box (and the progress container) after the overlay painted.
void RefreshAddressBar();

// mdlAddressProgress.
void ShowProgressBar();
void HideProgressBar();
void PlaceProgressBar();
void UpdateProgressPlacement();
// The progress page, line by line with CR LF, as written to "temp3".
std::string ProgressPageText();

}  // namespace tillwick
