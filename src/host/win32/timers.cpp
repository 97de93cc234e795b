// Timers. The plugin uses thread timers (no window, id chosen by the system),
// whose procedure runs from the message loop's DispatchMessage.
#include "host/host.h"

namespace host {

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
    return ::SetTimer(hwnd, id, elapseMs, proc);
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) { return ::KillTimer(hwnd, id); }

}  // namespace host
