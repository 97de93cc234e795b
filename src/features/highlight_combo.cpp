// While the address shown begins with "https://", the
// address box is painted in the chosen colours and an overlay at its left end
// shows a lock icon; clicking the icon opens the platform's security dialog.
// The overlay is made once and then only shown, hidden and moved.
#include <optional>

#include "base/convert.h"
#include "base/errors.h"
#include "core/feature.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "features/address_bar.h"
#include "features/address_bar_state.h"
#include "features/feature_timers.h"
#include "settings/settings_catalogue.h"

namespace tillwick {
namespace {

constexpr int kIconSize = 16;
constexpr UINT kResizeDelayMs = 100;
constexpr std::int16_t kIconClickWidth = 22;  // clicks left of this x open the security dialog
constexpr std::string_view kSecureScheme = "https://";
constexpr std::int32_t kAddressBytes = 32;  // the first 16 UTF-16 characters are enough to tell

HighlightState& Module() noexcept { return AddressBarData().Highlight; }

COLORREF ColourSetting(Setting id, COLORREF fallback) {
    const auto stored = StoredSetting(id);
    if (!stored || stored->empty()) return fallback;
    const auto value = ParseNumber(*stored);
    if (!value || *value < 0 || *value > 0xFFFFFF) return fallback;
    return static_cast<COLORREF>(*value);
}

void CALLBACK RefreshTimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    features::EndTimer(Module().RefreshTimer, id);
    RunStep("RefreshTimerProc", RefreshAddressBar);
}

void CALLBACK ResizeOverlayTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    HighlightState& m = Module();
    features::EndTimer(m.ResizeTimer, id);
    RunStep("ResizeOverlayTimer", [&] {
        const SharedState& s = State();
        RECT r{};
        host::GetClientRect(s.AddressComboWnd, &r);
        m.Placement.rcNormalPosition = s.LargeCaptionButtons ? RECT{1, 1, r.right - 18, r.bottom - 1}
                                                             : RECT{2, 2, r.right - 18, r.bottom - 2};
        if (m.SecurePageShown)
            host::SetWindowPlacement(s.HighlightOverlayWnd, &m.Placement);
        else
            host::ShowWindow(s.HighlightOverlayWnd, SW_HIDE);
    });
}

void SetIcon() {
    const HighlightState& m = Module();
    host::SendMessageA(m.Icon, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(m.IconImage));
}

void CreateOverlay() {
    SharedState& s = State();
    HighlightState& m = Module();
    RECT r{};
    host::GetClientRect(s.AddressComboWnd, &r);
    const bool large = s.LargeCaptionButtons;
    s.HighlightOverlayWnd = large ? host::CreateWindowExA(0, "#32770", "", WS_CHILD, 1, 1, r.right - 19,
                                                          r.bottom - 2, s.AddressComboWnd, nullptr, nullptr, nullptr)
                                  : host::CreateWindowExA(0, "#32770", "", WS_CHILD, 2, 2, r.right - 20,
                                                          r.bottom - 4, s.AddressComboWnd, nullptr, nullptr, nullptr);
    if (s.HighlightOverlayWnd == nullptr) throw StepError("the highlight overlay could not be created");
    m.Icon = host::CreateWindowExA(0, "static", "", WS_CHILD | WS_VISIBLE | SS_ICON, large ? 4 : 3, large ? 2 : 1,
                                   kIconSize, kIconSize, s.HighlightOverlayWnd, reinterpret_cast<HMENU>(1), nullptr,
                                   nullptr);
    m.IconImage = host::LoadImageA(nullptr, PluginFilePath("Icons\\SSL.ico").c_str(), IMAGE_ICON, kIconSize,
                                   kIconSize, LR_LOADFROMFILE);
    SetIcon();
    m.Placement.length = sizeof(WINDOWPLACEMENT);
    host::GetWindowPlacement(s.HighlightOverlayWnd, &m.Placement);
}

void OnAddressText(LPARAM lParam) {
    const SharedState& s = State();
    HighlightState& m = Module();
    const std::string text = PtrToText(reinterpret_cast<const void*>(lParam), kAddressBytes);
    m.SecurePageShown = text.starts_with(kSecureScheme);
    if (m.SecurePageShown)
        host::SetWindowPlacement(s.HighlightOverlayWnd, &m.Placement);
    else
        host::ShowWindow(s.HighlightOverlayWnd, SW_HIDE);
}

