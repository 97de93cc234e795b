#include "support/step_failures.h"

#include <gtest/gtest.h>

#include "base/errors.h"

namespace testsupport {
namespace {

bool g_expected = false;

// Every test starts with no failed step and no expectation.
class FreshCount : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        tillwick::ClearStepFailures();
        g_expected = false;
    }
};

const bool g_installed = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshCount);
    return true;
}();

}  // namespace

void ExpectFailedSteps() { g_expected = true; }

void CheckFailedSteps() {
    const tillwick::StepFailures& failures = tillwick::SkippedSteps();
    if (!g_expected)
        EXPECT_EQ(failures.count, 0u) << "a step failed unexpectedly; the last: " << failures.lastText;
    tillwick::ClearStepFailures();
}

}  // namespace testsupport
