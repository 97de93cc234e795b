// Our settings reader against the platform's profile reader on the same file:
// every key of the settings catalogue (about 90) in settings.ini, each read
// through ReadSetting and through GetPrivateProfileStringA, in one run.
// Prints nanoseconds per read and the ratio ours / platform's.
//
//   settings_read_bench.exe [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/win32/com.h"
#include "wine_bench.h"

#include "core/state.h"
#include "core/wrapper.h"
#include "settings/settings_catalogue.h"

namespace {

using wine_bench::ExeFolder;

using Clock = std::chrono::steady_clock;

struct Key {
    std::string section, key;
};

// Best of five batches, in nanoseconds per read.
template <typename Read>
double NanosPerRead(const std::vector<Key>& keys, int rounds, Read read) {
    double best = 1e18;
    for (int batch = 0; batch < 5; ++batch) {
        const auto start = Clock::now();
        for (int r = 0; r < rounds; ++r)
            for (const Key& k : keys) read(k);
        const std::chrono::duration<double, std::nano> took = Clock::now() - start;
        best = std::min(best, took.count() / (static_cast<double>(rounds) * static_cast<double>(keys.size())));
    }
    return best;
}

int Run(int rounds) {
    const std::string folder = ExeFolder() + "settings_bench";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    tillwick::SetPluginFolder(folder);
    const std::string path = tillwick::SettingsFilePath();
    ::DeleteFileA(path.c_str());

    std::vector<Key> keys;
    int n = 0;
    for (const tillwick::SettingRow& row : tillwick::SettingsCatalogue()) {
        Key k{std::string(row.section), std::string(row.key)};
        // Alternate values and empties, as a user's file has them.
        const std::string value = (n++ % 3 == 0) ? std::string() : std::string(row.featureDefault) + "1";
        ::WritePrivateProfileStringA(k.section.c_str(), k.key.c_str(), value.c_str(), path.c_str());
        keys.push_back(std::move(k));
    }

    std::size_t mismatches = 0;
    char buffer[1024];
    for (const Key& k : keys) {
        ::GetPrivateProfileStringA(k.section.c_str(), k.key.c_str(), "d", buffer, sizeof buffer, path.c_str());
        const std::string platform = buffer[0] != '\0' ? buffer : "d";
        if (tillwick::ReadSetting(k.key, "d", k.section) != platform) ++mismatches;
    }

    const double ours = NanosPerRead(keys, rounds, [](const Key& k) {
        volatile std::size_t sink = tillwick::ReadSetting(k.key, "", k.section).size();
        (void)sink;
    });
    const double platform = NanosPerRead(keys, rounds, [&](const Key& k) {
        ::GetPrivateProfileStringA(k.section.c_str(), k.key.c_str(), "", buffer, sizeof buffer, path.c_str());
    });
    std::printf("Reading the %zu keys of settings.ini, %d rounds per batch, best of 5 batches\n", keys.size(), rounds);
    std::printf("  ReadSetting:               %10.0f ns a read\n", ours);
    std::printf("  GetPrivateProfileStringA:  %10.0f ns a read\n", platform);
    std::printf("  ratio ours / platform's:   %10.2f\n", ours / platform);
    std::printf("  values that differ:        %10zu\n", mismatches);
    return mismatches == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    return Run(rounds);
}
