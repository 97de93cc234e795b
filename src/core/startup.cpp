// InitializePlugin, DeferredStartup with the start table, the
// security-id poll and the small procedures of start-up.
#include "core/startup.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

#include "base/convert.h"
#include "base/errors.h"
#include "core/feature.h"
#include "core/host_contract.h"
#include "core/plugin_registry.h"
#include "core/state.h"
#include "core/subclassing.h"
#include "core/wrapper.h"
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

// ---- the spine's own rows of the feature table -------------------------------------
void SelectFirstTabAtEnd(StartRun& run, std::string_view) { run.tabCount = 1; }
void SetGlobalModifierKey(StartRun&, std::string_view value) {
    State().GlobalModifierKey = value == "Shift" ? VK_SHIFT : VK_CONTROL;
}
void RestartTabToolTips() {
    if (State().TabToolTipsHidden) ShowTabToolTips();
    if (SettingOn(Setting::HideTabToolTip)) HideTabToolTips();
}

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

}  // namespace

constinit const Feature kFirstTabFeature{
    .name = "first tab", .setting = Setting::ActivateFirstTab, .start = &SelectFirstTabAtEnd, .apply = ApplyRestart::No};
constinit const Feature kTabToolTipsFeature{.name = "tab tooltips",
                                            .setting = Setting::HideTabToolTip,
                                            .start = &Run<&HideTabToolTips>,
                                            .apply = ApplyRestart::Own,
                                            .restart = &RestartTabToolTips};
// Apply sets the key itself, with the hooks it reinstalls.
constinit const Feature kGlobalModifierFeature{.name = "global modifier",
                                               .setting = Setting::GlobalModifier,
                                               .isSwitch = false,
                                               .start = &SetGlobalModifierKey,
                                               .apply = ApplyRestart::No};

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
    // timers, menus, windows and hot key go with it; then each lets go of
    // what outlives a stop.
    StopFeatures();
    for (UINT_PTR* timer : {&s.StartupTimerId, &s.SecurityPollTimerId, &s.CaptureTimerId}) {
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
    StartFeaturesAt(StartPoint::DeferredStartup, run);
    NotifyFeatures(SpineNotice{Notice::FeaturesStarted});
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
            NotifyFeatures(SpineNotice{Notice::SecurityIdKnown});
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

std::int32_t CountTabs() {
    return static_cast<std::int32_t>(host::SendMessageA(State().TabBarWnd, TCM_GETITEMCOUNT, 0, 0));
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
