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
