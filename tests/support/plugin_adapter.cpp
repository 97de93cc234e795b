// The reference host's plugin seam on the sim; on Windows the host goes
// through the DLL's class factory instead, so there is nothing to build.
#ifndef _WIN32

#include "support/plugin_adapter.h"

namespace testsupport {

HRESULT PluginAdapter::SetSite(std::optional<host::Object> site, std::optional<host::Object> browser) {
    return logic_.SetSite(std::move(site), std::move(browser), E_NOINTERFACE);
}
HRESULT PluginAdapter::Exec() { return logic_.Exec(); }
void PluginAdapter::BeforeNavigate2() { logic_.OnBeforeNavigate2(); }
void PluginAdapter::DownloadBegin() { logic_.OnDownloadBegin(); }
void PluginAdapter::DownloadComplete() { logic_.OnDownloadComplete(); }
void PluginAdapter::ProgressChange(std::int32_t progress, std::int32_t progressMax) {
    logic_.OnProgressChange(progress, progressMax);
}
host::Object PluginAdapter::AttachedBrowser() const { return logic_.Browser(); }

refhost::PluginFactory TillwickFactory() {
    return [] { return std::make_unique<PluginAdapter>(); };
}

}  // namespace testsupport

#endif  // _WIN32
