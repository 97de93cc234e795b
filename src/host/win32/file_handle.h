// Owns a kernel file handle for the file functions.
#pragma once

#include "host/win_types.h"

namespace host::win32 {

class FileHandle {
public:
    explicit FileHandle(HANDLE h) noexcept : h_(h) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool valid() const noexcept { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const noexcept { return h_; }
    // Closes now; false when the close itself failed (buffered data may be lost).
    bool Close() noexcept {
        if (!valid()) return true;
        BOOL ok = ::CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        return ok != FALSE;
    }

private:
    HANDLE h_;
};

}  // namespace host::win32
