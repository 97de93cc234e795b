// Hot keys, key state and the cursor.
#include "host/host.h"

namespace host {

SHORT GetKeyState(int vk) { return ::GetKeyState(vk); }

BOOL GetCursorPos(POINT* point) { return ::GetCursorPos(point); }

BOOL SetCursorPos(int x, int y) { return ::SetCursorPos(x, y); }

}  // namespace host
