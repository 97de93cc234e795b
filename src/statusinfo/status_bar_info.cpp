// The status-bar information line: the line about the active page (zone, address, location,
// proxy) that fills the status bar while the host leaves it empty, its click
// menu, and the host's proxy commands that keep the proxy item current.
#include <algorithm>
#include <cctype>
#include <string>

#include "base/errors.h"
#include "core/feature.h"
#include "core/host_contract.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "features/feature_timers.h"
#include "features/hide_status_bar.h"
#include "host/text.h"
#include "menus/host_menus.h"
#include "settings/settings_catalogue.h"
#include "statushtml/status_html.h"
#include "statushtml/status_html_state.h"
#include "statusinfo/statusinfo.h"
#include "statusinfo/statusinfo_state.h"

namespace tillwick {
namespace {

namespace c = contract;

constexpr LONG kClickAbove = 24;
constexpr UINT kTrackFlags = 0x0102;  // TPM_RETURNCMD | TPM_RIGHTBUTTON
constexpr UINT kRedrawMs = 50;
constexpr UINT kResolveMs = 500;
constexpr std::size_t kMinLineLength = 5;
constexpr int kMaxProxyEntries = 1000;  // a hand-edited list still ends
const std::string kGap = "    ";

enum MenuId : UINT {
    kZoneIcon = 1, kShowZone = 2, kShowIP = 3, kShowLocation = 4, kShowProxy = 5,
    kShowAll = 7, kShowNone = 8, kWhois = 9, kPanelBase = 10,
};

StatusBarInfoState& Module() noexcept { return StatusInfoData().Info; }

bool AnyFlagOn() {
    const StatusBarInfoState& m = Module();
    return m.ShowZone || m.ShowIP || m.ShowLocation || m.ShowProxy;
}

std::string HostMenuText(std::string_view key, std::string_view fallback) {
    return HostLanguageText(key, fallback, "MENU_MAIN");
}

std::string ProxyEntry(std::string key, int n) {
    key += std::to_string(n);
    return ReadHostSetupCenter(key, "", "Proxy");
}
std::string ProxyAt(int n) { return ProxyEntry("p", n); }
std::string ProxyNameAt(int n) { return ProxyEntry("pn", n); }

std::string ComposeProxyText() {
    const StatusBarInfoState& m = Module();
    if (ReadHostConfig("EnableProxy", "0", c::kHostSettingsSection) != "1")
        return m.ProxyLabel + HostMenuText("33059", "No Proxy");
    if (ReadHostConfig("UseIEProxy", "0", c::kHostSettingsSection) == "1")
        return m.ProxyLabel + HostMenuText("33068", "Use IE Proxy");
    const std::string chosen = ReadHostConfig("DefaultProxy", "", c::kHostSettingsSection);
    if (chosen.empty()) return m.ProxyLabel + "Unknown";
    for (int n = 1; n <= kMaxProxyEntries; ++n) {
        const std::string address = ProxyAt(n);
        if (address.empty()) break;
        if (address == chosen) return m.ProxyLabel + ProxyNameAt(n) + "  " + chosen;
    }
    return chosen;
}

// The bar is ours to write: the auto-hide bar does not hold it for a host
// message and the group addresses of the Groups menu are not showing.
bool BarFreeForInfo() { return StatusBarFreeForInfo() && !GroupUrlLineShowing(); }

// ---- the click menu
struct MenuFacts {
    bool featureOn;
    bool stripExists;
    std::int32_t panelCount;
};

void AppendItem(HMENU menu, UINT id, const std::string& text, bool checked = false, bool greyed = false) {
    host::AppendMenuA(menu, MF_STRING | (checked ? MF_CHECKED : 0u) | (greyed ? MF_GRAYED : 0u), id, text.c_str());
}
void AppendSeparator(HMENU menu) { host::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr); }

void BuildMenu(HMENU menu, const MenuFacts& f) {
    const SharedState& s = State();
    const StatusBarInfoState& m = Module();
    AppendItem(menu, kZoneIcon, LanguageText("057", "Show Zone Icon"), s.ZoneIconOn);
    AppendSeparator(menu);
    if (f.featureOn) {
        AppendItem(menu, kShowZone, LanguageText("058", "Show Zone Label"), m.ShowZone);
        AppendItem(menu, kShowIP, LanguageText("059", "Show IP Address"), m.ShowIP);
        AppendItem(menu, kShowLocation, LanguageText("060", "Show IP Location"), m.ShowLocation);
        AppendItem(menu, kShowProxy, LanguageText("061", "Show Proxy Information"), m.ShowProxy);
        AppendSeparator(menu);
    }
    if (f.stripExists && f.panelCount > 0) {
        for (std::int32_t n = 0; n < f.panelCount; ++n)
            AppendItem(menu, kPanelBase + static_cast<UINT>(n), s.ShowWordText + PanelSetting(PanelField::Name, n),
                       PanelSetting(PanelField::Use, n) == "1");
        AppendItem(menu, kPanelBase + static_cast<UINT>(f.panelCount), LanguageText("097", "Configure..."));
        AppendSeparator(menu);
    }
    if (f.featureOn || f.stripExists) {
        AppendItem(menu, kShowAll, LanguageText("069", "Show All"));
        AppendItem(menu, kShowNone, LanguageText("070", "Show None"));
        AppendSeparator(menu);
    }
    AppendItem(menu, kWhois, LanguageText("071", "WHOIS Report"), false, !PageHasWebAddress());
}

void SetZoneIcon(bool on) {
    if (on) {
        StartZoneIcon();
        WriteSettingValue(Setting::ShowIcon, "1");
    } else {
        StopZoneIcon();
        WriteSettingValue(Setting::ShowIcon, "0");
    }
}

struct FlagRow {
    UINT id;
    bool StatusBarInfoState::*flag;
    Setting setting;
};
constexpr FlagRow kFlags[] = {
    {kShowZone, &StatusBarInfoState::ShowZone, Setting::ShowZone},
    {kShowIP, &StatusBarInfoState::ShowIP, Setting::ShowIP},
    {kShowLocation, &StatusBarInfoState::ShowLocation, Setting::ShowLocation},
    {kShowProxy, &StatusBarInfoState::ShowProxy, Setting::ShowProxy},
};

void SetFlag(const FlagRow& row, bool on) {
    StatusBarInfoState& m = Module();
    m.*row.flag = on;
    WriteSettingValue(row.setting, on ? "1" : "0");
    if (!on) return;
    if (row.id == kShowZone) LoadZoneNames();
    if (row.id == kShowProxy && m.ProxyText.empty()) m.ProxyText = m.ProxyLabel + "Change Proxy to Initialize";
}

void ShowAllOrNone(bool on, const MenuFacts& f) {
    if (State().ZoneIconOn != on) RunStep([&] { SetZoneIcon(on); });
    if (f.featureOn)
        for (const FlagRow& row : kFlags)
            if (Module().*row.flag != on) RunStep([&] { SetFlag(row, on); });
    if (f.stripExists) {
        std::int32_t panels = on ? 1 : 0;
        RunStep([&] { StatusHtmlMenuCommand(panels); });
    }
}

void ActOnMenuChoice(UINT id, const MenuFacts& f) {
    if (id == kZoneIcon) {
        SetZoneIcon(!State().ZoneIconOn);
    } else if (id >= kShowZone && id <= kShowProxy) {
        if (!f.featureOn) return;
        for (const FlagRow& row : kFlags)
            if (row.id == id) SetFlag(row, !(Module().*row.flag));
    } else if (id == kShowAll || id == kShowNone) {
        ShowAllOrNone(id == kShowAll, f);
    } else if (id == kWhois) {
        RequestWhoisReport();
    } else if (id >= kPanelBase) {
        std::int32_t command = static_cast<std::int32_t>(id);
        StatusHtmlMenuCommand(command);
    }
}

void OpenInfoMenu() {
    SharedState& s = State();
    // The switch is on from start-up, the strip only once the host's security id has come.
    MenuFacts f{s.StatusBarInfoOn, s.StatusHtmlOn && StatusHtmlData().Strip != nullptr, 0};
    RunStep([&] { f.panelCount = PanelRecordCount(); });
    HMENU menu = host::CreatePopupMenu();
    if (menu == nullptr) return;
    UINT chosen = 0;
    RunStep([&] {
        BuildMenu(menu, f);
        POINT at{};
        host::GetCursorPos(&at);
        chosen = static_cast<UINT>(host::TrackPopupMenu(menu, kTrackFlags, at.x + 5, at.y, 0, s.StatusBarWnd, nullptr));
    });
    if (chosen > 0) {
        RunStep([&] { ActOnMenuChoice(chosen, f); });
        RunStep(RefreshInfo);
    }
    host::DestroyMenu(menu);
}

void OnStatusBarClick(LPARAM lParam) {
    const auto x = static_cast<short>(LOWORD(lParam));
    RECT part{};
    host::SendMessageA(State().StatusBarWnd, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part));
    if (x > kClickAbove && x < part.right) OpenInfoMenu();
}

