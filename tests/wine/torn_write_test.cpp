// A settings writer killed at random points never leaves a torn file: a child
// process writes a counter into a 90-key settings file through the product's
// writer and is terminated again and again; after each kill the file is whole
// (every other key as it was) and holds the last value written or the next,
// and the temporary files of killed writers do not pile up.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <string>

#include "settings/ini_store.h"
#include "host/host.h"
#include "support/exe_folder.h"

namespace {

std::string SettingsText(long counter) {
    std::string text = "[General]\r\n";
    for (int i = 0; i < 89; ++i) text += "Key" + std::to_string(i) + "=value of key " + std::to_string(i) + "\r\n";
    return text + "Counter=" + std::to_string(counter) + "\r\n";
}

int TemporaryFiles(const std::string& folder) {
    return static_cast<int>(std::ranges::count_if(std::filesystem::directory_iterator(folder),
                                                  [](const auto& file) { return file.path().extension() == ".tmp"; }));
}

// Starts the writer at `first`, lets it run for `ms`, kills it.
void RunWriterFor(const std::string& path, long first, DWORD ms) {
    std::string command = "\"" + testsupport::ExeFolder() + "torn_writer.exe\" \"" + path + "\" " + std::to_string(first);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child));
    ::Sleep(ms);
    ::TerminateProcess(child.hProcess, 9);
    ::WaitForSingleObject(child.hProcess, INFINITE);
    ::CloseHandle(child.hThread);
    ::CloseHandle(child.hProcess);
}

TEST(TornWriteWine, AKilledWriterLeavesTheOldOrTheNewFile) {
    const std::string folder = testsupport::ExeFolder() + "torn_write\\";
    const std::string path = folder + "settings.ini";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(host::fs::WriteFileAtomic(path, SettingsText(0)));

    constexpr long kWrites = 10000;
    std::mt19937 random(20261206);
    long counter = 0;
    int kills = 0;
    int maxLeftovers = 0;
    while (counter < kWrites) {
        const long before = counter;
        RunWriterFor(path, before + 1, 100 + random() % 500);
        ++kills;
        const std::optional<std::string> text = host::fs::ReadFile(path);
        ASSERT_TRUE(text) << "after kill " << kills;
        const std::string counterText = tillwick::ini::ReadString(path, "General", "Counter", "");
        counter = std::strtol(counterText.c_str(), nullptr, 10);
        ASSERT_GE(counter, before) << "after kill " << kills;
        ASSERT_EQ(*text, SettingsText(counter)) << "after kill " << kills;
        // A writer that got as far as one write has cleared its predecessors' leftovers.
        if (counter > before) maxLeftovers = std::max(maxLeftovers, TemporaryFiles(folder));
    }
    EXPECT_LE(maxLeftovers, 1);
    tillwick::ini::WriteString(path, "General", "Counter", "done");
    EXPECT_EQ(TemporaryFiles(folder), 0);
    RecordProperty("kills", kills);
    RecordProperty("writes", static_cast<int>(counter));
    std::printf("%ld writes, %d kills, at most %d temporary file(s) left at a time\n", counter, kills, maxLeftovers);
}

}  // namespace
