// The plugin's logic as the reference host sees a plugin object: what the
// DLL's COM face does on Windows, done directly on the sim.
#pragma once

#include <memory>
#include <optional>

#include "core/plugin_object.h"
#include "refhost/plugin_seam.h"

namespace testsupport {

class PluginAdapter final : public refhost::TabPlugin {
public:
    HRESULT SetSite(std::optional<host::Object> site, std::optional<host::Object> browser) override;
    HRESULT Exec() override;
    void BeforeNavigate2() override;
    void DownloadBegin() override;
    void DownloadComplete() override;
    void ProgressChange(std::int32_t progress, std::int32_t progressMax) override;
    host::Object AttachedBrowser() const override;

private:
    tillwick::PluginObject logic_;  // creation runs start-up, release removes the hooks
};

// What the reference host calls to create a plugin object for a tab.
refhost::PluginFactory TillwickFactory();

}  // namespace testsupport
