// The host commands (WM_COMMAND to the frame) and what each one does. The
// low word is the command: notification code 1 (an accelerator) in the high
// word means the same command.
#include <functional>
#include <string>

#include "base/errors.h"
#include "settings/ini_store.h"
#include "settings/settings_files.h"
#include "refhost/host_impl.h"

namespace refhost {

namespace c = tillwick::contract;

namespace {

constexpr UINT kTabCommandRange = 0x100;  // 0xC000 + index

constexpr UINT kSingleCommands[] = {
    c::kCmdToggleStatusBar, c::kCmdToggleTabBar, c::kCmdTabBarTop, c::kCmdTabBarBottom,
    c::kCmdFullScreen, LOWORD(c::kCmdFullScreenAccel), c::kCmdNewTab, c::kCmdCloseTab,
    c::kCmdExit, c::kCmdLockTab, c::kCmdAllBlockers, c::kCmdRefresh, c::kCmdStop,
    c::kCmdCloseAll, c::kCmdCloseAllButCurrent, c::kCmdCloseLeft, c::kCmdCloseRight,
    c::kCmdCloseBlankAndError, c::kCmdCloseSameSite, c::kCmdCloseAllButSameSite,
    c::kCmdCloseAllUnlocked, c::kCmdOptionsMenu, ids::kBack, ids::kForward, ids::kHome};

Tab* ActiveTabOf(Host::State& s) {
    if (s.active < 0 || s.active >= static_cast<int>(s.tabs.size())) return nullptr;
    return s.tabs[static_cast<std::size_t>(s.active)].get();
}

// Closes every tab the test picks (locked tabs stay), judged before any closes.
void CloseWhere(Host::State& s, const std::function<bool(int index, const Tab&)>& pick) {
    std::vector<int> doomed;
    for (std::size_t i = 0; i < s.tabs.size(); ++i)
        if (pick(static_cast<int>(i), *s.tabs[i])) doomed.push_back(s.tabs[i]->id);
    for (int id : doomed) {
        int index = TabIndexById(s, id);
        if (index >= 0) CloseTabAt(s, index);
    }
}

bool CloseCommand(Host::State& s, UINT id) {
    const int active = s.active;
    const Tab* current = ActiveTabOf(s);
    const std::string site = current ? HostNameOf(current->url) : std::string();
    switch (id) {
        case c::kCmdCloseAll:
        case c::kCmdCloseAllUnlocked:
            CloseWhere(s, [](int, const Tab&) { return true; });
            return true;
        case c::kCmdCloseAllButCurrent:
            CloseWhere(s, [&](int i, const Tab&) { return i != active; });
            return true;
        case c::kCmdCloseLeft:
            CloseWhere(s, [&](int i, const Tab&) { return i < active; });
            return true;
        case c::kCmdCloseRight:
            CloseWhere(s, [&](int i, const Tab&) { return i > active; });
            return true;
        case c::kCmdCloseBlankAndError:
            CloseWhere(s, [](int, const Tab& t) { return t.url == "about:blank"; });
            return true;
        case c::kCmdCloseSameSite:
            CloseWhere(s, [&](int, const Tab& t) { return HostNameOf(t.url) == site; });
            return true;
        case c::kCmdCloseAllButSameSite:
            CloseWhere(s, [&](int, const Tab& t) { return HostNameOf(t.url) != site; });
            return true;
        default:
            return false;
    }
}

bool BlockerCommand(Host::State& s, UINT id) {
    for (const auto& blocker : c::kHostBlockers) {
        if (id != blocker.command) continue;
        const bool on = ReadHostConfig(s, c::kHostSettingsSection, blocker.configKey, "0") == "1";
        WriteHostConfig(s, c::kHostSettingsSection, blocker.configKey, on ? "0" : "1");
        return true;
    }
    if (id != c::kCmdAllBlockers) return false;
    // The all-blockers button: off when any blocker is on, else all on.
    bool anyOn = false;
    for (const auto& blocker : c::kHostBlockers)
        anyOn = anyOn || ReadHostConfig(s, c::kHostSettingsSection, blocker.configKey, "0") == "1";
    for (const auto& blocker : c::kHostBlockers)
        WriteHostConfig(s, c::kHostSettingsSection, blocker.configKey, anyOn ? "0" : "1");
    return true;
}

// The proxy the host uses is kept in its configuration (and read back from there).
bool ProxyCommand(Host::State& s, UINT id) {
    const auto section = c::kHostSettingsSection;
    if (id == c::kCmdNoProxy) {
        WriteHostConfig(s, section, "EnableProxy", "0");
        WriteHostConfig(s, section, "UseIEProxy", "0");
    } else if (id == c::kCmdUseIeProxy) {
        WriteHostConfig(s, section, "EnableProxy", "0");
        WriteHostConfig(s, section, "UseIEProxy", "1");
    } else if (id > c::kCmdProxyBase && id < c::kCmdProxyLimit) {
        const std::string n = std::to_string(id - c::kCmdProxyBase);
        const std::string address = tillwick::ini::ReadString(
            s.hostFolder + std::string(c::kHostSetupCenterFile), "Proxy", "p" + n, "");
        WriteHostConfig(s, section, "EnableProxy", "1");
        WriteHostConfig(s, section, "UseIEProxy", "0");
        WriteHostConfig(s, section, "DefaultProxy", address);
    } else {
        return false;
    }
    return true;
}

bool LayoutCommand(Host::State& s, UINT id) {
    switch (id) {
        case c::kCmdToggleStatusBar:
            ShowBar(s, s.statusBar, !BarVisible(s.statusBar));
            return true;
        case c::kCmdToggleTabBar:
            ShowBar(s, s.tabBar, !BarVisible(s.tabBar));
            return true;
        case c::kCmdTabBarTop:
            s.tabBarOnTop = true;
            break;
        case c::kCmdTabBarBottom:
            s.tabBarOnTop = false;
            break;
        case c::kCmdFullScreen:
        case LOWORD(c::kCmdFullScreenAccel):
            SetFullScreen(s, !s.fullScreen);
            return true;
        default:
            return false;
    }
    Layout(s);
    return true;
}

bool TabCommand(Host::State& s, UINT id) {
    const UINT first = c::kCmdActivateTabBase;
    if (id >= first && id < first + kTabCommandRange) {
        ActivateTabAt(s, static_cast<int>(id - first));
        return true;
    }
    Tab* tab = ActiveTabOf(s);
    switch (id) {
        case c::kCmdNewTab:
            NewTab(s, "");
            return true;
        case c::kCmdCloseTab:
            if (tab) CloseTabAt(s, s.active);
            return true;
        case c::kCmdLockTab:
            if (tab) SetTabLocked(s, s.active, !tab->locked);
            return true;
        case c::kCmdRefresh:
            if (tab) StartLoad(s, *tab, tab->url);
            return true;
        case c::kCmdStop:
            if (tab) StopLoad(s, *tab);
            return true;
        case c::kCmdExit:
            host::PostMessageA(s.frame, WM_CLOSE, 0, 0);
            return true;
        default:
            return false;
    }
}

// A script plugin's page script runs in the active page, with the host's
// security id in place of its marker.
void RunScriptPlugin(Host::State& s, const PluginEntry& entry) {
    Tab* tab = ActiveTabOf(s);
    if (!tab || entry.folder.empty() || entry.fileName.empty()) return;
    auto script = host::fs::ReadFile(s.hostFolder + std::string(c::kHostPluginFolder) + "\\" +
                                     entry.folder + "\\" + entry.fileName);
    if (!script) return;
    const std::string marker = "%max_security_id";
    const std::string quoted = "'" + s.config.securityId + "'";
    for (auto pos = script->find(marker); pos != std::string::npos;
         pos = script->find(marker, pos + quoted.size()))
        script->replace(pos, marker.size(), quoted);
    tab->window.ExecScript(*script);
}

}  // namespace

bool KnownCommand(const Host::State& s, UINT id) {
    for (UINT known : kSingleCommands)
        if (id == known) return true;
    for (const auto& blocker : c::kHostBlockers)
        if (id == blocker.command) return true;
    if (id >= c::kCmdActivateTabBase && id < c::kCmdActivateTabBase + kTabCommandRange) return true;
    if (id >= c::kCmdPluginBase && id < c::kCmdPluginBase + s.config.plugins.size()) return true;
    if (id == c::kCmdNoProxy || id == c::kCmdUseIeProxy ||
        (id > c::kCmdProxyBase && id < c::kCmdProxyLimit))
        return true;
    return s.menuCommands.count(id) != 0;
}

void RunPlugin(Host::State& s, int entryIndex) {
    if (entryIndex < 0 || entryIndex >= static_cast<int>(s.config.plugins.size())) return;
    const PluginEntry& entry = s.config.plugins[static_cast<std::size_t>(entryIndex)];
    if (!entry.enabled) return;
    if (entry.name == c::kOwnPluginName) {
        // The button belongs to the plugin object of the active tab.
        Tab* tab = ActiveTabOf(s);
        if (tab && tab->plugin) tillwick::RunStep([&] { tab->plugin->Exec(); });
    } else if (entry.name == c::kCompanionPluginName) {
        const std::string folder = PluginFolderOf(s, c::kOwnPluginName);
        if (!folder.empty())
            tillwick::ini::WriteString(folder + "\\" + std::string(tillwick::kSettingsFile),
                                       c::kSecurityIdSection, c::kSecurityIdKey,
                                       s.config.securityId);
    } else {
        RunScriptPlugin(s, entry);
    }
}

void RunCommand(Host::State& s, WPARAM wParam) {
    const UINT id = LOWORD(wParam);
    if (!KnownCommand(s, id)) return;
    s.carriedOut.push_back(id);
    if (id >= c::kCmdPluginBase && id < c::kCmdPluginBase + s.config.plugins.size()) {
        RunPlugin(s, static_cast<int>(id - c::kCmdPluginBase));
        return;
    }
    if (TabCommand(s, id) || LayoutCommand(s, id) || BlockerCommand(s, id) ||
        CloseCommand(s, id) || ProxyCommand(s, id))
        return;
    if (OpenGroupCommand(s, id) || OpenGroupPageCommand(s, id) || SearchCommand(s, id)) return;
    if ((id == ids::kClearSearchHistory || id == ids::kClearAllHistory) && s.searchEdit)
        host::SetWindowTextA(s.searchEdit, "");
}

}  // namespace refhost
