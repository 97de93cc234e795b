// The virtual clock as a tick count, the recorded debugger output and the
// count of round-trip calls.
#include "host/sim/sim_internal.h"

namespace host::sim::detail {
void CountCall() { ++S().countedCalls; }

std::uint64_t NextFileVersion() {
    static std::uint64_t last = 0;
    return ++last;
}
}  // namespace host::sim::detail

namespace host {

DWORD TickCount() {
    sim::detail::CountCall();
    return static_cast<DWORD>(sim::detail::S().now);
}

void OutputDebugText(const std::string& text) { sim::detail::S().debugOutput.push_back(text); }

}  // namespace host

namespace host::sim {

std::uint64_t CountedCalls() { return detail::S().countedCalls; }

const std::vector<std::string>& DebugOutput() { return detail::S().debugOutput; }

}  // namespace host::sim
