// Security zones through the URL security manager, the user's zone flags from
// the registry, the Internet control panel's security page, and icon files.
#include "host/host.h"

#include <urlmon.h>

#include "host/text.h"
#include "host/win32/guard.h"

namespace host {
namespace {

// Created on first use on the UI thread; kept for the life of the process.
IInternetSecurityManager* SecurityManager() {
    static IInternetSecurityManager* manager = [] {
        IInternetSecurityManager* m = nullptr;
        if (FAILED(::CoInternetCreateSecurityManager(nullptr, &m, 0))) m = nullptr;
        return m;
    }();
    return manager;
}

std::wstring Wide(const std::string& text) {
    const std::u16string w = AnsiToWide(text);
    return std::wstring(w.begin(), w.end());
}

}  // namespace

std::optional<std::int32_t> MapUrlToZone(const std::string& url) {
    return win32::Guarded(std::optional<std::int32_t>{}, [&]() -> std::optional<std::int32_t> {
        IInternetSecurityManager* m = SecurityManager();
        DWORD zone = 0;
        if (m == nullptr || url.empty() || FAILED(m->MapUrlToZone(Wide(url).c_str(), &zone, 0))) return std::nullopt;
        return static_cast<std::int32_t>(zone);
    });
}

bool SetZoneMapping(std::int32_t zone, const std::string& pattern, bool remove) {
    return win32::Guarded(false, [&] {
        IInternetSecurityManager* m = SecurityManager();
        return m != nullptr && !pattern.empty() &&
               SUCCEEDED(m->SetZoneMapping(static_cast<DWORD>(zone), Wide(pattern).c_str(),
                                           remove ? SZM_DELETE : SZM_CREATE));
    });
}

std::optional<std::uint32_t> ReadUserRegistryDword(const std::string& subKey, const std::string& valueName) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (::RegGetValueA(HKEY_CURRENT_USER, subKey.c_str(), valueName.c_str(), RRF_RT_REG_DWORD, nullptr, &value,
                       &size) != ERROR_SUCCESS)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

// The control panel's Internet Options on its Security page, in a process of
// its own: the applet's private entry points have no published signature.
// The program is named by its full path in the system folder: a bare name is
// looked for in the current folder first, where anything may lie.
bool LaunchSecurityDialog(HWND) {
    char folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    const std::string program = std::string(folder, length) + "\\rundll32.exe";
    std::string command = "\"" + program + "\" shell32.dll,Control_RunDLL inetcpl.cpl,,1";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

LPARAM LoadIconFile(const std::string& path) {
    return reinterpret_cast<LPARAM>(::LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE));
}

void DestroyIconHandle(LPARAM icon) {
    if (icon != 0) ::DestroyIcon(reinterpret_cast<HICON>(icon));
}

}  // namespace host
