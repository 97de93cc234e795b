// The settings catalogue's table and the typed accessors the features read through.
#include "settings/settings_catalogue.h"

#include <algorithm>
#include <array>

#include "base/convert.h"
#include "settings/ini_store.h"
#include "settings/settings_files.h"

namespace tillwick {
namespace {

constexpr std::string_view kKeywords = "Keywords";
constexpr std::string_view kWhois = "Whois";
constexpr std::string_view kPanelSection = "StatusHtml";

// HighlightComboText has no fixed default: the dialog and the highlight both
// take the system's window-text colour when it is missing.
constexpr std::array<SettingRow, kSettingCount> kRows{{
    {Setting::ActivateFirstTab, "ActivateFirstTab", kGeneral, "0", "0", OptionsPage::StartUp, SettingKind::Switch, "chkActivateFirstTab", ValidateRule::None},
    {Setting::StartOffLine, "StartOffLine", kGeneral, "0", "0", OptionsPage::StartUp, SettingKind::Switch, "chkStartOffline", ValidateRule::None, "StartOffline"},
    {Setting::StartUpTabLock, "StartUpTabLock", kGeneral, "0", "0", OptionsPage::StartUp, SettingKind::Switch, "chkLockTab", ValidateRule::None},
    {Setting::TabToLock, "TabToLock", kGeneral, "1", "1", OptionsPage::StartUp, SettingKind::Number, "txtTabToLock", ValidateRule::None},
    {Setting::StartPosition, "StartPosition", kGeneral, "0", "0", OptionsPage::StartUp, SettingKind::Switch, "chkStartPosition", ValidateRule::None},
    {Setting::StartLeft, "StartLeft", kGeneral, "112", "112", OptionsPage::StartUp, SettingKind::Number, "txtStartLeft", ValidateRule::None},
    {Setting::StartTop, "StartTop", kGeneral, "84", "84", OptionsPage::StartUp, SettingKind::Number, "txtStartTop", ValidateRule::None},
    {Setting::StartWidth, "StartWidth", kGeneral, "800", "800", OptionsPage::StartUp, SettingKind::Number, "txtStartWidth", ValidateRule::None},
    {Setting::StartHeight, "StartHeight", kGeneral, "600", "600", OptionsPage::StartUp, SettingKind::Number, "txtStartHeight", ValidateRule::None},
    {Setting::HighlightCombo, "HighlightCombo", kGeneral, "0", "0", OptionsPage::AddressBar, SettingKind::Switch, "chkHighlightCombo", ValidateRule::None},
    {Setting::HighlightComboText, "HighlightComboText", kGeneral, "", "", OptionsPage::AddressBar, SettingKind::Colour, "lblTextPalette", ValidateRule::None},
    {Setting::HighlightComboBack, "HighlightComboBack", kGeneral, "12776703", "12776703", OptionsPage::AddressBar, SettingKind::Colour, "lblBackPalette", ValidateRule::None},
    {Setting::CustomProgress, "CustomProgress", kGeneral, "0", "0", OptionsPage::AddressBar, SettingKind::Switch, "chkCustomProgress", ValidateRule::None},
    {Setting::AddressProgress, "AddressProgress", kGeneral, "0", "0", OptionsPage::AddressBar, SettingKind::OptionPair, "optAddressProgress", ValidateRule::None, "", "1", "optStatusProgress"},
    {Setting::PasteGo, "PasteGo", kGeneral, "0", "0", OptionsPage::AddressBar, SettingKind::Switch, "chkPasteGo", ValidateRule::None},
    {Setting::PasteNew, "PasteNew", kGeneral, "0", "0", OptionsPage::AddressBar, SettingKind::Switch, "chkPasteNew", ValidateRule::None},
    {Setting::PluginMenu, "PluginMenu", kGeneral, "0", "0", OptionsPage::Plugins, SettingKind::Switch, "chkPluginMenu", ValidateRule::None},
    {Setting::PluginDropDown, "PluginDropDown", kGeneral, "0", "0", OptionsPage::Plugins, SettingKind::Switch, "chkPluginDropDown", ValidateRule::None},
    {Setting::PluginInclude, "PluginInclude", kGeneral, "", "", OptionsPage::Plugins, SettingKind::Text, "txtPluginMenu", ValidateRule::None},
    {Setting::TabPluginMenu, "TabPluginMenu", kGeneral, "0", "0", OptionsPage::Plugins, SettingKind::Switch, "chkTabPluginMenu", ValidateRule::None},
    {Setting::TabPluginDropDown, "TabPluginDropDown", kGeneral, "0", "0", OptionsPage::Plugins, SettingKind::Switch, "chkTabPluginDropDown", ValidateRule::None},
    {Setting::TabPluginInclude, "TabPluginInclude", kGeneral, "", "", OptionsPage::Plugins, SettingKind::Text, "txtTabPluginMenu", ValidateRule::None},
    {Setting::HidePlugin, "HidePlugin", kGeneral, "0", "0", OptionsPage::Plugins, SettingKind::Switch, "chkHidePlugin", ValidateRule::None},
    {Setting::HideContextPlugin, "HideContextPlugin", kGeneral, "0", "0", OptionsPage::Plugins, SettingKind::Switch, "chkHideContextPlugin", ValidateRule::None},
    {Setting::HideAutoPlugin, "HideAutoPlugin", kGeneral, "0", "0", OptionsPage::Plugins, SettingKind::Switch, "chkHideAutoPlugin", ValidateRule::None},
    {Setting::HideOtherPlugin, "HideOtherPlugin", kGeneral, "0", "0", OptionsPage::Plugins, SettingKind::Switch, "chkHideOtherPlugin", ValidateRule::None},
    {Setting::HidePluginInclude, "HidePluginInclude", kGeneral, "", "", OptionsPage::Plugins, SettingKind::Text, "txtHidePlugin", ValidateRule::None},
    {Setting::HideTabBar, "HideTabBar", kGeneral, "0", "0", OptionsPage::TabsBar, SettingKind::Switch, "chkHideTabBar", ValidateRule::None},
    {Setting::TBHotArea, "TBHotArea", kGeneral, "15", "15", OptionsPage::TabsBar, SettingKind::Number, "txtTBHotArea", ValidateRule::AtMostTabBarHeight},
    {Setting::TBTimeDelay, "TBTimeDelay", kGeneral, "250", "250", OptionsPage::TabsBar, SettingKind::Number, "txtTBTimeDelay", ValidateRule::AtLeast100},
    {Setting::HideLastTab, "HideLastTab", kGeneral, "1", "0", OptionsPage::TabsBar, SettingKind::OptionPair, "optHideTabBar", ValidateRule::None, "", "0", "optHideLastTab"},
    {Setting::TabHoverAction, "TabHoverAction", kGeneral, "0", "0", OptionsPage::TabsBar, SettingKind::Switch, "chkTabHoverAction", ValidateRule::None},
    {Setting::PreviewScrollPos, "PreviewScrollPos", kGeneral, "0", "0", OptionsPage::TabsBar, SettingKind::Switch, "chkPreviewScroll", ValidateRule::None},
    {Setting::HoverTime, "HoverTime", kGeneral, "500", "350", OptionsPage::TabsBar, SettingKind::Number, "txtHoverTime", ValidateRule::AtLeast100},
    {Setting::PreviewZoom, "PreviewZoom", kGeneral, "50", "50", OptionsPage::TabsBar, SettingKind::Number, "txtPreviewZoom", ValidateRule::None},
    {Setting::TabHoverActivate, "TabHoverActivate", kGeneral, "1", "1", OptionsPage::TabsBar, SettingKind::OptionPair, "optTabPreview", ValidateRule::None, "", "0", "optTabActivate"},
    {Setting::HideTabToolTip, "HideTabToolTip", kGeneral, "0", "0", OptionsPage::TabsBar, SettingKind::Switch, "chkHideTabToolTip", ValidateRule::None},
    {Setting::HideStatusBar, "HideStatusBar", kGeneral, "0", "0", OptionsPage::StatusBar, SettingKind::Switch, "chkHideStatusBar", ValidateRule::None},
    {Setting::ShowStatusMessage, "ShowStatusMessage", kGeneral, "0", "0", OptionsPage::StatusBar, SettingKind::Switch, "chkSBMessage", ValidateRule::None},
    {Setting::ShowSwitchTab, "ShowSwitchTab", kGeneral, "0", "0", OptionsPage::StatusBar, SettingKind::Switch, "chkSwitchTab", ValidateRule::None},
    {Setting::SBHotArea, "SBHotArea", kGeneral, "7", "7", OptionsPage::StatusBar, SettingKind::Number, "txtSBHotArea", ValidateRule::AtMostStatusBarHeight},
    {Setting::SBTimeDelay, "SBTimeDelay", kGeneral, "250", "250", OptionsPage::StatusBar, SettingKind::Number, "txtSBTimeDelay", ValidateRule::AtLeast100},
    {Setting::ShowZone, "ShowZone", kGeneral, "0", "0", OptionsPage::StatusBar, SettingKind::Switch, "chkShowZone", ValidateRule::None},
    {Setting::StatusBarInfo, "StatusBarInfo", kGeneral, "0", "0", OptionsPage::StatusBar, SettingKind::Switch, "chkStatusBarInfo", ValidateRule::None},
    {Setting::ShowIcon, "ShowIcon", kGeneral, "0", "0", OptionsPage::StatusBar, SettingKind::Switch, "chkShowIcon", ValidateRule::None},
    {Setting::ShowIP, "ShowIP", kGeneral, "0", "0", OptionsPage::StatusBar, SettingKind::Switch, "chkShowIP", ValidateRule::None},
    {Setting::ShowLocation, "ShowLocation", kGeneral, "0", "0", OptionsPage::StatusBar, SettingKind::Switch, "chkShowLocation", ValidateRule::None},
    {Setting::ShowProxy, "ShowProxy", kGeneral, "0", "0", OptionsPage::StatusBar, SettingKind::Switch, "chkShowProxy", ValidateRule::None},
    {Setting::StatusHtml, "StatusHtml", kGeneral, "0", "0", OptionsPage::StatusBar, SettingKind::Switch, "chkShowHTML", ValidateRule::None},
    {Setting::ShowGroupUrl, "ShowGroupUrl", kGeneral, "0", "0", OptionsPage::StatusBar, SettingKind::Switch, "chkShowGroupUrl", ValidateRule::None},
    {Setting::TabMenu, "TabMenu", kGeneral, "0", "0", OptionsPage::Menu, SettingKind::Switch, "chkTabMenu", ValidateRule::None},
    {Setting::ExtensionMenu, "ExtensionMenu", kGeneral, "0", "0", OptionsPage::Menu, SettingKind::Switch, "chkExtensionMenu", ValidateRule::None},
    {Setting::ExtensionInclude, "ExtensionInclude", kGeneral, "", "", OptionsPage::Menu, SettingKind::Text, "txtExtensionMenu", ValidateRule::None},
    {Setting::OtherMenu, "OtherMenu", kGeneral, "0", "0", OptionsPage::Menu, SettingKind::Switch, "chkOtherMenu", ValidateRule::None},
    {Setting::OtherInclude, "OtherInclude", kGeneral, "", "", OptionsPage::Menu, SettingKind::Text, "txtOtherMenu", ValidateRule::None},
    {Setting::TabOtherMenu, "TabOtherMenu", kGeneral, "0", "0", OptionsPage::Menu, SettingKind::Switch, "chkTabOtherMenu", ValidateRule::None},
    {Setting::TabOtherInclude, "TabOtherInclude", kGeneral, "", "", OptionsPage::Menu, SettingKind::Text, "txtTabOtherMenu", ValidateRule::None},
    {Setting::SortSearch, "SortSearch", kGeneral, "0", "0", OptionsPage::Menu, SettingKind::Switch, "chkSortSearch", ValidateRule::None},
    {Setting::SortSearchCustom, "SortSearchCustom", kGeneral, "0", "0", OptionsPage::Menu, SettingKind::Switch, "chkSortSearchCustom", ValidateRule::None},
    {Setting::SortSearchOrder, "SortSearchOrder", kGeneral, "google|yahoo|msn", "", OptionsPage::Menu, SettingKind::Text, "txtSortSearchOrder", ValidateRule::None},
    {Setting::SortSearchAlphabetical, "SortSearchAlphabetical", kGeneral, "0", "0", OptionsPage::Menu, SettingKind::Switch, "chkSortSearchAlphabetical", ValidateRule::None},
    {Setting::HideTitle, "HideTitle", kGeneral, "0", "0", OptionsPage::Misc, SettingKind::Switch, "chkHideTitle", ValidateRule::None},
    {Setting::HideKeyTitle, "HideKeyTitle", kGeneral, "0", "0", OptionsPage::Misc, SettingKind::Switch, "chkHideKeyTitle", ValidateRule::None},
    {Setting::Title, "Title", kGeneral, "Maxthon Browser", "Maxthon Browser", OptionsPage::Misc, SettingKind::Text, "txtNewTitle", ValidateRule::None},
    {Setting::TitleToHide, "TitleToHide", kGeneral, "movie|music|game", "movie|music|game", OptionsPage::Misc, SettingKind::Text, "txtTitleToHide", ValidateRule::None},
    {Setting::ToggleFilter, "ToggleFilter", kGeneral, "0", "0", OptionsPage::Misc, SettingKind::Switch, "chkToggleFilter", ValidateRule::None},
    {Setting::AlwaysOnTop, "AlwaysOnTop", kGeneral, "0", "0", OptionsPage::Misc, SettingKind::Switch, "chkAlwaysOnTop", ValidateRule::None},
    {Setting::OnTopLeft, "OnTopLeft", kGeneral, "112", "112", OptionsPage::Misc, SettingKind::Number, "txtOnTopLeft", ValidateRule::None},
    {Setting::OnTopTop, "OnTopTop", kGeneral, "84", "84", OptionsPage::Misc, SettingKind::Number, "txtOnTopTop", ValidateRule::None},
    {Setting::OnTopWidth, "OnTopWidth", kGeneral, "400", "400", OptionsPage::Misc, SettingKind::Number, "txtOnTopWidth", ValidateRule::None},
    {Setting::OnTopHeight, "OnTopHeight", kGeneral, "300", "300", OptionsPage::Misc, SettingKind::Number, "txtOnTopHeight", ValidateRule::None},
    {Setting::OnTopHotKeyVK, "OnTopHotKeyVK", kGeneral, "M", "M", OptionsPage::Misc, SettingKind::Text, "txtOnTopHotKey", ValidateRule::HotKeyLetter},
    {Setting::OnTopHotKeyMOD, "OnTopHotKeyMOD", kGeneral, "Ctrl", "Ctrl", OptionsPage::Misc, SettingKind::Combo, "cboOnTopHotKey", ValidateRule::None, "", "", "", "Shift|Ctrl|Alt"},
    {Setting::LastTabExit, "LastTabExit", kGeneral, "0", "0", OptionsPage::Misc, SettingKind::Switch, "chkLastTabExit", ValidateRule::None},
    {Setting::OpenGroupConfirm, "OpenGroupConfirm", kGeneral, "0", "0", OptionsPage::Misc, SettingKind::Switch, "chkOpenGroupConfirm", ValidateRule::None},
    {Setting::OpenGroupCount, "OpenGroupCount", kGeneral, "10", "0", OptionsPage::Misc, SettingKind::Number, "txtOpenGroupCount", ValidateRule::None},
    {Setting::CombineButtons, "CombineButtons", kGeneral, "0", "0", OptionsPage::Misc, SettingKind::Switch, "chkCombineButtons", ValidateRule::None},
    {Setting::ShowInMenu, "ShowInMenu", kGeneral, "1", "1", OptionsPage::Settings, SettingKind::Switch, "chkShowInMenu", ValidateRule::None},
    {Setting::ShowButton, "ShowButton", kGeneral, "1", "1", OptionsPage::Settings, SettingKind::Switch, "chkShowButton", ValidateRule::None},
    {Setting::GlobalModifier, "GlobalModifier", kGeneral, "Shift", "Shift", OptionsPage::Settings, SettingKind::Combo, "cboGlobalMod", ValidateRule::None, "", "", "", "Shift|Ctrl"},
    {Setting::LastTab, "LastTab", kGeneral, "1", "1", OptionsPage::None, SettingKind::Hidden, "", ValidateRule::None},
    {Setting::StatusHtmlCount, "StatusHtmlCount", kGeneral, "0", "0", OptionsPage::None, SettingKind::Hidden, "", ValidateRule::None},
    {Setting::StatusHtmlShift, "StatusHtmlShift", kGeneral, "1", "1", OptionsPage::None, SettingKind::Hidden, "", ValidateRule::None},
    {Setting::StatusHtmlHeight, "StatusHtmlHeight", kGeneral, "20", "20", OptionsPage::None, SettingKind::Hidden, "", ValidateRule::None},
    {Setting::StatusHtmlSepWidth, "StatusHtmlSepWidth", kGeneral, "8", "8", OptionsPage::None, SettingKind::Hidden, "", ValidateRule::None},
    {Setting::SecurityID, "SecurityID", kGeneral, "", "", OptionsPage::None, SettingKind::Hidden, "", ValidateRule::None},
    {Setting::LanguageID, "LanguageID", kGeneral, "auto", "auto", OptionsPage::None, SettingKind::Hidden, "", ValidateRule::None},
    {Setting::Opening, "Opening", kKeywords, "opening", "opening", OptionsPage::None, SettingKind::Hidden, "", ValidateRule::None},
    {Setting::Done, "Done", kKeywords, "done", "done", OptionsPage::None, SettingKind::Hidden, "", ValidateRule::None},
    {Setting::ARIN, "ARIN", kWhois, "https://whois.arin.net", "https://whois.arin.net", OptionsPage::None, SettingKind::Hidden, ""},
    {Setting::APNIC, "APNIC", kWhois, "https://wq.apnic.net", "https://wq.apnic.net", OptionsPage::None, SettingKind::Hidden, ""},
    {Setting::LACNIC, "LACNIC", kWhois, "https://lacnic.net", "https://lacnic.net", OptionsPage::None, SettingKind::Hidden, ""},
    {Setting::RIPE, "RIPE", kWhois, "https://www.db.ripe.net", "https://www.db.ripe.net", OptionsPage::None, SettingKind::Hidden, ""},
    {Setting::AfriNIC, "AfriNIC", kWhois, "https://www.afrinic.net", "https://www.afrinic.net", OptionsPage::None, SettingKind::Hidden, ""},
}};

constexpr bool RowsInEnumOrder() {
    for (std::size_t i = 0; i < kRows.size(); ++i)
        if (static_cast<std::size_t>(kRows[i].id) != i) return false;
    return true;
}
static_assert(RowsInEnumOrder(), "the catalogue's rows follow the Setting enum");

std::string PanelKey(PanelField field, int index) {
    static constexpr std::array<std::string_view, 5> kNames{"Use", "Path", "Width", "Name", "Offset"};
    return std::string(kNames[static_cast<std::size_t>(field)]) + std::to_string(index);
}

}  // namespace

std::span<const SettingRow> SettingsCatalogue() { return kRows; }

const SettingRow& CatalogueRow(Setting id) { return kRows[static_cast<std::size_t>(id)]; }

std::string SettingText(Setting id) {
    const SettingRow& row = CatalogueRow(id);
    return ReadSetting(row.key, row.featureDefault, row.section);
}

bool SettingOn(Setting id) { return IsOn(SettingText(id)); }

std::int32_t SettingNumber(Setting id) { return ToInt32(SettingText(id)); }

std::optional<std::int32_t> TrySettingNumber(Setting id) { return TryToInt32(SettingText(id)); }

std::int32_t SettingNumberOrDefault(Setting id) {
    if (auto n = TrySettingNumber(id)) return *n;
    return ToInt32(CatalogueRow(id).featureDefault);
}

std::optional<std::string> StoredSetting(Setting id) {
    const SettingRow& row = CatalogueRow(id);
    if (!ini::HasValue(SettingsFilePath(), row.section, row.key)) return std::nullopt;
    return ini::ReadString(SettingsFilePath(), row.section, row.key, "");
}

void WriteSettingValue(Setting id, std::optional<std::string_view> value) {
    const SettingRow& row = CatalogueRow(id);
    WriteSetting(row.KeyWritten(), value, row.section);
}

std::string PanelSetting(PanelField field, int index) {
    std::string fallback;
    switch (field) {
        case PanelField::Use: fallback = "0"; break;
        case PanelField::Path: break;
        case PanelField::Width: fallback = "80"; break;
        case PanelField::Name: fallback = "Html" + std::to_string(index); break;
        case PanelField::Offset: fallback = "0"; break;
    }
    return ReadSetting(PanelKey(field, index), fallback, kPanelSection);
}

std::int32_t PanelRecordCount() {
    return std::clamp(TrySettingNumber(Setting::StatusHtmlCount).value_or(0), 0, kMaxPanelRecords);
}

std::string StoredPanelSetting(PanelField field, int index) {
    return ReadSetting(PanelKey(field, index), "", kPanelSection);
}

void WritePanelSetting(PanelField field, int index, std::optional<std::string_view> value) {
    WriteSetting(PanelKey(field, index), value, kPanelSection);
}

}  // namespace tillwick
