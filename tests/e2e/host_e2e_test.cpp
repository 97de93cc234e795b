// The plugin in the reference host on real windows: start-up, subclassing of
// the main frame and the status-bar images, as a user's browser would see them.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

#include "core/host_contract.h"
#include "e2e/e2e_host.h"

namespace e2e {
namespace {

constexpr UINT kActivateTab0 = 0xC000;

bool Contains(const std::vector<UINT>& commands, UINT command) {
    return std::find(commands.begin(), commands.end(), command) != commands.end();
}

class E2eHost : public HostTest {};

// The plugin starts in a fourth tab with three open, the first of them active before: it
// selects the last tab, or with ActivateFirstTab the first, once, and no other.
struct StartUp {
    const char* activateFirstTab;
    int selected;
};
class E2eStartUp : public HostTest, public ::testing::WithParamInterface<StartUp> {};

TEST_P(E2eStartUp, SelectsItsTabOnceAndNoOther) {
    const UINT selected = kActivateTab0 + static_cast<UINT>(GetParam().selected);
    WriteProfile({{"ActivateFirstTab", GetParam().activateFirstTab}});
    StartHost();
    for (const char* url : {"http://a.example/", "http://b.example/", "http://c.example/"}) host->OpenTab(url);
    host->ActivateTab(0);
    Pump(300);
    const std::size_t before = host->CommandsCarriedOut().size();
    pluginsOn = true;
    host->OpenTab("http://d.example/");  // the first plugin object: start-up with four tabs
    ASSERT_NE(host->Plugin(3), nullptr) << "the DLL made no plugin object";
    EXPECT_EQ(host->Plugin(0), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return Contains(CommandsSince(before), selected); }, 8000));
    const auto after = CommandsSince(before);
    EXPECT_EQ(std::count(after.begin(), after.end(), selected), 1);
    for (UINT other = kActivateTab0; other <= kActivateTab0 + 4; ++other) {
        if (other == selected) continue;
        EXPECT_FALSE(Contains(after, other)) << std::hex << other;
    }
    EXPECT_EQ(host->ActiveTab(), GetParam().selected);
}

INSTANTIATE_TEST_SUITE_P(StartUp, E2eStartUp, ::testing::Values(StartUp{"0", 3}, StartUp{"1", 0}),
                         [](const auto& info) { return std::string(info.param.selected ? "LastTab" : "FirstTab"); });

TEST_F(E2eHost, MainFrameIsSubclassedByTheDllAndRestoredOnRelease) {
    StartHost();
    host->OpenTab("http://a.example/");
    Pump(200);
    const HWND frame = host->Frame();
    const LONG_PTR hostProc = WindowProcOf(frame);
    const HMODULE dll = ::GetModuleHandleA("Tillwick.dll");
    ASSERT_NE(dll, nullptr) << "the host has not loaded the DLL";
    EXPECT_NE(ModuleOf(hostProc), dll);

    pluginsOn = true;
    host->OpenTab("http://b.example/");
    ASSERT_NE(host->Plugin(1), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return ModuleOf(WindowProcOf(frame)) == dll; }, 8000))
        << "the main frame's procedure is not inside Tillwick.dll";

    host->CloseTab();  // the active tab: its plugin object is released
    Pump(300);
    ASSERT_EQ(host->TabCount(), 1);
    EXPECT_TRUE(::IsWindow(frame));
    EXPECT_EQ(WindowProcOf(frame), hostProc) << "the host's procedure was not put back";
}

// The host is the only browser process (this executable is Maxthon.exe): on
// WM_CLOSE the plugin removes its scratch file and the two status-bar images.
TEST_F(E2eHost, StatusImagesAreBitmapFilesThatGoWithTheOnlyHostProcess) {
    StartHost();
    pluginsOn = true;
    host->OpenTab("http://a.example/");
    ASSERT_NE(host->Plugin(0), nullptr);
    // Sited with the tab's browser, its event sink on the browser's connection point.
    EXPECT_TRUE(host->Plugin(0)->AttachedBrowser() == host->Browser(0));
    EXPECT_EQ(refhost::win32::AdvisedSinks(host->Browser(0)), 1);
    const std::string folder = PluginFolder(), temp1 = folder + "temp1", temp2 = folder + "temp2";
    ASSERT_TRUE(PumpUntil([&] { return FileExists(temp1) && FileExists(temp2); }, 10000)) << "no status-bar images written";
    Pump(200);
    struct Expected {
        std::string path;
        std::int32_t width;
    };
    for (const auto& [path, width] : {Expected{temp1, 20}, Expected{temp2, 8}}) {
        std::ifstream in(path, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_GE(bytes.size(), 54u) << path;
        EXPECT_EQ(bytes.substr(0, 2), "BM") << path;
        std::uint32_t fileSize = 0, offset = 0;
        std::int32_t w = 0, h = 0;
        std::uint16_t bits = 0;
        std::memcpy(&fileSize, bytes.data() + 2, 4);
        std::memcpy(&offset, bytes.data() + 10, 4);
        std::memcpy(&w, bytes.data() + 18, 4);
        std::memcpy(&h, bytes.data() + 22, 4);
        std::memcpy(&bits, bytes.data() + 28, 2);
        EXPECT_EQ(fileSize, bytes.size()) << path;
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

// With the companion plugin installed the plugin runs it through the host
// until the security id is in its settings, takes the id and stops asking.
TEST_F(E2eHost, TheSecurityIdIsFetchedFromTheCompanion) {
    StartHost();
    const auto plugins = refhost::DefaultPlugins();
    const auto companion = std::find_if(plugins.begin(), plugins.end(),
                                        [](const refhost::PluginEntry& e) { return e.name == "Tillwick Helper"; });
    ASSERT_NE(companion, plugins.end());
    const UINT companionCommand =
        tillwick::contract::kCmdPluginBase + static_cast<UINT>(companion - plugins.begin());
    const std::size_t before = host->CommandsCarriedOut().size();
    pluginsOn = true;
    host->OpenTab("http://a.example/");
    ASSERT_TRUE(PumpUntil([&] { return Contains(CommandsSince(before), companionCommand); }, 8000))
        << "the companion was never run";
    Pump(1500);  // several poll periods: a poll that did not take the id would run it again
    const auto after = CommandsSince(before);
    EXPECT_EQ(std::count(after.begin(), after.end(), companionCommand), 1);
    EXPECT_EQ(Setting("SecurityID"), "<none>") << "the id was left in the settings file";
}

}  // namespace
}  // namespace e2e
