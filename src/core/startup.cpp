// InitializePlugin, DeferredStartup with the start table, the
// security-id poll and the small procedures of start-up.
#include "core/startup.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

#include "base/convert.h"
#include "base/errors.h"
#include "core/feature_hooks.h"
#include "core/host_contract.h"
#include "core/plugin_registry.h"
#include "core/state.h"
#include "core/subclassing.h"
#include "core/wrapper.h"
#include "features/always_on_top.h"
#include "features/hide_status_bar.h"
#include "features/hide_tab_bar.h"
#include "features/hide_title.h"
#include "features/toggle_filter.h"
#include "settings/settings_catalogue.h"

namespace tillwick {
namespace {

constexpr UINT kStartupPeriodMs = 200;
constexpr UINT kSecurityPollPeriodMs = 200;
// About ten minutes of 200 ms ticks; the count is checked before it is raised.
constexpr std::int16_t kSecurityPollLimit = 3000;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string ModuleFileName() {
    std::array<char, 1024> buffer{};
    DWORD n = host::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return std::string(buffer.data(), std::min<std::size_t>(n, buffer.size()));
}

std::string FolderOf(const std::string& path, bool keepBackslash) {
    std::size_t cut = path.find_last_of('\\');
    if (cut == std::string::npos) return keepBackslash ? std::string() : path;
    return path.substr(0, keepBackslash ? cut + 1 : cut);
}

// ---- the start table's operations -------------------------------------------------
template <void (*Feature)()>
void Run(StartRun&, std::string_view) {
    Feature();
}

void SelectFirstTabAtEnd(StartRun& run, std::string_view) { run.tabCount = 1; }
void SetLastTabExitOn(StartRun&, std::string_view) { State().LastTabExitOn = true; }
void SetPasteGoOn(StartRun&, std::string_view) { State().PasteGoOn = true; }
// The panels themselves start when the security id arrives (PollSecurityId).
void SetStatusHtmlOn(StartRun&, std::string_view) { State().StatusHtmlOn = true; }
void SetShowGroupUrlOn(StartRun&, std::string_view) { State().ShowGroupUrlOn = true; }
void SetOpenGroupConfirmOn(StartRun&, std::string_view) { State().OpenGroupConfirmOn = true; }
void StartTabBarHiding(StartRun&, std::string_view) {
    if (SettingOn(Setting::HideLastTab))
        StartHideLastTab();
    else
        StartHideTabBar();
}
void SetGlobalModifierKey(StartRun&, std::string_view value) {
    State().GlobalModifierKey = value == "Shift" ? VK_SHIFT : VK_CONTROL;
}

constexpr bool kSwitch = true;
constexpr bool kValue = false;

// The features in their start order.
constexpr std::array<StartRow, 24> kStartTable{{
    {Setting::ActivateFirstTab, kSwitch, &SelectFirstTabAtEnd},
    {Setting::StartUpTabLock, kSwitch, &Run<&LockStartupTabs>},
    {Setting::AlwaysOnTop, kSwitch, &Run<&RegisterOnTopHotKey>},
    {Setting::HideTitle, kSwitch, &Run<&StartHideTitle>},
    {Setting::LastTabExit, kSwitch, &SetLastTabExitOn},
    {Setting::HideTabToolTip, kSwitch, &Run<&HideTabToolTips>},
    {Setting::TabHoverAction, kSwitch, &Run<&StartTabHover>},
    {Setting::ToggleFilter, kSwitch, &Run<&StartToggleFilter>},
    {Setting::PasteGo, kSwitch, &SetPasteGoOn},
    {Setting::ShowInMenu, kSwitch, &Run<&StartShowInMenu>},
    {Setting::TabMenu, kSwitch, &Run<&StartTabMenu>},
    {Setting::TabPluginMenu, kSwitch, &Run<&StartTabPluginMenu>},
    {Setting::TabOtherMenu, kSwitch, &Run<&StartTabOtherMenu>},
    {Setting::ExtensionMenu, kSwitch, &Run<&StartPageExtensionMenu>},
    {Setting::PluginMenu, kSwitch, &Run<&StartPagePluginMenu>},
    {Setting::OtherMenu, kSwitch, &Run<&StartPageOtherMenu>},
    {Setting::SortSearch, kSwitch, &Run<&StartSortSearch>},
    {Setting::HideTabBar, kSwitch, &StartTabBarHiding},
    {Setting::StatusHtml, kSwitch, &SetStatusHtmlOn},
    {Setting::ShowIcon, kSwitch, &Run<&StartZoneIcon>},
    {Setting::StatusBarInfo, kSwitch, &Run<&StartStatusBarInfo>},
    {Setting::ShowGroupUrl, kSwitch, &SetShowGroupUrlOn},
    {Setting::OpenGroupConfirm, kSwitch, &SetOpenGroupConfirmOn},
    {Setting::GlobalModifier, kValue, &SetGlobalModifierKey},
}};

// ---- InitializePlugin's steps after the host check -----------------------------------
void FindHostWindows() {
    SharedState& s = State();
    s.MainFrameWnd = host::FindWindowA(std::string(contract::kMainFrameClass).c_str(), nullptr);
    s.MdiClientWnd =
        host::FindWindowExA(s.MainFrameWnd, nullptr, std::string(contract::kMdiClientClass).c_str(), nullptr);
    s.StatusBarWnd =
        host::FindWindowExA(s.MainFrameWnd, nullptr, std::string(contract::kStatusBarClass).c_str(), nullptr);
    s.TabBarWnd =
        host::FindWindowExA(s.MainFrameWnd, nullptr, std::string(contract::kTabBarClass).c_str(), nullptr);
}

void MeasureBars() {
    SharedState& s = State();
    RECT r{};
    if (host::GetClientRect(s.TabBarWnd, &r)) s.TabBarHeight = static_cast<std::int16_t>(r.bottom);
    r = RECT{};
    if (host::GetClientRect(s.StatusBarWnd, &r)) s.StatusBarHeight = static_cast<std::int16_t>(r.bottom);
}

void WriteKeywordWhenEmpty(Setting keyword) {
    const std::optional<std::string> stored = StoredSetting(keyword);
    if (!stored || stored->empty()) WriteSettingValue(keyword, CatalogueRow(keyword).featureDefault);
}

void ChooseLanguage() {
    SharedState& s = State();
    std::string chosen = SettingText(Setting::LanguageID);
    if (chosen != "auto")
        s.LanguageId = chosen;
    else if (s.LanguageId.empty())
        s.LanguageId = std::string(contract::kBaseLanguageId);
}

// ---- DeferredStartup's steps -----------------------------------------------------------
void FirstShow() {
    SharedState& s = State();
    s.FirstShowDone = true;
    RunStep("DeferredStartup: status-bar images", [] { WaitForForeground(nullptr, 0, 0, 0); });
    RunStep("DeferredStartup: tool bars", [&] { host::EnumChildWindows(s.RebarWnd, &ClassifyToolbar, 0); });
    RunStep("DeferredStartup: start position", [] {
        if (SettingOn(Setting::StartPosition)) ApplyStartPosition();
    });
}

void StartSecurityPoll() {
    SharedState& s = State();
    if (s.CompanionCommandId <= 0) return;
    WriteSettingValue(Setting::SecurityID, std::string_view{});
    host::KillTimer(nullptr, s.SecurityPollTimerId);
    s.SecurityPollTimerId = host::SetTimer(nullptr, 0, kSecurityPollPeriodMs, &PollSecurityId);
}

void MeasureTabBarSide() {
    SharedState& s = State();
    RECT mdi{}, tabs{};
    if (!host::GetWindowRect(s.MdiClientWnd, &mdi) || !host::GetWindowRect(s.TabBarWnd, &tabs)) return;
    if (mdi.top >= tabs.top) s.TabBarOnTop = true;
}

void StartFeatures(StartRun& run) {
    for (const StartRow& row : kStartTable) {
        RunStep("DeferredStartup: start a feature", [&] {
            std::string value = SettingText(row.setting);
            if (!row.isSwitch || IsOn(value)) row.start(run, value);
        });
    }
}

}  // namespace

std::span<const StartRow> StartTable() { return kStartTable; }

void InitializePlugin() noexcept {
    SharedState& s = State();
    bool awake = RunStepOr("InitializePlugin: host check", false, [&] {
        s.HostExePath = Lower(ModuleFileName());
        s.HostFolder = FolderOf(s.HostExePath, true);
        SetPluginFolder(FolderOf(host::PluginModulePath(), false));
        return s.HostExePath.find(contract::kHostExeMarker) != std::string::npos;
    });
    // Not the browser we belong to: stay inert, with no timer, hook or file of ours.
    if (!awake) return;

    RunStep("InitializePlugin: caption buttons", [&] {
        if (host::GetSystemMetrics(SM_CYSIZE) > 18) s.LargeCaptionButtons = true;
    });
    RunStep("InitializePlugin: host windows", FindHostWindows);
    RunStep("InitializePlugin: tab tooltips", [&] {
        s.TabToolTipWnd = reinterpret_cast<HWND>(host::SendMessageA(s.TabBarWnd, TCM_GETTOOLTIPS, 0, 0));
    });
    RunStep("InitializePlugin: bars", [&] {
        host::EnumChildWindows(s.MainFrameWnd, &FindRebar, 0);
        host::EnumChildWindows(s.StatusBarWnd, &FindStatusToolbar, 0);
    });
    RunStep("InitializePlugin: bar heights", MeasureBars);
    RunStep("InitializePlugin: offline", [] {
        if (SettingNumberOrDefault(Setting::StartOffLine) == 1) StartOffline();
    });
    RunStep("InitializePlugin: keywords", [] {
        WriteKeywordWhenEmpty(Setting::Opening);
        WriteKeywordWhenEmpty(Setting::Done);
    });
    RunStep("InitializePlugin: language setting", [] {
        const std::optional<std::string> stored = StoredSetting(Setting::LanguageID);
        if (!stored || stored->empty()) WriteSettingValue(Setting::LanguageID, "auto");
    });
    RunStep("InitializePlugin: host language", [&] {
        s.HostLanguageFile = ReadHostConfig("language_file", "", "Settings");
        s.LanguageId = HostLanguageText("language_id", "", "General");
    });
    RunStep("ScanHostPlugins", ScanHostPlugins);
    RunStep("InitializePlugin: language", ChooseLanguage);
    RunStep("InitializePlugin: texts", [&] { s.ShowWordText = LanguageText("089", "Show") + " "; });
    RunStep("InitializePlugin: done keyword", [&] { s.DoneKeyword = SettingText(Setting::Done); });
    RunStep("InitializePlugin: pop-up filter", [&] {
        if (IsOn(ReadHostConfig("EnableAutoFilter", "0", "Settings"))) s.PopupFilterEnabled = true;
    });
    // One start-up timer at a time: objects created together start up once.
    RunStep("InitializePlugin: start-up timer", [&] {
        host::KillTimer(nullptr, s.StartupTimerId);
        s.StartupTimerId = host::SetTimer(nullptr, 0, kStartupPeriodMs, &DeferredStartup);
    });
}

void TerminatePlugin() noexcept {
    SharedState& s = State();
    // Each running feature stops as the options dialog would stop it: its
    // timers, menus, windows and hot key go with it.
    using Flag = bool SharedState::*;
    struct Running { Flag on; void (*stop)() noexcept; };
    static constexpr Running kRunning[] = {
        {&SharedState::TabHoverOn, &StopTabHover},
        {&SharedState::TabMenuOn, &StopTabMenu},
        {&SharedState::TabPluginMenuOn, &StopTabPluginMenu},
        {&SharedState::TabOtherMenuOn, &StopTabOtherMenu},
        {&SharedState::ExtensionMenuOn, &StopPageExtensionMenu},
        {&SharedState::PluginMenuOn, &StopPagePluginMenu},
        {&SharedState::OtherMenuOn, &StopPageOtherMenu},
        {&SharedState::SortSearchOn, &StopSortSearch},
        {&SharedState::ZoneIconOn, &StopZoneIcon},
        {&SharedState::StatusBarInfoOn, &StopStatusBarInfo},
        {&SharedState::StatusHtmlOn, &StopStatusHtml},
        {&SharedState::CombineButtonsOn, &StopCombineButtons},
        {&SharedState::HighlightComboOn, &StopHighlightCombo},
        {&SharedState::CustomProgressOn, &StopProgressBar},
        {&SharedState::HidePluginOn, &ShowPlugins},
        {&SharedState::ShowInMenuOn, &StopShowInMenu},
        {&SharedState::ShowGroupUrlOn, &StopShowGroupUrl},
        {&SharedState::OpenGroupConfirmOn, &StopShowGroupUrl},
        {&SharedState::HideStatusBarOn, &StopHideStatusBar},
        {&SharedState::HideTabBarOn, &StopHideTabBar},
        {&SharedState::HideLastTabOn, &StopHideLastTab},
        {&SharedState::HideTitleOn, &StopHideTitle},
        {&SharedState::ToggleFilterOn, &StopToggleFilter},
        {&SharedState::OnTopDispatch, &UnregisterOnTopHotKey},
    };
    for (const Running& f : kRunning)
        if (s.*f.on) RunStep("TerminatePlugin: stop a feature", f.stop);
    // The panel strip outlives a stop (it is only hidden) but not the plugin.
    ReleaseStatusHtmlStrip();
    // The one-shot timers of start-up and of features without a stop. The
    // last-tab exit's timer stays: closing the last tab releases the last
    // object, and that timer is what then leaves the browser; it ends itself.
    for (UINT_PTR* timer : {&s.StartupTimerId, &s.SecurityPollTimerId, &s.CaptureTimerId,
                            &s.Subclassing.PanelCommandTimerId, &s.PasteGo.MenuTimer, &s.PasteGo.PasteTimer,
                            &s.TabLock.TabLockTimer, &s.ToggleFilter.RestoreTimer, &s.ToggleFilter.StartupTimer}) {
        if (*timer != 0) host::KillTimer(nullptr, *timer);
        *timer = 0;
    }
    UnhookAll();
}

bool PluginStillActive() noexcept {
    const SubclassingState& sub = State().Subclassing;
    if (!sub.removedForProcess)
        for (const HookSlot& slot : sub.hooks)
            if (slot.savedProc != 0) return true;
    return !host::ModuleFootprint().Empty();
}

void CALLBACK DeferredStartup(HWND, UINT, UINT_PTR timerId, DWORD) noexcept {
    SharedState& s = State();
    RunStep("DeferredStartup: first show", [&] {
        if (!s.FirstShowDone && host::IsWindowVisible(s.MainFrameWnd)) FirstShow();
    });
    StartRun run;
    if (!RunStep("DeferredStartup: tabs", [&] { run.tabCount = CountTabs(); }) || run.tabCount <= 0) return;

    RunStep("DeferredStartup", [&] {
        host::KillTimer(nullptr, s.StartupTimerId);
        if (timerId != 0 && timerId != s.StartupTimerId) host::KillTimer(nullptr, timerId);
        s.StartupTimerId = 0;
    });
    RunStep("DeferredStartup: address box", [&] {
        if (s.AddressEditWnd == nullptr) host::EnumChildWindows(s.RebarWnd, &FindAddressComboByText, 0);
    });
    RunStep("DeferredStartup: security id", StartSecurityPoll);
    RunStep("DeferredStartup: tab bar side", MeasureTabBarSide);
    StartFeatures(run);
    RunStep("DeferredStartup: zone names", [&] {
        if (s.ZoneIconOn || StatusInfoZoneOn()) LoadZoneNames();
    });
    RunStep("InstallSubclasses", InstallSubclasses);
    RunStep("DeferredStartup: select a tab", [&] {
        if (!s.StatusHtmlOn)
            SendHostCommand(static_cast<WPARAM>(contract::kCmdSelectTabFromCount + run.tabCount));
    });
}

void CALLBACK PollSecurityId(HWND, UINT, UINT_PTR timerId, DWORD) noexcept {
    SharedState& s = State();
    RunStep("PollSecurityId: companion", [&] {
        host::SendMessageA(s.MainFrameWnd, WM_COMMAND, static_cast<WPARAM>(s.CompanionCommandId), 0);
    });
    RunStep("PollSecurityId", [&] {
        s.SecurityId = SettingText(Setting::SecurityID);
        if (!s.SecurityId.empty()) {
            host::KillTimer(nullptr, timerId);
            s.SecurityPollTimerId = 0;
            WriteSettingValue(Setting::SecurityID, std::nullopt);
            if (s.StatusHtmlOn) StartStatusHtml();
        } else if (s.SecurityPollCount > kSecurityPollLimit) {
            host::KillTimer(nullptr, timerId);  // give up for this process
            s.SecurityPollTimerId = 0;
        }
    });
    if (s.SecurityPollCount < INT16_MAX) ++s.SecurityPollCount;
}

LRESULT SendHostCommand(WPARAM command) {
    // Writable: a receiver may treat lParam as an out parameter.
    std::int32_t zero = 0;
    return host::SendMessageA(State().MainFrameWnd, WM_COMMAND, command, reinterpret_cast<LPARAM>(&zero));
}

HWND ActiveMdiChild() {
    BOOL maximized = FALSE;
    return reinterpret_cast<HWND>(
        host::SendMessageA(State().MdiClientWnd, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
}

bool IsGlobalModifierDown() noexcept {
    return (host::GetKeyState(State().GlobalModifierKey) & 0xFFFE) != 0;
}

void StartOffline() { host::SetOfflineMode(); }

void ApplyStartPosition() {
    SharedState& s = State();
    LONG style = host::GetWindowLongA(s.MainFrameWnd, GWL_STYLE);
    host::SetWindowLongPtrW(s.MainFrameWnd, GWL_STYLE, style & static_cast<LONG>(0xFEFFFFFF));
    host::SetWindowPos(s.MainFrameWnd, nullptr, SettingNumberOrDefault(Setting::StartLeft), SettingNumberOrDefault(Setting::StartTop),
                       SettingNumberOrDefault(Setting::StartWidth), SettingNumberOrDefault(Setting::StartHeight), 0);
}

void HideTabToolTips() {
    host::SendMessageA(State().TabToolTipWnd, TTM_ACTIVATE, 0, 0);
    State().TabToolTipsHidden = true;
}

void ShowTabToolTips() {
    host::SendMessageA(State().TabToolTipWnd, TTM_ACTIVATE, 1, 0);
    State().TabToolTipsHidden = false;
}

}  // namespace tillwick