LRESULT PaintWithBrush(WPARAM dc, bool withText) {
    const HighlightState& m = Module();
    if (withText) host::SetTextColor(reinterpret_cast<HDC>(dc), m.Text);
    host::SetBkColor(reinterpret_cast<HDC>(dc), m.Back);
    return reinterpret_cast<LRESULT>(m.Brush);
}

}  // namespace

void StartHighlightCombo() {
    SharedState& s = State();
    HighlightState& m = Module();
    m.Back = ColourSetting(Setting::HighlightComboBack, 12776703);
    m.Text = ColourSetting(Setting::HighlightComboText, host::GetSysColor(COLOR_WINDOWTEXT));
    if (m.Brush != nullptr) host::DeleteObject(m.Brush);  // a restart without a stop keeps one brush
    const LOGBRUSH brush{BS_SOLID, m.Back, 0};
    m.Brush = host::CreateBrushIndirect(&brush);
    if (s.HighlightOverlayWnd == nullptr || !host::IsWindow(s.HighlightOverlayWnd)) {
        CreateOverlay();
    } else {
        if (m.SecurePageShown) host::ShowWindow(s.HighlightOverlayWnd, SW_SHOW);
        SetIcon();
        host::RedrawWindow(s.HighlightOverlayWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
        RefreshAddressBar();
    }
    s.HighlightComboOn = true;
}

void StopHighlightCombo() noexcept {
    SharedState& s = State();
    HighlightState& m = Module();
    s.HighlightComboOn = false;
    features::EndTimer(m.RefreshTimer);
    features::EndTimer(m.ResizeTimer);
    host::ShowWindow(s.HighlightOverlayWnd, SW_HIDE);
    if (m.Brush != nullptr) host::DeleteObject(m.Brush);
    m.Brush = nullptr;
}

void RefreshAddressBar() {
    const SharedState& s = State();
    host::RedrawWindow(s.AddressEditWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    if (s.ProgressWnd != nullptr)
        host::RedrawWindow(s.ProgressWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT HighlightComboMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const SharedState& s = State();
    HighlightState& m = Module();
    if (hwnd == s.AddressComboWnd) {
        if (msg == WM_SETTEXT) {
            RunStep([&] { OnAddressText(lParam); });
        } else if (msg == WM_CTLCOLOREDIT && m.SecurePageShown) {
            result = PaintWithBrush(wParam, true);
        }
    } else if (hwnd == s.HighlightOverlayWnd) {
        switch (msg) {
            case WM_CTLCOLORDLG:
                if (!m.SecurePageShown) break;
                features::RestartTimer(m.RefreshTimer, 0, &RefreshTimerProc);
                result = PaintWithBrush(wParam, false);
                break;
            case WM_CTLCOLORSTATIC:
                result = PaintWithBrush(wParam, false);
                break;
            case WM_LBUTTONUP:
                if (static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(lParam))) < kIconClickWidth) {
                    RunStep([&] {
                        const std::string url = s.CurrentBrowser.GetText("LocationURL").value_or("");
                        host::InternetShowSecurityInfoByURLA(url.c_str(), s.MainFrameWnd);
                    });
                }
                break;
            default:
                break;
        }
    } else if (hwnd == s.MainFrameWnd && msg == WM_SIZE) {
        features::RestartTimer(m.ResizeTimer, kResizeDelayMs, &ResizeOverlayTimer);
    }
    return result;
}

namespace {
constexpr MessageSet kActsOn{WM_SETTEXT, WM_CTLCOLOREDIT, WM_CTLCOLORDLG, WM_CTLCOLORSTATIC, WM_LBUTTONUP, WM_SIZE};
constexpr auto kHandler = &ByValue<&HighlightComboMessage>;
constexpr std::array<bool SharedState::*, 3> kOn{&SharedState::HighlightComboOn};
// On the address box and its overlay the rows run after the host's procedure.
constexpr DispatchRow kRows[] = {
    Row(HookedWindow::MainFrame, 120, kAnyKey, kOn, kHandler, ResultUse::Ignored, kActsOn),
    Row(HookedWindow::AddressCombo, 10, kAnyKey, kOn, kHandler, ResultUse::Ignored, kActsOn),
    Row(HookedWindow::HighlightOverlay, 10, kAnyKey, kOn, kHandler, ResultUse::Ignored, kActsOn),
};
}  // namespace

constinit const Feature kHighlightComboFeature{.name = "address-box highlight",
                                               .setting = Setting::HighlightCombo,
                                               .startAt = StartPoint::AddressBox,
                                               .start = &Run<&StartHighlightCombo>,
                                               .stop = &StopHighlightCombo,
                                               .running = &SharedState::HighlightComboOn,
                                               .rows = kRows};

}  // namespace tillwick
