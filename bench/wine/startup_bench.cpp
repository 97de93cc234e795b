// What a new tab's plugin object costs: the class factory's CreateInstance and
// SetSite of one object (start-up runs inside them), on the reference host
// with a given number of host plugins, each listed in Config\Plugins.ini with
// its own folder and plugin.ini, and most features switched on. The first
// object of the process reads everything; the later ones are what each new
// tab costs. Prints milliseconds per object.
//
//   startup_bench.exe [PLUGINS] [OBJECTS]   (in the host folder, next to Plugin\Tillwick)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/win32/com.h"
#include "wine_bench.h"

#include <commctrl.h>

#include "refhost/host.h"
#include "refhost/win32/com_objects.h"
#include "refhost/win32/dll_plugin.h"

namespace {

using wine_bench::ExeFolder;
using wine_bench::PumpFor;

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

void WriteProfile() {
    const std::string settings = ExeFolder() + "Plugin\\Tillwick\\settings.ini";
    ::DeleteFileA(settings.c_str());
    for (const char* key : {"HideStatusBar", "HideTabBar", "AlwaysOnTop", "HideTitle", "ToggleFilter", "PasteGo",
                            "LastTabExit", "HideTabToolTip", "TabMenu", "TabPluginMenu", "TabOtherMenu",
                            "ExtensionMenu", "PluginMenu", "OtherMenu", "SortSearch", "ShowInMenu"})
        ::WritePrivateProfileStringA("General", key, "1", settings.c_str());
}

// Folders of an earlier run with more plugins would still be scanned.
void RemoveBenchFolders() {
    const std::string root = ExeFolder() + "Plugin\\";
    WIN32_FIND_DATAA found{};
    HANDLE find = ::FindFirstFileA((root + "Bench*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string folder = root + found.cFileName;
        ::DeleteFileA((folder + "\\plugin.ini").c_str());
        ::RemoveDirectoryA(folder.c_str());
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
}

// Our own plugin and its companion first, then plain button plugins up to `count`.
std::vector<refhost::PluginEntry> Plugins(int count) {
    std::vector<refhost::PluginEntry> plugins = refhost::DefaultPlugins();
    for (int i = static_cast<int>(plugins.size()); i < count; ++i) {
        refhost::PluginEntry p;
        p.folder = "Bench" + std::to_string(i);
        p.name = "Bench plugin " + std::to_string(i);
        p.fileName = "bench.dll";
        p.enabled = i % 7 != 0;
        plugins.push_back(p);
    }
    return plugins;
}

// Times the object's creation (the factory) and its SetSite.
class TimedPlugin final : public refhost::TabPlugin {
public:
    TimedPlugin(std::unique_ptr<refhost::TabPlugin> inner, double* spentMs) : inner_(std::move(inner)), spent_(spentMs) {}
    HRESULT SetSite(std::optional<host::Object> site, std::optional<host::Object> browser) override {
        const auto start = Clock::now();
        HRESULT hr = inner_->SetSite(std::move(site), std::move(browser));
        if (spent_ != nullptr) *spent_ += Millis(Clock::now() - start).count();
        spent_ = nullptr;  // only the first siting counts
        return hr;
    }
    HRESULT Exec() override { return inner_->Exec(); }
    void BeforeNavigate2() override { inner_->BeforeNavigate2(); }
    void DownloadBegin() override { inner_->DownloadBegin(); }
    void DownloadComplete() override { inner_->DownloadComplete(); }
    void ProgressChange(std::int32_t p, std::int32_t max) override { inner_->ProgressChange(p, max); }
    host::Object AttachedBrowser() const override { return inner_->AttachedBrowser(); }

private:
    std::unique_ptr<refhost::TabPlugin> inner_;
    double* spent_;
};

int Run(int pluginCount, int objects) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&controls);
    WriteProfile();
    RemoveBenchFolders();
    refhost::PluginFactory dll = refhost::win32::DllPluginFactory(ExeFolder() + "Plugin\\Tillwick\\Tillwick.dll");
    if (!dll) {
        std::fprintf(stderr, "cannot load Plugin\\Tillwick\\Tillwick.dll\n");
        return 1;
    }
    bool pluginsOn = false;
    std::vector<double> spent;
    refhost::Config config;
    config.objects = refhost::win32::ComObjects();
    config.plugins = Plugins(pluginCount);
    config.pluginFactory = [&]() -> std::unique_ptr<refhost::TabPlugin> {
        if (!pluginsOn) return nullptr;
        spent.push_back(0);
        const auto start = Clock::now();
        std::unique_ptr<refhost::TabPlugin> made = dll();
        spent.back() = Millis(Clock::now() - start).count();
        if (!made) return nullptr;
        return std::make_unique<TimedPlugin>(std::move(made), &spent.back());
    };
    config.loadStepMs = 20;
    config.frameRect = RECT{0, 0, 900, 650};
    refhost::Host host(std::move(config));
    if (!host.Start()) return 1;
    host.OpenTab("http://a.example/");
    PumpFor(300);

    spent.reserve(static_cast<std::size_t>(objects));  // the timed plugins point into it
    pluginsOn = true;
    for (int i = 0; i < objects; ++i) {
        host.OpenTab("http://b.example/");
        PumpFor(30);
        host.CloseTab();
        PumpFor(30);
    }
    host.Close();
    if (spent.size() != static_cast<std::size_t>(objects)) {
        std::fprintf(stderr, "made %zu objects of %d\n", spent.size(), objects);
        return 1;
    }

    std::vector<double> later(spent.begin() + 1, spent.end());
    std::sort(later.begin(), later.end());
    std::printf("Creating and siting one plugin object, %d host plugins, %d objects\n", pluginCount, objects);
    std::printf("  first object of the process: %8.2f ms\n", spent.front());
    if (!later.empty())
        std::printf("  each later object: median %8.2f ms, best %8.2f ms, worst %8.2f ms\n", later[later.size() / 2],
                    later.front(), later.back());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int plugins = argc > 1 ? std::max(2, std::atoi(argv[1])) : 300;
    const int objects = argc > 2 ? std::max(2, std::atoi(argv[2])) : 20;
    return wine_bench::WithOle([&] { return Run(plugins, objects); });
}
