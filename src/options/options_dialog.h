// Opening the options dialog: one form per process, made on first use and
// shown again on every later call. The plugin's button reaches it through
// the feature table.
#pragma once

#include "options/options_form.h"

namespace tillwick {

// The dialog's form, made when first asked for.
OptionsForm& OptionsDialogForm();
bool OptionsDialogMade() noexcept;
// Shows the dialog modally: it returns when the dialog closes.
void ShowOptionsDialog();

// The backend's window for the form. On Windows it shows the dialog modally,
// owned by the main frame, and returns when it closes; the thread's messages
// and timers keep being dispatched meanwhile. On the sim there is no window:
// the form is loaded and activated, and stays open until a test closes it.
void RunOptionsWindow(OptionsForm& form);

struct Feature;
extern const Feature kOptionsDialogFeature;

}  // namespace tillwick
