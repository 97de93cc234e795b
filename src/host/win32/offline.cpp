// Offline mode for the whole process through WinINet. The library is loaded
// on first use (only a start-up setting asks for it) and stays loaded for the
// life of the process, as the connection state it holds does.
#include "host/host.h"

// After <windows.h>, which host.h brings in.
#include <wininet.h>

namespace host {

bool SetOfflineMode() {
    HMODULE wininet = ::LoadLibraryA("wininet.dll");
    if (wininet == nullptr) return false;
    FARPROC proc = ::GetProcAddress(wininet, "InternetSetOptionA");
    if (proc == nullptr) return false;
    // Through the generic function type, which GCC accepts as a cast between function types.
    auto setOption = reinterpret_cast<decltype(&::InternetSetOptionA)>(reinterpret_cast<void (*)()>(proc));
    INTERNET_CONNECTED_INFO info{};
    info.dwConnectedState = INTERNET_STATE_DISCONNECTED_BY_USER;
    info.dwFlags = ISO_FORCE_DISCONNECTED;
    return setOption(nullptr, INTERNET_OPTION_CONNECTED_STATE, &info, sizeof(info)) != FALSE;
}

}  // namespace host
