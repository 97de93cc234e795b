// Apply: writes every setting from its control, then restarts the features
// from the feature table, each on its own step, so that a failing restart
// never keeps the others from taking the new settings.
#include "options/options_apply.h"

#include "base/convert.h"
#include "base/errors.h"
#include "core/feature.h"
#include "core/state.h"
#include "core/subclassing.h"
#include "core/wrapper.h"
#include "options/options_form.h"
#include "settings/ini_store.h"

namespace tillwick {

// The form's private view of its controls, for the steps below.
struct ApplySteps {
    static bool Ticked(const OptionsForm& f, std::string_view name) { return f.Get(name).checked; }
    static bool Enabled(const OptionsForm& f, std::string_view name) { return f.Get(name).enabled; }
};

namespace {

// The host's descriptor of this plugin says whether the host shows our button.
void WritePluginType(const OptionsForm& form) {
    const bool button = !ApplySteps::Enabled(form, "chkShowButton") || ApplySteps::Ticked(form, "chkShowButton");
    ini::WriteString(PluginFilePath("plugin.ini"), kGeneral, "Type", button ? "M2Plugin_Button" : "M2Plugin_Other");
}

void ReinstallSubclasses(const OptionsForm& form) {
    // The new modifier counts from now on, not only after the next start.
    State().GlobalModifierKey = form.ValueOf(Setting::GlobalModifier) == "Shift" ? VK_SHIFT : VK_CONTROL;
    InstallSubclasses();
}

// A value that Apply leaves as it is: an empty hot key, and the button switch while the button is forced on.
bool KeptAsStored(const OptionsForm& form, Setting id) {
    if (id == Setting::OnTopHotKeyVK) return form.ValueOf(id).empty();
    if (id == Setting::ShowButton) return !ApplySteps::Enabled(form, "chkShowButton");
    return false;
}

}  // namespace

std::vector<Setting> AppliedSettings() {
    std::vector<Setting> written;
    for (const SettingRow& row : SettingsCatalogue())
        if (row.kind != SettingKind::Hidden) written.push_back(row.id);
    return written;
}

std::string OptionsForm::ValueOf(Setting id) const {
    const SettingRow& row = CatalogueRow(id);
    switch (row.kind) {
    case SettingKind::Switch:
        return Get(row.control).checked ? "1" : "0";
    case SettingKind::Colour:
        return std::to_string(Get(row.control).back);
    case SettingKind::OptionPair: {
        // The pair stands for a switch: the other value is the opposite one.
        const bool selected = Get(row.control).checked;
        const std::string_view other = row.pairValue == "1" ? "0" : "1";
        return std::string(selected ? row.pairValue : other);
    }
    case SettingKind::Number:
    case SettingKind::Text:
    case SettingKind::Combo:
        return Get(row.control).text;
    case SettingKind::Hidden:
        break;
    }
    throw StepError("setting not in the dialog");
}

void OptionsForm::Apply() {
    for (Setting id : AppliedSettings())
        RunStep([&] {
            if (!KeptAsStored(*this, id)) WriteSettingValue(id, ValueOf(id));
        });
    RestartFeatures();
    RunStep([&] { WritePluginType(*this); });
    RunStep([&] { ReinstallSubclasses(*this); });
    RunStep([&] { RefreshDiagnostics(); });
    At("cmdApply").enabled = false;
    Changed(ControlOf("cmdApply"));
}

}  // namespace tillwick