// The host's new status text; true when it is swallowed.
bool OnStatusText(LPARAM lParam) {
    SharedState& s = State();
    StatusBarInfoState& m = Module();
    features::EndTimer(m.RedrawTimer);
    const std::string text =
        lParam == 0 ? std::string() : host::WideToAnsi(reinterpret_cast<const char16_t*>(lParam));
    bool swallow = false;
    if (text.size() < 2) {
        s.StatusInfoRefresh = true;
        swallow = true;
    } else if (!s.DoneKeyword.empty() && StartsWithNoCase(text, s.DoneKeyword)) {
        RunStep(StatusBarPageDone);
        s.StatusInfoRefresh = true;
        swallow = true;
    } else {
        s.StatusInfoRefresh = false;
    }
    features::RestartTimer(m.RedrawTimer, kRedrawMs, &InfoRedrawTimer);
    return swallow;
}

void OnFrameCommand(WPARAM command) {
    StatusBarInfoState& m = Module();
    if (command > c::kCmdProxyBase && command < c::kCmdProxyLimit) {
        const int n = static_cast<int>(command - c::kCmdProxyBase);
        m.ProxyText = m.ProxyLabel + ProxyNameAt(n) + "  " + ProxyAt(n);
        ShowInfoText();
    } else if (command == c::kCmdUseIeProxy) {
        m.ProxyText = m.ProxyLabel + HostMenuText("33068", "Use IE Proxy");
    } else if (command == c::kCmdNoProxy) {
        m.ProxyText = m.ProxyLabel + HostMenuText("33059", "No Proxy");
    }
}

}  // namespace

