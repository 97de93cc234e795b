// The host's tab context menu gets a "Close All" submenu, a
// plugin submenu and an "Other Options" submenu each time it opens. The
// submenus outlive the host's menu: they are taken out of it before the host
// destroys it, and destroyed when their feature stops.
#include <array>
#include <memory>
#include <string>

#include "base/errors.h"
#include "core/feature.h"
#include "core/host_contract.h"
#include "core/state.h"
#include "core/text_pattern.h"
#include "core/wrapper.h"
#include "menus/context_menus.h"
#include "menus/menu_regroup.h"
#include "menus/menu_state.h"
#include "menus/plugin_menu.h"

namespace tillwick {
namespace {

namespace c = contract;

constexpr UINT kCloseItemId = 178;
constexpr UINT kPluginItemId = 188;
constexpr UINT kOtherItemId = 198;
constexpr std::array<UINT, 3> kOwnIds = {kCloseItemId, kPluginItemId, kOtherItemId};

TabMenuState& Module() noexcept { return TabMenuData(); }
PluginMenuState& Plugins() noexcept { return TabMenuData().Plugins; }
using Timers = PluginMenuTimers<&Plugins>;

struct CloseEntry {
    UINT id;  // 0: a separator
    std::string_view section;
    std::string_view text;
};
constexpr CloseEntry kCloseEntries[] = {
    {c::kCmdCloseAllButCurrent, "MENU_CLOSES", "Close All Except Current"},
    {c::kCmdCloseLeft, "MENU_CLOSES", "Close All on the Left"},
    {c::kCmdCloseRight, "MENU_CLOSES", "Close All on the Right"},
    {0, {}, {}},
    {c::kCmdCloseBlankAndError, "MENU_CLOSES", "Close Blank and &Error"},
    {0, {}, {}},
    {c::kCmdCloseSameSite, "MENU_CLOSES", "Close All From Same Site"},
    {c::kCmdCloseAllButSameSite, "MENU_CLOSES", "Close All Except From Same Site"},
    {0, {}, {}},
    {c::kCmdCloseAllUnlocked, "MENU_RTAB", "Close All Unlocked"},
};

void DestroyMenuOf(HMENU& menu) noexcept {
    if (menu) host::DestroyMenu(menu);
    menu = nullptr;
}

// Our submenus leave the host's menu before the host destroys it.
void DetachSubmenus(TabMenuState& m) noexcept {
    if (!m.Inserted) return;
    m.Inserted = false;
    for (UINT id : kOwnIds) host::RemoveMenu(m.HostMenu, id, MF_BYCOMMAND);
}

void InsertClose(TabMenuState& m, bool onTop) {
    const int hostCloseAll = onTop ? c::kTabMenuCloseAllPosTabsOnTop : c::kTabMenuCloseAllPos;
    if (host::GetMenuItemID(m.HostMenu, hostCloseAll) == c::kCmdCloseAll)
        host::RemoveMenu(m.HostMenu, static_cast<UINT>(hostCloseAll), MF_BYPOSITION);
    const std::string text = HostLanguageText(std::to_string(c::kCmdCloseAll), "Close All", "MENU_MAIN");
    InsertSubmenuItem(m.HostMenu, onTop ? 1 : 17, kCloseItemId, text, m.CloseSubmenu);
    m.Inserted = true;
}

void InsertOther(TabMenuState& m, bool onTop, bool closeOn) {
    const ItemPick pick{*m.OtherMatcher, m.OtherCaption, kOwnIds};
    // Built at the first opening and kept: later openings show the same copies.
    if (!m.OtherSubmenu) m.OtherSubmenu = CopyMatchingItems(m.HostMenu, pick).popup;
    if (!m.OtherSubmenu) return;
    const int n = host::GetMenuItemCount(m.HostMenu);
    const int cl = closeOn ? 1 : 0;
    InsertSubmenuItem(m.HostMenu, onTop ? cl + 2 : n - cl - 2, kOtherItemId, m.OtherCaption, m.OtherSubmenu);
    m.Inserted = true;
    RemoveMatchingItems(m.HostMenu, pick);
    TidySeparators(m.HostMenu);
}

void OnInitMenu(HMENU menu) {
    TabMenuState& m = Module();
    const SharedState& s = State();
    DetachSubmenus(m);  // from a loop whose end we did not see
    m.HostMenu = menu;
    const bool onTop = s.TabBarOnTop;
    const int marker = onTop ? c::kTabMenuMarkerPosTabsOnTop : c::kTabMenuMarkerPos;
    if (host::GetMenuItemID(menu, marker) != c::kCmdTabBarBottom) return;  // not the tab menu
    // A loop that ended while the global modifier key was held passed us by,
    // and the host destroyed its menu with our submenus in it: make them anew.
    if (s.TabMenuOn && !host::IsMenu(m.CloseSubmenu)) RunStep(&StartTabMenu);
    if (s.TabPluginMenuOn && m.Plugins.PluginPopup && !host::IsMenu(m.Plugins.PluginPopup))
        RunStep(&StartTabPluginMenu);
    if (m.OtherSubmenu && !host::IsMenu(m.OtherSubmenu)) m.OtherSubmenu = nullptr;
    const bool closeOn = s.TabMenuOn && m.CloseSubmenu;
    if (closeOn) RunStep([&] { InsertClose(m, onTop); });
    if (s.TabPluginMenuOn && PluginMenuReady(m.Plugins)) {
        RunStep([&] {
            InsertSubmenuItem(menu, onTop ? (closeOn ? 2 : 1) : 17, kPluginItemId, m.PluginCaption,
                              m.Plugins.PluginPopup);
            m.Inserted = true;
        });
    }
    if (s.TabOtherMenuOn && m.OtherMatcher) RunStep([&] { InsertOther(m, onTop, closeOn); });
}

}  // namespace

LRESULT TabMenuMessage(HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
    TabMenuState& m = Module();
    switch (msg) {
        case WM_INITMENU:
            OnInitMenu(reinterpret_cast<HMENU>(wParam));
            break;
        case WM_INITMENUPOPUP:
        case WM_MENUSELECT:
        case WM_UNINITMENUPOPUP:
            if (State().TabPluginMenuOn) RunStep([&] { TrackPluginMenu(m.Plugins, msg, wParam, &Timers::Launch); });
            if (IsMenuLoopEnd(msg, wParam, m.HostMenu)) DetachSubmenus(m);
            break;
        case WM_CAPTURECHANGED:
            DetachSubmenus(m);
            break;
        default:
            break;
    }
    return msg;
}

void StartTabMenu() {
    TabMenuState& m = Module();
    DetachSubmenus(m);
    DestroyMenuOf(m.CloseSubmenu);
    HMENU menu = host::CreatePopupMenu();
    if (!menu) throw StepError("no popup menu");
    for (const CloseEntry& e : kCloseEntries) {
        if (e.id == 0)
            host::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        else
            host::AppendMenuA(menu, MF_STRING, e.id, HostLanguageText(std::to_string(e.id), e.text, e.section).c_str());
    }
    m.CloseSubmenu = menu;
    State().TabMenuOn = true;
}

void StopTabMenu() noexcept {
    State().TabMenuOn = false;
    DetachSubmenus(Module());
    DestroyMenuOf(Module().CloseSubmenu);
}

void StartTabPluginMenu() {
    TabMenuState& m = Module();
    DetachSubmenus(m);
    m.PluginCaption = LanguageText("037", "Maxthon Plugins");
    BuildPluginMenu(m.Plugins, Setting::TabPluginInclude, Setting::TabPluginDropDown);
    State().TabPluginMenuOn = true;
}

void StopTabPluginMenu() noexcept {
    State().TabPluginMenuOn = false;
    DetachSubmenus(Module());
    DestroyPluginMenu(Module().Plugins);
}

void StartTabOtherMenu() {
    TabMenuState& m = Module();
    DetachSubmenus(m);
    DestroyMenuOf(m.OtherSubmenu);
    m.OtherCaption = LanguageText("039", "Other Options");
    const std::string pattern = SettingText(Setting::TabOtherInclude);
    m.OtherMatcher = pattern.empty() ? nullptr : std::make_shared<const TextPattern>(pattern);
    State().TabOtherMenuOn = true;
}

// The copies were made with the old pattern: the next start copies afresh.
void StopTabOtherMenu() noexcept {
    State().TabOtherMenuOn = false;
    DetachSubmenus(Module());
    DestroyMenuOf(Module().OtherSubmenu);
}

TabMenuState& TabMenuData() noexcept {
    static TabMenuState data;
    return data;
}

namespace {
constexpr MessageSet kActsOn{WM_INITMENU, WM_INITMENUPOPUP, WM_MENUSELECT, WM_UNINITMENUPOPUP, WM_CAPTURECHANGED};
// One row serves the three submenus.
constexpr DispatchRow kRows[] = {
    Row(HookedWindow::MainFrame, 130, kBypassable,
        {&SharedState::TabMenuOn, &SharedState::TabPluginMenuOn, &SharedState::TabOtherMenuOn},
        &ByValue<&TabMenuMessage>, ResultUse::Ignored, kActsOn),
};
}  // namespace

constinit const Feature kTabMenuFeature{.name = "tab menu: Close All",
                                        .setting = Setting::TabMenu,
                                        .start = &Run<&StartTabMenu>,
                                        .stop = &StopTabMenu,
                                        .running = &SharedState::TabMenuOn,
                                        .rows = kRows,
                                        .reset = [] { TabMenuData() = {}; }};
constinit const Feature kTabPluginMenuFeature{.name = "tab menu: plug-ins",
                                              .setting = Setting::TabPluginMenu,
                                              .start = &Run<&StartTabPluginMenu>,
                                              .stop = &StopTabPluginMenu,
                                              .running = &SharedState::TabPluginMenuOn};
constinit const Feature kTabOtherMenuFeature{.name = "tab menu: other items",
                                             .setting = Setting::TabOtherMenu,
                                             .start = &Run<&StartTabOtherMenu>,
                                             .stop = &StopTabOtherMenu,
                                             .running = &SharedState::TabOtherMenuOn};

}  // namespace tillwick
