// Start-up and window discovery. InitializePlugin runs for every new
// plugin object; DeferredStartup waits for the main frame and its first tab,
// then starts the enabled features in a fixed order and hooks the host's windows.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "host/host.h"
#include "settings/settings_catalogue.h"

namespace tillwick {

// Called by every plugin object's creation.
void InitializePlugin() noexcept;
// Called by the release of the last live plugin object: stops every running
// feature, ends every timer and removes every subclass, so that nothing in
// the process calls into the plugin any more.
void TerminatePlugin() noexcept;
// True while anything of the plugin may still call into it: a subclass in
// place, a thread timer armed, a hot key registered, a window of its own.
bool PluginStillActive() noexcept;

// True while the global modifier key (Shift or Ctrl, setting GlobalModifier)
// is held down; the toggle bit does not count.
bool IsGlobalModifierDown() noexcept;

void StartOffline();
void ApplyStartPosition();
void HideTabToolTips();
void ShowTabToolTips();

// ---- timer procedures ---------------------------------------------------------
void CALLBACK DeferredStartup(HWND, UINT, UINT_PTR timerId, DWORD) noexcept;
void CALLBACK PollSecurityId(HWND, UINT, UINT_PTR timerId, DWORD) noexcept;
// The status-bar capture chain (capture.cpp).
void CALLBACK WaitForForeground(HWND, UINT, UINT_PTR, DWORD) noexcept;
void CALLBACK CaptureStatusBar(HWND, UINT, UINT_PTR, DWORD) noexcept;
// Captures a rectangle of a window (frame included) into a bitmap file in
// the plugin folder; false when the capture could not be made.
bool CaptureWindow(HWND wnd, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                   std::string_view fileName);

// ---- discovery callbacks (discovery.cpp); the parameter is always 0 ------------
BOOL CALLBACK FindRebar(HWND wnd, LPARAM) noexcept;
BOOL CALLBACK FindStatusToolbar(HWND wnd, LPARAM) noexcept;
BOOL CALLBACK ClassifyToolbar(HWND wnd, LPARAM) noexcept;
BOOL CALLBACK FindAddressControls(HWND wnd, LPARAM) noexcept;
BOOL CALLBACK FindSearchEdit(HWND wnd, LPARAM) noexcept;
BOOL CALLBACK FindAddressComboByText(HWND wnd, LPARAM) noexcept;
BOOL CALLBACK FindAddressEdit(HWND wnd, LPARAM) noexcept;

// A host command: WM_COMMAND to the main frame with lParam pointing at a zero,
// the way the host's commands have always been sent. Returns the host's answer.
LRESULT SendHostCommand(WPARAM command);
// The active MDI child (tab window); the MDI client writes its maximized state
// through lParam, so that points at a variable of ours.
HWND ActiveMdiChild();
// The tab bar's tab count (TCM_GETITEMCOUNT).
std::int32_t CountTabs();

// A window's class as GetClassNameA gives it into a 255-character buffer.
bool HasClass(HWND wnd, std::string_view className) noexcept;

// ---- the toolbar style table --------------------------------------------------
enum class ToolbarRole : std::uint8_t { MainButtons, PluginButtons, Address, Search };
struct ToolbarStyleRow {
    DWORD hiddenStyle;   // the style while hidden; the visible one adds WS_VISIBLE
    bool needsToolWindowExStyle;  // the extended style must be exactly WS_EX_TOOLWINDOW
    ToolbarRole role;
};
std::span<const ToolbarStyleRow> ToolbarStyleTable();

// ---- the spine's own rows of the feature table ------------------------------------
struct Feature;
extern const Feature kFirstTabFeature;       // ActivateFirstTab: select the first tab at the end
extern const Feature kTabToolTipsFeature;    // HideTabToolTip
extern const Feature kGlobalModifierFeature;  // GlobalModifier: Shift or Ctrl

}  // namespace tillwick
