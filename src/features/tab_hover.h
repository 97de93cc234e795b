// mdlTabHoverAction and mdlTabPreview: resting the mouse on a background tab
// activates it or shows a zoomed preview of its page next to the cursor.
//
// StartTabHover, StopTabHover and TabHoverMessage are declared in
// core/feature_hooks.h.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "host/host.h"

namespace tillwick {

// ---- the preview (tab_preview.cpp) ---------------------------------------------------
void ShowPreview(std::int16_t& index);
void ClosePreview() noexcept;
// Whether the document's window can host the preview pop-up (created there on the way).
bool PreparePopup(const host::Object& document);
void WritePreview();

// The scripts the preview runs, built from their parts.
std::string PreviewCopyScript(std::string_view securityId, std::int32_t tab, std::string_view zoomText,
                              bool scrollPos);
std::string PreviewShowScript(std::string_view zoomText, POINT cursor);
// A single-precision number as script reads it back: "50", "37.5".
std::string ZoomText(float zoom);

// What the copy of the hovered page loses before it is shown: everything in it
// that could run script. Each rule is a case-insensitive global replacement,
// applied in order after the script tags were renamed.
struct MarkupRule {
    std::string_view pattern;      // a script regular expression (no slashes)
    std::string_view replacement;  // may use $1
};
std::span<const MarkupRule> PreviewMarkupRules();

}  // namespace tillwick
