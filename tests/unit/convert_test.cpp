#include "base/convert.h"

#include <gtest/gtest.h>

#include "base/errors.h"

using namespace tillwick;

namespace {

TEST(Convert, AcceptsWhatScriptAcceptsAndRoundsHalfToEven) {
    for (const auto& [text, value] : {std::pair{"112", 112}, {"  -84 ", -84}, {"+7", 7}, {"&H10", 16}, {"&hFFFFFFFF", -1},
                                      {"&O17", 15}, {"1e3", 1000}, {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"2.51", 3}})
        EXPECT_EQ(ToInt32(text), value) << text;
    EXPECT_DOUBLE_EQ(ToNumber("0.25"), 0.25);
}

TEST(Convert, NonNumbersAndOverflowFailTheStep) {
    for (const char* bad : {"", " ", "abc", "12px", "1,5", "&H", "&HZZ", "&O8", "--1", "1e", "."}) {
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

}  // namespace
