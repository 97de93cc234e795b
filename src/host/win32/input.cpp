// Hot keys, key state and the cursor.
#include "host/host.h"

namespace host {

BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT vk) {
    return ::RegisterHotKey(hwnd, id, modifiers, vk);
}

BOOL UnregisterHotKey(HWND hwnd, int id) { return ::UnregisterHotKey(hwnd, id); }

SHORT GetKeyState(int vk) { return ::GetKeyState(vk); }

BOOL GetCursorPos(POINT* point) { return ::GetCursorPos(point); }

BOOL SetCursorPos(int x, int y) { return ::SetCursorPos(x, y); }

}  // namespace host
