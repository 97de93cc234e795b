// The host's full-screen switch (0x804D) hides its menus and
// bars and takes the frame's caption; we then give the caption back and
// shrink the frame, and on leaving the host's own switch restores its layout
// and rectangle before we restore the style we saved.
#include "features/always_on_top.h"

#include <string>
#include <string_view>

#include "base/convert.h"
#include "base/errors.h"
#include "core/feature.h"
#include "core/host_contract.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "settings/settings_catalogue.h"

namespace tillwick {
namespace {

namespace c = contract;

// Clears WS_MAXIMIZE and WS_MAXIMIZEBOX: the small window is neither maximized nor maximizable.
constexpr std::uint32_t kOnTopStyleMask = 0xFEFEFFFF;

OnTopState& Module() noexcept { return OnTopData(); }

void SendFullScreenSwitch() {
    host::SendMessageA(State().MainFrameWnd, WM_COMMAND, c::kCmdFullScreen, 0);
}


}  // namespace

std::int32_t OnTopModifiers() {
    const std::string name = SettingText(Setting::OnTopHotKeyMOD);
    if (name == "Shift") return MOD_SHIFT;
    if (name == "Ctrl") return MOD_CONTROL;
    if (name == "Alt") return MOD_ALT;
    return 0;
}

std::int32_t OnTopKey() {
    const std::string letter = SettingText(Setting::OnTopHotKeyVK);
    if (letter.size() == 1 && letter[0] >= 'A' && letter[0] <= 'Z') return letter[0];
    return 0;
}

void RegisterOnTopHotKey() {
    const std::int32_t modifiers = OnTopModifiers();
    const std::int32_t key = OnTopKey();
    // Not looked at: a key taken by another program simply never arrives.
    host::RegisterHotKey(State().MainFrameWnd, kOnTopHotKeyId, static_cast<UINT>(modifiers), static_cast<UINT>(key));
    State().OnTopDispatch = true;
}

void UnregisterOnTopHotKey() noexcept {
    host::UnregisterHotKey(State().MainFrameWnd, kOnTopHotKeyId);
    State().OnTopDispatch = false;
}

void EnterOnTop() {
    OnTopState& m = Module();
    if (m.Active) return;
    const HWND frame = State().MainFrameWnd;
    LONG style = host::GetWindowLongA(frame, GWL_STYLE);
    m.SavedStyle = style;
    if ((static_cast<std::uint32_t>(style) & WS_CAPTION) == 0) {
        // Already in the host's full-screen layout: leave it first, so that the
        // style saved (and restored on leaving) is that of the normal layout.
        SendFullScreenSwitch();
        style = host::GetWindowLongA(frame, GWL_STYLE);
        m.SavedStyle = style;
    }
    const int left = SettingNumberOrDefault(Setting::OnTopLeft);
    const int top = SettingNumberOrDefault(Setting::OnTopTop);
    const int width = SettingNumberOrDefault(Setting::OnTopWidth);
    const int height = SettingNumberOrDefault(Setting::OnTopHeight);
    SendFullScreenSwitch();
    host::SetWindowLongPtrW(frame, GWL_STYLE,
                            static_cast<LONG>(static_cast<std::uint32_t>(style) & kOnTopStyleMask));
    host::SetWindowPos(frame, HWND_TOPMOST, left, top, width, height, 0);
    m.Active = true;
}

void LeaveOnTop() noexcept {
    OnTopState& m = Module();
    if (!m.Active) return;
    // Cleared before anything is sent: our own 0x804D comes back through the
    // handler, which must pass it on.
    m.Active = false;
    const HWND frame = State().MainFrameWnd;
    RunStep(SendFullScreenSwitch);
    host::SetWindowLongPtrW(frame, GWL_STYLE, m.SavedStyle);
    host::SetWindowPos(frame, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED);
}

LRESULT AlwaysOnTopMessage(HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
    const bool hotKey = msg == WM_HOTKEY && wParam == static_cast<WPARAM>(kOnTopHotKeyId);
    if (!Module().Active) {
        if (!hotKey) return msg;
        RunStep(EnterOnTop);
        return 0;  // the key is ours, entered or not
    }
    if (hotKey) {
        LeaveOnTop();
        return 0;
    }
    const bool leavesMode = msg == WM_CLOSE ||
                            (msg == WM_COMMAND && (wParam == c::kCmdFullScreen || wParam == c::kCmdFullScreenAccel));
    // Back to normal first; then the host closes or carries out its own command.
    if (leavesMode) LeaveOnTop();
    return msg;
}

OnTopState& OnTopData() noexcept {
    static OnTopState data;
    return data;
}

namespace {
constexpr MessageSet kActsOn{WM_HOTKEY, WM_CLOSE, WM_COMMAND};
constexpr DispatchRow kRows[] = {
    Row(HookedWindow::MainFrame, 60, kAnyKey, {&SharedState::OnTopDispatch}, &ByValue<&AlwaysOnTopMessage>,
        ResultUse::ReplacesMsg, kActsOn),
};
}  // namespace

constinit const Feature kAlwaysOnTopFeature{.name = "always on top",
                                            .setting = Setting::AlwaysOnTop,
                                            .start = &Run<&RegisterOnTopHotKey>,
                                            .stop = &UnregisterOnTopHotKey,
                                            .running = &SharedState::OnTopDispatch,
                                            .rows = kRows,
                                            .reset = [] { OnTopData() = {}; }};

}  // namespace tillwick
