// TrackPopupMenu: the owner sees the notifications of a popup menu tracked by
// TrackPopupMenu in Windows' order, the menu is recorded as shown, and the
// test's queued answer stands for the user's choice.
#include "host/sim/sim_internal.h"

namespace host {

using namespace sim::detail;

namespace {

struct TrackingFlag {
    explicit TrackingFlag(HMENU menu) : menu_(menu) {
        if (Menu* m = MenuOf(menu_)) m->tracking = true;
    }
    ~TrackingFlag() {
        if (Menu* m = MenuOf(menu_)) m->tracking = false;
    }
    TrackingFlag(const TrackingFlag&) = delete;
    TrackingFlag& operator=(const TrackingFlag&) = delete;

private:
    HMENU menu_;
};

// The item the answer names, if the user could have chosen it.
std::optional<FoundItem> Choosable(HMENU menu, UINT answer) {
    if (!answer) return std::nullopt;
    auto found = FindMenuItem(menu, answer, MF_BYCOMMAND);
    if (!found) return std::nullopt;
    const MenuItem& item = found->menu->items[found->pos];
    if (item.type & (MF_POPUP | MFT_SEPARATOR)) return std::nullopt;
    if (item.state & (MF_GRAYED | MF_DISABLED)) return std::nullopt;
    return found;
}

// The submenus a user opens on the way from `menu` to `target`: each as
// (the menu holding its item, the item's position, the submenu).
struct OpenedSubmenu {
    HMENU parent;
    UINT pos;
    HMENU submenu;
};
bool PathTo(HMENU menu, HMENU target, std::vector<OpenedSubmenu>& path, int depth = 0) {
    if (menu == target) return true;
    Menu* m = MenuOf(menu);
    if (!m || depth > 30) return false;
    for (UINT i = 0; i < m->items.size(); ++i) {
        const MenuItem& item = m->items[i];
        if (!(item.type & MF_POPUP)) continue;
        path.push_back({menu, i, item.submenu});
        if (PathTo(item.submenu, target, path, depth + 1)) return true;
        path.pop_back();
    }
    return false;
}

}  // namespace

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect) {
    (void)reserved;
    (void)rect;
    Menu* m = MenuOf(menu);
    if (!m) return FALSE;              // ERROR_INVALID_MENU_HANDLE
    if (m->tracking) return FALSE;     // ERROR_POPUP_ALREADY_ACTIVE
    if (!Find(owner)) return FALSE;    // the menu window cannot be created
    TrackingFlag tracking(menu);
    const bool notify = !(flags & TPM_NONOTIFY);

    if (notify) SendW(owner, WM_ENTERMENULOOP, TRUE, 0);
    if (notify) SendW(owner, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    if (notify) SendW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);

    m = MenuOf(menu);
    if (!m || m->items.empty() || !Find(owner)) {
        // Nothing to show: the loop ends at once.
        SendW(owner, WM_EXITMENULOOP, TRUE, 0);
        if (notify && MenuOf(menu)) SendW(owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
        return FALSE;
    }

    sim::TrackedMenu shown;
    shown.menu = menu;
    shown.flags = flags;
    shown.x = x;
    shown.y = y;
    shown.owner = owner;
    shown.items = Snapshot(menu, 0);
    S().tracked.push_back(std::move(shown));

    // The menu loop idles, dispatching what was posted meanwhile (input goes to the menu).
    SendW(owner, WM_ENTERIDLE, MSGF_MENU, 0);
    PumpForMenuLoop();

    UINT answer = 0;
    if (!S().menuAnswers.empty()) {
        answer = S().menuAnswers.front();
        S().menuAnswers.pop_front();
    }
    UINT chosen = 0;
    std::vector<OpenedSubmenu> opened;
    if (auto item = Choosable(menu, answer)) {
        const HMENU holder = item->menu->handle;
        chosen = item->menu->items[item->pos].id;
        // The user opens each submenu on the way, as Windows tells the owner.
        PathTo(menu, holder, opened);
        for (const OpenedSubmenu& step : opened) {
            SendW(owner, WM_MENUSELECT, MAKEWPARAM(static_cast<WORD>(step.pos), static_cast<WORD>(MF_POPUP | MF_HILITE)),
                  reinterpret_cast<LPARAM>(step.parent));
            if (notify) SendW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(step.submenu), MAKELPARAM(step.pos, FALSE));
        }
        if (auto again = Choosable(menu, answer)) {  // the owner may have changed the menus meanwhile
            const MenuItem& it = again->menu->items[again->pos];
            chosen = it.id;
            SendW(owner, WM_MENUSELECT, MAKEWPARAM(static_cast<WORD>(it.id), static_cast<WORD>(it.type | it.state | MF_HILITE)),
                  reinterpret_cast<LPARAM>(again->menu->handle));
        } else {
            chosen = 0;
        }
    }

    SendW(owner, WM_CAPTURECHANGED, 0, 0);
    // Open submenus close deepest first, then the menu itself.
    for (auto step = opened.rbegin(); step != opened.rend(); ++step)
        if (notify && MenuOf(step->submenu)) SendW(owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(step->submenu), 0);
    if (notify && MenuOf(menu)) SendW(owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    SendW(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    SendW(owner, WM_EXITMENULOOP, TRUE, 0);

    if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
    if (chosen && Find(owner)) PostInternal(owner, WM_COMMAND, chosen, 0, true);
    return TRUE;
}

}  // namespace host

namespace host::sim {

void QueueMenuAnswer(UINT commandId) { detail::S().menuAnswers.push_back(commandId); }

const std::vector<TrackedMenu>& TrackedMenus() { return detail::S().tracked; }

}  // namespace host::sim
