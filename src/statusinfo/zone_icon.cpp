// The zone icon: the icon of the active page's security zone at the left end of
// the status bar, and its menu that moves the page's site into another zone.
#include <array>
#include <string>
#include <utility>

#include "base/errors.h"
#include "core/feature.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "features/feature_timers.h"
#include "statusinfo/statusinfo.h"
#include "statusinfo/statusinfo_state.h"

namespace tillwick {
namespace {

constexpr DWORD kIconStyle = 0x50000003;  // WS_CHILD | WS_VISIBLE | SS_ICON
constexpr UINT kStmSetImage = 0x0172;
constexpr WPARAM kImageIcon = 1;
constexpr int kIconSize = 16;
constexpr int kIconLeft = 1, kIconTop = 4, kHiddenTop = 40;
constexpr LONG kClickLimit = 24;  // clicks left of this are the icon's
constexpr UINT kTrackFlags = 0x0102;  // TPM_RETURNCMD | TPM_RIGHTBUTTON
constexpr std::int32_t kMyComputer = 0, kTrusted = 2, kInternet = 3;
constexpr UINT_PTR kSecuritySettingsId = 5;
constexpr UINT kSecondStepMs = 1000;
constexpr std::uint32_t kHttpsOnlyFlags = 71;

struct ZoneRow {
    std::string_view key, name, icon;
};
constexpr std::array<ZoneRow, kZoneCount> kZones{{
    {"051", "My Computer", "zone_local.ico"},
    {"052", "Local Intranet", "zone_intranet.ico"},
    {"053", "Trusted sites", "zone_trusted.ico"},
    {"054", "Internet", "zone_internet.ico"},
    {"055", "Restricted sites", "zone_restricted.ico"},
}};

ZoneIconState& Module() noexcept { return StatusInfoData().Zone; }

void PlaceIcon(LONG top) {
    ZoneIconState& m = Module();
    m.Placement.rcNormalPosition = RECT{kIconLeft, top, kIconLeft + kIconSize, kIconTop + kIconSize};
    host::SetWindowPlacement(m.IconWnd, &m.Placement);
}

void CreateIconWindow() {
    SharedState& s = State();
    ZoneIconState& m = Module();
    m.IconWnd = host::CreateWindowExA(0, "static", "", kIconStyle, kIconLeft, kIconTop, kIconSize, kIconSize,
                                      s.StatusBarWnd, reinterpret_cast<HMENU>(1), nullptr, nullptr);
    if (m.IconWnd == nullptr) throw StepError("zone icon window");
    RunStep([&] {
        if (s.StatusStripClips) return;
        const LONG style = host::GetWindowLongA(s.StatusBarWnd, GWL_STYLE);
        host::SetWindowLongPtrW(s.StatusBarWnd, GWL_STYLE, style | WS_CLIPCHILDREN);
        s.StatusStripClips = true;
    });
    for (std::size_t i = 0; i < kZoneCount; ++i)
        RunStep([&] { m.Icons[i] = host::LoadIconFile(PluginFilePath("Icons\\" + std::string(kZones[i].icon))); });
    m.Placement.length = sizeof(WINDOWPLACEMENT);
    host::GetWindowPlacement(m.IconWnd, &m.Placement);
}

// The page is loaded again from its own address.
void ReloadPage(const std::string& url) {
    State().ActiveDocument.GetObject("parentWindow").Call("navigate", {host::Value{url}});
}

void CALLBACK ZoneChangeTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    ZoneIconState& m = Module();
    features::EndTimer(m.ZoneChangeTimer, id);
    RunStep("ZoneChangeTimer", [&] { host::SetZoneMapping(m.PendingZone, m.PendingHost, false); });
    RunStep("ZoneChangeTimer", [&] { ReloadPage(m.PendingUrl); });
}

void MoveToZone(std::int32_t chosen) {
    ZoneIconState& m = Module();
    const std::string site = ActivePageHost();
    const std::string url = State().ActiveDocument.GetText("URL").value_or("");
    if (site.empty()) return;  // a page without a host name has no site to move
    if (chosen == kInternet) {
        host::SetZoneMapping(m.CurrentZone, site, true);
        ReloadPage(url);
    } else if (m.CurrentZone == kInternet) {
        host::SetZoneMapping(chosen, site, false);
        ReloadPage(url);
    } else {
        host::SetZoneMapping(m.CurrentZone, site, true);
        ReloadPage(url);
        m.PendingZone = chosen;
        m.PendingHost = site;
        m.PendingUrl = url;
        features::RestartTimer(m.ZoneChangeTimer, kSecondStepMs, &ZoneChangeTimer);
    }
}

void ActOnZoneChoice(std::int32_t chosen) {
    const SharedState& s = State();
    const ZoneIconState& m = Module();
    if (chosen <= kMyComputer || chosen == m.CurrentZone) return;
    if (chosen == kTrusted && m.HttpsOnly) {
        host::MessageBoxA(s.MainFrameWnd,
                          LanguageText("125", "You settings for Trusted sites allow https only").c_str(),
                          "", MB_OK);
    } else if (chosen == static_cast<std::int32_t>(kSecuritySettingsId)) {
        host::LaunchSecurityDialog(s.MainFrameWnd);
    } else if (chosen < static_cast<std::int32_t>(kZoneCount)) {
        MoveToZone(chosen);
    }
}

void OpenZoneMenu() {
    SharedState& s = State();
    const ZoneIconState& m = Module();
    HMENU menu = host::CreatePopupMenu();
    if (menu == nullptr) return;
    std::int32_t chosen = 0;
    RunStep([&] {
        for (std::size_t i = 0; i < kZoneCount; ++i) {
            const UINT check = static_cast<std::int32_t>(i) == m.CurrentZone ? MF_CHECKED : MF_UNCHECKED;
            host::AppendMenuA(menu, MF_STRING | check, i, m.ZoneNames[i].c_str());
        }
        host::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        host::AppendMenuA(menu, MF_STRING, kSecuritySettingsId,
                          LanguageText("056", "Security Settings...").c_str());
        POINT at{};
        host::GetCursorPos(&at);
        chosen = static_cast<std::int32_t>(
            host::TrackPopupMenu(menu, kTrackFlags, at.x + 5, at.y, 0, s.StatusBarWnd, nullptr));
    });
    RunStep([&] { ActOnZoneChoice(chosen); });
    s.StatusBarHeld = true;
    host::DestroyMenu(menu);
}

}  // namespace

