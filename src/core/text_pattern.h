// A user's pattern as the features test text with it: case-insensitive, and a
// match anywhere in the text is enough. Compiled once when its feature starts.
#pragma once

#include <optional>
#include <regex>
#include <string_view>

namespace tillwick {

class TextPattern {
public:
    // An invalid pattern makes a pattern whose every test fails.
    explicit TextPattern(std::string_view pattern);
    // Throws StepError when the pattern was invalid (or the engine gave up),
    // so the step that tests fails and nothing half-done follows.
    bool Matches(std::string_view text) const;

private:
    std::optional<std::regex> regex_;
};

}  // namespace tillwick
