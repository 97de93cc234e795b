// What the tab and page menu modules share beyond the plugin submenu.
#pragma once

#include "host/host.h"

namespace tillwick {

// The end of the host's menu loop, before the host destroys its menu: the
// menu's own WM_UNINITMENUPOPUP (WM_CAPTURECHANGED comes first where the
// platform sends it to the owner; Wine does not).
inline bool IsMenuLoopEnd(UINT msg, WPARAM wParam, HMENU hostMenu) noexcept {
    return msg == WM_UNINITMENUPOPUP && hostMenu && reinterpret_cast<HMENU>(wParam) == hostMenu;
}

// The feature's entry points: its start and stop, and its message handlers.
LRESULT TabMenuMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
LRESULT PageMenuMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
void StartTabMenu();
void StartTabPluginMenu();
void StartTabOtherMenu();
void StartPageExtensionMenu();
void StartPagePluginMenu();
void StartPageOtherMenu();
void StopTabMenu() noexcept;
void StopTabPluginMenu() noexcept;
void StopTabOtherMenu() noexcept;
void StopPageExtensionMenu() noexcept;
void StopPagePluginMenu() noexcept;
void StopPageOtherMenu() noexcept;

// Its rows of the feature table (src/plugin/feature_table.cpp).
struct Feature;
extern const Feature kTabMenuFeature;
extern const Feature kTabPluginMenuFeature;
extern const Feature kTabOtherMenuFeature;
extern const Feature kPageExtensionMenuFeature;
extern const Feature kPagePluginMenuFeature;
extern const Feature kPageOtherMenuFeature;

}  // namespace tillwick
