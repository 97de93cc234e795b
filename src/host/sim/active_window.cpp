// Activation within the application: the sim has one active window, the foreground one.
#include "host/sim/sim_internal.h"

namespace host {

HWND SetActiveWindow(HWND hwnd) {
    HWND previous = GetForegroundWindow();
    if (hwnd != nullptr && IsWindow(hwnd)) SetForegroundWindow(hwnd);
    return previous;
}

}  // namespace host
