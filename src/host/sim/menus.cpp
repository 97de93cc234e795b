// Menus: items with ids, types, states, texts and submenus, looked up by
// position or by command (searching submenus, as user32 does), and the
// MENUITEMINFO rules of the A functions.
#include <algorithm>
#include <cstring>

#include "host/sim/sim_internal.h"

namespace host::sim::detail {

namespace {

constexpr UINT kItemTypeMask = MFT_STRING | MFT_BITMAP | MFT_OWNERDRAW | MFT_SEPARATOR | MFT_MENUBARBREAK |
                               MFT_MENUBREAK | MFT_RADIOCHECK | MFT_RIGHTORDER | MFT_RIGHTJUSTIFY;
constexpr UINT kTypeMask = kItemTypeMask | MF_POPUP | MF_SYSMENU;
constexpr UINT kItemStateMask = ~kTypeMask & ~(MF_BYPOSITION | MF_MOUSESELECT);
constexpr int kMaxMenuDepth = 30;

bool IsStringItem(UINT flags) { return (flags & (MF_STRING | MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR)) == MF_STRING; }

bool IsMagicBitmap(void* bitmap) {
    const auto v = reinterpret_cast<std::intptr_t>(bitmap);
    return bitmap && v < 12 && v >= -1;
}

// A MENUITEMINFO with its text already in UTF-16.
struct ItemInfo {
    UINT mask = 0;
    UINT type = 0;
    UINT state = 0;
    UINT id = 0;
    HMENU submenu = nullptr;
    void* checked = nullptr;
    void* unchecked = nullptr;
    UINT_PTR data = 0;
    std::optional<WString> text;  // nullopt: a null string pointer
    void* bitmap = nullptr;
};

int Depth(HMENU handle, int depth) {
    Menu* m = MenuOf(handle);
    if (!m || ++depth > kMaxMenuDepth) return depth;
    int deepest = depth;
    for (const MenuItem& item : m->items) {
        if (item.submenu) deepest = std::max(deepest, Depth(item.submenu, depth));
        if (deepest > kMaxMenuDepth) break;
    }
    return deepest;
}

bool SetItem(MenuItem& item, const ItemInfo& info) {
    if (info.mask & MIIM_FTYPE) item.type = (item.type & ~kItemTypeMask) | (info.type & kItemTypeMask);
    if (info.mask & MIIM_STRING) item.text = info.text;
    if (info.mask & MIIM_STATE) item.state = info.state & kItemStateMask;
    if (info.mask & MIIM_ID) item.id = info.id;
    if (info.mask & MIIM_SUBMENU) {
        item.submenu = info.submenu;
        if (item.submenu) {
            Menu* sub = MenuOf(item.submenu);
            if (!sub) return false;  // ERROR_INVALID_PARAMETER
            if (Depth(item.submenu, 0) > kMaxMenuDepth) {  // a loop in the menu tree
                item.submenu = nullptr;
                return false;
            }
            sub->popup = true;
            item.type |= MF_POPUP;
        } else {
            item.type &= ~MF_POPUP;
        }
    }
    if (info.mask & MIIM_CHECKMARKS) {
        item.checked = info.checked;
        item.unchecked = info.unchecked;
    }
    if (info.mask & MIIM_DATA) item.data = info.data;
    if (info.mask & MIIM_BITMAP) item.bitmap = info.bitmap;
    // An item without text, owner drawing or bitmap is a separator.
    if (!item.text && !(item.type & MFT_OWNERDRAW) && !item.bitmap) item.type |= MFT_SEPARATOR;
    return true;
}

bool Normalize(const MENUITEMINFOA* in, ItemInfo& out) {
    constexpr UINT kFull = sizeof(MENUITEMINFOA);
    constexpr UINT kOld = sizeof(MENUITEMINFOA) - sizeof(void*);  // before hbmpItem existed
    if (!in || (in->cbSize != kFull && in->cbSize != kOld)) return false;
    MENUITEMINFOA mii{};
    std::memcpy(&mii, in, in->cbSize);
    if (in->cbSize != kFull) mii.hbmpItem = nullptr;
    if (((mii.fMask & MIIM_TYPE) && (mii.fMask & (MIIM_STRING | MIIM_FTYPE | MIIM_BITMAP))) ||
        ((mii.fMask & MIIM_FTYPE) && (mii.fType & MFT_BITMAP)))
        return false;  // invalid combination
    if (mii.fMask & MIIM_TYPE) {
        mii.fMask |= MIIM_FTYPE;
        if (IsStringItem(mii.fType)) {
            mii.fMask |= MIIM_STRING;
        } else if (mii.fType & MFT_BITMAP) {
            mii.fMask |= MIIM_BITMAP;
            mii.hbmpItem = reinterpret_cast<void*>(static_cast<std::uintptr_t>(LOWORD(reinterpret_cast<std::uintptr_t>(mii.dwTypeData))));
        }
    }
    out.mask = mii.fMask;
    out.type = mii.fType;
    out.state = mii.fState;
    out.id = mii.wID;
    out.submenu = mii.hSubMenu;
    out.checked = mii.hbmpChecked;
    out.unchecked = mii.hbmpUnchecked;
    out.data = mii.dwItemData;
    out.bitmap = mii.hbmpItem;
    if ((mii.fMask & MIIM_STRING) && mii.dwTypeData) out.text = Widen(mii.dwTypeData);
    return true;
}

// InsertMenu/AppendMenu's flags turned into an item description.
ItemInfo FromFlags(UINT flags, UINT_PTR id, const char* str) {
    ItemInfo info;
    info.mask = MIIM_STATE | MIIM_ID | MIIM_FTYPE | MIIM_CHECKMARKS;
    if (IsStringItem(flags)) {
        info.mask |= MIIM_STRING | MIIM_BITMAP;
        if (!str) {
            flags |= MF_SEPARATOR;
        } else {
            if (*str == '\b') {  // an item starting with a backspace is a help item
                flags |= MF_HELP;
                ++str;
            }
            info.text = Widen(str);
        }
    } else if (flags & MF_BITMAP) {
        info.mask |= MIIM_BITMAP | MIIM_STRING;
        info.bitmap = const_cast<char*>(str);
    }
    if (flags & MF_OWNERDRAW) {
        info.mask |= MIIM_DATA;
        info.data = reinterpret_cast<UINT_PTR>(str);
    }
    if ((flags & MF_POPUP) && MenuOf(reinterpret_cast<HMENU>(id))) {
        info.mask |= MIIM_SUBMENU;
        info.submenu = reinterpret_cast<HMENU>(id);
    }
    if (flags & MF_SEPARATOR) flags |= MF_GRAYED | MF_DISABLED;
    info.state = flags & kItemStateMask & ~MFS_DEFAULT;
    info.type = flags & kItemTypeMask;
    info.id = static_cast<UINT>(id);
    return info;
}

BOOL InsertItem(HMENU handle, UINT item, UINT flags, const ItemInfo& info) {
    Menu* menu = nullptr;
    UINT pos = 0;
    if (auto found = FindMenuItem(handle, item, flags)) {
        menu = found->menu;
        pos = found->pos;
    } else {
        menu = MenuOf(handle);
        if (!menu) return FALSE;
        pos = static_cast<UINT>(menu->items.size());  // not found: appended
    }
    menu->items.insert(menu->items.begin() + pos, MenuItem{});
    if (!SetItem(menu->items[pos], info)) {
        if ((menu = MenuOf(menu->handle)) && pos < menu->items.size()) menu->items.erase(menu->items.begin() + pos);
        return FALSE;
    }
    return TRUE;
}

bool GetItem(const MenuItem& item, MENUITEMINFOA& mii) {
    if (mii.fMask & MIIM_TYPE) {
        if (mii.fMask & (MIIM_STRING | MIIM_FTYPE | MIIM_BITMAP)) return false;
        mii.fType = item.type & kItemTypeMask;
        if (item.bitmap && !IsMagicBitmap(item.bitmap)) mii.fType |= MFT_BITMAP;
        mii.hbmpItem = item.bitmap;
        if (mii.fType & MFT_BITMAP) {
            mii.dwTypeData = static_cast<char*>(item.bitmap);
            mii.cch = 0;
        } else if (mii.fType & (MFT_OWNERDRAW | MFT_SEPARATOR)) {
            mii.dwTypeData = nullptr;
            mii.cch = 0;
        }
    }
    if (mii.fMask & (MIIM_TYPE | MIIM_STRING)) {
        if (!item.text) {
            if (mii.dwTypeData && mii.cch) mii.dwTypeData[0] = '\0';
            mii.cch = 0;
        } else {
            const std::string text = Narrow(*item.text);
            const auto len = static_cast<UINT>(text.size());
            if (mii.dwTypeData && mii.cch) {
                CopyOut(mii.dwTypeData, static_cast<int>(std::min<UINT>(mii.cch, 0x7FFFFFFF)), text);
                // A cut copy reports its own length.
                mii.cch = mii.cch <= len + 1 ? mii.cch - 1 : len;
            } else {
                mii.cch = len;
            }
        }
    }
    if (mii.fMask & MIIM_FTYPE) mii.fType = item.type & kItemTypeMask;
    if (mii.fMask & MIIM_BITMAP) mii.hbmpItem = item.bitmap;
    if (mii.fMask & MIIM_STATE) mii.fState = item.state & kItemStateMask;
    if (mii.fMask & MIIM_ID) mii.wID = item.id;
    if (mii.fMask & MIIM_DATA) mii.dwItemData = item.data;
    mii.hSubMenu = (mii.fMask & MIIM_SUBMENU) ? item.submenu : nullptr;
    if (mii.fMask & MIIM_CHECKMARKS) {
        mii.hbmpChecked = item.checked;
        mii.hbmpUnchecked = item.unchecked;
    }
    return true;
}

BOOL GetItemInfo(HMENU menu, UINT item, UINT flags, MENUITEMINFOA* info) {
    constexpr UINT kFull = sizeof(MENUITEMINFOA);
    constexpr UINT kOld = sizeof(MENUITEMINFOA) - sizeof(void*);
    if (!info || (info->cbSize != kFull && info->cbSize != kOld)) return FALSE;
    MENUITEMINFOA mii{};
    std::memcpy(&mii, info, info->cbSize);
    auto found = FindMenuItem(menu, item, flags);
    if (!found) return FALSE;  // ERROR_MENU_ITEM_NOT_FOUND
    const bool ok = GetItem(found->menu->items[found->pos], mii);
    mii.cbSize = info->cbSize;
    std::memcpy(info, &mii, info->cbSize);
    return ok ? TRUE : FALSE;
}

}  // namespace

Menu* MenuOf(HMENU handle) {
    auto& menus = S().menus;
    auto it = menus.find(handle);
    return it == menus.end() ? nullptr : it->second.get();
}

std::optional<FoundItem> FindMenuItem(HMENU handle, UINT item, UINT flags, int depth) {
    Menu* m = MenuOf(handle);
    if (!m || depth > kMaxMenuDepth) return std::nullopt;
    if (flags & MF_BYPOSITION) {
        if (item >= m->items.size()) return std::nullopt;
        return FoundItem{m, item};
    }
    std::optional<UINT> fallback;
    for (UINT i = 0; i < m->items.size(); ++i) {
        const MenuItem& it = m->items[i];
        if (it.type & MF_POPUP) {
            if (auto inside = FindMenuItem(it.submenu, item, flags, depth + 1)) return inside;
            if (it.id == item) fallback = i;  // the submenu item itself, if nothing deeper matches
        } else if (it.id == item) {
            return FoundItem{m, i};
        }
    }
    if (fallback) return FoundItem{m, *fallback};
    return std::nullopt;
}

bool DestroyMenuInternal(HMENU handle) {
    auto& menus = S().menus;
    auto it = menus.find(handle);
    if (it == menus.end()) return false;
    std::unique_ptr<Menu> menu = std::move(it->second);
    menus.erase(it);
    for (const MenuItem& item : menu->items) {
        if (item.type & MF_POPUP) DestroyMenuInternal(item.submenu);
    }
    return true;
}

std::vector<MenuItemSnapshot> Snapshot(HMENU handle, int depth) {
    std::vector<MenuItemSnapshot> out;
    Menu* m = MenuOf(handle);
    if (!m || depth > kMaxMenuDepth) return out;
    for (const MenuItem& item : m->items) {
        MenuItemSnapshot s;
        s.id = item.id;
        s.type = item.type & kItemTypeMask;
        s.state = item.state & kItemStateMask;
        s.text = item.text ? Narrow(*item.text) : std::string();
        if (item.type & MF_POPUP) {
            s.submenuHandle = item.submenu;
            s.submenu = Snapshot(item.submenu, depth + 1);
        }
        out.push_back(std::move(s));
    }
    return out;
}

}  // namespace host::sim::detail

