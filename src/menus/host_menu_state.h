// The state of the four modules that change the host's own bars and menus:
// plugin hiding, the Options-menu entry, search sorting and group URLs.
// One member of SharedState, so that ResetState() starts them afresh.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/host.h"

namespace tillwick {

// hide_plugin.cpp.
struct HidePluginState {
    std::vector<UINT> HiddenButtons;        // the commands of the buttons we hid
    std::optional<UINT> SavedBandWidth;     // the band's ideal width before we narrowed it
};

// show_in_menu.cpp.
struct ShowInMenuState {
    bool MenuAdded = false;
    HMENU OptionsMenu = nullptr;
    UINT_PTR MenuEnableTimer = 0;
};

// group_url.cpp.
struct GroupUrlState {
    HMENU GroupsMenu = nullptr;
    HMENU GroupSubmenu = nullptr;
    bool GroupMenuOpen = false;
    std::int32_t GroupItemLimit = 0;
    std::string GroupName;
    std::vector<std::string> GroupLines{std::string()};
    std::string PromptText;
    std::string PageItemText;
    UINT_PTR GroupUrlTimer = 0;
};

struct HostMenuState {
    HidePluginState HidePlugin;
    ShowInMenuState ShowInMenu;
    GroupUrlState GroupUrl;
};

// The one instance, owned by the feature's unit.
HostMenuState& HostMenusData() noexcept;

}  // namespace tillwick
