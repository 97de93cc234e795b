// What the tab and page menu modules share beyond the plugin submenu.
#pragma once

#include "host/host.h"

namespace tillwick {

// The end of the host's menu loop, before the host destroys its menu: the
// menu's own WM_UNINITMENUPOPUP (WM_CAPTURECHANGED comes first where the
// platform sends it to the owner; Wine does not).
inline bool IsMenuLoopEnd(UINT msg, WPARAM wParam, HMENU hostMenu) noexcept {
    return msg == WM_UNINITMENUPOPUP && hostMenu && reinterpret_cast<HMENU>(wParam) == hostMenu;
}

}  // namespace tillwick
