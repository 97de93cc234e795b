// The host's tab bar hidden either until
// the mouse comes near the page edge on the tab bar's side (it then floats
// over the page), or while fewer than two tabs are open.
//
// StartHideTabBar, StartHideLastTab, HideTabBarMessage, HideLastTabMessage
// and CountTabs are declared in core/feature_hooks.h.
#pragma once

namespace tillwick {

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

}  // namespace tillwick
