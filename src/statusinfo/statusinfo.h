// The status-bar information modules' procedures that other units call:
// zone_icon.cpp, status_bar_info.cpp and the WHOIS lookup (whois.cpp). The entry
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/host.h"

namespace tillwick {

// ---- zone_icon.cpp
void ShowZoneIconWindow();
void HideZoneIconWindow();
void UpdateZone();
// The zone name of the active page; empty while the information line does not show zones.
const std::string& ZoneName();

// ---- status_bar_info.cpp
void ShowInfoText();
// 50 ms one shot; ShowStatusBar also runs it directly.
void CALLBACK InfoRedrawTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept;
// The active page's host name, as its document's location gives it.
std::string ActivePageHost();
// The active page's address begins with "http", "ftp:" or "file:" (any case).
bool PageHasWebAddress();

// ---- the WHOIS lookup
// The address text of a host name's addresses: the first IPv4 one, else the
// first; " " (one blank) when it has none.
std::string AddressText(const std::vector<host::ResolvedAddress>& addresses);
// The status bar's "WHOIS Report" command: the active page's address is
// resolved if need be, off the UI thread, and looked up for a report.
void RequestWhoisReport();
void CALLBACK ResolveTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept;
void CALLBACK WhoisPoll(HWND, UINT, UINT_PTR id, DWORD) noexcept;
void CALLBACK ReportRetryTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept;
void WhoisLookup(const std::string& address, std::string_view registry);
void OpenReportWindow();
// Ends the running request and the lookup's timers.
void StopWhois() noexcept;
std::string ExtractField(std::string_view field, std::string_view text);
// The cache in the scratch file: "Address" by host name, "Location" by address.
std::string CachedAddress(const std::string& hostName);
std::string CachedLocation(const std::string& address);
void CacheAddress(const std::string& hostName, const std::string& address);
void CacheLocation(const std::string& address, const std::string& location);
// What FillReport puts into the report page's body: every text from the
// network or the page escaped, the report in one pre of our own.
std::string ReportBodyHtml();

// ---- small text helpers shared by the three modules
std::string LowerText(std::string_view text);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// zone_icon.cpp: the zone icon's placement and the zone names.
void LoadZoneNames();
// status_bar_info.cpp.
void RefreshInfo();
bool StatusInfoZoneOn();        // the information line shows the zone
std::string StatusInfoText();   // the line it writes into the status bar
bool WhoisReportShowing();
// whois.cpp: the WHOIS report window's text for the active tab.
void FillReport();

// The feature's entry points: its start and stop, and its message handlers.
LRESULT StatusBarInfoMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
LRESULT ZoneIconMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
void StartZoneIcon();
void StartStatusBarInfo();
void StopZoneIcon() noexcept;
void StopStatusBarInfo() noexcept;

// Its rows of the feature table (src/plugin/feature_table.cpp).
struct Feature;
extern const Feature kZoneIconFeature;
extern const Feature kStatusBarInfoFeature;

}  // namespace tillwick