std::string LowerText(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return out;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && LowerText(text.substr(0, prefix.size())) == LowerText(prefix);
}

std::string ActivePageHost() {
    return State().ActiveDocument.GetObject("location").GetText("hostname").value_or("");
}

bool PageHasWebAddress() {
    const std::string url = State().ActiveDocument.GetText("URL").value_or("");
    return StartsWithNoCase(url, "http") || StartsWithNoCase(url, "ftp:") || StartsWithNoCase(url, "file:");
}

void StartStatusBarInfo() {
    SharedState& s = State();
    StatusBarInfoState& m = Module();
    m.ShowZone = SettingOn(Setting::ShowZone);
    m.ShowIP = SettingOn(Setting::ShowIP);
    m.ShowLocation = SettingOn(Setting::ShowLocation);
    m.ShowProxy = SettingOn(Setting::ShowProxy);
    m.IpLabel = LanguageText("064", "IP Address") + ":  ";
    m.LocationLabel = LanguageText("065", "IP Location") + ":  ";
    m.ProxyLabel = LanguageText("074", "Proxy") + ":  ";
    if (!RunStep([&] { m.ProxyText = ComposeProxyText(); }) || m.ProxyText.empty())
        m.ProxyText = m.ProxyLabel + "Unknown";
    s.StatusBarInfoOn = true;
}

void StopStatusBarInfo() noexcept {
    SharedState& s = State();
    StatusBarInfoState& m = Module();
    StopWhois();
    features::EndTimer(m.RedrawTimer);
    features::EndTimer(m.ResolveTimer);
    m.ShowZone = m.ShowIP = m.ShowLocation = m.ShowProxy = false;
    s.StatusBarInfoOn = false;
}

LRESULT StatusBarInfoMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT&) {
    const SharedState& s = State();
    if (hwnd == s.StatusBarWnd) {
        if (msg == WM_LBUTTONDOWN) {
            RunStep([&] { OnStatusBarClick(lParam); });
        } else if (msg == WM_SETTEXT && AnyFlagOn()) {
            if (RunStepOr(false, [&] { return OnStatusText(lParam); })) return 0;
        }
    } else if (hwnd == s.MainFrameWnd && msg == WM_COMMAND && AnyFlagOn()) {
        RunStep([&] { OnFrameCommand(wParam); });
    }
    return msg;
}

