// Replaces the main frame's caption (and so its task-bar
// button's text) with the user's own text, always or only while the caption
// matches a list of words.
//
// StartHideTitle and HideTitleMessage are declared in core/feature_hooks.h.
#pragma once

#include "core/text_pattern.h"

namespace tillwick {

// TitleToHide, compiled once per start.
class TitleMatcher : public TextPattern {
public:
    using TextPattern::TextPattern;
};

// Clears the dispatch flag and has the host set its own caption again at once.
void StopHideTitle() noexcept;

}  // namespace tillwick
