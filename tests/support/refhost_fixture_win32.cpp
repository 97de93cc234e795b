// The reference host's test fixture on Windows: a private host folder.
#ifdef _WIN32

#include <filesystem>
#include <string>
#include <system_error>

#include "support/refhost_fixture.h"

namespace refhost_fixture {

TempHostFolder::TempHostFolder() {
    static int made = 0;
    char temp[MAX_PATH + 1] = {};
    const DWORD n = ::GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp, n) + "Maxthon-" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(++made) + "\\";
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);  // left by a killed run
}

TempHostFolder::~TempHostFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace refhost_fixture

#endif  // _WIN32
