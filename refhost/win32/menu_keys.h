// A keyboard user in the open pop-up menu, for the demo's tour and the
// end-to-end tests: keys posted to the menu window, which its loop takes.
#pragma once

#include <windows.h>

namespace refhost::win32 {

// Where a command sits in the open menu: the top menu, the position of the
// item whose submenu holds it, and its place among that submenu's
// selectable items. top is null when no menu is open or none holds it.
struct SubmenuPick {
    HMENU top = nullptr;
    int item = -1;
    int place = -1;
};
SubmenuPick PlanSubmenuPick(UINT command);
// Moves the top menu's selection to the item (from wherever it is, closing
// a submenu opened on the way) and opens its submenu with Right.
void OpenPlannedSubmenu(const SubmenuPick& pick);
// Whether the item is the top menu's selected item.
bool PlannedItemSelected(const SubmenuPick& pick);
// Down `place` times in the open submenu, then Enter.
void ChooseInOpenSubmenu(const SubmenuPick& pick);

}  // namespace refhost::win32
