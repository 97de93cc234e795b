// The host's tab bar hidden either until
// the mouse comes near the page edge on the tab bar's side (it then floats
// over the page), or while fewer than two tabs are open.
//
// StartHideTabBar, StartHideLastTab, HideTabBarMessage, HideLastTabMessage
#pragma once

#include <cstdint>
#include "host/host.h"

namespace tillwick {

// hide_tab_bar.cpp: the mouse mode and the last-tab mode.
struct HideTabBarState {
    std::int32_t HotArea = 15;
    std::int32_t TimeDelay = 250;
    RECT SavedClientRect{};
    bool PendingShowTabBar = false;
    UINT_PTR TabBarTimer = 0;
    UINT_PTR TabBarRelayoutTimer = 0;
    UINT_PTR LastTabTimer = 0;
};
HideTabBarState& HideTabBarData() noexcept;

// Give the tab bar its place back and clear the dispatch flag.
void StopHideTabBar() noexcept;
void StopHideLastTab() noexcept;

// Show or hide the window only, without re-layout: the shown bar lies over the page.
void ShowTabBarNow();
void HideTabBarNow();
// Hidden now, back at the next timer tick.
void FlashTabBar();
// The last-tab mode's decision: the host's bar shown exactly while two or more tabs exist.
void UpdateLastTab();

// The feature's entry points: its start and stop, and its message handlers.
LRESULT HideTabBarMessage(HWND& hwnd, UINT& msg, WPARAM& wParam, LPARAM& lParam, LRESULT& result);
LRESULT HideLastTabMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
void StartHideTabBar();
void StartHideLastTab();

// Its rows of the feature table (src/plugin/feature_table.cpp).
struct Feature;
extern const Feature kTabBarHidingFeature;

}  // namespace tillwick
