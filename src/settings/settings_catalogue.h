// Every setting the plugin keeps in settings.ini, in one table: its section,
// the default the options dialog shows, the default the features read (the
// two differ for a few keys, and both are kept), the dialog control and page
// that edit it, and how the dialog checks it. The features read their
// settings only through the typed accessors below, so a misspelt key cannot
// compile and every default lives here.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tillwick {

// One name per key, spelled as the key is stored. The keys the dialog edits
// come first, in the order in which it loads them.
enum class Setting : std::uint8_t {
    // Start Up
    ActivateFirstTab, StartOffLine, StartUpTabLock, TabToLock, StartPosition, StartLeft, StartTop,
    StartWidth, StartHeight,
    // Address Bar
    HighlightCombo, HighlightComboText, HighlightComboBack, CustomProgress, AddressProgress, PasteGo,
    PasteNew,
    // Plugins
    PluginMenu, PluginDropDown, PluginInclude, TabPluginMenu, TabPluginDropDown, TabPluginInclude,
    HidePlugin, HideContextPlugin, HideAutoPlugin, HideOtherPlugin, HidePluginInclude,
    // Tabs Bar
    HideTabBar, TBHotArea, TBTimeDelay, HideLastTab, TabHoverAction, PreviewScrollPos, HoverTime,
    PreviewZoom, TabHoverActivate, HideTabToolTip,
    // Status Bar
    HideStatusBar, ShowStatusMessage, ShowSwitchTab, SBHotArea, SBTimeDelay, ShowZone, StatusBarInfo,
    ShowIcon, ShowIP, ShowLocation, ShowProxy, StatusHtml, ShowGroupUrl,
    // Menu
    TabMenu, ExtensionMenu, ExtensionInclude, OtherMenu, OtherInclude, TabOtherMenu, TabOtherInclude,
    SortSearch, SortSearchCustom, SortSearchOrder, SortSearchAlphabetical,
    // Misc
    HideTitle, HideKeyTitle, Title, TitleToHide, ToggleFilter, AlwaysOnTop, OnTopLeft, OnTopTop,
    OnTopWidth, OnTopHeight, OnTopHotKeyVK, OnTopHotKeyMOD, LastTabExit, OpenGroupConfirm,
    OpenGroupCount, CombineButtons,
    // Settings
    ShowInMenu, ShowButton, GlobalModifier,
    // Kept in the same file, not shown by the dialog.
    LastTab, StatusHtmlCount, StatusHtmlShift, StatusHtmlHeight, StatusHtmlSepWidth, SecurityID,
    LanguageID, Opening, Done,
    // The WHOIS registries' base addresses (section "Whois").
    ARIN, APNIC, LACNIC, RIPE, AfriNIC,
};
inline constexpr std::size_t kSettingCount = static_cast<std::size_t>(Setting::AfriNIC) + 1;

// The dialog's pages, in list order.
enum class OptionsPage : std::uint8_t { StartUp, AddressBar, TabsBar, StatusBar, Plugins, Menu, Misc, Settings, None };
inline constexpr std::size_t kOptionsPageCount = 8;

// How the dialog shows a value.
enum class SettingKind : std::uint8_t {
    Switch,      // a check box: "0" or "1"
    Number,      // a text box holding a number
    Text,        // a text box
    Colour,      // a label's back colour: the decimal COLORREF
    OptionPair,  // two option buttons: `control` selected when the value is `pairValue`, else `otherControl`
    Combo,       // a drop-down list of fixed items
    Hidden,      // not in the dialog
};

// What the dialog does to a box's text when it loses the focus.
enum class ValidateRule : std::uint8_t {
    None,
    AtLeast100,           // below 100 becomes 100
    AtMostTabBarHeight,   // above the tab bar's height (measured at start-up) becomes that height
    AtMostStatusBarHeight,
    HotKeyLetter,         // one letter A-Z, upper-cased; anything else warns and empties the box
};

struct SettingRow {
    Setting id;
    std::string_view key;             // as read (matched without regard to case)
    std::string_view section;
    std::string_view dialogDefault;   // what the dialog shows when the key is missing
    std::string_view featureDefault;  // what the features read when the key is missing or empty
    OptionsPage page;
    SettingKind kind;
    std::string_view control;         // the control that edits it; empty when hidden
    ValidateRule validate = ValidateRule::None;
    std::string_view writtenKey = {};    // the spelling the dialog writes, when it differs from `key`
    std::string_view pairValue = {};     // OptionPair: the value that selects `control`
    std::string_view otherControl = {};  // OptionPair: the control selected otherwise
    std::string_view comboItems = {};    // Combo: the items, separated by '|'

    std::string_view KeyWritten() const { return writtenKey.empty() ? key : writtenKey; }
};

std::span<const SettingRow> SettingsCatalogue();
const SettingRow& CatalogueRow(Setting id);

// ---- typed reads, with the default the features read ---------------------------
std::string SettingText(Setting id);
// On only when the value is exactly "1".
bool SettingOn(Setting id);
// A non-number fails the calling step, as every number conversion does.
std::int32_t SettingNumber(Setting id);
// A non-number gives nullopt (for settings a user may have edited by hand).
std::optional<std::int32_t> TrySettingNumber(Setting id);
// A non-number takes the features' default instead (a hand-edited position, say).
std::int32_t SettingNumberOrDefault(Setting id);
// The key's text, or nullopt when the file lacks it (no default applied).
std::optional<std::string> StoredSetting(Setting id);
// Writes under the key's written spelling; nullopt deletes the key.
void WriteSettingValue(Setting id, std::optional<std::string_view> value);

// ---- the panel records of section "StatusHtml" ------------------------------------
// StatusHtmlCount as every reader takes it: a non-number counts as 0, and the
// count stays within 0 .. kMaxPanelRecords, so that no loop over the records
// (the strip, the status-bar menu, the editor) can run for long.
inline constexpr std::int32_t kMaxPanelRecords = 100;
std::int32_t PanelRecordCount();
enum class PanelField : std::uint8_t { Use, Path, Width, Name, Offset };
// Use<i>, Path<i>, Width<i>, Name<i>, Offset<i>, with their defaults ("0", "", "80", "Html<i>", "0").
std::string PanelSetting(PanelField field, int index);
void WritePanelSetting(PanelField field, int index, std::optional<std::string_view> value);
// The stored text, empty when the key is missing (the panel editor applies its own defaults).
std::string StoredPanelSetting(PanelField field, int index);

}  // namespace tillwick
