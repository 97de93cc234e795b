// The options form's events. Apply's steps live in options_apply.cpp.
#include "options/options_form.h"

#include <algorithm>
#include <cctype>

#include "base/convert.h"
#include "base/errors.h"
#include "core/plugin_registry.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "features/always_on_top.h"
#include "statushtml/status_html.h"

namespace tillwick {
namespace {

constexpr int kEscape = 27;
constexpr UINT kInformationIcon = 64;  // MB_ICONINFORMATION
constexpr std::size_t kDefaultPage = 1;

// The option buttons that start selected when the form is created.
constexpr std::string_view kInitialOptions[] = {"optStatusProgress", "optHideLastTab", "optTabActivate"};

// The text the dialog shows for a setting: the stored one, or the dialog's default when it is missing or empty.
std::string DialogValue(const SettingRow& row) {
    std::optional<std::string> stored = StoredSetting(row.id);
    if (stored && !stored->empty()) return *stored;
    if (row.id == Setting::HighlightComboText && row.dialogDefault.empty())
        return std::to_string(host::GetSysColor(COLOR_WINDOWTEXT));
    return std::string(row.dialogDefault);
}

bool IsPairMember(const SettingRow& row, std::string_view control) {
    return row.control == control || row.otherControl == control;
}

}  // namespace

OptionsForm::OptionsForm() { ResetControls(); }

std::vector<std::string> OptionsForm::ComboItems(ControlId id) {
    std::vector<std::string> items;
    for (const SettingRow& row : SettingsCatalogue()) {
        if (row.kind != SettingKind::Combo || row.control != ControlDefOf(id).name) continue;
        std::string_view rest = row.comboItems;
        while (!rest.empty()) {
            std::size_t bar = rest.find('|');
            items.emplace_back(rest.substr(0, bar));
            rest = bar == std::string_view::npos ? std::string_view{} : rest.substr(bar + 1);
        }
    }
    return items;
}

// The state the form's controls have when it is created, before Load.
void OptionsForm::ResetControls() {
    const auto defs = OptionsControls();
    controls_.assign(defs.size(), ControlState{});
    for (std::size_t i = 0; i < defs.size(); ++i) controls_[i].text = std::string(defs[i].english);
    for (std::string_view name : kInitialOptions) At(name).checked = true;
    At("cmdStatusHtml").enabled = false;
    At("lblBackPalette").back = kDefaultHighlightBack;
    pageNames_.clear();
}

void OptionsForm::Changed(ControlId id) {
    if (view_ != nullptr) view_->ControlChanged(id);
}

void OptionsForm::MarkChanged() {
    At("cmdApply").enabled = true;
    Changed(ControlOf("cmdApply"));
}

void OptionsForm::PanelsSaved(bool anyShown) {
    if (!loaded_) Load();
    if (anyShown && !Ticked("chkShowHTML")) UserCheck(ControlOf("chkShowHTML"), true);
    MarkChanged();
}

void OptionsForm::Load() {
    ResetControls();
    // Captions: the frames first (they name the pages), then every other caption.
    for (std::size_t page = 0; page < kOptionsPageCount; ++page) {
        const ControlDef& def = ControlDefOf(PageFrame(page));
        At(def.name).text = LanguageText(def.langKey, def.english);
        pageNames_.push_back(At(def.name).text);
    }
    for (const ControlDef& def : OptionsControls())
        if (def.type != ControlType::Frame && !def.langKey.empty()) At(def.name).text = LanguageText(def.langKey, def.english);
    RunStep([&] {
        At("lblVersion").text = LanguageText("079", "Version:  ") + " " +
                                ReadIniFile("Version", PluginFilePath("plugin.ini"), kGeneral);
    });
    hotKeyMessage_ = LanguageText("021", "For A-Z only, please enter again.");
    activatedOnce_ = false;
    LeaveOnTop();
    for (const SettingRow& row : SettingsCatalogue())
        if (row.kind != SettingKind::Hidden) RunStep([&] { LoadSetting(row); });
    At("lblBackPalette").fore = At("lblTextPalette").back;
    At("cmdStatusHtml").enabled = At("chkShowHTML").checked;
    ShowButtonRule();
    loaded_ = true;
    if (view_ != nullptr)
        for (ControlId id = 0; id < controls_.size(); ++id) view_->ControlChanged(id);
}

void OptionsForm::LoadSetting(const SettingRow& row) {
    const std::string value = DialogValue(row);
    switch (row.kind) {
    case SettingKind::Switch:
        // Hand-edited text that is no number leaves the box unticked.
        At(row.control).checked = TryToInt32(value) == 1;
        break;
    case SettingKind::Number:
    case SettingKind::Text:
        At(row.control).text = value;
        break;
    case SettingKind::Combo: {
        // A drop-down list shows only its own items; anything else shows the default.
        const auto items = ComboItems(ControlOf(row.control));
        const bool known = std::find(items.begin(), items.end(), value) != items.end();
        At(row.control).text = known ? value : std::string(row.dialogDefault);
        break;
    }
    case SettingKind::Colour: {
        const auto fallback = row.id == Setting::HighlightComboText ? host::GetSysColor(COLOR_WINDOWTEXT)
                                                                     : kDefaultHighlightBack;
        const auto n = TryToInt32(value);
        At(row.control).back = n ? static_cast<COLORREF>(*n) : fallback;
        break;
    }
    case SettingKind::OptionPair:
        if (value == row.pairValue) {
            At(row.control).checked = true;
            At(row.otherControl).checked = false;
        }
        break;
    case SettingKind::Hidden:
        break;
    }
}

// chkShowButton follows chkShowInMenu: a plugin that is not in the menu keeps its button.
void OptionsForm::ShowButtonRule() {
    ControlState& button = At("chkShowButton");
    if (Ticked("chkShowInMenu")) {
        button.enabled = true;
    } else {
        button.enabled = false;
        button.checked = true;
    }
}

void OptionsForm::Activate() {
    std::size_t page = kDefaultPage;
    if (auto n = TryToInt32(SettingText(Setting::LastTab)); n && *n >= 0 && *n < static_cast<int>(kOptionsPageCount))
        page = static_cast<std::size_t>(*n);
    SelectPage(page);
    if (!activatedOnce_) {
        At("cmdApply").enabled = false;
        Changed(ControlOf("cmdApply"));
        activatedOnce_ = true;
    }
    RefreshDiagnostics();
    if (view_ != nullptr) view_->Focus(ControlOf("cmdOK"));
}

void OptionsForm::RefreshDiagnostics() {
    BuildDiagnostics();
    At("txtDiagnostic").text = State().DiagnosticsText;
    Changed(ControlOf("txtDiagnostic"));
}

void OptionsForm::SelectPage(std::size_t index) {
    if (index >= kOptionsPageCount) return;
    page_ = index;
    if (view_ != nullptr) view_->PageShown(index);
    WriteSettingValue(Setting::LastTab, std::to_string(index));
}

void OptionsForm::UserCheck(ControlId id, bool checked) {
    At(id).checked = checked;
    const std::string_view name = ControlDefOf(id).name;
    if (name == "chkShowInMenu") {
        ControlState& button = At("chkShowButton");
        if (checked) {
            button.enabled = true;
            button.checked = ReadSetting(CatalogueRow(Setting::ShowButton).key, "0") == "1";
        } else {
            ShowButtonRule();
        }
        Changed(ControlOf("chkShowButton"));
    } else if (name == "chkShowHTML") {
        At("cmdStatusHtml").enabled = checked;
        Changed(ControlOf("cmdStatusHtml"));
    }
    MarkChanged();
}

void OptionsForm::UserSelect(ControlId id) {
    for (const SettingRow& row : SettingsCatalogue()) {
        const std::string_view name = ControlDefOf(id).name;
        if (row.kind != SettingKind::OptionPair || !IsPairMember(row, name)) continue;
        At(row.control).checked = row.control == name;
        At(row.otherControl).checked = row.otherControl == name;
        Changed(ControlOf(row.control));
        Changed(ControlOf(row.otherControl));
    }
    MarkChanged();
}

void OptionsForm::UserEdit(ControlId id, std::string text) {
    if (At(id).text == text) return;
    At(id).text = std::move(text);
    MarkChanged();
}

void OptionsForm::Click(ControlId id) {
    const std::string_view name = ControlDefOf(id).name;
    if (name == "cmdOK") {
        Apply();
        Unload();
    } else if (name == "cmdCancel") {
        Unload();
    } else if (name == "cmdApply") {
        Apply();
    } else if (name == "cmdStatusHtml") {
        OpenPanelEditor();
    } else if (ControlDefOf(id).type == ControlType::Colour) {
        PickPaletteColour(id);
    }
}

void OptionsForm::PickPaletteColour(ControlId id) {
    const bool textColour = ControlDefOf(id).name == "lblTextPalette";
    const COLORREF preset = textColour ? host::GetSysColor(COLOR_WINDOWTEXT) : kDefaultHighlightBack;
    const COLORREF current = At(id).back;
    const COLORREF chosen = PickColor(current, preset);
    if (chosen == current) return;
    At(id).back = chosen;
    Changed(id);
    if (textColour) {
        At("lblBackPalette").fore = chosen;
        Changed(ControlOf("lblBackPalette"));
    }
    MarkChanged();
}

void OptionsForm::Validate(ControlId id) {
    const std::string_view name = ControlDefOf(id).name;
    ValidateRule rule = ValidateRule::None;
    for (const SettingRow& row : SettingsCatalogue())
        if (row.control == name) rule = row.validate;
    if (rule == ValidateRule::None) return;
    if (rule == ValidateRule::HotKeyLetter) return CheckHotKey(id);

    // Text that is no number stays as it is; the feature that reads it copes.
    const auto n = TryToInt32(At(id).text);
    if (!n) return;
    std::optional<std::int32_t> replacement;
    if (rule == ValidateRule::AtLeast100 && *n < 100) replacement = 100;
    // A bar that was not found measures 0: nothing to cut to then.
    const std::int32_t height = rule == ValidateRule::AtMostTabBarHeight ? State().TabBarHeight : State().StatusBarHeight;
    if (rule != ValidateRule::AtLeast100 && height > 0 && *n > height) replacement = height;
    if (!replacement) return;
    At(id).text = std::to_string(*replacement);
    Changed(id);
    MarkChanged();
}

void OptionsForm::CheckHotKey(ControlId id) {
    std::string& text = At(id).text;
    if (text.empty()) return;
    const bool letter = text.size() == 1 && std::isalpha(static_cast<unsigned char>(text[0])) &&
                        static_cast<unsigned char>(text[0]) < 0x80;
    if (letter) {
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    } else {
        host::MessageBoxA(view_ != nullptr ? view_->Window() : nullptr, hotKeyMessage_.c_str(), "Tillwick",
                          kInformationIcon);
        text.clear();
    }
    Changed(id);
}

void OptionsForm::GotFocus(ControlId id) {
    const ControlType type = ControlDefOf(id).type;
    if (view_ != nullptr && (type == ControlType::Text || type == ControlType::Block)) view_->SelectAllText(id);
}

void OptionsForm::KeyDown(int keyCode) {
    if (keyCode == kEscape) Unload();
}

void OptionsForm::Unload() {
    loaded_ = false;
    if (view_ != nullptr) view_->Close();
    RunStep([] { host::SetActiveWindow(State().MainFrameWnd); });
}

}  // namespace tillwick
