// The reference host's test fixture on Windows: a private host folder for each test.
#ifdef _WIN32

#include <filesystem>
#include <string>
#include <system_error>

#include "support/refhost_fixture.h"

namespace refhost_fixture {

std::string NewTempHostFolder() {
    static int made = 0;
    char temp[MAX_PATH + 1] = {};
    const DWORD n = ::GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp, n) + "Maxthon-" + std::to_string(::GetCurrentProcessId()) + "-" +
                             std::to_string(++made) + "\\";
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);  // left by a killed run
    return path;
}

}  // namespace refhost_fixture

#endif  // _WIN32
