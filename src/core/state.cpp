#include "core/state.h"

#include "core/feature.h"
#include "settings/settings_files.h"

namespace tillwick {
namespace {
SharedState g_state;
}

SharedState& State() { return g_state; }
void ResetState() {
    g_state = SharedState{};
    ResetSettingsFiles();
    ResetFeatures();
}

}  // namespace tillwick
