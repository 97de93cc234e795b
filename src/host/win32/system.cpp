// System metrics and colours, and the paths of the running modules.
#include "host/host.h"
#include "host/win32/guard.h"

namespace host {

int GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

DWORD GetSysColor(int index) { return ::GetSysColor(index); }

DWORD GetModuleFileNameA(HMODULE module, char* buffer, DWORD size) {
    return ::GetModuleFileNameA(module, buffer, size);
}

namespace {

// The module that holds this function: the plugin DLL when linked into it,
// the executable when linked into a program.
HMODULE OwnModule() noexcept {
    static const char marker = 0;
    HMODULE module = nullptr;
    if (!::GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            &marker, &module)) {
        return nullptr;
    }
    return module;
}

}  // namespace

std::string PluginModulePath() {
    return win32::Guarded(std::string{}, [] {
        HMODULE module = OwnModule();
        if (!module) return std::string{};
        // Long paths exceed MAX_PATH; a full buffer means the name was cut.
        std::string path(MAX_PATH, '\0');
        for (;;) {
            DWORD n = ::GetModuleFileNameA(module, path.data(), static_cast<DWORD>(path.size()));
            if (n == 0) return std::string{};
            if (n < path.size()) {
                path.resize(n);
                return path;
            }
            if (path.size() >= 32768) return std::string{};
            path.resize(path.size() * 2);
        }
    });
}

}  // namespace host
