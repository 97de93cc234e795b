#include "base/errors.h"

#include <exception>

#include "host/host.h"

namespace tillwick {
namespace {

StepFailures g_failures;

std::string ErrorText() {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown error";
    }
}

}  // namespace

const StepFailures& SkippedSteps() noexcept { return g_failures; }

void ClearStepFailures() noexcept {
    g_failures.count = 0;
    g_failures.lastText.clear();
}

namespace detail {

void NoteStepFailure(const char* step) noexcept {
    ++g_failures.count;
    // Out of memory here must not become a second failure: the count stands.
    try {
        g_failures.lastText = std::string("Tillwick: ") + (step != nullptr ? step : kUnnamedStep) + ": " + ErrorText();
        host::OutputDebugText(g_failures.lastText);
    } catch (...) {
    }
}

}  // namespace detail
}  // namespace tillwick
