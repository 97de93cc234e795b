#include "core/convert.h"

#include <gtest/gtest.h>

#include "core/errors.h"

using namespace tillwick;

namespace {

TEST(Convert, AcceptsWhatScriptAccepts) {
    EXPECT_EQ(ToInt32("112"), 112);
    EXPECT_EQ(ToInt32("  -84 "), -84);
    EXPECT_EQ(ToInt32("+7"), 7);
    EXPECT_EQ(ToInt32("&H10"), 16);
    EXPECT_EQ(ToInt32("&hFFFFFFFF"), -1);
    EXPECT_EQ(ToInt32("&O17"), 15);
    EXPECT_EQ(ToInt32("1e3"), 1000);
    EXPECT_DOUBLE_EQ(ToNumber("0.25"), 0.25);
}

TEST(Convert, FractionsRoundHalfToEven) {
    EXPECT_EQ(ToInt32("2.5"), 2);
    EXPECT_EQ(ToInt32("3.5"), 4);
    EXPECT_EQ(ToInt32("-2.5"), -2);
    EXPECT_EQ(ToInt32("2.51"), 3);
}

TEST(Convert, NonNumbersAndOverflowFailTheStep) {
    for (const char* bad : {"", " ", "abc", "12px", "1,5", "&H", "&HZZ", "--1", "1e", "."}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(ToInt32(bad), StepError);
        EXPECT_FALSE(TryToInt32(bad).has_value());
    }
    EXPECT_EQ(ToInt32("2147483647"), 2147483647);
    EXPECT_THROW(ToInt32("2147483648"), StepError);
    EXPECT_EQ(ToInt16("-32768"), -32768);
    EXPECT_THROW(ToInt16("32768"), StepError);
}

TEST(Convert, SwitchIsOnOnlyForExactlyOne) {
    EXPECT_TRUE(IsOn("1"));
    for (const char* off : {"", "0", " 1", "1 ", "true", "01"}) EXPECT_FALSE(IsOn(off)) << off;
}

TEST(RunStep, ContainsAnyFailure) {
    int after = 0;
    EXPECT_FALSE(RunStep([] { throw StepError("x"); }));
    EXPECT_FALSE(RunStep([] { throw 42; }));
    EXPECT_TRUE(RunStep([&] { after = 1; }));
    EXPECT_EQ(after, 1);
    EXPECT_EQ(RunStepOr(7, []() -> int { throw StepError("x"); }), 7);
}

}  // namespace
