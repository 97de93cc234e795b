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
LRESULT TabExitMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);       // mdlTabExit
LRESULT ToggleFilterMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);  // mdlToggleFilter
LRESULT HideStatusBarMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result); // mdlHideStatusBar
LRESULT StatusBarInfoMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result); // mdlStatusBarInfo
// The one handler that may change the message it is handed.
LRESULT HideTabBarMessage(HWND& hwnd, UINT& msg, WPARAM& wParam, LPARAM& lParam, LRESULT& result); // mdlHideTabBar
LRESULT HideLastTabMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);   // mdlHideLastTab
LRESULT AlwaysOnTopMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);   // mdlAlwaysOnTop
LRESULT HideTitleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);     // mdlHideTitle
LRESULT ShowInMenuMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);    // mdlShowInMenu
LRESULT SortSearchMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);    // mdlSortSearch
LRESULT GroupUrlMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);      // mdlShowGroupUrl
LRESULT ProgressBarMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);   // address bar
LRESULT HighlightComboMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result); // address bar
LRESULT TabMenuMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);       // mdlTabMenu
LRESULT PageMenuMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);      // page menus
LRESULT TabHoverMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);      // mdlTabHoverAction
LRESULT ZoneIconMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);      // zone icon
LRESULT StatusHtmlBarMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result); // mdlStatusHtml
LRESULT PasteGoMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);       // mdlPasteGo

// ---- start operations (the start table and the discovery callbacks) ----------
void LockStartupTabs();         // mdlTabLock
void RegisterOnTopHotKey();     // mdlAlwaysOnTop
void StartHideTitle();          // mdlHideTitle
void StartTabHover();           // mdlTabHoverAction
void StartToggleFilter();       // mdlToggleFilter
void StartTabMenu();            // mdlTabMenu
void StartTabPluginMenu();      // mdlTabMenu
void StartTabOtherMenu();       // mdlTabMenu
void StartPageExtensionMenu();  // page menus
void StartPagePluginMenu();     // page menus
void StartPageOtherMenu();      // page menus
void StartSortSearch();         // mdlSortSearch
void StartHideTabBar();         // mdlHideTabBar
void StartHideLastTab();        // mdlHideLastTab
void StartZoneIcon();           // zone icon
void StartStatusBarInfo();      // mdlStatusBarInfo
void StartHideStatusBar();      // mdlHideStatusBar
void StartStatusHtml();         // mdlStatusHtml
void StartCombineButtons();     // address bar: the combined Refresh/Stop button
void StartHighlightCombo();     // address bar: the secure-page highlight
void StartProgressBar();        // address bar: the progress bar
void HidePlugins();             // mdlHidePlugin
void LoadZoneNames();           // zone icon: its placement and names

// ---- stop operations (the options dialog's Apply restarts features with these) --
void StopTabHover() noexcept;          // mdlTabHoverAction
void StopTabMenu() noexcept;           // mdlTabMenu: the "Close All" submenu
void StopTabPluginMenu() noexcept;     // mdlTabMenu
void StopTabOtherMenu() noexcept;      // mdlTabMenu
void StopPageExtensionMenu() noexcept; // page menus
void StopPagePluginMenu() noexcept;    // page menus
void StopPageOtherMenu() noexcept;     // page menus
void StopSortSearch() noexcept;        // mdlSortSearch
void StopZoneIcon() noexcept;          // zone icon
void StopStatusBarInfo() noexcept;     // mdlStatusBarInfo
void StopStatusHtml() noexcept;        // mdlStatusHtml
void ReleaseStatusHtmlStrip() noexcept; // mdlStatusHtml: stops, then destroys the strip and the view it adopted
void StopCombineButtons() noexcept;    // address bar
void StopHighlightCombo() noexcept;    // address bar
void StopProgressBar() noexcept;       // address bar
void ShowPlugins() noexcept;           // mdlHidePlugin: gives the hidden buttons back
void StopShowInMenu() noexcept;        // mdlShowInMenu: removes the Options-menu entry
void StopShowGroupUrl() noexcept;      // mdlShowGroupUrl: both group flags off, no status write pending

// ---- tab changes, browser events, queries --------------------------------------
void StatusBarTabSwitch();                    // mdlHideStatusBar
void RefreshInfo();                           // mdlStatusBarInfo
bool StatusInfoZoneOn();                      // mdlStatusBarInfo: its zone field is shown
std::string StatusInfoText();                 // mdlStatusBarInfo: the line it writes into the status bar
bool WhoisReportShowing();                    // WHOIS report window
void FillReport();                            // WHOIS report window
void ScheduleStripCheck();                    // mdlStatusHtml
void NotifyStatusHtmlPages(std::int32_t& n);  // mdlStatusHtml: 0 = tab change, else the command id
void StatusHtmlProgress(std::int32_t progress, std::int32_t progressMax);  // mdlStatusHtml
void SetCombinedState(std::int32_t& n);       // address bar: 0 loading, 1 loaded
void ProgressBarChange(std::int32_t progress, std::int32_t progressMax);  // address bar
void ScheduleHideProgress();                  // address bar
bool FindRefreshStop();                       // address bar: appends its findings to DiagnosticsText
void AppendProgressDiagnostics();             // address bar: why the progress bar stays off, if it does
void AppendPatternDiagnostics();              // menus: the settings whose pattern cannot be used
void ShowOptionsDialog();                     // frmMain: creates it on first use, shows it modally
bool GroupUrlLineShowing();                   // mdlShowGroupUrl: a group's page address is on the status bar
void StatusHtmlMenuCommand(std::int32_t& n);  // mdlStatusHtml: a panel choice from the status-bar menu
void OpenPanelEditor();                       // frmStatusHtml: the panel editor, from the options dialog

// ---- small procedures of feature modules the spine needs already ---------------
// Complete here; they move to their module's unit when it lands.
std::int32_t CountTabs();  // mdlHideTabBar: TCM_GETITEMCOUNT of the tab bar
void StartShowInMenu();    // mdlShowInMenu: switching the entry on is setting its dispatch flag

}  // namespace tillwick
