#include "options/options_dialog.h"

#include <memory>

#include "core/feature_hooks.h"
#include "core/state.h"

namespace tillwick {

OptionsForm& OptionsDialogForm() {
    auto& form = State().OptionsDialog;
    if (!form) form = std::make_shared<OptionsForm>();
    return *form;
}

void ShowOptionsDialog() {
    // Held for the whole call: a reset of the shared state meanwhile must not free the open form.
    OptionsDialogForm();
    std::shared_ptr<OptionsForm> form = State().OptionsDialog;
    RunOptionsWindow(*form);
}

}  // namespace tillwick
