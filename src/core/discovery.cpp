// The start-up's window discovery: the enumeration callbacks that find the rebar,
// the status-bar toolbar, the host's toolbars (told apart by window style),
// the address bar and the search bar.
#include <array>
#include <string_view>

#include "base/errors.h"
#include "core/feature.h"
#include "core/host_contract.h"
#include "core/startup.h"
#include "core/state.h"
#include "core/wrapper.h"

namespace tillwick {
namespace {

constexpr BOOL kGoOn = TRUE;
constexpr BOOL kStop = FALSE;

// The host's toolbars by window style; the two values of a row differ only in
// WS_VISIBLE. Two further host bars (0x?400984E, 0x?400994E) are not used.
constexpr std::array<ToolbarStyleRow, 4> kToolbarStyles{{
    {0x4400894E, true, ToolbarRole::MainButtons},
    {0x4400994D, false, ToolbarRole::PluginButtons},
    {0x4600894E, false, ToolbarRole::Address},
    {0x4600994C, false, ToolbarRole::Search},
}};

const ToolbarStyleRow* MatchToolbar(HWND wnd) {
    DWORD style = static_cast<DWORD>(host::GetWindowLongA(wnd, GWL_STYLE));
    DWORD exStyle = static_cast<DWORD>(host::GetWindowLongA(wnd, GWL_EXSTYLE));
    for (const ToolbarStyleRow& row : kToolbarStyles) {
        if (style != row.hiddenStyle && style != (row.hiddenStyle | WS_VISIBLE)) continue;
        if (row.needsToolWindowExStyle && exStyle != WS_EX_TOOLWINDOW) continue;
        return &row;
    }
    return nullptr;
}

void TakeAddressCombo(HWND wnd) {
    State().AddressComboWnd = wnd;
    StartRun run;
    StartFeaturesAt(StartPoint::AddressBox, run);
}

void TakeAddressEdit(HWND wnd) {
    State().AddressEditWnd = wnd;
    StartRun run;
    StartFeaturesAt(StartPoint::AddressEdit, run);
}

bool TextStartsWithScheme(HWND wnd) {
    std::array<char, 256> buffer{};
    int n = host::GetWindowTextA(wnd, buffer.data(), 255);
    std::string_view text(buffer.data(), n > 0 ? static_cast<std::size_t>(n) : 0);
    for (std::string_view scheme : {"https:", "http:", "ftp:", "about:"})
        if (text.starts_with(scheme)) return true;
    return false;
}

}  // namespace

std::span<const ToolbarStyleRow> ToolbarStyleTable() { return kToolbarStyles; }

bool HasClass(HWND wnd, std::string_view className) noexcept {
    std::array<char, 256> buffer{};
    int n = host::GetClassNameA(wnd, buffer.data(), 255);
    if (n <= 0) return false;
    return std::string_view(buffer.data(), static_cast<std::size_t>(n)) == className;
}

BOOL CALLBACK FindRebar(HWND wnd, LPARAM) noexcept {
    if (!HasClass(wnd, contract::kRebarClass)) return kGoOn;
    RECT r{};
    if (!host::GetClientRect(wnd, &r) || r.bottom == 0) return kGoOn;
    State().RebarWnd = wnd;
    return kStop;
}

BOOL CALLBACK FindStatusToolbar(HWND wnd, LPARAM) noexcept {
    if (!HasClass(wnd, contract::kToolbarClass)) return kGoOn;
    State().StatusToolbarWnd = wnd;
    return kStop;
}

BOOL CALLBACK ClassifyToolbar(HWND wnd, LPARAM) noexcept {
    if (!HasClass(wnd, contract::kToolbarClass)) return kGoOn;
    const ToolbarStyleRow* row = MatchToolbar(wnd);
    if (row == nullptr) return kGoOn;
    RunStep([&] {
        StartRun run;
        switch (row->role) {
            case ToolbarRole::MainButtons:
                State().ButtonsToolbarWnd = wnd;
                StartFeaturesAt(StartPoint::ButtonsToolbar, run);
                break;
            case ToolbarRole::PluginButtons:
                State().PluginToolbarWnd = wnd;
                StartFeaturesAt(StartPoint::PluginToolbar, run);
                break;
            case ToolbarRole::Address:
                host::EnumChildWindows(wnd, &FindAddressControls, 0);
                break;
            case ToolbarRole::Search:
                host::EnumChildWindows(wnd, &FindSearchEdit, 0);
                break;
        }
    });
    return kGoOn;
}

BOOL CALLBACK FindAddressControls(HWND wnd, LPARAM) noexcept {
    if (HasClass(wnd, contract::kComboBoxClass))
        RunStep([&] { TakeAddressCombo(wnd); });
    else if (HasClass(wnd, contract::kEditClass))
        RunStep([&] { TakeAddressEdit(wnd); });
    return kGoOn;
}

BOOL CALLBACK FindSearchEdit(HWND wnd, LPARAM) noexcept {
    if (!HasClass(wnd, contract::kEditClass)) return kGoOn;
    State().SearchEditWnd = wnd;
    return kStop;
}

BOOL CALLBACK FindAddressComboByText(HWND wnd, LPARAM) noexcept {
    if (!HasClass(wnd, contract::kComboBoxClass) || !TextStartsWithScheme(wnd)) return kGoOn;
    State().AddressComboWnd = wnd;
    host::EnumChildWindows(wnd, &FindAddressEdit, 0);
    StartRun run;
    StartFeaturesAt(StartPoint::AddressBox, run);
    return kGoOn;
}

BOOL CALLBACK FindAddressEdit(HWND wnd, LPARAM) noexcept {
    if (HasClass(wnd, contract::kEditClass)) RunStep([&] { TakeAddressEdit(wnd); });
    return kGoOn;
}

}  // namespace tillwick
