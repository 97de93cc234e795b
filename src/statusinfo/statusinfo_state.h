// The status-bar information modules' own state: the zone icon, the
// information line and the WHOIS lookup with its report window. One member
// of the shared state, so that ResetState() starts all three afresh.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "host/host.h"

namespace tillwick {

inline constexpr std::size_t kZoneCount = 5;

// The zone icon (zone_icon.cpp).
struct ZoneIconState {
    HWND IconWnd = nullptr;
    WINDOWPLACEMENT Placement{};
    std::array<LPARAM, kZoneCount> Icons{};
    LPARAM CurrentIcon = 0;
    std::int32_t CurrentZone = 0;
    std::string ZoneName;
    std::array<std::string, kZoneCount> ZoneNames;
    bool NamesLoaded = false;
    bool HttpsOnly = false;
    // The second step of a move between two zones other than Internet.
    std::int32_t PendingZone = 0;
    std::string PendingHost;
    std::string PendingUrl;
    UINT_PTR ZoneChangeTimer = 0;
};

// The information line (status_bar_info.cpp).
struct StatusBarInfoState {
    bool ShowZone = false;
    bool ShowIP = false;
    bool ShowLocation = false;
    bool ShowProxy = false;
    std::string IpLabel, LocationLabel, ProxyLabel;
    std::string IpText, LocationText, ProxyText;
    std::string HostName;
    bool ReportRequested = false;
    UINT_PTR RedrawTimer = 0;
    UINT_PTR ResolveTimer = 0;
};

// The WHOIS lookup and its report (whois.cpp).
struct WhoisState {
    // The name lookup of one host, on a worker thread.
    host::NameLookupId Lookup = 0;
    std::string LookupHost;
    bool LookupForReport = false;
    UINT_PTR LookupTimer = 0;
    std::int32_t LookupPolls = 0;
    // One WHOIS request at a time, for the address it asks about.
    host::HttpRequestId Request = 0;
    std::string Address;
    std::string Registry;
    std::string RequestUrl;
    UINT_PTR PollTimer = 0;
    std::int32_t PollCount = 0;  // polls without an answer, for the time-out
    std::string ReportText;      // plain text; escaped when it goes into the page
    std::string ReportAddress;
    std::string ReportName;      // the report window's name: unguessable, so no page can take it
    HWND ReportWnd = nullptr;
    UINT_PTR RetryTimer = 0;
    bool ReportRetried = false;  // the window was opened a second time
};

struct StatusInfoModules {
    ZoneIconState Zone;
    StatusBarInfoState Info;
    WhoisState Whois;
};

// The one instance, owned by the feature's unit.
StatusInfoModules& StatusInfoData() noexcept;

}  // namespace tillwick
