// The simulated Windows behind the test support: a fresh process per reset,
// time on the virtual clock.
#ifndef _WIN32

#include "host/sim/sim.h"
#include "support/platform.h"
#include "support/step_failures.h"

namespace testsupport {

void PlatformReset() {
    CheckFailedSteps();
    host::sim::Reset();
}

void PumpFor(std::uint32_t ms) { host::sim::Advance(ms); }

}  // namespace testsupport

#endif  // _WIN32
