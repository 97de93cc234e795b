// Counting the running processes of one executable.
#include "host/host.h"
#include "host/text.h"
#include "host/win32/guard.h"

#include <tlhelp32.h>

namespace host {

namespace {

class SnapshotHandle {
public:
    explicit SnapshotHandle(HANDLE h) noexcept : h_(h) {}
    ~SnapshotHandle() {
        if (valid()) ::CloseHandle(h_);
    }
    SnapshotHandle(const SnapshotHandle&) = delete;
    SnapshotHandle& operator=(const SnapshotHandle&) = delete;
    bool valid() const noexcept { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE get() const noexcept { return h_; }

private:
    HANDLE h_;
};

}  // namespace

std::optional<int> CountProcessesNamed(std::string_view exeName) {
    return win32::Guarded(std::optional<int>{}, [&]() -> std::optional<int> {
        // Process names are compared as Windows compares file names: wide and case-insensitive.
        std::u16string wanted = AnsiToWide(exeName);
        SnapshotHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (!snapshot.valid()) return std::nullopt;

        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof(entry);
        if (!::Process32FirstW(snapshot.get(), &entry)) {
            if (::GetLastError() == ERROR_NO_MORE_FILES) return 0;
            return std::nullopt;
        }
        int count = 0;
        do {
            if (::CompareStringOrdinal(entry.szExeFile, -1,
                                       reinterpret_cast<const wchar_t*>(wanted.c_str()),
                                       static_cast<int>(wanted.size()), TRUE) == CSTR_EQUAL) {
                ++count;
            }
        } while (::Process32NextW(snapshot.get(), &entry));
        return count;
    });
}

}  // namespace host