namespace host {

using namespace sim::detail;

namespace {

HMENU NewMenu(bool popup) {
    auto menu = std::make_unique<Menu>();
    menu->handle = NewMenuHandle();
    menu->popup = popup;
    const HMENU h = menu->handle;
    S().menus.emplace(h, std::move(menu));
    return h;
}

}  // namespace

HMENU CreateMenu() { return NewMenu(false); }

HMENU CreatePopupMenu() { return NewMenu(true); }

BOOL DestroyMenu(HMENU menu) { return DestroyMenuInternal(menu) ? TRUE : FALSE; }

BOOL IsMenu(HMENU menu) { return MenuOf(menu) ? TRUE : FALSE; }

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idNewItem, const char* text) {
    return InsertMenuA(menu, static_cast<UINT>(-1), flags | MF_BYPOSITION, idNewItem, text);
}

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, const char* text) {
    return InsertItem(menu, position, flags, FromFlags(flags, idNewItem, text));
}

BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info) {
    ItemInfo normal;
    if (!Normalize(info, normal)) return FALSE;  // ERROR_INVALID_PARAMETER
    return InsertItem(menu, item, byPosition ? MF_BYPOSITION : 0, normal);
}

BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA* info) {
    return GetItemInfo(menu, item, byPosition ? MF_BYPOSITION : 0, info);
}

BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info) {
    ItemInfo normal;
    if (!Normalize(info, normal)) return FALSE;
    auto found = FindMenuItem(menu, item, byPosition ? MF_BYPOSITION : 0);
    if (!found) return FALSE;
    return SetItem(found->menu->items[found->pos], normal) ? TRUE : FALSE;
}

int GetMenuItemCount(HMENU menu) {
    Menu* m = MenuOf(menu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    auto found = FindMenuItem(menu, static_cast<UINT>(position), MF_BYPOSITION);
    if (!found) return static_cast<UINT>(-1);
    const MenuItem& item = found->menu->items[found->pos];
    return (item.type & MF_POPUP) ? static_cast<UINT>(-1) : item.id;
}

HMENU GetSubMenu(HMENU menu, int position) {
    auto found = FindMenuItem(menu, static_cast<UINT>(position), MF_BYPOSITION);
    if (!found) return nullptr;
    const MenuItem& item = found->menu->items[found->pos];
    return (item.type & MF_POPUP) ? item.submenu : nullptr;
}

int GetMenuStringA(HMENU menu, UINT item, char* buffer, int maxCount, UINT flags) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = buffer;
    info.cch = static_cast<UINT>(maxCount);
    if (buffer && maxCount > 0) buffer[0] = '\0';
    if (!GetItemInfo(menu, item, flags, &info)) return 0;
    return static_cast<int>(info.cch);
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    auto found = FindMenuItem(menu, item, flags);
    if (!found) return static_cast<UINT>(-1);
    const MenuItem& it = found->menu->items[found->pos];
    if (it.type & MF_POPUP) {
        Menu* sub = MenuOf(it.submenu);
        if (!sub) return static_cast<UINT>(-1);
        return (static_cast<UINT>(sub->items.size()) << 8) | ((it.state | it.type) & 0xFF);
    }
    return it.type | it.state;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
    auto found = FindMenuItem(menu, position, flags);
    if (!found) return FALSE;
    auto& items = found->menu->items;
    items.erase(items.begin() + found->pos);  // a submenu is detached, not destroyed
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
    auto found = FindMenuItem(menu, position, flags);
    if (!found) return FALSE;
    const HMENU owner = found->menu->handle;
    const UINT pos = found->pos;
    const MenuItem item = found->menu->items[pos];
    if (item.type & MF_POPUP) DestroyMenuInternal(item.submenu);
    if (Menu* m = MenuOf(owner); m && pos < m->items.size()) m->items.erase(m->items.begin() + pos);
    return TRUE;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
    auto found = FindMenuItem(menu, item, enable);
    if (!found) return -1;
    MenuItem& it = found->menu->items[found->pos];
    const UINT old = it.state & (MF_GRAYED | MF_DISABLED);
    it.state ^= (old ^ enable) & (MF_GRAYED | MF_DISABLED);
    return static_cast<BOOL>(old);
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
    auto found = FindMenuItem(menu, item, check);
    if (!found) return static_cast<DWORD>(-1);
    MenuItem& it = found->menu->items[found->pos];
    const DWORD old = it.state & MF_CHECKED;
    if (check & MF_CHECKED) {
        it.state |= MF_CHECKED;
    } else {
        it.state &= ~MF_CHECKED;
    }
    return old;
}

}  // namespace host

namespace host::sim {

std::vector<MenuItemSnapshot> SnapshotMenu(HMENU menu) { return detail::Snapshot(menu, 0); }

int LiveMenuCount() { return static_cast<int>(detail::S().menus.size()); }

}  // namespace host::sim
