// Keeps the host's status bar hidden and brings it back
// while the mouse is at the bottom of the page, while a page opens, briefly
// for a status message and after switching to a tab of another site.
//
// StartHideStatusBar, HideStatusBarMessage and StatusBarTabSwitch are
// declared in core/feature_hooks.h.
#pragma once

#include <string_view>

namespace tillwick {

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

}  // namespace tillwick
