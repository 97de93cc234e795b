// The sim has no dialog window: the form opens, and the test is its user.
#include "options/options_dialog.h"

namespace tillwick {

void RunOptionsWindow(OptionsForm& form) {
    if (!form.Loaded()) form.Load();
    form.Activate();
}

}  // namespace tillwick