void StartZoneIcon() {
    SharedState& s = State();
    ZoneIconState& m = Module();
    RunStep([&] {
        const auto flags = host::ReadUserRegistryDword(
            "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\2", "Flags");
        m.HttpsOnly = flags == kHttpsOnlyFlags;
    });
    if (m.IconWnd == nullptr || !host::IsWindow(m.IconWnd))
        RunStep(CreateIconWindow);
    else
        RunStep(ShowZoneIconWindow);  // started twice without a stop
    RunStep(LoadZoneNames);
    s.ZoneIconOn = true;
    // A start after a stop has new icons: the active page's is shown now, not at the next page.
    RunStep(UpdateZone);
}

// The icon window and its icons go with the feature, so that nothing of the
// plugin outlives its stop; a start makes them again.
void StopZoneIcon() noexcept {
    ZoneIconState& m = Module();
    RunStep(HideZoneIconWindow);
    features::EndTimer(m.ZoneChangeTimer);
    RunStep([&] {
        if (m.IconWnd != nullptr) host::DestroyWindow(m.IconWnd);
        m.IconWnd = nullptr;
        for (LPARAM& icon : m.Icons) host::DestroyIconHandle(std::exchange(icon, 0));
        m.CurrentIcon = 0;
    });
    State().ZoneIconOn = false;
}

void LoadZoneNames() {
    ZoneIconState& m = Module();
    if (m.NamesLoaded) return;
    for (std::size_t i = 0; i < kZoneCount; ++i)
        m.ZoneNames[i] = LanguageText(kZones[i].key, kZones[i].name);
    m.NamesLoaded = true;
}

void ShowZoneIconWindow() {
    if (Module().IconWnd != nullptr) PlaceIcon(kIconTop);
}

void HideZoneIconWindow() {
    if (Module().IconWnd != nullptr) PlaceIcon(kHiddenTop);
}

void UpdateZone() {
    const SharedState& s = State();
    ZoneIconState& m = Module();
    const auto zone = host::MapUrlToZone(s.ActiveDocument.GetText("URL").value_or(""));
    if (zone && *zone >= 0 && *zone < static_cast<std::int32_t>(kZoneCount)) {
        const auto i = static_cast<std::size_t>(*zone);
        m.CurrentZone = *zone;
        m.CurrentIcon = m.Icons[i];
        m.ZoneName = m.ZoneNames[i];
    }
    if (s.ZoneIconOn && m.IconWnd != nullptr)
        host::SendMessageA(m.IconWnd, kStmSetImage, kImageIcon, m.CurrentIcon);
    if (!StatusInfoZoneOn()) m.ZoneName.clear();
}

const std::string& ZoneName() { return Module().ZoneName; }

LRESULT ZoneIconMessage(HWND hwnd, UINT msg, WPARAM, LPARAM lParam, LRESULT&) {
    if (hwnd == State().StatusBarWnd && msg == WM_LBUTTONDOWN &&
        static_cast<short>(LOWORD(lParam)) < kClickLimit)
        RunStep(OpenZoneMenu);
    return msg;
}

namespace {
constexpr MessageSet kActsOn{WM_LBUTTONDOWN};
constexpr DispatchRow kRows[] = {
    Row(HookedWindow::StatusBar, 30, kAnyKey, {&SharedState::ZoneIconOn}, &ByValue<&ZoneIconMessage>,
        ResultUse::ReplacesMsg, kActsOn),
};
}  // namespace

constinit const Feature kZoneIconFeature{.name = "zone icon",
                                         .setting = Setting::ShowIcon,
                                         .start = &Run<&StartZoneIcon>,
                                         .stop = &StopZoneIcon,
                                         .running = &SharedState::ZoneIconOn,
                                         .rows = kRows};

}  // namespace tillwick
