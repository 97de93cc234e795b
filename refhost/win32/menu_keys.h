// A keyboard user in the open pop-up menu, for the demo's tour and the
// end-to-end tests: keys posted to the menu window, which its loop takes.
#pragma once

#include <windows.h>

namespace refhost::win32 {

// Opens the submenu of the open menu that holds `command` (Down from no
// selection to its item, then Right). The command's place among that
// submenu's selectable items (Right selects the first), or -1 when no menu
// is open or no submenu holds it.
int OpenSubmenuHolding(UINT command);
// Down `place` times in the open submenu, then Enter.
void ChooseInOpenSubmenu(int place);

}  // namespace refhost::win32
