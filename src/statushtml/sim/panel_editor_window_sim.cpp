// The sim has no dialog window: the editor's form opens and stays open for the
// test, which is its user.
#include <memory>

#include "core/state.h"
#include "statushtml/panel_editor.h"
#include "statushtml/status_html_state.h"

namespace tillwick {

void OpenPanelEditor() {
    auto form = std::make_shared<PanelEditorForm>();
    form->Load();
    form->Activate();
    StatusHtmlData().Editor = std::move(form);
}

}  // namespace tillwick
