// Our pattern matcher against the C++ library's ECMAScript engine with icase,
// which it replaces: same verdict on every pattern and text of the table, the
// same patterns refused, and a bounded failure where the library would hang.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "base/errors.h"
#include "core/text_pattern.h"

using namespace tillwick;

namespace {

TEST(TextPattern, AgreesWithTheLibraryEngine) {
    const char* patterns[] = {
        "", "abc", "^Tab", "nel$", "^$", "a|b|", "x(?:y|z)+w", "colou?r", "a{2}", "a{2,}", "a{1,3}b",
        "\\bgo", "go\\B", "\\d+\\.\\d*", "[a-c]x", "[^a-c]", "[\\w-]+@", "[.]", "\\.", "\\(x\\)", "a.c",
        "(a)\\1", "(a|ab)(c|bcd)(d*)", "(?=ab)a", "(?!ab)a", "a*?b", "[^\\W\\d]", "\\x41", "\\u0041", "\\t",
        "}", "]", "a{2}?", "(|a)+b", "(a*)*b", "[a-]", "[-a]", "\\s\\S", "Helper|Close All", "[Z-a]x",
        "^a{2}$", "^a{1,2}b$", "^(ab){2}$",
        // refused by both
        "(", ")", "[", "*a", "+", "a{3,2}", "\\", "[b-a]", "(?<x>a)", "\\2(a)",
    };
    const char* texts[] = {"", "abc", "ABC", "Tab menu", "Panel", "xyzw", "XYYZW", "color", "COLOUR", "aa", "aaab",
                           "go on", "google", "12.5", "bx", "dx", "me-x@", ".", "(x)", "a\nc", "aa", "abcd", "abd",
                           "aab", "x{", "}", "]", "\t ", "Close All Tabs", "_", "Z", "^", "-", "aaa", "abab"};
    for (const char* p : patterns) {
        const TextPattern ours(p);
        for (const char* t : texts) {
            std::optional<bool> theirs;
            try {
                theirs = std::regex_search(std::string(t), std::regex(p, std::regex::ECMAScript | std::regex::icase));
            } catch (const std::regex_error&) {  // refused: no verdict
            }
            if (!theirs) {
                EXPECT_FALSE(ours.Valid()) << "pattern " << p;
                break;
            }
            ASSERT_TRUE(ours.Valid()) << "pattern " << p;
            EXPECT_EQ(ours.Matches(t), *theirs) << "pattern " << p << " text " << t;
        }
    }
}

// Where the library differs from the browser's script engine, ours follows the script engine.
TEST(TextPattern, ABraceThatIsNoCountIsTakenLiterallyAndAQuantifiedQuantifierIsRefused) {
    for (const auto& [pattern, text, match] : {std::tuple{"a{,3}", "A{,3}", true}, {"x{", "x{", true}, {"x{", "x", false}})
        EXPECT_EQ(TextPattern(pattern).Matches(text), match) << pattern << " on " << text;
    EXPECT_FALSE(TextPattern("a**").Valid());
}

TEST(TextPattern, RunawayAndInvalidPatternsFailTheStepInsteadOfHangingOrOverflowing) {
    EXPECT_THROW(TextPattern("(a+)+b").Matches(std::string(40, 'a')), StepError);
    EXPECT_THROW(TextPattern(".*x").Matches(std::string(100000, 'y')), StepError);
    EXPECT_THROW(TextPattern("([a-").Matches("a"), StepError);
    EXPECT_TRUE(TextPattern("needle").Matches(std::string(50000, 'h') + "NEEDLE"));
}

// A hand-edited settings file can hold any pattern: the parse is bounded like the match.
TEST(TextPattern, NestingAndLengthPastTheirBoundsMakeThePatternInvalid) {
    const auto nested = [](int depth) { return std::string(depth, '(') + "a" + std::string(depth, ')'); };
    const std::size_t longest = TextPattern::kMaxLength;
    for (auto [pattern, valid] : {std::pair{nested(TextPattern::kMaxNesting), true},
                                  {nested(TextPattern::kMaxNesting + 1), false},
                                  {std::string(3 * 1023, '('), false},
                                  {"(?:" + nested(TextPattern::kMaxNesting - 1) + ")", true},
                                  {"(?=" + nested(TextPattern::kMaxNesting) + ")", false},
                                  {std::string(longest, 'a'), true},
                                  {std::string(longest + 1, 'a'), false}})
        EXPECT_EQ(TextPattern(pattern).Valid(), valid) << pattern.size();
}

// A costly pattern tested against every item of a menu: the items share one budget.
TEST(TextPattern, OneBudgetCoversEveryTestOfAnOperation) {
    const TextPattern costly("(a|aa)*c");
    const std::string item(16, 'a');
    EXPECT_FALSE(costly.Matches(item));  // one test alone stays within its budget
    MatchBudget budget;
    EXPECT_THROW(
        for (int i = 0; i < 200; ++i) costly.Matches(item, budget), StepError);
}

}  // namespace
