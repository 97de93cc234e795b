// The address lookup and the WHOIS lookup: the active page's address through name
// resolution, its country from the registries' WHOIS services asked in turn,
// both cached in the scratch file; on request the registry's full answer in a
// report window of its own.
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "base/errors.h"
#include "core/host_contract.h"
#include "core/html_escape.h"
#include "core/startup.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "features/feature_timers.h"
#include "statusinfo/statusinfo.h"
#include "statusinfo/statusinfo_state.h"
#include "statusinfo/whois_answer.h"

namespace tillwick {
namespace {

constexpr UINT kPollMs = 100;
// A request or name lookup without an answer after this many polls counts as none.
constexpr std::int32_t kPollLimit = static_cast<std::int32_t>(host::kHttpDeadlineMs / kPollMs);
constexpr UINT kRetryMs = 1000;
constexpr std::string_view kReportWindowName = "WHOIS";

WhoisState& Module() noexcept { return StatusInfoData().Whois; }
StatusBarInfoState& Info() noexcept { return StatusInfoData().Info; }

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

void EndNameLookup() {
    WhoisState& m = Module();
    features::EndTimer(m.LookupTimer);
    if (m.Lookup != 0) host::CancelNameLookup(m.Lookup);
    m.Lookup = 0;
}

// The address shown for the active page: its host's cached address.
bool IsActivePageAddress(const std::string& address) {
    const std::string& host = Info().HostName;
    return !host.empty() && CachedAddress(host) == address;
}

// Cached for the address asked about; shown only while its page is the active one.
void ShowLocation(const std::string& address, const std::string& location) {
    StatusBarInfoState& info = Info();
    CacheLocation(address, location);
    if (!IsActivePageAddress(address)) return;
    info.LocationText = info.LocationLabel + location;
    ShowInfoText();
}

// The report cannot be made for `what`: the user hears so, and the location
// lookups of later pages run again.
void ReportNotFound(const std::string& what) {
    Info().ReportRequested = false;
    host::MessageBoxA(State().MainFrameWnd, (LanguageText("076", "Cannot find WHOIS report for: ") + what).c_str(),
                      "", MB_OK);
}

void OnAddress(const std::string& hostName, const std::string& address, bool forReport) {
    StatusBarInfoState& info = Info();
    CacheAddress(hostName, address);
    if (forReport) {
        if (IsLookupAddress(address))
            WhoisLookup(address, "ARIN");
        else
            ReportNotFound(hostName);
        return;
    }
    if (info.HostName != hostName) return;  // the page has moved on meanwhile
    info.IpText = info.IpLabel + address;
    ShowInfoText();
    if (info.ShowLocation && !info.ReportRequested) WhoisLookup(address, "ARIN");
}

void CALLBACK NameLookupPoll(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    WhoisState& m = Module();
    std::optional<std::vector<host::ResolvedAddress>> addresses;
    RunStep("NameLookupPoll", [&] { addresses = host::PollNameLookup(m.Lookup); });
    if (!addresses && ++m.LookupPolls < kPollLimit) return;
    features::EndTimer(m.LookupTimer, id);
    const std::string hostName = m.LookupHost;
    const bool forReport = m.LookupForReport;
    RunStep("NameLookupPoll", EndNameLookup);
    RunStep("NameLookupPoll", [&] {
        if (addresses)
            OnAddress(hostName, AddressText(*addresses), forReport);
        else if (forReport)
            ReportNotFound(hostName);  // a resolver that does not answer; nothing is cached
    });
}

// Resolves `hostName` on a worker thread; the answer arrives through NameLookupPoll.
void StartNameLookup(const std::string& hostName, bool forReport) {
    WhoisState& m = Module();
    EndNameLookup();
    m.LookupHost = hostName;
    m.LookupForReport = forReport;
    m.LookupPolls = 0;
    m.Lookup = host::StartNameLookup(hostName);
    if (m.Lookup != 0)
        features::RestartTimer(m.LookupTimer, kPollMs, &NameLookupPoll);
    else if (forReport)
        ReportNotFound(hostName);
}

std::string NewReportName() {
    std::random_device random;
    char suffix[17] = {};
    std::snprintf(suffix, sizeof(suffix), "%08X%08X", static_cast<unsigned>(random()), static_cast<unsigned>(random()));
    return std::string(kReportWindowName) + suffix;
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
    m.ReportRetried = false;
    features::RestartTimer(m.RetryTimer, kRetryMs, &ReportRetryTimer);
}

// The chain has run out of registries.
void NothingFound(const std::string& address) {
    if (!Info().ReportRequested)
        ShowLocation(address, LanguageText("075", "Unknown"));
    else
        ReportNotFound(address);
}

void OnAnswer(const std::string& body) {
    const WhoisState& m = Module();
    const std::string address = m.Address;  // the one asked about, whatever page is active now
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

std::string AddressText(const std::vector<host::ResolvedAddress>& addresses) {
    for (const auto& a : addresses)
        if (!a.ipv6) return a.text;
    return addresses.empty() ? std::string(" ") : addresses.front().text;
}

void CALLBACK ResolveTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    StatusBarInfoState& info = Info();
    features::EndTimer(info.ResolveTimer, id);
    RunStep("ResolveTimer", [&] {
        if (!PageHasWebAddress() || info.HostName.empty()) return;
        const WhoisState& m = Module();
        if (m.Lookup != 0 && m.LookupForReport) return;  // the report's lookup goes first
        StartNameLookup(info.HostName, false);
    });
}

void RequestWhoisReport() {
    StatusBarInfoState& info = Info();
    info.ReportRequested = true;
    const std::string site = ActivePageHost();
    info.HostName = site;
    const std::string address = CachedAddress(site);
    if (site.empty())
        ReportNotFound(State().ActiveDocument.GetText("URL").value_or(""));
    else if (address.empty())
        StartNameLookup(site, true);
    else if (IsLookupAddress(address))
        WhoisLookup(address, "ARIN");
    else
        ReportNotFound(site);
}

void WhoisLookup(const std::string& address, std::string_view registry) {
    WhoisState& m = Module();
    EndRequest();
    features::EndTimer(m.PollTimer);
    m.Registry = std::string(registry);
    m.Address = address;
    if (!IsLookupAddress(address)) return;
    const auto request = WhoisRequest(registry, WhoisEndpoint(registry), address);
    if (!request) return;
    m.RequestUrl = request->url;
    m.Request = host::StartHttpRequest(*request);
    m.PollCount = 0;
    if (m.Request != 0)
        features::RestartTimer(m.PollTimer, kPollMs, &WhoisPoll);
    else if (Info().ReportRequested)
        ReportNotFound(address);
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
    RunStep(EndNameLookup);
    features::EndTimer(m.PollTimer);
    features::EndTimer(m.RetryTimer);
    Info().ReportRequested = false;
}

// The report opens through the host's browser object, not through a page's
// `open`, which the page may have replaced: the window is ours from the start.
void OpenReportWindow() {
    WhoisState& m = Module();
    if (m.ReportName.empty()) m.ReportName = NewReportName();
    State().CurrentBrowser.Call("Navigate2", {std::string("about:blank"), std::int32_t{0}, m.ReportName});
}

void CALLBACK ReportRetryTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    WhoisState& m = Module();
    StatusBarInfoState& info = Info();
    features::EndTimer(m.RetryTimer, id);
    if (!info.ReportRequested) return;
    if (m.ReportRetried) {
        // Not even the second window loaded: the report is given up, and the
        // location lookups of later pages run again.
        info.ReportRequested = false;
        return;
    }
    m.ReportRetried = true;
    // The host's filter may have stopped the window: off for this one opening
    // when it is on, and back as it was right after.
    const SharedState& s = State();
    const auto switchFilter = [&] { host::SendMessageA(s.MainFrameWnd, WM_COMMAND, contract::kCmdPopupFilter, 0); };
    const bool filterWasOn = s.PopupFilterEnabled;
    if (filterWasOn) RunStep("ReportRetryTimer", switchFilter);
    RunStep("ReportRetryTimer", OpenReportWindow);
    if (filterWasOn) RunStep("ReportRetryTimer", switchFilter);
    features::RestartTimer(m.RetryTimer, kRetryMs, &ReportRetryTimer);
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
    // Only the blank window we opened: a page that names its window alike gets nothing.
    if (m.ReportName.empty() || window.GetText("name").value_or("") != m.ReportName ||
        s.ActiveDocument.GetText("URL").value_or("") != "about:blank")
        return;
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
}

}  // namespace tillwick
