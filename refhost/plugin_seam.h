// How the reference host meets a plugin: it creates one plugin object per tab
// through a factory, sites it with the tab's browser, presses its button, tells
// it the browser's events and releases it when the tab closes. On the sim the
// factory wraps the plugin's logic directly; on Windows it is the DLL's class
// factory.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "host/host.h"

namespace refhost {

class TabPlugin {
public:
    virtual ~TabPlugin() = default;  // the host's Release
    // site: nullopt unsites the object; an empty object is a site that
    // answers no IDispatch. browser: the web-browser service of the site
    // (nullopt: the site offers no service provider).
    virtual HRESULT SetSite(std::optional<host::Object> site, std::optional<host::Object> browser) = 0;
    virtual HRESULT Exec() = 0;
    // Browser events, raised only while the plugin holds this browser.
    virtual void BeforeNavigate2() = 0;
    virtual void DownloadBegin() = 0;
    virtual void DownloadComplete() = 0;
    virtual void ProgressChange(std::int32_t progress, std::int32_t progressMax) = 0;
    // The browser the plugin is attached to (events go only to that one).
    virtual host::Object AttachedBrowser() const = 0;
};

using PluginFactory = std::function<std::unique_ptr<TabPlugin>()>;

}  // namespace refhost
