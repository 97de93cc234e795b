// A popup menu as a test reads it back: the sim records every tracked menu
// this way, and the Win32 test player takes the same picture of a real menu.
#pragma once

#include <string>
#include <vector>

#include "host/win_types.h"

namespace host {

struct MenuItemSnapshot {
    UINT id = 0;
    UINT type = 0;   // MFT_* bits
    UINT state = 0;  // MFS_* bits
    std::string text;
    std::vector<MenuItemSnapshot> submenu;  // filled when the item has a submenu
    HMENU submenuHandle = nullptr;
};

}  // namespace host
