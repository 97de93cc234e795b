#include "menus/menu_items.h"

#include <array>
#include <cstring>

namespace tillwick::menus {
namespace {

constexpr std::size_t kTextChars = 1024;

}  // namespace

std::string ItemText(HMENU menu, UINT item, bool byPosition) {
    std::array<char, kTextChars> buffer{};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = buffer.data();
    info.cch = static_cast<UINT>(buffer.size() - 1);
    if (!host::GetMenuItemInfoA(menu, item, byPosition ? TRUE : FALSE, &info)) return {};
    return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

bool MoveItem(HMENU menu, UINT from, UINT to) {
    if (from == to) return true;
    std::array<char, kTextChars> buffer{};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
    info.dwTypeData = buffer.data();
    info.cch = static_cast<UINT>(buffer.size() - 1);
    if (!host::GetMenuItemInfoA(menu, from, TRUE, &info)) return false;
    info.dwTypeData = buffer.data();
    info.cch = static_cast<UINT>(strnlen(buffer.data(), buffer.size()));
    // RemoveMenu leaves a submenu alive; the new item takes it over.
    if (!host::RemoveMenu(menu, from, MF_BYPOSITION)) return false;
    return host::InsertMenuItemA(menu, to, TRUE, &info) != FALSE;
}

}  // namespace tillwick::menus
