// Reading and changing one menu item: its id, text, state and submenu.
#include "host/host.h"

namespace host {

BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA* info) {
    return ::GetMenuItemInfoA(menu, item, byPosition, info);
}

BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info) {
    return ::SetMenuItemInfoA(menu, item, byPosition, info);
}

UINT GetMenuItemID(HMENU menu, int position) { return ::GetMenuItemID(menu, position); }

int GetMenuStringA(HMENU menu, UINT item, char* buffer, int maxCount, UINT flags) {
    return ::GetMenuStringA(menu, item, buffer, maxCount, flags);
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) { return ::GetMenuState(menu, item, flags); }

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
    return ::EnableMenuItem(menu, item, enable);
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
    return ::CheckMenuItem(menu, item, check);
}

}  // namespace host
