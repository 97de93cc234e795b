// System programs are started from the system folder: with a rundll32.exe in
// the current folder (which a bare program name is looked for in first), the
// security-zone dialog still starts the system's.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "host/host.h"
#include "support/exe_folder.h"

namespace {

std::set<DWORD> Rundll32Processes() {
    std::set<DWORD> ids;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return ids;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry))
        if (::lstrcmpiA(entry.szExeFile, "rundll32.exe") == 0) ids.insert(entry.th32ProcessID);
    ::CloseHandle(snapshot);
    return ids;
}

TEST(SystemProgramsWine, TheSecurityDialogIgnoresARundll32InTheCurrentFolder) {
    const std::string here = testsupport::ExeFolder(), folder = here + "decoy_folder\\";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileA((here + "decoy.exe").c_str(), (folder + "rundll32.exe").c_str(), FALSE));
    ::DeleteFileA((folder + "decoy-ran").c_str());
    char previous[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(::SetCurrentDirectoryA(folder.c_str()));
    const std::set<DWORD> before = Rundll32Processes();

    const bool started = host::LaunchSecurityDialog(nullptr);
    bool decoyRan = false;
    for (int i = 0; i < 30 && !decoyRan; ++i) {  // the decoy writes its file at once; 3 s is plenty
        ::Sleep(100);
        decoyRan = ::GetFileAttributesA((folder + "decoy-ran").c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    ::SetCurrentDirectoryA(previous);
    // The system's dialog stays open; end it, so that no window covers later tests.
    for (DWORD id : Rundll32Processes()) {
        if (before.count(id) != 0) continue;
        if (HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
            ::TerminateProcess(process, 0);
            ::WaitForSingleObject(process, 5000);
            ::CloseHandle(process);
        }
    }
    EXPECT_TRUE(started);
    EXPECT_FALSE(decoyRan);
}

}  // namespace
