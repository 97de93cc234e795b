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
// a test that would exceed them fails its step instead. The pattern itself is
// bounded too (its length and how deeply its groups nest), since it comes from
// a settings file anyone may have edited: past either bound it is invalid.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace tillwick {

// The work one operation may spend on tests (a menu's filtering, a pass over
// the plugin list): one budget for all its tests, so that a costly pattern
// cannot multiply its cost by the number of items it is tested against.
class MatchBudget {
public:
    MatchBudget();
    // Takes one step; throws StepError once the budget is spent.
    void Spend();

private:
    long left_;
};

class TextPattern {
public:
    // Longer patterns, or groups nested deeper, make an invalid pattern.
    static constexpr std::size_t kMaxLength = 16384;
    static constexpr int kMaxNesting = 64;

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
    // The same, spending the steps from the operation's budget.
    bool Matches(std::string_view text, MatchBudget& budget) const;

    struct Program;

private:
    std::unique_ptr<const Program> program_;
};

}  // namespace tillwick
