// Regrouping the items of a host menu: reading an item, copying the items a
// pattern picks into a popup of their own, removing them from the host menu
// and tidying the separators left behind. Shared by the tab and page menus.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>

#include "core/text_pattern.h"
#include "host/host.h"

namespace tillwick {

// Text helpers of the menu modules.
std::string LowerAscii(std::string_view text);
bool ContainsNoCase(std::string_view text, std::string_view part);
std::string WithoutAmpersands(std::string_view text);
// Every occurrence of `from` (case-sensitive) replaced by `to`.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

struct MenuItemRead {
    UINT id = 0;
    UINT type = 0;
    UINT state = 0;
    HMENU submenu = nullptr;
    std::string text;
    bool separator = false;
};
// The item at `position` (texts of up to 255 characters); StepError when there is none.
MenuItemRead ReadMenuItem(HMENU menu, int position);

// Which items move: the pattern finds a match in the text without its "&"
// marks, the text does not hold the caption of the submenu they move into,
// and the item is none of the plugin's own (`ownIds`), whose submenus must
// never end up inside another submenu. One pick serves one opening of a
// menu: its tests share one budget, and a text is tested once however often
// it is asked about.
struct ItemPick {
    const TextPattern& pattern;
    std::string_view caption;
    std::span<const UINT> ownIds;
    bool Picks(const MenuItemRead& item) const;

    mutable MatchBudget budget{};
    mutable std::map<std::string, bool, std::less<>> verdicts{};
};

// Runs on each host item before it is looked at (it may rewrite the item).
using ItemVisit = std::function<void(HMENU menu, int position, MenuItemRead& item)>;

struct CopiedMenu {
    HMENU popup = nullptr;
    int count = 0;
};
// A new popup holding copies (state, id, submenu, text) of the picked items,
// with single separators where the host menu had them between picked items.
// An empty result is destroyed again and given as a null popup.
CopiedMenu CopyMatchingItems(HMENU hostMenu, const ItemPick& pick, const ItemVisit& visit = {});
// Removes (without destroying) every picked item, last to first; all are
// judged before the first goes, so a failed test removes none.
void RemoveMatchingItems(HMENU hostMenu, const ItemPick& pick);
// Collapses runs of separators to one and drops a leading separator.
void TidySeparators(HMENU menu);

// Inserts an item carrying `submenu` at `position` (past the end: appended).
void InsertSubmenuItem(HMENU menu, int position, UINT id, const std::string& text, HMENU submenu);

}  // namespace tillwick
