// Our entry "Tillwick..." in the host's Options menu. The host
// greys the commands it does not know each time the menu opens, so a 0 ms
// timer enables ours again once the host has done so.
#include "base/errors.h"
#include "core/feature.h"
#include "core/host_contract.h"
#include "core/plugin_object.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "features/feature_timers.h"
#include "menus/host_menu_state.h"
#include "menus/host_menus.h"

namespace tillwick {
namespace {

constexpr UINT kEntryCommand = 168;
constexpr const char* kMenuWindowClass = "#32768";

ShowInMenuState& Module() noexcept { return HostMenusData().ShowInMenu; }

void CALLBACK EnableEntry(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    ShowInMenuState& m = Module();
    features::EndTimer(m.MenuEnableTimer, id);
    RunStep("EnableEntry", [&] { host::EnableMenuItem(m.OptionsMenu, kEntryCommand, MF_BYCOMMAND | MF_ENABLED); });
    // The menu is already on screen, drawn with the entry greyed: draw it again.
    RunStep("EnableEntry", [] {
        if (HWND shown = host::FindWindowA(kMenuWindowClass, nullptr)) host::InvalidateRect(shown, nullptr, TRUE);
    });
}

bool IsOptionsMenu(HMENU menu) {
    return host::GetMenuItemID(menu, contract::kOptionsMenuMarkerPos) == contract::kCmdOptionsMenu;
}

void OnMenuOpening(HMENU menu) {
    ShowInMenuState& m = Module();
    // A host that rebuilt its Options menu gets the entry again.
    if (m.MenuAdded && !host::IsMenu(m.OptionsMenu)) m.MenuAdded = false;
    if (!m.MenuAdded && IsOptionsMenu(menu)) {
        const std::string text = LanguageText("040", "Tillwick...");
        if (host::AppendMenuA(menu, MF_STRING, kEntryCommand, text.c_str())) {
            m.OptionsMenu = menu;
            m.MenuAdded = true;
        }
    }
    if (m.MenuAdded) features::RestartTimer(m.MenuEnableTimer, 0, &EnableEntry);
}

}  // namespace

void StartShowInMenu() { State().ShowInMenuOn = true; }

void StopShowInMenu() noexcept {
    ShowInMenuState& m = Module();
    State().ShowInMenuOn = false;
    features::EndTimer(m.MenuEnableTimer);
    if (m.MenuAdded) RunStep([&] { host::RemoveMenu(m.OptionsMenu, kEntryCommand, MF_BYCOMMAND); });
    m.MenuAdded = false;
    m.OptionsMenu = nullptr;
}

LRESULT ShowInMenuMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
    if (hwnd != State().MainFrameWnd) return msg;
    if (msg == WM_INITMENUPOPUP) {
        OnMenuOpening(reinterpret_cast<HMENU>(wParam));
    } else if (msg == WM_COMMAND && wParam == kEntryCommand) {
        // The same way in as the plugin's own command.
        RunStep(&PluginObject::OpenOptions);
    }
    return msg;
}

namespace {
constexpr MessageSet kActsOn{WM_INITMENUPOPUP, WM_COMMAND};
constexpr DispatchRow kRows[] = {
    Row(HookedWindow::MainFrame, 80, kAnyKey, {&SharedState::ShowInMenuOn}, &ByValue<&ShowInMenuMessage>,
        ResultUse::Ignored, kActsOn),
};
}  // namespace

constinit const Feature kShowInMenuFeature{.name = "Options-menu entry",
                                           .setting = Setting::ShowInMenu,
                                           .start = &Run<&StartShowInMenu>,
                                           .stop = &StopShowInMenu,
                                           .running = &SharedState::ShowInMenuOn,
                                           .rows = kRows};

}  // namespace tillwick
