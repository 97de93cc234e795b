// The plugin in the reference host on real windows: the status-bar images,
// as a user's browser would see them.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <utility>

#include "e2e/e2e_host.h"

namespace e2e {
namespace {

class E2eHost : public HostTest {};

// The host is the only browser process (this executable is Maxthon.exe): on
// WM_CLOSE the plugin removes its scratch file and the two status-bar images.
TEST_F(E2eHost, StatusImagesAreBitmapFilesThatGoWithTheOnlyHostProcess) {
    ASSERT_NO_FATAL_FAILURE(StartWithPlugin("http://a.example/"));
    // Sited with the tab's browser, its event sink on the browser's connection point.
    EXPECT_TRUE(host->Plugin(0)->AttachedBrowser() == host->Browser(0));
    EXPECT_EQ(refhost::win32::AdvisedSinks(host->Browser(0)), 1);
    const std::string folder = PluginFolder(), temp1 = folder + "temp1", temp2 = folder + "temp2";
    ASSERT_TRUE(PumpUntil([&] { return FileExists(temp1) && FileExists(temp2); }, 10000)) << "no status-bar images written";
    Pump(200);
    for (const auto& [path, width] : {std::pair{temp1, 20}, std::pair{temp2, 8}}) {
        const std::string bytes = FileText(path);
        ASSERT_GE(bytes.size(), 54u) << path;
        EXPECT_EQ(bytes.substr(0, 2), "BM") << path;
        const auto at = [&bytes](std::size_t offset, std::size_t size) {  // a little-endian field of the headers
            std::int32_t value = 0;
            std::memcpy(&value, bytes.data() + offset, size);
            return value;
        };
        const std::int32_t w = at(18, 4), h = at(22, 4), bits = at(28, 2);
        const auto offset = static_cast<std::size_t>(at(10, 4));
        EXPECT_EQ(static_cast<std::size_t>(at(2, 4)), bytes.size()) << path;
        EXPECT_EQ(w, width) << path;
        EXPECT_GT(h, 0) << path;
        ASSERT_TRUE(bits == 24 || bits == 32) << path << " has " << bits << " bits per pixel";
        const std::size_t stride = (static_cast<std::size_t>(w) * bits / 8 + 3) & ~std::size_t{3};
        EXPECT_EQ(bytes.size(), offset + stride * static_cast<std::size_t>(h)) << path;
    }
    { std::ofstream(folder + "temp") << "scratch"; }
    ASSERT_TRUE(FileExists(folder + "temp"));
    host->Close();
    Pump(200);
    for (const char* name : {"temp", "temp1", "temp2"}) EXPECT_FALSE(FileExists(folder + name)) << name;
    EXPECT_TRUE(FileExists(folder + "settings.ini")) << "the settings went with the scratch files";
}

}  // namespace
}  // namespace e2e
