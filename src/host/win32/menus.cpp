// Menus as containers: creating them, adding and taking out items, and
// showing a pop-up menu.
#include "host/host.h"

namespace host {

HMENU CreateMenu() { return ::CreateMenu(); }

HMENU CreatePopupMenu() { return ::CreatePopupMenu(); }

BOOL DestroyMenu(HMENU menu) { return ::DestroyMenu(menu); }

BOOL IsMenu(HMENU menu) { return ::IsMenu(menu); }

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idNewItem, const char* text) {
    return ::AppendMenuA(menu, flags, idNewItem, text);
}

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, const char* text) {
    return ::InsertMenuA(menu, position, flags, idNewItem, text);
}

BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info) {
    return ::InsertMenuItemA(menu, item, byPosition, info);
}

int GetMenuItemCount(HMENU menu) { return ::GetMenuItemCount(menu); }

HMENU GetSubMenu(HMENU menu, int position) { return ::GetSubMenu(menu, position); }

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
    return ::RemoveMenu(menu, position, flags);
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
    return ::DeleteMenu(menu, position, flags);
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                    const RECT* rect) {
    return ::TrackPopupMenu(menu, flags, x, y, reserved, owner, rect);
}

}  // namespace host