void CALLBACK InfoRedrawTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    SharedState& s = State();
    features::EndTimer(Module().RedrawTimer, id);
    RunStep("InfoRedrawTimer", [&] {
        if (!s.StatusInfoRefresh || !BarFreeForInfo()) return;
        ShowInfoText();
        s.StatusInfoRefresh = false;
    });
}

void ShowInfoText() {
    SharedState& s = State();
    const StatusBarInfoState& m = Module();
    std::string line;
    if (m.ShowZone) line += ZoneName() + kGap;
    if (m.ShowIP && !m.IpText.empty()) line += m.IpText + kGap;
    if (m.ShowLocation && !m.LocationText.empty()) line += m.LocationText + kGap;
    if (m.ShowProxy) line += m.ProxyText + kGap;
    // The zone icon sits over the start of the bar's first part.
    if (s.ZoneIconOn && !line.empty()) line.insert(0, kGap);
    s.StatusInfoText = line;
    if (line.size() > kMinLineLength)
        host::SendMessageA(s.StatusBarWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

void RefreshInfo() {
    SharedState& s = State();
    StatusBarInfoState& m = Module();
    StatusInfoData().Zone.ZoneName.clear();
    m.IpText.clear();
    m.LocationText.clear();
    if (m.ShowZone || s.ZoneIconOn) RunStep(UpdateZone);
    if (m.ShowIP || m.ShowLocation) {
        RunStep([&] {
            m.HostName = ActivePageHost();
            const std::string address = m.HostName.empty() ? std::string() : CachedAddress(m.HostName);
            if (address.empty()) {
                features::RestartTimer(m.ResolveTimer, kResolveMs, &ResolveTimer);
                return;
            }
            m.IpText = m.IpLabel + address;
            if (!m.ShowLocation) return;
            const std::string location = CachedLocation(address);
            if (!location.empty())
                m.LocationText = m.LocationLabel + location;
            else if (!m.ReportRequested)
                WhoisLookup(address, "ARIN");
        });
    }
    // A host message on the bar stays; the line follows when the bar is free.
    if (BarFreeForInfo())
        ShowInfoText();
    else
        s.StatusInfoRefresh = true;
}

bool StatusInfoZoneOn() { return Module().ShowZone; }
std::string StatusInfoText() { return State().StatusInfoText; }
bool WhoisReportShowing() { return Module().ReportRequested; }

StatusInfoModules& StatusInfoData() noexcept {
    static StatusInfoModules data;
    return data;
}

namespace {

void OnNotice(const SpineNotice& notice) {
    const SharedState& s = State();
    if (notice.what == Notice::FeaturesStarted) {
        if (s.ZoneIconOn || StatusInfoZoneOn()) LoadZoneNames();
    } else if (notice.what == Notice::TabSwitched) {
        // The zone icon shows what this line learns.
        if (s.StatusBarInfoOn || s.ZoneIconOn) RunStep("status information: tab change", RefreshInfo);
        if (WhoisReportShowing()) FillReport();
    }
}

constexpr MessageSet kActsOn{WM_LBUTTONDOWN, WM_SETTEXT, WM_COMMAND};
constexpr auto kHandler = &ByValue<&StatusBarInfoMessage>;
// On the status bar the handler runs with or without the line: it also
// serves the status-bar menu of the panels and the zone icon.
constexpr DispatchRow kRows[] = {
    Row(HookedWindow::MainFrame, 40, kAnyKey, {&SharedState::StatusBarInfoOn}, kHandler, ResultUse::Ignored, kActsOn),
    AlwaysRow(HookedWindow::StatusBar, 50, {&SharedState::StatusBarInfoOn}, kHandler, ResultUse::ReplacesMsg, kActsOn),
};

}  // namespace

constinit const Feature kStatusBarInfoFeature{.name = "status-bar information",
                                              .setting = Setting::StatusBarInfo,
                                              .start = &Run<&StartStatusBarInfo>,
                                              .stop = &StopStatusBarInfo,
                                              .running = &SharedState::StatusBarInfoOn,
                                              .rows = kRows,
                                              .notice = &OnNotice,
                                              .reset = [] { StatusInfoData() = {}; }};

}  // namespace tillwick
