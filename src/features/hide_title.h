// Replaces the main frame's caption (and so its task-bar
// button's text) with the user's own text, always or only while the caption
// matches a list of words.
#pragma once

#include "host/host.h"

#include <memory>
#include <string>

#include "core/text_pattern.h"

namespace tillwick {


// TitleToHide, compiled once per start.
class TitleMatcher : public TextPattern {
public:
    using TextPattern::TextPattern;
};

struct HideTitleState {
    std::string NewTitle;
    // NewTitle as the frame's Unicode procedure is handed it; lives until the next start.
    std::u16string NewTitleWide;
    std::string HideKeyTitleMode;
    std::shared_ptr<const TitleMatcher> Matcher;  // null while every caption is replaced
};
HideTitleState& HideTitleData() noexcept;

// Clears the dispatch flag and has the host set its own caption again at once.
void StopHideTitle() noexcept;

// The feature's entry points: its start and stop, and its message handlers.
LRESULT HideTitleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
void StartHideTitle();

// Its rows of the feature table (src/plugin/feature_table.cpp).
struct Feature;
extern const Feature kHideTitleFeature;

}  // namespace tillwick
