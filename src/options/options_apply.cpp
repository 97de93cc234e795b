// Apply: writes every setting from its control and restarts each feature, in
// a fixed order. Each step is guarded on its own, so a failing restart never
// keeps the later settings from being written.
#include "options/options_apply.h"

#include "base/convert.h"
#include "base/errors.h"
#include "core/feature_hooks.h"
#include "settings/ini_store.h"
#include "core/startup.h"
#include "core/state.h"
#include "core/subclassing.h"
#include "core/wrapper.h"
#include "features/always_on_top.h"
#include "features/hide_status_bar.h"
#include "features/hide_tab_bar.h"
#include "features/hide_title.h"
#include "features/toggle_filter.h"
#include "options/options_form.h"

namespace tillwick {

// The form's private view of its controls, for the steps below.
struct ApplySteps {
    static bool Ticked(const OptionsForm& f, std::string_view name) { return f.Get(name).checked; }
    static bool Enabled(const OptionsForm& f, std::string_view name) { return f.Get(name).enabled; }
};

namespace {

using S = Setting;

// Restarting a feature: stop it while it runs, then start it when its box is ticked.
template <bool SharedState::*Running, void (*Stop)(), void (*Start)(), const char* Box>
void Restart(const OptionsForm& form) {
    if (State().*Running) Stop();
    if (ApplySteps::Ticked(form, Box)) Start();
}

// A flag that stands for a feature that has nothing to start: it is what the box says.
template <bool SharedState::*Flag, const char* Box>
void SetFlag(const OptionsForm& form) {
    State().*Flag = false;
    if (ApplySteps::Ticked(form, Box)) State().*Flag = true;
}

constexpr char chkHighlightCombo[] = "chkHighlightCombo";
constexpr char chkCustomProgress[] = "chkCustomProgress";
constexpr char chkPasteGo[] = "chkPasteGo";
constexpr char chkPluginMenu[] = "chkPluginMenu";
constexpr char chkTabPluginMenu[] = "chkTabPluginMenu";
constexpr char chkHidePlugin[] = "chkHidePlugin";
constexpr char chkTabHoverAction[] = "chkTabHoverAction";
constexpr char chkHideStatusBar[] = "chkHideStatusBar";
constexpr char chkShowIcon[] = "chkShowIcon";
constexpr char chkStatusBarInfo[] = "chkStatusBarInfo";
constexpr char chkShowGroupUrl[] = "chkShowGroupUrl";
constexpr char chkTabMenu[] = "chkTabMenu";
constexpr char chkExtensionMenu[] = "chkExtensionMenu";
constexpr char chkOtherMenu[] = "chkOtherMenu";
constexpr char chkTabOtherMenu[] = "chkTabOtherMenu";
constexpr char chkSortSearch[] = "chkSortSearch";
constexpr char chkHideTitle[] = "chkHideTitle";
constexpr char chkLastTabExit[] = "chkLastTabExit";
constexpr char chkToggleFilter[] = "chkToggleFilter";
constexpr char chkOpenGroupConfirm[] = "chkOpenGroupConfirm";
constexpr char chkCombineButtons[] = "chkCombineButtons";

void RestartTabBarHiding(const OptionsForm& form) {
    SharedState& s = State();
    if (s.HideTabBarOn) StopHideTabBar();
    if (s.HideLastTabOn) StopHideLastTab();
    if (!ApplySteps::Ticked(form, "chkHideTabBar")) return;
    if (ApplySteps::Ticked(form, "optHideLastTab"))
        StartHideLastTab();
    else
        StartHideTabBar();
}

void RestartTabToolTips(const OptionsForm& form) {
    if (State().TabToolTipsHidden) ShowTabToolTips();
    if (ApplySteps::Ticked(form, "chkHideTabToolTip")) HideTabToolTips();
}

// The panels need the host's security id; without it only the setting is written.
void RestartStatusHtml(const OptionsForm& form) {
    SharedState& s = State();
    if (s.SecurityId.empty()) return;
    if (s.StatusHtmlOn) StopStatusHtml();
    if (ApplySteps::Ticked(form, "chkShowHTML")) StartStatusHtml();
}

void RestartOnTopHotKey(const OptionsForm& form) {
    if (State().OnTopDispatch) UnregisterOnTopHotKey();
    if (ApplySteps::Ticked(form, "chkAlwaysOnTop")) RegisterOnTopHotKey();
}

void RestartShowInMenu(const OptionsForm& form) {
    if (State().ShowInMenuOn) StopShowInMenu();
    if (ApplySteps::Ticked(form, "chkShowInMenu")) StartShowInMenu();
}

// The host's descriptor of this plugin says whether the host shows our button.
void WritePluginType(const OptionsForm& form) {
    const bool button = !ApplySteps::Enabled(form, "chkShowButton") || ApplySteps::Ticked(form, "chkShowButton");
    ini::WriteString(PluginFilePath("plugin.ini"), kGeneral, "Type", button ? "M2Plugin_Button" : "M2Plugin_Other");
}

void ReinstallSubclasses(const OptionsForm& form) {
    // The new modifier counts from now on, not only after the next start.
    State().GlobalModifierKey = form.ValueOf(S::GlobalModifier) == "Shift" ? VK_SHIFT : VK_CONTROL;
    InstallSubclasses();
}

const std::vector<ApplyStep>& Steps() {
    static const std::vector<ApplyStep> steps = {
        {{S::ActivateFirstTab, S::StartOffLine, S::StartUpTabLock, S::TabToLock, S::StartPosition, S::StartLeft,
          S::StartTop, S::StartWidth, S::StartHeight},
         nullptr},
        {{S::HighlightCombo, S::HighlightComboBack, S::HighlightComboText},
         &Restart<&SharedState::HighlightComboOn, &StopHighlightCombo, &StartHighlightCombo, chkHighlightCombo>},
        {{S::CustomProgress, S::AddressProgress},
         &Restart<&SharedState::CustomProgressOn, &StopProgressBar, &StartProgressBar, chkCustomProgress>},
        {{S::PasteGo, S::PasteNew}, &SetFlag<&SharedState::PasteGoOn, chkPasteGo>},
        {{S::PluginMenu, S::PluginInclude, S::PluginDropDown},
         &Restart<&SharedState::PluginMenuOn, &StopPagePluginMenu, &StartPagePluginMenu, chkPluginMenu>},
        {{S::TabPluginMenu, S::TabPluginInclude, S::TabPluginDropDown},
         &Restart<&SharedState::TabPluginMenuOn, &StopTabPluginMenu, &StartTabPluginMenu, chkTabPluginMenu>},
        {{S::HidePlugin, S::HideContextPlugin, S::HideAutoPlugin, S::HideOtherPlugin, S::HidePluginInclude},
         &Restart<&SharedState::HidePluginOn, &ShowPlugins, &HidePlugins, chkHidePlugin>},
        {{S::HideTabBar, S::TBHotArea, S::TBTimeDelay, S::HideLastTab}, &RestartTabBarHiding},
        {{S::TabHoverAction, S::TabHoverActivate, S::PreviewScrollPos, S::HoverTime, S::PreviewZoom},
         &Restart<&SharedState::TabHoverOn, &StopTabHover, &StartTabHover, chkTabHoverAction>},
        {{S::HideTabToolTip}, &RestartTabToolTips},
        {{S::HideStatusBar, S::ShowStatusMessage, S::ShowSwitchTab, S::SBHotArea, S::SBTimeDelay},
         &Restart<&SharedState::HideStatusBarOn, &StopHideStatusBar, &StartHideStatusBar, chkHideStatusBar>},
        {{S::ShowIcon}, &Restart<&SharedState::ZoneIconOn, &StopZoneIcon, &StartZoneIcon, chkShowIcon>},
        {{S::StatusBarInfo, S::ShowZone, S::ShowIP, S::ShowLocation, S::ShowProxy},
         &Restart<&SharedState::StatusBarInfoOn, &StopStatusBarInfo, &StartStatusBarInfo, chkStatusBarInfo>},
        {{S::StatusHtml}, &RestartStatusHtml},
        {{S::ShowGroupUrl}, &SetFlag<&SharedState::ShowGroupUrlOn, chkShowGroupUrl>},
        {{S::TabMenu}, &Restart<&SharedState::TabMenuOn, &StopTabMenu, &StartTabMenu, chkTabMenu>},
        // The groupings are stopped too, so that unticking one takes effect at once.
        {{S::ExtensionMenu, S::ExtensionInclude},
         &Restart<&SharedState::ExtensionMenuOn, &StopPageExtensionMenu, &StartPageExtensionMenu,
                  chkExtensionMenu>},
        {{S::OtherMenu, S::OtherInclude},
         &Restart<&SharedState::OtherMenuOn, &StopPageOtherMenu, &StartPageOtherMenu, chkOtherMenu>},
        {{S::TabOtherMenu, S::TabOtherInclude},
         &Restart<&SharedState::TabOtherMenuOn, &StopTabOtherMenu, &StartTabOtherMenu, chkTabOtherMenu>},
        {{S::SortSearch, S::SortSearchAlphabetical, S::SortSearchCustom, S::SortSearchOrder},
         &Restart<&SharedState::SortSearchOn, &StopSortSearch, &StartSortSearch, chkSortSearch>},
        {{S::HideTitle, S::HideKeyTitle, S::Title, S::TitleToHide},
         &Restart<&SharedState::HideTitleOn, &StopHideTitle, &StartHideTitle, chkHideTitle>},
        {{S::LastTabExit}, &SetFlag<&SharedState::LastTabExitOn, chkLastTabExit>},
        {{S::ToggleFilter},
         &Restart<&SharedState::ToggleFilterOn, &StopToggleFilter, &StartToggleFilter, chkToggleFilter>},
        {{S::AlwaysOnTop, S::OnTopLeft, S::OnTopTop, S::OnTopWidth, S::OnTopHeight, S::OnTopHotKeyMOD,
          S::OnTopHotKeyVK},
         &RestartOnTopHotKey},
        {{S::OpenGroupConfirm, S::OpenGroupCount}, &SetFlag<&SharedState::OpenGroupConfirmOn, chkOpenGroupConfirm>},
        {{S::CombineButtons},
         &Restart<&SharedState::CombineButtonsOn, &StopCombineButtons, &StartCombineButtons,
                  chkCombineButtons>},
        {{S::ShowInMenu}, &RestartShowInMenu},
        {{S::ShowButton}, &WritePluginType},
        {{S::GlobalModifier}, &ReinstallSubclasses},
    };
    return steps;
}

// A value that Apply leaves as it is: an empty hot key, and the button switch while the button is forced on.
bool KeptAsStored(const OptionsForm& form, Setting id) {
    if (id == S::OnTopHotKeyVK) return form.ValueOf(id).empty();
    if (id == S::ShowButton) return !ApplySteps::Enabled(form, "chkShowButton");
    return false;
}

}  // namespace

std::span<const ApplyStep> ApplyStepTable() { return Steps(); }

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
    for (const ApplyStep& step : Steps()) {
        RunStep([&] {
            for (Setting id : step.writes)
                if (!KeptAsStored(*this, id)) WriteSettingValue(id, ValueOf(id));
        });
        if (step.then != nullptr) RunStep([&] { step.then(*this); });
    }
    RunStep([&] { RefreshDiagnostics(); });
    At("cmdApply").enabled = false;
    Changed(ControlOf("cmdApply"));
}

}  // namespace tillwick
