#include "options/options_dialog.h"

#include <memory>

#include "core/feature.h"
#include "core/state.h"

namespace tillwick {
namespace {
// Made on first use and kept for the process.
std::shared_ptr<OptionsForm> g_form;
}  // namespace

OptionsForm& OptionsDialogForm() {
    if (!g_form) g_form = std::make_shared<OptionsForm>();
    return *g_form;
}

bool OptionsDialogMade() noexcept { return g_form != nullptr; }

void ShowOptionsDialog() {
    // Held for the whole call: a test's fresh start meanwhile must not free the open form.
    OptionsDialogForm();
    std::shared_ptr<OptionsForm> form = g_form;
    RunOptionsWindow(*form);
}

constinit const Feature kOptionsDialogFeature{.name = "options dialog",
                                              .startAt = StartPoint::Never,
                                              .apply = ApplyRestart::No,
                                              .notice = [](const SpineNotice& notice) {
                                                  if (notice.what == Notice::OwnButton) ShowOptionsDialog();
                                              },
                                              .reset = [] { g_form.reset(); }};

}  // namespace tillwick
