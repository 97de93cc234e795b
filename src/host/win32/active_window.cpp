// Activation within the application.
#include "host/host.h"

namespace host {

HWND SetActiveWindow(HWND hwnd) { return ::SetActiveWindow(hwnd); }

}  // namespace host
