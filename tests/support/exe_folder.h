// The folder of the running test program, with its trailing backslash: the
// Wine tests keep their files and helper programs beside it.
#pragma once

#include <windows.h>

#include <string>

namespace testsupport {

inline std::string ExeFolder() {
    char path[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string text(path, n);
    return text.substr(0, text.find_last_of('\\') + 1);
}

}  // namespace testsupport
