#include "menus/menu_regroup.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "base/errors.h"
#include "core/text_pattern.h"

namespace tillwick {

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return out;
}

bool ContainsNoCase(std::string_view text, std::string_view part) {
    return LowerAscii(text).find(LowerAscii(part)) != std::string::npos;
}

std::string WithoutAmpersands(std::string_view text) {
    std::string out(text);
    std::erase(out, '&');
    return out;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(text);
    std::string out;
    std::size_t done = 0;
    for (auto at = text.find(from); at != std::string_view::npos; at = text.find(from, done)) {
        out.append(text.substr(done, at - done));
        out.append(to);
        done = at + from.size();
    }
    out.append(text.substr(done));
    return out;
}

MenuItemRead ReadMenuItem(HMENU menu, int position) {
    char text[256] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text - 1;
    if (position < 0 || !host::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info))
        throw StepError("no menu item at that position");
    MenuItemRead item;
    item.id = info.wID;
    item.type = info.fType;
    item.state = info.fState;
    item.submenu = info.hSubMenu;
    item.text = text;
    // A text-less item with id 0 is drawn as a separator too.
    item.separator = (info.fType & MFT_SEPARATOR) != 0 || (item.id == 0 && !item.submenu && item.text.empty());
    return item;
}

bool ItemPick::Picks(const MenuItemRead& item) const {
    if (item.separator) return false;
    if (std::find(ownIds.begin(), ownIds.end(), item.id) != ownIds.end()) return false;
    if (!caption.empty() && ContainsNoCase(item.text, caption)) return false;
    std::string text = WithoutAmpersands(item.text);
    if (const auto known = verdicts.find(text); known != verdicts.end()) return known->second;
    const bool picked = pattern.Matches(text, budget);
    verdicts.emplace(std::move(text), picked);
    return picked;
}

namespace {

bool EndsInSeparator(HMENU menu) {
    const int count = host::GetMenuItemCount(menu);
    return count > 0 && ReadMenuItem(menu, count - 1).separator;
}

void InsertCopy(HMENU menu, int position, const MenuItemRead& item) {
    std::string text = item.text;
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
    info.fType = item.type & ~static_cast<UINT>(MFT_SEPARATOR);
    info.fState = item.state;
    info.wID = item.id;
    info.hSubMenu = item.submenu;
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size());
    if (!host::InsertMenuItemA(menu, static_cast<UINT>(position), TRUE, &info))
        throw StepError("a menu item could not be copied");
}

}  // namespace

CopiedMenu CopyMatchingItems(HMENU hostMenu, const ItemPick& pick, const ItemVisit& visit) {
    HMENU popup = host::CreatePopupMenu();
    if (!popup) throw StepError("no popup menu");
    int n = 0;
    const bool filled = RunStep([&] {
        const int count = host::GetMenuItemCount(hostMenu);
        for (int i = 0; i < count; ++i) {
            MenuItemRead item = ReadMenuItem(hostMenu, i);
            if (visit) visit(hostMenu, i, item);
            if (item.separator) {
                if (n > 0 && !EndsInSeparator(popup)) {
                    host::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
                    ++n;
                }
            } else if (pick.Picks(item)) {
                InsertCopy(popup, n++, item);
            }
        }
        if (EndsInSeparator(popup)) {
            host::RemoveMenu(popup, static_cast<UINT>(n - 1), MF_BYPOSITION);
            --n;
        }
    });
    if (!filled || n == 0) {
        // Copies share the host's submenus: take them out before the popup goes.
        while (host::GetMenuItemCount(popup) > 0) host::RemoveMenu(popup, 0, MF_BYPOSITION);
        host::DestroyMenu(popup);
        if (!filled) throw StepError("the items could not be copied");
        return {};
    }
    return {popup, n};
}

void RemoveMatchingItems(HMENU hostMenu, const ItemPick& pick) {
    std::vector<UINT> picked;
    for (int i = host::GetMenuItemCount(hostMenu) - 1; i >= 0; --i)
        if (pick.Picks(ReadMenuItem(hostMenu, i))) picked.push_back(static_cast<UINT>(i));
    for (UINT position : picked) host::RemoveMenu(hostMenu, position, MF_BYPOSITION);
}

void TidySeparators(HMENU menu) {
    for (int i = host::GetMenuItemCount(menu) - 1; i >= 0; --i) {
        if (!ReadMenuItem(menu, i).separator) continue;
        if (i + 1 < host::GetMenuItemCount(menu) && ReadMenuItem(menu, i + 1).separator)
            host::RemoveMenu(menu, static_cast<UINT>(i + 1), MF_BYPOSITION);
        if (i == 0) host::RemoveMenu(menu, 0, MF_BYPOSITION);
    }
}

void InsertSubmenuItem(HMENU menu, int position, UINT id, const std::string& text, HMENU submenu) {
    std::string copy = text;
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING;
    info.fType = MFT_STRING;
    info.wID = id;
    info.hSubMenu = submenu;
    info.dwTypeData = copy.data();
    info.cch = static_cast<UINT>(copy.size());
    if (!host::InsertMenuItemA(menu, static_cast<UINT>(position), TRUE, &info))
        throw StepError("the submenu item could not be inserted");
}

}  // namespace tillwick
