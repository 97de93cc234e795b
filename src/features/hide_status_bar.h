// Keeps the host's status bar hidden and brings it back
// while the mouse is at the bottom of the page, while a page opens, briefly
// for a status message and after switching to a tab of another site.
//
// StartHideStatusBar, HideStatusBarMessage and StatusBarTabSwitch are
#pragma once

#include <cstdint>
#include <string>
#include "host/host.h"

#include <string_view>

namespace tillwick {

// hide_status_bar.cpp: settings copied at start, and its four one-shot timers.
struct HideStatusBarState {
    bool ShowStatusMessage = false;
    bool ShowSwitchTab = false;
    std::int32_t HotArea = 7;
    std::int32_t TimeDelay = 250;
    std::string OpeningKeyword = "opening";  // lower case
    bool PendingShow = false;
    bool PageDone = false;  // the host's "done" text was swallowed before the bar got it
    std::string LastHost;
    UINT_PTR RevealTimer = 0;
    UINT_PTR MessageTimer = 0;
    UINT_PTR BlockTimer = 0;
    UINT_PTR HoldTimer = 0;
};
HideStatusBarState& HideStatusBarData() noexcept;

// Gives the status bar its place back and clears the dispatch flag.
void StopHideStatusBar() noexcept;
// Both do nothing when the bar already is as asked.
void ShowStatusBar();
void HideStatusBarNow();
// A page is loading: the address-bar progress is showing, or the host's
// progress part of the status bar has its loading width.
bool IsPageBusy();
// The status information may write its line: the bar is not held up for a host message.
bool StatusBarFreeForInfo();
// The host's "done" text was swallowed before it reached the bar: the
// pending message check treats the page as done.
void StatusBarPageDone();
// A status text (lower case) that deserves to bring the bar up.
bool MessageWorthShowing(std::string_view lowerText);

// The feature's entry points: its start and stop, and its message handlers.
LRESULT HideStatusBarMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
void StartHideStatusBar();
void StatusBarTabSwitch();

// Its rows of the feature table (src/plugin/feature_table.cpp).
struct Feature;
extern const Feature kHideStatusBarFeature;

}  // namespace tillwick
