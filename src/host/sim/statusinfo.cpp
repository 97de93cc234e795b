// Security zones, icons, name resolution and web requests in the sim: plain
// tables that the tests fill; nothing leaves the process.
#include "host/sim/statusinfo.h"

#include <algorithm>
#include <cctype>

#include "host/sim/sim.h"

namespace host {
namespace {

struct StatusInfoSim {
    std::map<std::string, std::int32_t> zones;
    std::vector<sim::ZoneMappingCall> mappings;
    std::map<std::string, std::uint32_t> registry;
    int securityDialogs = 0;
    std::map<LPARAM, std::string> icons;
    LPARAM nextIcon = 0x1000;
    std::map<std::string, std::vector<ResolvedAddress>> addresses;
    int resolves = 0;
    std::map<NameLookupId, std::string> lookups;  // started, not cancelled
    NameLookupId nextLookup = 0;
    std::vector<sim::SimHttpRequest> requests;
};

StatusInfoSim& S() {
    static StatusInfoSim s;
    return s;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string HostOf(const std::string& url) {
    const auto scheme = url.find("://");
    if (scheme == std::string::npos) return {};
    const auto start = scheme + 3;
    const auto end = url.find_first_of(":/?#", start);
    return Lower(url.substr(start, end == std::string::npos ? std::string::npos : end - start));
}

sim::SimHttpRequest* FindRequest(HttpRequestId id) {
    for (auto& r : S().requests)
        if (r.id == id) return &r;
    return nullptr;
}

}  // namespace

std::optional<std::int32_t> MapUrlToZone(const std::string& url) {
    if (Lower(url).rfind("file:", 0) == 0) return 0;
    const std::string h = HostOf(url);
    if (h.empty()) return std::nullopt;
    const auto it = S().zones.find(h);
    return it == S().zones.end() ? 3 : it->second;
}

bool SetZoneMapping(std::int32_t zone, const std::string& pattern, bool remove) {
    S().mappings.push_back({zone, pattern, remove});
    return true;
}

std::optional<std::uint32_t> ReadUserRegistryDword(const std::string& subKey, const std::string& valueName) {
    const auto it = S().registry.find(Lower(subKey + "\\" + valueName));
    if (it == S().registry.end()) return std::nullopt;
    return it->second;
}

bool LaunchSecurityDialog(HWND) {
    ++S().securityDialogs;
    return true;
}

LPARAM LoadIconFile(const std::string& path) {
    if (!fs::FileExists(path)) return 0;
    const LPARAM icon = S().nextIcon++;
    S().icons[icon] = path;
    return icon;
}

void DestroyIconHandle(LPARAM icon) { S().icons.erase(icon); }

namespace {

std::vector<ResolvedAddress> AddressesOf(const std::string& name) {
    const auto it = S().addresses.find(Lower(name));
    return it == S().addresses.end() ? std::vector<ResolvedAddress>{} : it->second;
}

}  // namespace

// Counted: on Windows it waits for the resolver.
std::vector<ResolvedAddress> ResolveHostName(const std::string& name) {
    ++S().resolves;
    return AddressesOf(name);
}

// A lookup answers at its first poll from the table.
NameLookupId StartNameLookup(const std::string& name) {
    S().lookups[++S().nextLookup] = name;
    return S().nextLookup;
}

std::optional<std::vector<ResolvedAddress>> PollNameLookup(NameLookupId id) {
    const auto it = S().lookups.find(id);
    if (it == S().lookups.end()) return std::nullopt;
    return AddressesOf(it->second);
}

void CancelNameLookup(NameLookupId id) { S().lookups.erase(id); }

HttpRequestId StartHttpRequest(const HttpRequestSpec& request) {
    const auto id = static_cast<HttpRequestId>(S().requests.size() + 1);
    S().requests.push_back({id, request, false, std::nullopt});
    return id;
}

std::optional<HttpResult> PollHttpRequest(HttpRequestId id) {
    const auto* r = FindRequest(id);
    if (r == nullptr || r->cancelled) return std::nullopt;
    return r->answer;
}

void CancelHttpRequest(HttpRequestId id) {
    if (auto* r = FindRequest(id)) r->cancelled = true;
}

namespace sim {

void SetHostZone(const std::string& hostName, std::int32_t zone) { S().zones[Lower(hostName)] = zone; }
const std::vector<ZoneMappingCall>& ZoneMappingCalls() { return S().mappings; }
void SetUserRegistryDword(const std::string& subKey, const std::string& valueName, std::uint32_t value) {
    S().registry[Lower(subKey + "\\" + valueName)] = value;
}
int SecurityDialogCount() { return S().securityDialogs; }
int LiveIconCount() { return static_cast<int>(S().icons.size()); }
std::string IconPath(LPARAM icon) {
    const auto it = S().icons.find(icon);
    return it == S().icons.end() ? std::string() : it->second;
}
void SetHostAddresses(const std::string& name, std::vector<ResolvedAddress> addresses) {
    S().addresses[Lower(name)] = std::move(addresses);
}
int ResolveCount() { return S().resolves; }
int OpenNameLookupCount() { return static_cast<int>(S().lookups.size()); }
const std::vector<SimHttpRequest>& HttpRequests() { return S().requests; }
void AnswerHttpRequest(HttpRequestId id, HttpResult result) {
    if (auto* r = FindRequest(id)) r->answer = std::move(result);
}
int OpenHttpRequestCount() {
    return static_cast<int>(std::count_if(S().requests.begin(), S().requests.end(),
                                          [](const SimHttpRequest& r) { return !r.cancelled; }));
}
void ResetStatusInfo() { S() = StatusInfoSim{}; }

}  // namespace sim
}  // namespace host
