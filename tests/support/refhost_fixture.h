// The reference host under test, on either backend: the seams a test supplies
// (script objects, the LRESULT mapping, the host folder) and a plugin object
// that records what the host does to it. On the sim the objects are property
// bags and the process facts are set up; on Windows they are the host's COM
// objects and the host folder is a private temporary one.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "refhost/host.h"
#include "support/platform.h"

#ifdef _WIN32
#include <filesystem>
#include <system_error>

#include "refhost/win32/com_objects.h"
#else
#include "host/sim/sim.h"
#endif

namespace refhost_fixture {

#ifndef _WIN32

inline const std::string kHostFolder = "C:\\Program Files\\Maxthon\\";
inline const std::string kExePath = kHostFolder + "Maxthon.exe";
inline const std::string kPluginDll = kHostFolder + "Plugin\\Tillwick\\Tillwick.dll";

inline host::sim::PropertyBag* Bag(const host::Object& object) {
    return dynamic_cast<host::sim::PropertyBag*>(object.impl());
}

inline refhost::ObjectSeam SimObjects() {
    refhost::ObjectSeam seam;
    seam.create = [] { return host::Object(host::sim::MakeObject()); };
    seam.set = [](const host::Object& object, std::string_view name, host::Value value) {
        if (auto* bag = Bag(object)) bag->Set(std::string(name), std::move(value));
    };
    seam.setMethod = [](const host::Object& object, std::string_view name,
                        refhost::ObjectSeam::Method method) {
        if (auto* bag = Bag(object)) bag->SetMethod(std::string(name), std::move(method));
    };
    seam.lresultFromObject = &host::sim::LresultFromObject;
    seam.names = [](const host::Object& object) {
        auto* bag = Bag(object);
        return bag ? bag->Names() : std::vector<std::string>{};
    };
    return seam;
}

// Process facts of a browser installed in kHostFolder, and a host config
// that makes its objects as property bags. Call after the platform reset.
inline refhost::Config SimConfig(int hostProcesses = 1) {
    host::sim::SetExecutablePath(kExePath);
    host::sim::SetPluginModulePath(kPluginDll);
    host::sim::SetProcessCount(hostProcesses);
    refhost::Config config;
    config.objects = SimObjects();
    return config;
}

// The code a page object was given through execScript, in order.
inline std::vector<std::string> ScriptsRun(const host::Object& object) {
    auto* bag = Bag(object);
    return bag ? bag->Scripts() : std::vector<std::string>{};
}

#else  // _WIN32

// A new empty folder below the temporary folder, named like the browser's
// ("...\Maxthon-<process>-<n>\").
std::string NewTempHostFolder();

#endif  // _WIN32

// A plugin object that only notes its release, by its creation number, in a
// list shared by all objects.
class RecordingPlugin final : public refhost::TabPlugin {
public:
    using Released = std::shared_ptr<std::vector<int>>;
    RecordingPlugin(Released released, int number) : released_(std::move(released)), number_(number) {}
    ~RecordingPlugin() override { released_->push_back(number_); }

    HRESULT SetSite(std::optional<host::Object>, std::optional<host::Object> browser) override {
        browser_ = browser.value_or(host::Object());
        return S_OK;
    }
    HRESULT Exec() override { return S_OK; }
    void BeforeNavigate2() override {}
    void DownloadBegin() override {}
    void DownloadComplete() override {}
    void ProgressChange(std::int32_t, std::int32_t) override {}
    host::Object AttachedBrowser() const override { return browser_; }

private:
    Released released_;
    int number_;
    host::Object browser_;
};

// Windows below a parent, in the order EnumChildWindows gives them.
inline std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> found;
    host::EnumChildWindows(parent, &testsupport::CollectWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

using testsupport::ClassOf;

inline DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(host::GetWindowLongA(hwnd, GWL_STYLE)); }

// A fresh process (on Windows: a clean thread, COM and a new host folder)
// with a host config; Start() runs the host.
class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::PlatformReset();
#ifdef _WIN32
        ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
        oleStarted_ = true;
        config.objects = refhost::win32::ComObjects();
        config.hostFolder = folder_ = NewTempHostFolder();
#else
        config = SimConfig();
#endif
        config.pluginFactory = [released = released, made = std::make_shared<int>(0)] {
            return std::unique_ptr<refhost::TabPlugin>(std::make_unique<RecordingPlugin>(released, ++*made));
        };
    }
    void TearDown() override {
        host.reset();
#ifdef _WIN32
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        if (oleStarted_) ::OleUninitialize();
#endif
    }

    // The host running, with `blankTabs` new tabs opened.
    refhost::Host& Start(int blankTabs = 0) {
        host = std::make_unique<refhost::Host>(std::move(config));
        EXPECT_TRUE(host->Start());
        for (int i = 0; i < blankTabs; ++i) host->OpenTab();
        return *host;
    }

    refhost::Config config;
    // The numbers of the plugin objects released so far, in order (1 for the first made).
    RecordingPlugin::Released released = std::make_shared<std::vector<int>>();
    std::unique_ptr<refhost::Host> host;

private:
#ifdef _WIN32
    bool oleStarted_ = false;
    std::string folder_;
#endif
};

}  // namespace refhost_fixture
