// mdlGetIP and the WHOIS lookup: the active page's address through name
// resolution, its country from the registries' WHOIS services asked in turn,
// both cached in the scratch file; on request the registry's full answer in a
// report window of its own.
#include <string>

#include "core/errors.h"
#include "core/feature_hooks.h"
#include "core/html_escape.h"
#include "core/startup.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "features/feature_timers.h"
#include "statusinfo/statusinfo.h"
#include "statusinfo/whois_answer.h"

namespace tillwick {
namespace {

constexpr UINT kPollMs = 100;
// A request without an answer after this many polls (15 s) counts as no answer.
constexpr std::int32_t kPollLimit = 150;
constexpr UINT kRetryMs = 1000;
constexpr LONG kReportWidth = 540, kReportHeight = 400, kReportCentringHeight = 460;
constexpr WPARAM kCmdPopupFilter = 33009;
constexpr std::string_view kReportWindowName = "WHOIS";

WhoisState& Module() noexcept { return State().StatusInfo.Whois; }
StatusBarInfoState& Info() noexcept { return State().StatusInfo.Info; }

std::string CacheKey(std::string_view name) {
    std::string key(name);
    for (char& ch : key)
        if (ch == '.') ch = '_';
    return key;
}

// A failed resolution is cached as one blank: there is nothing to look up for it.
bool IsLookupAddress(const std::string& address) {
    return address.find_first_not_of(' ') != std::string::npos;
}

// The registry's base address: section "Whois" of our settings, else its public WHOIS web host.
std::string WhoisEndpoint(std::string_view registry) {
    for (Setting id : {Setting::ARIN, Setting::APNIC, Setting::LACNIC, Setting::RIPE, Setting::AfriNIC})
        if (CatalogueRow(id).key == registry) return SettingText(id);
    return {};
}

void EndRequest() {
    WhoisState& m = Module();
    if (m.Request != 0) host::CancelHttpRequest(m.Request);
    m.Request = 0;
}

void ShowLocation(const std::string& address, const std::string& location) {
    StatusBarInfoState& info = Info();
    info.LocationText = info.LocationLabel + location;
    ShowInfoText();
    CacheLocation(address, location);
}

void ShowReport(const std::string& address, std::string text) {
    const SharedState& s = State();
    WhoisState& m = Module();
    m.ReportText = std::move(text);
    m.ReportAddress = address;
    if (m.ReportWnd != nullptr && host::IsWindow(m.ReportWnd))
        host::SendMessageA(s.MdiClientWnd, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m.ReportWnd), 0);
    else
        OpenReportWindow();
    features::RestartTimer(m.RetryTimer, kRetryMs, &ReportRetryTimer);
}

// The chain has run out of registries.
void NothingFound(const std::string& address) {
    StatusBarInfoState& info = Info();
    if (!info.ReportRequested) {
        ShowLocation(address, LanguageText("075", "Unknown"));
        return;
    }
    // Cleared, so that the location lookups of later pages run again.
    info.ReportRequested = false;
    host::MessageBoxA(State().MainFrameWnd,
                      (LanguageText("076", "Cannot find WHOIS report for: ") + address).c_str(), "", MB_OK);
}

void OnAnswer(const std::string& body) {
    const WhoisState& m = Module();
    const std::string address = CachedAddress(Info().HostName);
    if (address.empty()) return;
    const RegistryAnswer answer = ReadRegistryAnswer(body);
    if (!IsReferral(answer.netName, m.Registry) && !answer.country.empty()) {
        if (Info().ReportRequested)
            ShowReport(address, ReportTextOf(body));
        else
            ShowLocation(address, LanguageText(answer.country, answer.country, "CountryCode"));
        return;
    }
    const std::string_view next = NextRegistry(m.Registry);
    if (!next.empty())
        WhoisLookup(address, next);
    else
        NothingFound(address);
}

}  // namespace

std::string CachedAddress(const std::string& hostName) {
    return hostName.empty() ? std::string() : ReadTempValue(CacheKey(hostName), "", "Address");
}
std::string CachedLocation(const std::string& address) {
    return ReadTempValue(CacheKey(address), "", "Location");
}
void CacheAddress(const std::string& hostName, const std::string& address) {
    if (!hostName.empty()) WriteTempValue(CacheKey(hostName), address, "Address");
}
void CacheLocation(const std::string& address, const std::string& location) {
    WriteTempValue(CacheKey(address), location, "Location");
}

std::string ExtractField(std::string_view field, std::string_view text) { return ExtractFieldText(field, text); }

std::string GetIP(const std::string& hostName) {
    const auto addresses = host::ResolveHostName(hostName);
    for (const auto& a : addresses)
        if (!a.ipv6) return a.text;
    return addresses.empty() ? std::string(" ") : addresses.front().text;
}

