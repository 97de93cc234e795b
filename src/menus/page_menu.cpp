// The page context menu gets, each time it opens, a
// "Menu Extensions" submenu gathering the entries other software added, a
// plugin submenu and an "Other Options" submenu at its bottom. The first and
// last are made for one opening and destroyed when its loop ends.
#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

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

constexpr UINT kPluginItemId = 118;
constexpr UINT kExtensionItemId = 128;
constexpr UINT kOtherItemId = 138;
constexpr std::array<UINT, 3> kOwnIds = {kPluginItemId, kExtensionItemId, kOtherItemId};

PageMenuState& Module() noexcept { return PageMenuData(); }
PluginMenuState& Plugins() noexcept { return PageMenuData().Plugins; }
using Timers = PluginMenuTimers<&Plugins>;

// Where the extension and plugin items go, told by the menu's first items; -1: not a page menu.
int InsertPosition(HMENU menu) {
    switch (host::GetMenuItemID(menu, 0)) {
        case c::kPageMenuDefaultFirst:
            return 20;
        case c::kPageMenuLinkFirst:
            return host::GetMenuItemID(menu, 5) == c::kPageMenuLinkFifth ? 20 : 12;
        case c::kPageMenuEditFirst:
            return 7;
        case c::kPageMenuSelectionFirst:
            return 6;
        case c::kPageMenuHostFirst:
            return host::GetMenuItemID(menu, 2) == c::kPageMenuLinkFirst ? 14 : 9;
        default:
            return -1;
    }
}

void AddExtensionMenu(PageMenuState& m, int p) {
    HMENU hostMenu = m.HostMenu;
    const TextPattern& pattern = *m.ExtensionMatcher;
    int last = host::GetMenuItemCount(hostMenu) - 3;
    if (p == 9 || p == 6) last += 2;  // these kinds have no closing items
    last = std::min(last, host::GetMenuItemCount(hostMenu) - 1);
    // The extensions' own texts, "&" marks included, are what the pattern sees;
    // all are judged, on one budget, before the menu changes.
    MatchBudget budget;
    std::vector<std::pair<int, MenuItemRead>> picked;
    for (int i = p; i <= last; ++i) {
        MenuItemRead item = ReadMenuItem(hostMenu, i);
        if (!item.separator && !item.submenu && pattern.Matches(item.text, budget))
            picked.emplace_back(i, std::move(item));
    }
    if (picked.empty()) return;
    HMENU e = host::CreatePopupMenu();
    if (!e) throw StepError("no popup menu");
    const bool copied = RunStep([&] {
        for (const auto& [i, item] : picked) host::AppendMenuA(e, MF_STRING, item.id, item.text.c_str());
    });
    if (!copied || host::GetMenuItemCount(e) == 0) {
        host::DestroyMenu(e);
        return;
    }
    for (auto it = picked.rbegin(); it != picked.rend(); ++it)
        host::RemoveMenu(hostMenu, static_cast<UINT>(it->first), MF_BYPOSITION);
    m.ExtensionSubmenu = e;
    m.Inserted = true;
    InsertSubmenuItem(hostMenu, p, kExtensionItemId, m.ExtensionCaption, e);
}

// Item 2137 speaks of windows where the host opens tabs.
void RenameOpenInNew(const PageMenuState& m, HMENU menu, int position, MenuItemRead& item) {
    if (item.id != c::kCmdOpenLinkNewWindow || m.WindowWord.empty()) return;
    std::string text = ReplaceAll(item.text, m.WindowWord, m.TabWord);
    if (text == item.text) return;
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = text.data();
    if (host::SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) item.text = text;
}

void AddOtherMenu(PageMenuState& m) {
    HMENU hostMenu = m.HostMenu;
    const int n = host::GetMenuItemCount(hostMenu);
    const ItemPick pick{*m.OtherMatcher, m.OtherCaption, kOwnIds};
    const CopiedMenu o = CopyMatchingItems(hostMenu, pick, [&](HMENU menu, int position, MenuItemRead& item) {
        RenameOpenInNew(m, menu, position, item);
    });
    if (!o.popup) return;
    m.OtherSubmenu = o.popup;
    m.Inserted = true;
    host::AppendMenuA(hostMenu, MF_SEPARATOR, 0, nullptr);
    InsertSubmenuItem(hostMenu, n + 1, kOtherItemId, m.OtherCaption, o.popup);
    RemoveMatchingItems(hostMenu, pick);
    TidySeparators(hostMenu);
}

void OnInitMenu(HMENU menu) {
    PageMenuState& m = Module();
    const SharedState& s = State();
    m.HostMenu = menu;
    const int p = InsertPosition(menu);
    if (p < 0) return;
    // Destroyed with a host menu whose loop ended while the modifier key was held: made anew.
    if (s.PluginMenuOn && m.Plugins.PluginPopup && !host::IsMenu(m.Plugins.PluginPopup)) RunStep(&StartPagePluginMenu);
    if (s.ExtensionMenuOn && m.ExtensionMatcher) RunStep([&] { AddExtensionMenu(m, p); });
    if (s.PluginMenuOn && PluginMenuReady(m.Plugins)) {
        RunStep([&] {
            InsertSubmenuItem(menu, p, kPluginItemId, m.PluginCaption, m.Plugins.PluginPopup);
            m.Inserted = true;
        });
    }
    if (s.OtherMenuOn && m.OtherMatcher) RunStep([&] { AddOtherMenu(m); });
}

