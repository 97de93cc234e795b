// The state of the context-menu modules: one plugin submenu per menu (the tab
// menu's and the page menu's share no state), and what each module keeps
// between the messages of one menu loop. Held in the shared state so that
// ResetState() starts them afresh.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/host.h"

namespace tillwick {

class TextPattern;

// Script tables hold this many paths each; entries beyond are left out.
inline constexpr std::size_t kPluginScriptSlots = 199;

struct PluginMenuState {
    HMENU PluginPopup = nullptr;
    bool PatternSet = false;  // an empty pattern shows no plugin submenu
    std::shared_ptr<const TextPattern> Pattern;
    // Host command ids of the button entries, for telling a picked entry.
    std::vector<std::int32_t> TopButtons;
    std::vector<std::int32_t> DropDownButtons;
    std::array<std::string, kPluginScriptSlots> TopScripts{};
    std::array<std::string, kPluginScriptSlots> DropDownScripts{};
    bool PopupShown = false;
    bool NestedShown = false;
    std::int32_t HighlightedId = 0;
    std::int32_t PendingId = 0;
    UINT_PTR LaunchTimer = 0;
    UINT_PTR FilterRestoreTimer = 0;
};

// tab_menu.cpp.
struct TabMenuState {
    HMENU HostMenu = nullptr;
    HMENU CloseSubmenu = nullptr;
    HMENU OtherSubmenu = nullptr;
    std::shared_ptr<const TextPattern> OtherMatcher;
    std::string PluginCaption;
    std::string OtherCaption;
    bool Inserted = false;  // our items sit in the open host menu
    PluginMenuState Plugins;
};

// page_menu.cpp.
struct PageMenuState {
    HMENU HostMenu = nullptr;
    HMENU ExtensionSubmenu = nullptr;  // per opening
    HMENU OtherSubmenu = nullptr;      // per opening
    std::shared_ptr<const TextPattern> ExtensionMatcher;
    std::shared_ptr<const TextPattern> OtherMatcher;
    std::string PluginCaption;
    std::string ExtensionCaption;
    std::string OtherCaption;
    std::string WindowWord;
    std::string TabWord;
    bool Inserted = false;
    PluginMenuState Plugins;
};

// The one instance, owned by the feature's unit.
TabMenuState& TabMenuData() noexcept;
PageMenuState& PageMenuData() noexcept;

}  // namespace tillwick
