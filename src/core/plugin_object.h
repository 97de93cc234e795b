// The logic of the plugin's COM class clsTillwick, independent of COM: the COM
// face (src/dll) and the reference host on the sim both drive this.
#pragma once

#include <cstdint>
#include <optional>

#include "host/host.h"

namespace tillwick {

class PluginObject {
public:
    // Creation runs the plugin's start-up. The host makes one object per
    // browser view and releases it when the view closes, so the plugin stops
    // (features, timers, subclasses) only with the last live object.
    PluginObject() noexcept;
    ~PluginObject();
    PluginObject(const PluginObject&) = delete;
    PluginObject& operator=(const PluginObject&) = delete;

    // site: nullopt for a null site; otherwise the site as reached
    // late-bound (an empty object when it answers no IDispatch: a site owes
    // us none). browser: what the site's service provider gave for the
    // web-browser service, or nullopt when the site offers no service
    // provider or the query failed; serviceError is then returned and the
    // browser is kept.
    HRESULT SetSite(std::optional<host::Object> site, std::optional<host::Object> browser,
                    HRESULT serviceError = E_FAIL) noexcept;
    const host::Object& Site() const noexcept { return site_; }
    // The browser whose events this object receives (empty while unsited).
    const host::Object& Browser() const noexcept { return browser_; }

    // Marks the first command's flags enabled (OLECMDF_ENABLED) and nothing else.
    static void QueryStatus(std::uint32_t* firstCommandFlags) noexcept;
    // The plugin's command: refreshes CurrentBrowser and opens the options
    // dialog unless the plugin is pressing its own button.
    HRESULT Exec() noexcept;

    // The browser events the plugin reacts to.
    void OnBeforeNavigate2() noexcept;
    void OnDownloadBegin() noexcept;
    void OnDownloadComplete() noexcept;
    void OnProgressChange(std::int32_t progress, std::int32_t progressMax) noexcept;

    // Opens the options dialog (modally; it returns when the dialog closes):
    // the feature that answers the plugin's button does, unless a test put
    // OptionsDialogHook in its place to see whether the dialog was asked for.
    static void OpenOptions();
    static void (*OptionsDialogHook)();

    // Plugin objects alive in this process.
    static int LiveObjects() noexcept;

private:
    host::Object site_;
    host::Object browser_;
};

}  // namespace tillwick