// The copies in the other submenu share the host's submenus: those go back
// into the host's menu, which destroys them with itself as it always did.
void GiveBackHostSubmenus(PageMenuState& m) {
    for (int i = host::GetMenuItemCount(m.OtherSubmenu) - 1; i >= 0; --i) {
        const MenuItemRead item = ReadMenuItem(m.OtherSubmenu, i);
        if (!item.submenu) continue;
        host::RemoveMenu(m.OtherSubmenu, static_cast<UINT>(i), MF_BYPOSITION);
        InsertSubmenuItem(m.HostMenu, host::GetMenuItemCount(m.HostMenu), item.id, item.text, item.submenu);
    }
}

// The loop is over: our items leave the host's menu, the per-opening submenus go.
void EndOfLoop(PageMenuState& m) noexcept {
    if (!m.Inserted) return;
    m.Inserted = false;
    for (UINT id : kOwnIds) host::RemoveMenu(m.HostMenu, id, MF_BYCOMMAND);
    if (m.OtherSubmenu) RunStep([&] { GiveBackHostSubmenus(m); });
    for (HMENU* submenu : {&m.ExtensionSubmenu, &m.OtherSubmenu}) {
        if (*submenu) host::DestroyMenu(*submenu);
        *submenu = nullptr;
    }
}

std::shared_ptr<const TextPattern> PatternOf(Setting setting) {
    const std::string pattern = SettingText(setting);
    return pattern.empty() ? nullptr : std::make_shared<const TextPattern>(pattern);
}

}  // namespace

LRESULT PageMenuMessage(HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
    PageMenuState& m = Module();
    switch (msg) {
        case WM_INITMENU:
            EndOfLoop(m);  // a loop whose end we did not see
            OnInitMenu(reinterpret_cast<HMENU>(wParam));
            break;
        case WM_INITMENUPOPUP:
        case WM_MENUSELECT:
        case WM_UNINITMENUPOPUP:
            if (State().PluginMenuOn) RunStep([&] { TrackPluginMenu(m.Plugins, msg, wParam, &Timers::Launch); });
            if (IsMenuLoopEnd(msg, wParam, m.HostMenu)) EndOfLoop(m);
            break;
        case WM_CAPTURECHANGED:
            EndOfLoop(m);
            break;
        default:
            break;
    }
    return msg;
}

void StartPageExtensionMenu() {
    PageMenuState& m = Module();
    m.ExtensionCaption = LanguageText("038", "Menu Extensions");
    m.ExtensionMatcher = PatternOf(Setting::ExtensionInclude);
    State().ExtensionMenuOn = true;
}

void StopPageExtensionMenu() noexcept { State().ExtensionMenuOn = false; }

void StartPagePluginMenu() {
    PageMenuState& m = Module();
    EndOfLoop(m);
    m.PluginCaption = LanguageText("037", "Maxthon Plugins");
    BuildPluginMenu(m.Plugins, Setting::PluginInclude, Setting::PluginDropDown);
    State().PluginMenuOn = true;
}

void StopPagePluginMenu() noexcept {
    State().PluginMenuOn = false;
    EndOfLoop(Module());
    DestroyPluginMenu(Module().Plugins);
}

void StartPageOtherMenu() {
    PageMenuState& m = Module();
    m.OtherCaption = LanguageText("039", "Other Options");
    m.WindowWord = LanguageText("048", "Window");
    m.TabWord = LanguageText("049", "Tab");
    m.OtherMatcher = PatternOf(Setting::OtherInclude);
    State().OtherMenuOn = true;
}

void StopPageOtherMenu() noexcept { State().OtherMenuOn = false; }

PageMenuState& PageMenuData() noexcept {
    static PageMenuState data;
    return data;
}

namespace {
constexpr MessageSet kActsOn{WM_INITMENU, WM_INITMENUPOPUP, WM_MENUSELECT, WM_UNINITMENUPOPUP, WM_CAPTURECHANGED};
// One row serves the three submenus.
constexpr DispatchRow kRows[] = {
    Row(HookedWindow::MainFrame, 140, kBypassable,
        {&SharedState::ExtensionMenuOn, &SharedState::PluginMenuOn, &SharedState::OtherMenuOn},
        &ByValue<&PageMenuMessage>, ResultUse::Ignored, kActsOn),
};
}  // namespace

constinit const Feature kPageExtensionMenuFeature{.name = "page menu: extensions",
                                                  .setting = Setting::ExtensionMenu,
                                                  .start = &Run<&StartPageExtensionMenu>,
                                                  .stop = &StopPageExtensionMenu,
                                                  .running = &SharedState::ExtensionMenuOn,
                                                  .rows = kRows,
                                                  .reset = [] { PageMenuData() = {}; }};
constinit const Feature kPagePluginMenuFeature{.name = "page menu: plug-ins",
                                               .setting = Setting::PluginMenu,
                                               .start = &Run<&StartPagePluginMenu>,
                                               .stop = &StopPagePluginMenu,
                                               .running = &SharedState::PluginMenuOn};
constinit const Feature kPageOtherMenuFeature{.name = "page menu: other items",
                                              .setting = Setting::OtherMenu,
                                              .start = &Run<&StartPageOtherMenu>,
                                              .stop = &StopPageOtherMenu,
                                              .running = &SharedState::OtherMenuOn};

}  // namespace tillwick
