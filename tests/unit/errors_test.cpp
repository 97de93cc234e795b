// A skipped step is counted, and its "Tillwick: <step>: <error>" line is kept
// and written to the debugger output.
#include <gtest/gtest.h>

#include <stdexcept>

#include "base/errors.h"
#include "host/sim/sim.h"

TEST(StepFailures, ASkippedStepIsCountedAndWrittenToTheDebuggerOutput) {
    host::sim::Reset();
    const std::pair<bool (*)(), const char*> cases[] = {
        {[] { return tillwick::RunStep("Start", [] { throw tillwick::StepError("not a number"); }); },
         "Tillwick: Start: not a number"},
        {[] { return tillwick::RunStep([] { throw std::out_of_range("index 7"); }); }, "Tillwick: step: index 7"},
        {[] { return tillwick::RunStepOr("Read", false, []() -> bool { throw 3; }); }, "Tillwick: Read: unknown error"},
    };
    for (const auto& [run, line] : cases) {
        const std::uint32_t before = tillwick::SkippedSteps().count;
        EXPECT_FALSE(run());
        EXPECT_EQ(tillwick::SkippedSteps().count, before + 1);
        EXPECT_EQ(tillwick::SkippedSteps().lastText, line);
        EXPECT_EQ(host::sim::DebugOutput().back(), line);
    }
    EXPECT_TRUE(tillwick::RunStep("fine", [] {}));
    EXPECT_EQ(tillwick::RunStepOr(7, []() -> int { throw tillwick::StepError("x"); }), 7);  // the fallback, not 0
    EXPECT_EQ(host::sim::DebugOutput().size(), std::size(cases) + 1);
    tillwick::ClearStepFailures();
    host::sim::Reset();
}
