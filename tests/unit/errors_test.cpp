// A skipped step is still seen: counted, its text kept and written to the
// debugger output as "Tillwick: <step>: <error>".
#include <gtest/gtest.h>

#include <stdexcept>

#include "core/errors.h"
#include "host/sim/sim.h"
#include "support/step_failures.h"

namespace {

TEST(StepFailures, ASkippedStepIsCountedAndWrittenToTheDebuggerOutput) {
    testsupport::ExpectFailedSteps();
    host::sim::Reset();
    tillwick::ClearStepFailures();
    struct Case {
        bool (*run)();
        const char* line;
    };
    const Case cases[] = {
        {[] { return tillwick::RunStep("StartTabHover", [] { throw tillwick::StepError("not a number"); }); },
         "Tillwick: StartTabHover: not a number"},
        {[] { return tillwick::RunStep([] { throw std::out_of_range("index 7"); }); }, "Tillwick: step: index 7"},
        {[] { return tillwick::RunStepOr("ReadSetting", false, []() -> bool { throw 3; }); },
         "Tillwick: ReadSetting: unknown error"},
    };
    std::uint32_t count = 0;
    for (const Case& c : cases) {
        EXPECT_FALSE(c.run()) << c.line;
        EXPECT_EQ(tillwick::SkippedSteps().count, ++count);
        EXPECT_EQ(tillwick::SkippedSteps().lastText, c.line);
        EXPECT_EQ(host::sim::DebugOutput().back(), c.line);
    }
    EXPECT_TRUE(tillwick::RunStep("fine", [] {}));
    EXPECT_EQ(tillwick::SkippedSteps().count, count);
    EXPECT_EQ(host::sim::DebugOutput().size(), count);
    host::sim::Reset();
}

}  // namespace
