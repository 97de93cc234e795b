#include "refhost/win32/menu_keys.h"

namespace refhost::win32 {
namespace {

constexpr UINT kMenuGetHandle = 0x01E1;  // MN_GETHMENU

bool IsSeparator(HMENU menu, int i) {
    return (::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) != 0;
}

HWND OpenMenuWindow() {
    HWND popup = ::FindWindowA("#32768", nullptr);
    return popup != nullptr && ::IsWindowVisible(popup) ? popup : nullptr;
}

void Keys(HWND popup, WPARAM key, int times) {
    for (int i = 0; i < times; ++i) ::PostMessageA(popup, WM_KEYDOWN, key, 0);
}

}  // namespace

int OpenSubmenuHolding(UINT command) {
    HWND popup = OpenMenuWindow();
    if (popup == nullptr) return -1;
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(popup, kMenuGetHandle, 0, 0));
    int downs = 0;
    for (int i = 0; menu && i < ::GetMenuItemCount(menu); ++i) {
        if (IsSeparator(menu, i)) continue;
        ++downs;
        HMENU sub = ::GetSubMenu(menu, i);
        for (int j = 0, place = 0; sub && j < ::GetMenuItemCount(sub); ++j) {
            if (IsSeparator(sub, j)) continue;
            if (::GetMenuItemID(sub, j) == command) {
                Keys(popup, VK_DOWN, downs);
                Keys(popup, VK_RIGHT, 1);
                return place;
            }
            ++place;
        }
    }
    return -1;
}

void ChooseInOpenSubmenu(int place) {
    if (HWND popup = OpenMenuWindow()) {
        Keys(popup, VK_DOWN, place);
        Keys(popup, VK_RETURN, 1);
    }
}

}  // namespace refhost::win32
