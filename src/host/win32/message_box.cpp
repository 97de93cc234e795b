// The message box.
#include "host/host.h"

namespace host {

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
    return ::MessageBoxA(owner, text, caption, type);
}

}  // namespace host
