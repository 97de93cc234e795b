#include "refhost/win32/menu_keys.h"

namespace refhost::win32 {
namespace {

constexpr UINT kMenuGetHandle = 0x01E1;  // MN_GETHMENU

UINT StateAt(HMENU menu, int i) { return ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION); }
// (A submenu item's state holds its item count in the high byte, which can look like MF_SEPARATOR.)
bool IsSeparator(HMENU menu, int i) {
    return ::GetSubMenu(menu, i) == nullptr && (StateAt(menu, i) & MF_SEPARATOR) != 0;
}

HWND OpenMenuWindow() {
    HWND popup = ::FindWindowA("#32768", nullptr);
    return popup != nullptr && ::IsWindowVisible(popup) ? popup : nullptr;
}

void Keys(WPARAM key, int times) {
    HWND popup = OpenMenuWindow();
    for (int i = 0; popup && i < times; ++i) ::PostMessageA(popup, WM_KEYDOWN, key, 0);
}

// The item's place among the menu's selectable items.
int Selectable(HMENU menu, int position) {
    int n = -1;
    for (int i = 0; i <= position; ++i) n += IsSeparator(menu, i) ? 0 : 1;
    return n;
}

}  // namespace

SubmenuPick PlanSubmenuPick(UINT command) {
    HWND popup = OpenMenuWindow();
    if (popup == nullptr) return {};
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(popup, kMenuGetHandle, 0, 0));
    for (int i = 0; menu && i < ::GetMenuItemCount(menu); ++i) {
        HMENU sub = ::GetSubMenu(menu, i);
        for (int j = 0; sub && j < ::GetMenuItemCount(sub); ++j)
            if (!IsSeparator(sub, j) && ::GetMenuItemID(sub, j) == command) return {menu, i, Selectable(sub, j)};
    }
    return {};
}

void OpenPlannedSubmenu(const SubmenuPick& pick) {
    if (!pick.top) return;
    int current = -1;
    for (int i = 0; i < ::GetMenuItemCount(pick.top); ++i)
        if (StateAt(pick.top, i) & MF_HILITE) current = i;
    const int target = Selectable(pick.top, pick.item);
    if (current < 0) {
        Keys(VK_DOWN, target + 1);  // the first Down selects the first item
    } else {
        Keys(VK_LEFT, 1);  // back from a submenu opened on the way
        const int from = Selectable(pick.top, current);
        Keys(target > from ? VK_DOWN : VK_UP, target > from ? target - from : from - target);
    }
    Keys(VK_RIGHT, 1);  // opens the submenu with its first item selected
}

bool PlannedItemSelected(const SubmenuPick& pick) {
    return pick.top && (StateAt(pick.top, pick.item) & MF_HILITE) != 0;
}

void ChooseInOpenSubmenu(const SubmenuPick& pick) {
    Keys(VK_DOWN, pick.place);
    Keys(VK_RETURN, 1);
}

}  // namespace refhost::win32
