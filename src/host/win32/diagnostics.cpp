// The tick count, the debugger output and file stamps on Windows.
#include "host/win32/com.h"

#include "host/host.h"

namespace host {

DWORD TickCount() { return ::GetTickCount(); }

void OutputDebugText(const std::string& text) { ::OutputDebugStringA(text.c_str()); }

namespace fs {

// One attribute query: no handle is opened, so under Wine no server round trip.
std::optional<Stamp> FileStamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    const auto join = [](DWORD high, DWORD low) {
        return (static_cast<std::uint64_t>(high) << 32) | static_cast<std::uint64_t>(low);
    };
    const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return Stamp{join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime),
                 folder ? 0 : join(data.nFileSizeHigh, data.nFileSizeLow)};
}

}  // namespace fs
}  // namespace host

#include "host/folder_stamps.h"
#include "host/win32/guard.h"

namespace host::fs {

std::vector<FolderStamp> SubfolderStamps(const std::string& path) {
    return win32::Guarded(std::vector<FolderStamp>{}, [&] {
        std::vector<FolderStamp> out;
        WIN32_FIND_DATAA found{};
        std::string pattern = path;
        if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
        HANDLE find = ::FindFirstFileA((pattern + "*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) return out;
        do {
            const std::string name = found.cFileName;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || name == "." || name == "..") continue;
            const std::uint64_t written = (static_cast<std::uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                                          found.ftLastWriteTime.dwLowDateTime;
            out.push_back(FolderStamp{name, Stamp{written, 0}});
        } while (::FindNextFileA(find, &found));
        ::FindClose(find);
        return out;
    });
}

}  // namespace host::fs
