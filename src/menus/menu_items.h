// Small menu operations the menu modules share.
#pragma once

#include <string>

#include "host/host.h"

namespace tillwick::menus {

// The text of a menu item (by position or by command), cut at the first NUL;
// "" when the item does not exist or has no text.
std::string ItemText(HMENU menu, UINT item, bool byPosition);

// Moves the item at position `from` to position `to`, with everything it
// carries (type, state, command, submenu, data, text).
bool MoveItem(HMENU menu, UINT from, UINT to);

}  // namespace tillwick::menus
