// A step that failed and was skipped fails the test that made it fail, unless
// the test says that it expects one: the product swallows such failures, so
// without this check a broken step would go unseen.
#pragma once

namespace testsupport {

// The current test makes steps fail on purpose.
void ExpectFailedSteps();

// Fails the current test for each step that failed since the test began or
// since the last check (unless it expects them), then counts anew. The
// fixtures call it when they tear down.
void CheckFailedSteps();

}  // namespace testsupport
