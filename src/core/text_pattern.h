// A user's pattern as the features test text with it: case-insensitive, and a
// match anywhere in the text is enough. Compiled once when its feature starts.
//
// The grammar is the script engine's regular expressions (alternation, groups,
// look-ahead, greedy and lazy quantifiers, classes, \d \w \s \b, back
// references); case is folded for ASCII letters, as the platform's own engine
// does in the "C" locale. Our own small backtracking matcher rather than
// std::regex: that one brings the whole locale machinery of the C++ runtime
// into the DLL, and it recurses once per character, so a long text can
// overflow the browser's stack. Here both the work and the depth are bounded:
// a test that would exceed them fails its step instead.
#pragma once

#include <memory>
#include <string_view>

namespace tillwick {

class TextPattern {
public:
    // An invalid pattern makes a pattern whose every test fails.
    explicit TextPattern(std::string_view pattern);
    ~TextPattern();
    TextPattern(TextPattern&&) noexcept;
    TextPattern& operator=(TextPattern&&) noexcept;

    bool Valid() const { return program_ != nullptr; }
    // Throws StepError when the pattern was invalid (or the test needed more
    // work than a menu item's name can justify), so the step that tests fails
    // and nothing half-done follows.
    bool Matches(std::string_view text) const;

    struct Program;

private:
    std::unique_ptr<const Program> program_;
};

}  // namespace tillwick
