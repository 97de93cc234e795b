// What the Wine benchmarks share: where the program lies (the host folder),
// a message pump that runs for a while, and COM around the whole run.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "host/win32/com.h"
#include "../../tests/support/exe_folder.h"

namespace wine_bench {

using testsupport::ExeFolder;  // the host folder: the program lies in it

// Dispatches this thread's messages for `ms` milliseconds.
inline void PumpFor(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Runs `run` with OLE initialised; an exception ends the run with status 1.
template <typename Run>
int WithOle(Run&& run) {
    if (FAILED(::OleInitialize(nullptr))) return 1;
    int rc = 1;
    try {
        rc = run();
    } catch (...) {
        std::fprintf(stderr, "stopped by an unexpected error\n");
    }
    ::OleUninitialize();
    return rc;
}

}  // namespace wine_bench