void CALLBACK ResolveTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    StatusBarInfoState& info = Info();
    features::EndTimer(info.ResolveTimer, id);
    RunStep("ResolveTimer", [&] {
        if (!PageHasWebAddress() || info.HostName.empty()) return;
        const std::string address = GetIP(info.HostName);
        info.IpText = info.IpLabel + address;
        ShowInfoText();
        CacheAddress(info.HostName, address);
        if (info.ShowLocation && !info.ReportRequested) WhoisLookup(address, "ARIN");
    });
}

void WhoisLookup(const std::string& address, std::string_view registry) {
    WhoisState& m = Module();
    EndRequest();
    features::EndTimer(m.PollTimer);
    m.Registry = std::string(registry);
    if (!IsLookupAddress(address)) return;
    const auto request = WhoisRequest(registry, WhoisEndpoint(registry), address);
    if (!request) return;
    m.RequestUrl = request->url;
    m.Request = host::StartHttpRequest(*request);
    m.PollCount = 0;
    if (m.Request != 0) features::RestartTimer(m.PollTimer, kPollMs, &WhoisPoll);
}

void CALLBACK WhoisPoll(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    WhoisState& m = Module();
    std::optional<host::HttpResult> result;
    RunStep("WhoisPoll", [&] { result = host::PollHttpRequest(m.Request); });
    if (!result && ++m.PollCount < kPollLimit) return;
    features::EndTimer(m.PollTimer, id);
    const std::string body = result && result->ok ? result->body : std::string();
    RunStep("WhoisPoll", EndRequest);
    RunStep("WhoisPoll", [&] { OnAnswer(body); });
}

void StopWhois() noexcept {
    WhoisState& m = Module();
    RunStep(EndRequest);
    features::EndTimer(m.PollTimer);
    features::EndTimer(m.RetryTimer);
}

void OpenReportWindow() {
    const SharedState& s = State();
    RECT r{};
    host::GetWindowRect(s.MdiClientWnd, &r);
    const auto centred = [](LONG origin, LONG room, LONG size) {
        const LONG spare = room - size;  // Int() rounds down, also below zero
        return origin + (spare >= 0 ? spare / 2 : -((1 - spare) / 2));
    };
    const LONG left = centred(r.left, r.right - r.left, kReportWidth);
    const LONG top = centred(r.top, r.bottom - r.top, kReportCentringHeight);
    const std::string features = "left=" + std::to_string(left) + ", top=" + std::to_string(top) +
                                 ", width=" + std::to_string(kReportWidth) +
                                 ", height=" + std::to_string(kReportHeight) + ", scrollbars=1";
    s.ActiveDocument.GetObject("parentWindow")
        .Call("open", {host::Value{std::string("about:blank")}, host::Value{std::string(kReportWindowName)},
                       host::Value{features}});
}

void CALLBACK ReportRetryTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    WhoisState& m = Module();
    features::EndTimer(m.RetryTimer, id);
    if (!Info().ReportRequested) return;
    RunStep("ReportRetryTimer", [&] {
        host::SendMessageA(State().MainFrameWnd, WM_COMMAND, kCmdPopupFilter, 0);
        m.FilterToggled = true;
    });
    RunStep("ReportRetryTimer", OpenReportWindow);
}

std::string ReportBodyHtml() {
    const WhoisState& m = Module();
    return "<base href='" + EscapeHtml(m.RequestUrl) + "'>" +
           "<div id=header style='padding:5px; font:12px Verdana; font-weight:bold; "
           "background-color:#577CB2; color:#FFFFFF'>" +
           EscapeHtml(m.Registry) + " WHOIS database for " + EscapeHtml(m.ReportAddress) + "</div>" +
           "<pre>" + EscapeHtml(m.ReportText) + "</pre>";
}

void FillReport() {
    SharedState& s = State();
    WhoisState& m = Module();
    const host::Object window = s.ActiveDocument.GetObject("parentWindow");
    if (window.GetText("name").value_or("") != kReportWindowName) return;
    m.ReportWnd = ActiveMdiChild();
    Info().ReportRequested = false;
    RunStep([&] { window.ExecScript("onerror=function(){return(true)}", "JScript"); });
    const host::Object body = s.ActiveDocument.GetObject("body");
    RunStep([&] {
        const host::Object style = body.GetObject("style");
        style.Put("fontSize", std::string("9pt"));
        style.Put("backgroundColor", std::string("#eceadf"));
        body.Put("topMargin", std::int32_t{10});
    });
    RunStep([&] { s.ActiveDocument.Put("title", std::string("WHOIS Report")); });
    RunStep([&] { body.Put("innerHTML", ReportBodyHtml()); });
    if (m.FilterToggled) {
        RunStep([] { host::SendMessageA(State().MainFrameWnd, WM_COMMAND, kCmdPopupFilter, 0); });
        m.FilterToggled = false;
    }
}

}  // namespace tillwick
