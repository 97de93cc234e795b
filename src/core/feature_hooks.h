// The entry points of the feature modules that the spine calls: start
// operations from the start table, message handlers from the window
// procedures' tables, and the calls made on a tab change, on browser events
// and on the plugin's command.
//
// Each is defined by its feature's own unit.
#pragma once

#include <cstdint>
#include <string>

#include "host/host.h"

namespace tillwick {

// ---- message handlers --------------------------------------------------------
// The feature handler form: window, message, wParam, lParam and a result slot.
// What the returned value means is said by the window procedure's table:
// nothing, the message number to pass on (0 consumes it), or the lParam.
LRESULT TabExitMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);       // tab_exit.cpp
LRESULT ToggleFilterMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);  // toggle_filter.cpp
LRESULT HideStatusBarMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result); // hide_status_bar.cpp
LRESULT StatusBarInfoMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result); // status_bar_info.cpp
// The one handler that may change the message it is handed.
LRESULT HideTabBarMessage(HWND& hwnd, UINT& msg, WPARAM& wParam, LPARAM& lParam, LRESULT& result); // hide_tab_bar.cpp
LRESULT HideLastTabMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);   // hide_tab_bar.cpp
LRESULT AlwaysOnTopMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);   // always_on_top.cpp
LRESULT HideTitleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);     // hide_title.cpp
LRESULT ShowInMenuMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);    // show_in_menu.cpp
LRESULT SortSearchMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);    // sort_search.cpp
LRESULT GroupUrlMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);      // group_url.cpp
LRESULT ProgressBarMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);   // address bar
LRESULT HighlightComboMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result); // address bar
LRESULT TabMenuMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);       // tab_menu.cpp
LRESULT PageMenuMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);      // page menus
LRESULT TabHoverMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);      // tab_hover.cpp
LRESULT ZoneIconMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);      // zone icon
LRESULT StatusHtmlBarMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result); // status_html.cpp
LRESULT PasteGoMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);       // paste_go.cpp

// ---- start operations (the start table and the discovery callbacks) ----------
void LockStartupTabs();         // tab_lock.cpp
void RegisterOnTopHotKey();     // always_on_top.cpp
void StartHideTitle();          // hide_title.cpp
void StartTabHover();           // tab_hover.cpp
void StartToggleFilter();       // toggle_filter.cpp
void StartTabMenu();            // tab_menu.cpp
void StartTabPluginMenu();      // tab_menu.cpp
void StartTabOtherMenu();       // tab_menu.cpp
void StartPageExtensionMenu();  // page menus
void StartPagePluginMenu();     // page menus
void StartPageOtherMenu();      // page menus
void StartSortSearch();         // sort_search.cpp
void StartHideTabBar();         // hide_tab_bar.cpp
void StartHideLastTab();        // hide_tab_bar.cpp
void StartZoneIcon();           // zone icon
void StartStatusBarInfo();      // status_bar_info.cpp
void StartHideStatusBar();      // hide_status_bar.cpp
void StartStatusHtml();         // status_html.cpp
void StartCombineButtons();     // address bar: the combined Refresh/Stop button
void StartHighlightCombo();     // address bar: the secure-page highlight
void StartProgressBar();        // address bar: the progress bar
void HidePlugins();             // hide_plugin.cpp
void LoadZoneNames();           // zone icon: its placement and names

// ---- stop operations (the options dialog's Apply restarts features with these) --
void StopTabHover() noexcept;          // tab_hover.cpp
void StopTabMenu() noexcept;           // tab_menu.cpp: the "Close All" submenu
void StopTabPluginMenu() noexcept;     // tab_menu.cpp
void StopTabOtherMenu() noexcept;      // tab_menu.cpp
void StopPageExtensionMenu() noexcept; // page menus
void StopPagePluginMenu() noexcept;    // page menus
void StopPageOtherMenu() noexcept;     // page menus
void StopSortSearch() noexcept;        // sort_search.cpp
void StopZoneIcon() noexcept;          // zone icon
void StopStatusBarInfo() noexcept;     // status_bar_info.cpp
void StopStatusHtml() noexcept;        // status_html.cpp
void ReleaseStatusHtmlStrip() noexcept; // status_html.cpp: stops, then destroys the strip and the view it adopted
void StopCombineButtons() noexcept;    // address bar
void StopHighlightCombo() noexcept;    // address bar
void StopProgressBar() noexcept;       // address bar
void ShowPlugins() noexcept;           // hide_plugin.cpp: gives the hidden buttons back
void StopShowInMenu() noexcept;        // show_in_menu.cpp: removes the Options-menu entry
void StopShowGroupUrl() noexcept;      // group_url.cpp: both group flags off, no status write pending

// ---- tab changes, browser events, queries --------------------------------------
void StatusBarTabSwitch();                    // hide_status_bar.cpp
void RefreshInfo();                           // status_bar_info.cpp
bool StatusInfoZoneOn();                      // status_bar_info.cpp: its zone field is shown
std::string StatusInfoText();                 // status_bar_info.cpp: the line it writes into the status bar
bool WhoisReportShowing();                    // WHOIS report window
void FillReport();                            // WHOIS report window
void ScheduleStripCheck();                    // status_html.cpp
void NotifyStatusHtmlPages(std::int32_t& n);  // status_html.cpp: 0 = tab change, else the command id
void StatusHtmlProgress(std::int32_t progress, std::int32_t progressMax);  // status_html.cpp
void SetCombinedState(std::int32_t& n);       // address bar: 0 loading, 1 loaded
void ProgressBarChange(std::int32_t progress, std::int32_t progressMax);  // address bar
void ScheduleHideProgress();                  // address bar
bool FindRefreshStop();                       // address bar: appends its findings to DiagnosticsText
void AppendProgressDiagnostics();             // address bar: why the progress bar stays off, if it does
void AppendPatternDiagnostics();              // menus: the settings whose pattern cannot be used
void ShowOptionsDialog();                     // the options dialog: creates it on first use, shows it modally
bool GroupUrlLineShowing();                   // group_url.cpp: a group's page address is on the status bar
void StatusHtmlMenuCommand(std::int32_t& n);  // status_html.cpp: a panel choice from the status-bar menu
void OpenPanelEditor();                       // the panel editor, from the options dialog

// ---- small procedures of feature units the spine also needs ------------------
std::int32_t CountTabs();  // hide_tab_bar.cpp: TCM_GETITEMCOUNT of the tab bar
void StartShowInMenu();    // show_in_menu.cpp: switching the entry on is setting its dispatch flag

}  // namespace tillwick
