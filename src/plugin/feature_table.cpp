// The feature table: every feature of the plugin, in the order the design
// needs. Start-up runs the starts in this order (those that start when their
// window is found run then); Apply restarts in it; the teardown stops in the
// reverse order; notices and the diagnostics report follow it.
//
// Each hooked window runs its rows in rank order, whatever row holds them:
//   main frame   0 combined button (Stop), panels (command) - 10 last-tab exit -
//                20 pop-up filter toggle - 30 status bar hiding - 40 status-bar
//                information - 50 tab bar hiding - 60 always on top - 70 title
//                hiding - 80 Options-menu entry - 90 search-engine order -
//                100 group addresses - 110 progress bar - 120 highlight -
//                130 tab menu - 140 page menu
//   MDI client   10 progress bar - 20 last-tab mode - 30 tab bar hiding
//   rebar        10 tab bar hiding
//   tab bar      10 tab hover - 20 tab bar hiding
//   status bar   10 status bar hiding - 20 tab bar hiding - 30 zone icon -
//                40 panels - 50 status-bar information (always)
//   page window  10 status bar hiding - 20 tab bar hiding
//   address and search boxes   10 Paste and Go
//   address box and overlay    10 highlight, after the host's procedure
//
// Adding a feature: write its unit with its descriptor, and add it here.
#include "core/feature.h"
#include "core/startup.h"
#include "features/address_bar.h"
#include "features/always_on_top.h"
#include "features/hide_status_bar.h"
#include "features/hide_tab_bar.h"
#include "features/hide_title.h"
#include "features/paste_go.h"
#include "features/tab_hover.h"
#include "features/tab_lock.h"
#include "features/toggle_filter.h"
#include "menus/context_menus.h"
#include "menus/host_menus.h"
#include "options/options_dialog.h"
#include "statushtml/status_html.h"
#include "statusinfo/statusinfo.h"

namespace tillwick {
namespace {

constexpr const Feature* kTable[] = {
    &kFirstTabFeature,
    &kTabLockFeature,
    &kAlwaysOnTopFeature,
    &kHideTitleFeature,
    &kLastTabExitFeature,
    &kTabToolTipsFeature,
    &kTabHoverFeature,
    &kToggleFilterFeature,
    &kPasteGoFeature,
    &kShowInMenuFeature,
    &kTabMenuFeature,
    &kTabPluginMenuFeature,
    &kTabOtherMenuFeature,
    &kPageExtensionMenuFeature,
    &kPagePluginMenuFeature,
    &kPageOtherMenuFeature,
    &kSortSearchFeature,
    &kTabBarHidingFeature,
    &kStatusHtmlFeature,
    // Starts once the status-bar images are taken; a tab change reaches it
    // after the panels and before the information line.
    &kHideStatusBarFeature,
    &kZoneIconFeature,
    &kStatusBarInfoFeature,
    &kGroupUrlFeature,
    &kOpenGroupConfirmFeature,
    &kGlobalModifierFeature,
    // Started when their tool bar or box is found.
    &kCombineButtonsFeature,
    &kHighlightComboFeature,
    &kProgressBarFeature,
    &kHidePluginFeature,
    &kPatternDiagnosticsFeature,
    &kOptionsDialogFeature,
};

}  // namespace

std::span<const Feature* const> FeatureTable() noexcept { return kTable; }

}  // namespace tillwick
