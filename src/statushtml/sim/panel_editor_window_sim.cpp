// The sim has no dialog window: the editor's form opens and stays open for the
// test, which is its user.
#include <memory>

#include "core/feature_hooks.h"
#include "core/state.h"
#include "statushtml/panel_editor.h"

namespace tillwick {

void OpenPanelEditor() {
    auto form = std::make_shared<PanelEditorForm>();
    form->Load();
    form->Activate();
    State().StatusHtml.Editor = std::move(form);
}

}  // namespace tillwick
