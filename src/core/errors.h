// How a failing step is reported and contained.
//
// The host's callbacks (window procedures, timers, browser events, start-up
// steps) run "with errors ignored": a step that fails is skipped and the next
// one runs. Steps signal failure by throwing StepError (or anything else);
// RunStep is the one place that catches, so no exception ever reaches Win32
// or COM.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace tillwick {

class StepError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Runs one step; returns false when it failed. Never throws.
template <typename Step>
bool RunStep(Step&& step) noexcept {
    try {
        std::forward<Step>(step)();
        return true;
    } catch (...) {
        return false;
    }
}

// Runs a step that yields a value; the fallback when it fails. Never throws.
template <typename T, typename Step>
T RunStepOr(T fallback, Step&& step) noexcept {
    try {
        return std::forward<Step>(step)();
    } catch (...) {
        return fallback;
    }
}

}  // namespace tillwick
