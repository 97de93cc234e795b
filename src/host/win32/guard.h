// The host functions never let an exception reach their callers. The few that
// allocate run their body through Guarded, which turns any exception into the
// function's ordinary failure value.
#pragma once

#include <utility>

namespace host::win32 {

template <class Result, class Body>
Result Guarded(Result failure, Body&& body) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        return failure;
    }
}

}  // namespace host::win32
