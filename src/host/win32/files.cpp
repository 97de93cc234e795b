// Files and folders: ANSI paths, as the rest of the plugin spells them.
#include <algorithm>
#include <atomic>

#include "host/host.h"
#include "host/win32/file_handle.h"
#include "host/win32/guard.h"

namespace host::fs {

using win32::FileHandle;
using win32::Guarded;

namespace {

DWORD Attributes(const std::string& path) noexcept { return ::GetFileAttributesA(path.c_str()); }

// Writes all of `content`; WriteFile takes at most a DWORD's worth at a time.
bool WriteAll(HANDLE file, std::string_view content) noexcept {
    constexpr std::size_t kChunk = 1u << 30;
    while (!content.empty()) {
        DWORD part = static_cast<DWORD>(content.size() < kChunk ? content.size() : kChunk);
        DWORD written = 0;
        if (!::WriteFile(file, content.data(), part, &written, nullptr) || written == 0) {
            return false;
        }
        content.remove_prefix(written);
    }
    return true;
}

// A name beside the target that no other writer uses at the same time, so
// two processes saving the same file never share a temporary file.
std::string TemporaryNameFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + "." + std::to_string(::GetCurrentProcessId()) + "-" +
           std::to_string(counter.fetch_add(1)) + ".tmp";
}

// Replaces `path` with `temp`. A reader that has the target open without
// delete sharing (the profile functions, a virus scanner) blocks the rename
// for a moment, so a refused rename is tried again a few times.
bool MoveIntoPlace(const std::string& temp, const std::string& path) noexcept {
    constexpr int kAttempts = 5;
    for (int attempt = 1;; ++attempt) {
        if (::MoveFileExA(temp.c_str(), path.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD error = ::GetLastError();
        if (attempt == kAttempts ||
            (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)) {
            return false;
        }
        ::Sleep(20 * attempt);
    }
}

class FindHandle {
public:
    explicit FindHandle(HANDLE h) noexcept : h_(h) {}
    ~FindHandle() {
        if (valid()) ::FindClose(h_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    bool valid() const noexcept { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const noexcept { return h_; }

private:
    HANDLE h_;
};

bool ProcessRuns(DWORD pid) noexcept {
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr) return ::GetLastError() == ERROR_ACCESS_DENIED;  // someone else's: keep
    DWORD code = 0;
    const bool runs = ::GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    ::CloseHandle(process);
    return runs;
}

// Deletes the temporary files that writers of `path` left behind when they
// were killed before their rename: each name carries its writer's process
// id, and a file whose writer no longer runs will never be renamed.
void RemoveOrphanedTemporaries(const std::string& path) noexcept {
    const std::size_t slash = path.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string base = path.substr(folder.size()) + ".";
    WIN32_FIND_DATAA found{};
    FindHandle search(::FindFirstFileA((path + ".*.tmp").c_str(), &found));
    if (!search.valid()) return;
    const DWORD self = ::GetCurrentProcessId();
    do {
        std::string_view name = found.cFileName;
        if (name.size() <= base.size() || name.compare(0, base.size(), base) != 0) continue;
        name.remove_prefix(base.size());
        DWORD pid = 0;
        std::size_t digits = 0;
        while (digits < name.size() && name[digits] >= '0' && name[digits] <= '9' && digits < 10)
            pid = pid * 10 + static_cast<DWORD>(name[digits++] - '0');
        if (digits == 0 || digits >= name.size() || name[digits] != '-') continue;
        if (pid == self || ProcessRuns(pid)) continue;
        ::DeleteFileA((folder + found.cFileName).c_str());
    } while (::FindNextFileA(search.get(), &found));
}

}  // namespace

bool FileExists(const std::string& path) {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) {
    return Guarded(std::optional<std::string>{}, [&]() -> std::optional<std::string> {
        FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) return std::nullopt;
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return std::nullopt;

        std::string content;
        content.reserve(static_cast<std::size_t>(
            std::min<unsigned long long>(static_cast<unsigned long long>(size.QuadPart), maxBytes)));
        // Read to the end (or the cap) rather than to the size seen above:
        // another process may be appending while we read.
        char buffer[64 * 1024];
        while (content.size() < maxBytes) {
            const std::size_t want = std::min(sizeof(buffer), maxBytes - content.size());
            DWORD got = 0;
            if (!::ReadFile(file.get(), buffer, static_cast<DWORD>(want), &got, nullptr)) return std::nullopt;
            if (got == 0) break;
            content.append(buffer, got);
        }
        return content;
    });
}

bool WriteFileAtomic(const std::string& path, std::string_view content) {
    return Guarded(false, [&] {
        RemoveOrphanedTemporaries(path);
        const std::string temp = TemporaryNameFor(path);
        // A leftover of a crashed writer with the same name is simply reused.
        FileHandle file(::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) return false;
        // The data reaches the disk before the rename makes it the file, so a
        // crash leaves either the old file or the whole new one.
        bool ok = WriteAll(file.get(), content) && ::FlushFileBuffers(file.get());
        ok = file.Close() && ok;
        ok = ok && MoveIntoPlace(temp, path);
        if (!ok) ::DeleteFileA(temp.c_str());
        return ok;
    });
}

bool DeleteFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != FALSE; }

bool CreateFolder(const std::string& path) {
    // Succeeds when the folder is there afterwards, whether or not it was
    // there before; the parent must exist.
    if (::CreateDirectoryA(path.c_str(), nullptr)) return true;
    return ::GetLastError() == ERROR_ALREADY_EXISTS && FolderExists(path);
}

namespace {

std::vector<std::string> ListEntries(const std::string& path, bool folders) {
    return Guarded(std::vector<std::string>{}, [&] {
        std::vector<std::string> names;
        std::string pattern = path;
        if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
        pattern += '*';

        WIN32_FIND_DATAA found{};
        FindHandle search(::FindFirstFileA(pattern.c_str(), &found));
        if (!search.valid()) return names;
        do {
            if (((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != folders) continue;
            std::string_view name = found.cFileName;
            if (name == "." || name == "..") continue;
            names.emplace_back(name);
        } while (::FindNextFileA(search.get(), &found));
        return names;
    });
}

}  // namespace

std::vector<std::string> ListSubfolders(const std::string& path) { return ListEntries(path, true); }

std::vector<std::string> ListFiles(const std::string& path) { return ListEntries(path, false); }

}  // namespace host::fs
