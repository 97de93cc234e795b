// The plugin submenu of a context menu: built from the host's plugin list,
// followed through the host's menu loop, and the picked entry launched just
// after the loop (the host's own plugin command, or the plugin's script run
// in the active page). The tab menu and the page menu each keep one.
#pragma once

#include "host/host.h"
#include "menus/menu_state.h"
#include "settings/settings_catalogue.h"

namespace tillwick {

// Item ids inside a plugin submenu.
inline constexpr std::int32_t kTopScriptIdBase = 9001;     // + k: k-th plain script entry
inline constexpr std::int32_t kDropDownScriptIdBase = 8001;  // + m: m-th script entry of the drop-downs
inline constexpr std::int32_t kDropDownItemIdBase = 7001;  // + i: the item carrying plugin i's drop-down
// Ids the launch accepts: 9001..9049 and 8001..8199 (so that a host item
// highlighted on the way out is never taken for ours). Entries that would
// get an id outside these ranges are left out of the menu.
inline constexpr std::int32_t kTopScriptIdLimit = 9050;
inline constexpr std::int32_t kDropDownScriptIdLimit = 8200;

// Replaces the popup with one built from the current plugin list; the
// pattern is the setting `include`, drop-downs are on when `dropDown` is "1".
void BuildPluginMenu(PluginMenuState& m, Setting include, Setting dropDown);
// The popup goes, a launch not yet run is dropped, and a pop-up filter
// switched off for a launch is switched on again at once.
void DestroyPluginMenu(PluginMenuState& m) noexcept;
// Whether the popup is there to be shown: a pattern was set and something matched.
bool PluginMenuReady(const PluginMenuState& m) noexcept;

// Follows WM_INITMENUPOPUP, WM_MENUSELECT and WM_UNINITMENUPOPUP; a picked
// entry is launched by `launch` on a zero-period timer after the loop.
void TrackPluginMenu(PluginMenuState& m, UINT msg, WPARAM wParam, TIMERPROC launch);
void RunPluginCommand(PluginMenuState& m, UINT_PTR firing, TIMERPROC restoreFilter) noexcept;
void RestorePopupFilter(PluginMenuState& m, UINT_PTR firing) noexcept;

// The timer procedures of one instance, bound to its state.
template <PluginMenuState& (*Of)() noexcept>
struct PluginMenuTimers {
    static void CALLBACK Launch(HWND, UINT, UINT_PTR id, DWORD) noexcept { RunPluginCommand(Of(), id, &RestoreFilter); }
    static void CALLBACK RestoreFilter(HWND, UINT, UINT_PTR id, DWORD) noexcept { RestorePopupFilter(Of(), id); }
};

// The page script of a script plugin as it is run: the first opening and the
// first closing script tag removed, the security id marker replaced by the
// id as an escaped script string.
std::string PreparePluginScript(std::string text, std::string_view securityId);

}  // namespace tillwick
