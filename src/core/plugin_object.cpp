// clsTillwick's logic: site attachment, the plugin command, the browser events,
// and start-up / clean-up at creation and release.
#include "core/plugin_object.h"

#include "base/errors.h"
#include "core/feature.h"
#include "core/startup.h"
#include "core/state.h"

namespace tillwick {
namespace {

constexpr std::uint32_t kOleCmdfEnabled = 2;  // OLECMDF_ENABLED

}  // namespace

void (*PluginObject::OptionsDialogHook)() = nullptr;

void PluginObject::OpenOptions() {
    if (OptionsDialogHook != nullptr)
        OptionsDialogHook();
    else
        NotifyFeatures(SpineNotice{Notice::OwnButton});
}

PluginObject::PluginObject() noexcept {
    ++State().LiveObjects;
    InitializePlugin();
}

PluginObject::~PluginObject() {
    if (--State().LiveObjects <= 0) TerminatePlugin();
}

int PluginObject::LiveObjects() noexcept { return State().LiveObjects; }

HRESULT PluginObject::SetSite(std::optional<host::Object> site, std::optional<host::Object> browser,
                              HRESULT serviceError) noexcept {
    const bool sited = site.has_value();
    site_ = sited ? std::move(*site) : host::Object();
    if (!sited) {
        browser_ = host::Object();
    } else if (!browser) {
        // No browser service: the failure goes back to the host, the old browser stays.
        return serviceError;
    } else {
        browser_ = std::move(*browser);
    }
    State().CurrentBrowser = browser_;
    return S_OK;
}

void PluginObject::QueryStatus(std::uint32_t* firstCommandFlags) noexcept {
    if (firstCommandFlags != nullptr) *firstCommandFlags = kOleCmdfEnabled;
}

HRESULT PluginObject::Exec() noexcept {
    SharedState& s = State();
    s.CurrentBrowser = browser_;
    // Our own button pressed by the tab tracking only points CurrentBrowser at the active tab.
    if (!s.SelfCommandInProgress) RunStep("Exec", &OpenOptions);
    return S_OK;
}

void PluginObject::OnBeforeNavigate2() noexcept { NotifyFeatures(SpineNotice{Notice::NavigationStarted}); }

void PluginObject::OnDownloadBegin() noexcept { NotifyFeatures(SpineNotice{Notice::NavigationStarted}); }

void PluginObject::OnDownloadComplete() noexcept { NotifyFeatures(SpineNotice{Notice::DownloadComplete}); }

void PluginObject::OnProgressChange(std::int32_t progress, std::int32_t progressMax) noexcept {
    NotifyFeatures(SpineNotice{Notice::Progress, progress, progressMax});
}

}  // namespace tillwick
