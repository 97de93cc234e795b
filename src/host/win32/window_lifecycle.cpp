// Window classes (windows are made and destroyed in footprint.cpp, which keeps count).
#include "host/host.h"

namespace host {

ATOM RegisterClassA(const WNDCLASSA* wc) { return ::RegisterClassA(wc); }
HINSTANCE ProgramInstance() { return ::GetModuleHandleA(nullptr); }

}  // namespace host
