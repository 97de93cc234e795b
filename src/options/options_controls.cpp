// The options dialog's controls, page by page, in tab order.
#include "options/options_controls.h"

#include <array>
#include <string>

#include "base/errors.h"

namespace tillwick {
namespace {

using T = ControlType;
using P = OptionsPage;
using F = Flow;

constexpr ControlDef kControls[] = {
    // Outside the pages.
    {"lstTillwick", T::List, P::None, "", "", F::Dialog},
    {"cmdOK", T::Command, P::None, "019", "OK", F::Dialog},
    {"cmdCancel", T::Command, P::None, "020", "Cancel", F::Dialog},
    {"cmdApply", T::Command, P::None, "025", "Apply", F::Dialog},
    {"lblVersion", T::Label, P::None, "079", "Version:  ", F::Dialog},

    {"fraStartup", T::Frame, P::StartUp, "001", "Start Up"},
    {"chkActivateFirstTab", T::Check, P::StartUp, "002", "Activate the first tab"},
    {"chkStartOffline", T::Check, P::StartUp, "026", "Set the browser to offline"},
    {"chkLockTab", T::Check, P::StartUp, "003", "Lock the first:                  tabs"},
    {"txtTabToLock", T::Text, P::StartUp, "", "", F::OverBlank, 0, 0},
    {"chkStartPosition", T::Check, P::StartUp, "004", "Set the browser position and size:"},
    {"lblStartPosition", T::Label, P::StartUp, "005",
     "Left:                     Top:                    Width:                   Height:", F::Row, 1},
    {"txtStartLeft", T::Text, P::StartUp, "", "", F::OverBlank, 0, 0},
    {"txtStartTop", T::Text, P::StartUp, "", "", F::OverBlank, 0, 1},
    {"txtStartWidth", T::Text, P::StartUp, "", "", F::OverBlank, 0, 2},
    {"txtStartHeight", T::Text, P::StartUp, "", "", F::OverBlank, 0, -1, 32},

    {"fraAddress", T::Frame, P::AddressBar, "101", "Address Bar"},
    {"chkHighlightCombo", T::Check, P::AddressBar, "102", "Highlight the Address Bar when visiting secured web page"},
    {"lblComboBack", T::Label, P::AddressBar, "103", "Background color:", F::Row, 1},
    {"lblBackPalette", T::Colour, P::AddressBar, "", " https://", F::Beside, 0, 0, 56},
    {"lblComboText", T::Label, P::AddressBar, "104", "Text color:", F::Beside, 0, 0, 0},
    {"lblTextPalette", T::Colour, P::AddressBar, "", "", F::Beside, 0, 0, 24},
    {"chkCustomProgress", T::Check, P::AddressBar, "105", "Show custom Progress Bar in:"},
    {"optStatusProgress", T::Option, P::AddressBar, "107", "Left hand side to the Status Bar Html Addons", F::Row, 1},
    {"optAddressProgress", T::Option, P::AddressBar, "106", "Right hand side of the Address Bar", F::Row, 1},
    {"chkPasteGo", T::Check, P::AddressBar, "036", "Enable Paste and Go in the Address Bar and Search Bar"},
    {"chkPasteNew", T::Check, P::AddressBar, "046", "Open the new address or search result in a new tab", F::Row, 1},

    {"fraTab", T::Frame, P::TabsBar, "011", "Tabs Bar"},
    {"chkHideTabBar", T::Check, P::TabsBar, "014", "Auto hide the Tabs Bar:"},
    {"fraHideTabBar", T::Group, P::TabsBar, "", "", F::Group, 1, 3},
    {"optHideLastTab", T::Option, P::TabsBar, "023", "when only one tab is opened", F::Row, 2},
    {"optHideTabBar", T::Option, P::TabsBar, "008", "based on mouse position", F::Row, 2},
    {"lblHideTabBar", T::Label, P::TabsBar, "022", "Hot area height:                 px    Delay:                 ms",
     F::Row, 3},
    {"txtTBHotArea", T::Text, P::TabsBar, "", "", F::OverBlank, 0, 0},
    {"txtTBTimeDelay", T::Text, P::TabsBar, "", "", F::OverBlank, 0, 1},
    {"chkTabHoverAction", T::Check, P::TabsBar, "015",
     "When hover a background tab:                                ms"},
    {"txtHoverTime", T::Text, P::TabsBar, "", "", F::OverBlank, 0, 0},
    {"optTabActivate", T::Option, P::TabsBar, "016", "Activate the tab", F::Row, 1},
    {"optTabPreview", T::Option, P::TabsBar, "017", "Preview the tab at zoom ratio:                             %",
     F::Row, 1},
    {"txtPreviewZoom", T::Text, P::TabsBar, "", "", F::OverBlank, 0, 0},
    {"chkPreviewScroll", T::Check, P::TabsBar, "018", "Show the actual screen position", F::Row, 2},
    {"chkHideTabToolTip", T::Check, P::TabsBar, "013", "Do not show the tooltip when mouse hover a tab"},

    {"fraStatus", T::Frame, P::StatusBar, "068", "Status Bar"},
    {"chkHideStatusBar", T::Check, P::StatusBar, "024", "Auto hide the Status Bar based on mouse position:"},
    {"lblHideStatusBar", T::Label, P::StatusBar, "022",
     "Hot area height:                 px    Delay:                 ms", F::Row, 1},
    {"txtSBHotArea", T::Text, P::StatusBar, "", "", F::OverBlank, 0, 0},
    {"txtSBTimeDelay", T::Text, P::StatusBar, "", "", F::OverBlank, 0, 1},
    {"chkSBMessage", T::Check, P::StatusBar, "027", "Show the Status Bar when message is received", F::Row, 1},
    {"chkSwitchTab", T::Check, P::StatusBar, "109", "Show the Status Bar after go to a new tab or new page", F::Row, 1},
    {"chkStatusBarInfo", T::Check, P::StatusBar, "067", "When the Status Bar is empty show the followings:"},
    {"chkShowZone", T::Check, P::StatusBar, "063", "Zone Name", F::Row, 1},
    {"chkShowIP", T::Check, P::StatusBar, "064", "IP Address", F::Row, 1},
    {"chkShowLocation", T::Check, P::StatusBar, "065", "IP Location", F::Row, 1},
    {"chkShowProxy", T::Check, P::StatusBar, "066", "Proxy name and address", F::Row, 1},
    {"chkShowIcon", T::Check, P::StatusBar, "072", "Show the Zone Icon in the Status Bar"},
    {"chkShowHTML", T::Check, P::StatusBar, "087", "Show Html Addons in the Status Bar"},
    {"cmdStatusHtml", T::Command, P::StatusBar, "097", "Configure...", F::Beside, 0, 0, 60},
    {"chkShowGroupUrl", T::Check, P::StatusBar, "092", "Show the url of Group pages in the Status Bar"},

    {"fraPlugin", T::Frame, P::Plugins, "078", "Plugins"},
    {"chkPluginMenu", T::Check, P::Plugins, "043",
     "Add the following plugins to \"Maxthon Plugins\" IE context submenu:"},
    {"chkPluginDropDown", T::Check, P::Plugins, "082", "Show plugin dropdown menu as submenu", F::Row, 1},
    {"txtPluginMenu", T::Block, P::Plugins, "", "", F::Block, 1, 1},
    {"chkTabPluginMenu", T::Check, P::Plugins, "091",
     "Add the following plugins to \"Maxthon Plugins\" Tab context submenu:"},
    {"chkTabPluginDropDown", T::Check, P::Plugins, "082", "Show plugin dropdown menu as submenu", F::Row, 1},
    {"txtTabPluginMenu", T::Block, P::Plugins, "", "", F::Block, 1, 1},
    {"chkHidePlugin", T::Check, P::Plugins, "080",
     "Do not show the button of the following plugins in the Plugins Bar:"},
    {"chkHideContextPlugin", T::Check, P::Plugins, "081", "Plugins added to \"Maxthon Plugins\" context submenu",
     F::Row, 1},
    {"chkHideAutoPlugin", T::Check, P::Plugins, "083", "Auto started plugins which have no dropdown menu", F::Row, 1},
    {"chkHideOtherPlugin", T::Check, P::Plugins, "084", "Others: ", F::Row, 1},
    {"txtHidePlugin", T::Text, P::Plugins, "", "", F::Beside},

    {"fraMenu", T::Frame, P::Menu, "047", "Menu"},
    {"chkTabMenu", T::Check, P::Menu, "042", "Add \"Close All\" submenu to the Tab context menu"},
    {"chkExtensionMenu", T::Check, P::Menu, "044",
     "Move the following menu extensions to \"Menu Extensions\" submenu:"},
    {"txtExtensionMenu", T::Block, P::Menu, "", "", F::Block, 1, 1},
    {"chkOtherMenu", T::Check, P::Menu, "045", "Move the following IE menu items to \"Other Options\" submenu:"},
    {"txtOtherMenu", T::Block, P::Menu, "", "", F::Block, 1, 1},
    {"chkTabOtherMenu", T::Check, P::Menu, "093", "Move the following Tab menu items to \"Other Options\" submenu:"},
    {"txtTabOtherMenu", T::Block, P::Menu, "", "", F::Block, 1, 1},
    {"chkSortSearch", T::Check, P::Menu, "094", "Sort the order of quick search menu:"},
    {"chkSortSearchCustom", T::Check, P::Menu, "095", "Manually:", F::Row, 1},
    {"txtSortSearchOrder", T::Text, P::Menu, "", "", F::Beside},
    {"chkSortSearchAlphabetical", T::Check, P::Menu, "096", "Alphabetically", F::Row, 1},

    {"fraGeneral", T::Frame, P::Misc, "006", "Misc"},
    {"chkHideTitle", T::Check, P::Misc, "009", "Replace browser title with:"},
    {"txtNewTitle", T::Text, P::Misc, "", "", F::Beside},
    {"chkHideKeyTitle", T::Check, P::Misc, "010", "Only if the title contain:", F::Row, 1},
    {"txtTitleToHide", T::Text, P::Misc, "", "", F::Beside},
    {"chkToggleFilter", T::Check, P::Misc, "028", "Set AdHunter's status bar button to toggle only selected blockers"},
    {"chkAlwaysOnTop", T::Check, P::Misc, "007", "Toggle Always On Top mode with hotkey:                           + "},
    {"cboOnTopHotKey", T::Combo, P::Misc, "", "", F::OverBlank, 0, 0},
    {"txtOnTopHotKey", T::Text, P::Misc, "", "", F::OverBlank, 0, -1, 20},
    {"lblOnTopPosition", T::Label, P::Misc, "005",
     "Left:                     Top:                    Width:                   Height:", F::Row, 1},
    {"txtOnTopLeft", T::Text, P::Misc, "", "", F::OverBlank, 0, 0},
    {"txtOnTopTop", T::Text, P::Misc, "", "", F::OverBlank, 0, 1},
    {"txtOnTopWidth", T::Text, P::Misc, "", "", F::OverBlank, 0, 2},
    {"txtOnTopHeight", T::Text, P::Misc, "", "", F::OverBlank, 0, -1, 32},
    {"chkLastTabExit", T::Check, P::Misc, "012", "Exit the browser when the last tab is closed in full screen mode"},
    {"chkOpenGroupConfirm", T::Check, P::Misc, "090",
     "Confirm before opening groups with more than                   pages"},
    {"txtOpenGroupCount", T::Text, P::Misc, "", "", F::OverBlank, 0, 0},
    {"chkCombineButtons", T::Check, P::Misc, "110", "Combine the Refresh and Stop button"},

    {"fraSettings", T::Frame, P::Settings, "073", "Settings"},
    {"chkShowInMenu", T::Check, P::Settings, "041", "Show \"Tillwick...\" command in the Options menu"},
    {"chkShowButton", T::Check, P::Settings, "050", "Show \"Tillwick\" button in the Plugins Bar", F::Row, 1},
    {"lblGlobalMod", T::Label, P::Settings, "077", "Global Modifier Key:"},
    {"cboGlobalMod", T::Combo, P::Settings, "", "", F::Beside, 0, 0, 50},
    {"lblDiagnostic", T::Label, P::Settings, "130", "Diagnostic Information"},
    {"txtDiagnostic", T::Block, P::Settings, "", "", F::Block, 0, 0},
};

constexpr std::array<std::string_view, kOptionsPageCount> kPageFrames = {
    "fraStartup", "fraAddress", "fraTab", "fraStatus", "fraPlugin", "fraMenu", "fraGeneral", "fraSettings"};

}  // namespace

std::span<const ControlDef> OptionsControls() { return kControls; }

std::optional<ControlId> FindControl(std::string_view name) {
    for (std::size_t i = 0; i < std::size(kControls); ++i)
        if (kControls[i].name == name) return static_cast<ControlId>(i);
    return std::nullopt;
}

ControlId ControlOf(std::string_view name) {
    if (auto id = FindControl(name)) return *id;
    throw StepError("no control " + std::string(name));
}

const ControlDef& ControlDefOf(ControlId id) { return kControls[id]; }

ControlId PageFrame(std::size_t page) { return ControlOf(kPageFrames.at(page)); }

std::optional<std::pair<std::size_t, std::size_t>> BlankRun(std::string_view caption, int index) {
    int seen = 0;
    std::size_t i = 0;
    while (i < caption.size()) {
        if (caption[i] != ' ') {
            ++i;
            continue;
        }
        std::size_t end = caption.find_first_not_of(' ', i);
        if (end == std::string_view::npos) end = caption.size();
        if (end - i >= kBlankRunMin && seen++ == index) return std::pair{i, end};
        i = end;
    }
    return std::nullopt;
}

}  // namespace tillwick
