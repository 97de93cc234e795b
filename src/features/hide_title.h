// mdlHideTitle: replaces the main frame's caption (and so its task-bar
// button's text) with the user's own text, always or only while the caption
// matches a list of words.
//
// StartHideTitle and HideTitleMessage are declared in core/feature_hooks.h.
#pragma once

#include <optional>
#include <regex>
#include <string_view>

namespace tillwick {

// TitleToHide, compiled once per start: case-insensitive, and a match
// anywhere in the text is enough.
class TitleMatcher {
public:
    // An invalid pattern makes a matcher whose every test fails.
    explicit TitleMatcher(std::string_view pattern);
    // Throws StepError when the pattern was invalid (or the engine gave up).
    bool Matches(std::string_view text) const;

private:
    std::optional<std::regex> regex_;
};

// Clears the dispatch flag and has the host set its own caption again at once.
void StopHideTitle() noexcept;

}  // namespace tillwick
