// The status-bar capture chain: once the host is in front on its first show,
// two slices of the empty status bar are saved as bitmaps ("temp1", "temp2")
// for the panel strip's background.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "base/convert.h"
#include "base/errors.h"
#include "core/feature.h"
#include "core/host_contract.h"
#include "core/startup.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "settings/settings_catalogue.h"

namespace tillwick {
namespace {

constexpr UINT kCaptureStepMs = 100;
// Five blanks: an empty-looking status bar that the host still treats as having text.
constexpr const char* kBlankStatusText = "     ";

void ArmCaptureTimer(TIMERPROC proc) {
    State().CaptureTimerId = host::SetTimer(nullptr, 0, kCaptureStepMs, proc);
}

bool HostIsInFront() {
    HWND front = host::GetForegroundWindow();
    if (front == State().MainFrameWnd) return true;
    std::array<char, 256> buffer{};
    int n = host::GetWindowTextA(front, buffer.data(), 255);
    std::string title(buffer.data(), n > 0 ? static_cast<std::size_t>(n) : 0);
    // The host's own "Open Selected URLs" dialog may be in front while it starts.
    return title == HostLanguageText("Caption", "Open Selected URLs", "DIALOG_OPEN_SELECTED_URL");
}

void ToggleStatusBar() { SendHostCommand(contract::kCmdToggleStatusBar); }

// The capture takes a strip of 18 pixels unless the panels' height is set.
std::int32_t CaptureHeight() {
    constexpr std::int32_t kCaptureHeight = 18;
    if (auto stored = StoredSetting(Setting::StatusHtmlHeight))
        if (auto h = TryToInt32(*stored)) return *h;
    return kCaptureHeight;
}

}  // namespace

void CALLBACK WaitForForeground(HWND, UINT, UINT_PTR, DWORD) noexcept {
    SharedState& s = State();
    RunStep("WaitForForeground", [&] {
        host::KillTimer(nullptr, s.CaptureTimerId);
        if (!HostIsInFront()) {
            ArmCaptureTimer(&WaitForForeground);
            return;
        }
        LONG style = host::GetWindowLongA(s.MainFrameWnd, GWL_STYLE);
        if ((static_cast<DWORD>(style) & WS_CAPTION) == 0 && !host::IsWindowVisible(s.StatusBarWnd)) {
            // Full-screen without a status bar: show it for the capture, hide it again afterwards.
            ToggleStatusBar();
            s.StatusBarShownForCapture = true;
            ArmCaptureTimer(&WaitForForeground);
            return;
        }
        host::SendMessageA(s.StatusBarWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kBlankStatusText));
        host::SetWindowPos(s.MainFrameWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
        ArmCaptureTimer(&CaptureStatusBar);
    });
}

void CALLBACK CaptureStatusBar(HWND, UINT, UINT_PTR, DWORD) noexcept {
    SharedState& s = State();
    RunStep("CaptureStatusBar", [&] { host::KillTimer(nullptr, s.CaptureTimerId); });
    RunStep("CaptureStatusBar", [&] {
        RECT r{};
        host::SendMessageA(s.StatusBarWnd, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
        const std::int32_t h = std::clamp<std::int32_t>(CaptureHeight(), INT16_MIN, INT16_MAX);
        const auto y = Saturated<std::int32_t>(std::floor((static_cast<double>(r.bottom) - h - 2) / 2.0) + 2);
        host::SendMessageA(s.StatusBarWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kBlankStatusText));
        CaptureWindow(s.StatusBarWnd, r.right - 25, y, 20, h, contract::kStatusImage1);
        CaptureWindow(s.StatusBarWnd, r.right - 3, y, 8, h, contract::kStatusImage2);
    });
    RunStep("CaptureStatusBar", [&] { host::SetWindowPos(s.MainFrameWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE); });
    RunStep("CaptureStatusBar", [&] {
        // A feature that takes the status bar over decides whether it shows.
        StartRun run;
        if (StartFeaturesAt(StartPoint::StatusCaptured, run) == 0 && s.StatusBarShownForCapture) ToggleStatusBar();
    });
    s.CaptureDone = true;
}

bool CaptureWindow(HWND wnd, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                   std::string_view fileName) {
    return host::CaptureWindowToBitmapFile(wnd, x, y, width, height, PluginFilePath(fileName));
}

}  // namespace tillwick
