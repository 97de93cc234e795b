// How a failing step is reported and contained.
//
// The host's callbacks (window procedures, timers, browser events, start-up
// steps) run "with errors ignored": a step that fails is skipped and the next
// one runs. Steps signal failure by throwing StepError (or anything else);
// RunStep is the one place that catches, so no exception ever reaches Win32
// or COM. A skipped step is still seen: it is counted, its text kept, and a
// line "Tillwick: <step>: <error>" goes to the debugger output.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace tillwick {

class StepError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The steps skipped since the process started (or since ClearStepFailures).
struct StepFailures {
    std::uint32_t count = 0;
    std::string lastText;  // "Tillwick: <step>: <error>" of the latest one
};
const StepFailures& SkippedSteps() noexcept;
void ClearStepFailures() noexcept;

// The name steps get when their caller gives none.
inline constexpr const char* kUnnamedStep = "step";

namespace detail {
// Counts the failure of the exception being handled and writes its line. Call
// only inside a catch block.
void NoteStepFailure(const char* step) noexcept;
}  // namespace detail

// Runs one step; returns false when it failed. Never throws.
template <typename Step>
bool RunStep(const char* name, Step&& step) noexcept {
    try {
        std::forward<Step>(step)();
        return true;
    } catch (...) {
        detail::NoteStepFailure(name);
        return false;
    }
}
template <typename Step>
bool RunStep(Step&& step) noexcept {
    return RunStep(kUnnamedStep, std::forward<Step>(step));
}

// Runs a step that yields a value; the fallback when it fails. Never throws.
template <typename T, typename Step>
T RunStepOr(const char* name, T fallback, Step&& step) noexcept {
    try {
        return std::forward<Step>(step)();
    } catch (...) {
        detail::NoteStepFailure(name);
        return fallback;
    }
}
template <typename T, typename Step>
T RunStepOr(T fallback, Step&& step) noexcept {
    return RunStepOr(kUnnamedStep, std::move(fallback), std::forward<Step>(step));
}

}  // namespace tillwick
