// The layers' include rule: the spine (core/) never reaches up into a
// feature folder, it knows the features only through the feature table;
// the settings and the leaf helpers sit below everything else.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

struct Layer {
    const char* folder;
    std::vector<std::string> mayInclude;  // top-level folders of src/ it may include from
};

const Layer kLayers[] = {
    {"base", {"base", "host"}},
    {"settings", {"settings", "base", "host"}},
    {"core", {"core", "settings", "base", "host"}},
};

TEST(Layering, EachLayerIncludesOnlyFromTheLayersBelowIt) {
    const std::filesystem::path src = std::filesystem::path(TILLWICK_SOURCE_DIR) / "src";
    const std::regex include(R"re(^\s*#\s*include\s*"([a-z_]+)/)re");
    int files = 0;
    for (const Layer& layer : kLayers) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(src / layer.folder)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".h" && ext != ".cpp") continue;
            ++files;
            std::ifstream in(entry.path());
            std::string line;
            for (int n = 1; std::getline(in, line); ++n) {
                std::smatch m;
                if (!std::regex_search(line, m, include)) continue;
                const bool allowed = std::ranges::find(layer.mayInclude, m[1].str()) != layer.mayInclude.end();
                EXPECT_TRUE(allowed) << entry.path().string() << ":" << n << ": " << line;
            }
        }
    }
    EXPECT_GT(files, 20);  // the folders were found
}

}  // namespace
