// The test platform on real Windows (and Wine): common controls ready, the
// previous test's windows gone, and a real message loop to let time pass.
#ifdef _WIN32

#include <cstdint>
#include <vector>

#include "host/win_types.h"
#include "support/platform.h"
#include "support/step_failures.h"

namespace testsupport {

namespace {

// The input-method windows the system gives every GUI thread, and the
// apartment window COM makes for OleInitialize, are not ours.
bool IsSystemWindow(HWND hwnd) {
    char cls[64] = {};
    ::GetClassNameA(hwnd, cls, sizeof(cls));
    return ::lstrcmpiA(cls, "IME") == 0 || ::lstrcmpiA(cls, "MSCTFIME UI") == 0 ||
           ::lstrcmpiA(cls, "OleMainThreadWndClass") == 0;
}

std::vector<HWND> OwnTopLevelWindows() {
    std::vector<HWND> windows;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    // Message-only windows are not in that enumeration.
    for (HWND h = nullptr; (h = ::FindWindowExA(HWND_MESSAGE, h, nullptr, nullptr)) != nullptr;) {
        if (::GetWindowThreadProcessId(h, nullptr) == ::GetCurrentThreadId()) windows.push_back(h);
    }
    return windows;
}

}  // namespace

void PlatformReset() {
    CheckFailedSteps();
    INITCOMMONCONTROLSEX icc{.dwSize = sizeof(icc),
                             .dwICC = ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_TAB_CLASSES |
                                      ICC_STANDARD_CLASSES | ICC_USEREX_CLASSES};
    ::InitCommonControlsEx(&icc);

    // Destroying a top-level window takes its children and owned windows
    // with it, so some handles in the list are already gone.
    for (HWND hwnd : OwnTopLevelWindows()) {
        if (::IsWindow(hwnd) && !IsSystemWindow(hwnd)) ::DestroyWindow(hwnd);
    }
    // Messages posted by the previous test must not reach the next one.
    MSG msg;
    for (int i = 0; i < 10000 && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {}
}

void PumpFor(std::uint32_t ms) {
    const ULONGLONG deadline = ::GetTickCount64() + ms;
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now),
                                    QS_ALLINPUT);
    }
}

}  // namespace testsupport

#endif  // _WIN32
