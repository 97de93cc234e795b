// A small stand-in for the host browser on the sim, for the spine's
// scenarios: a host folder with its files, and an "IEFrame" with the children
// that start-up looks for (MDI client with tabs and page windows, status bar,
// tab bar, rebar with the host's tool bars). The host's own window procedures
// record what reaches them, and whether it came through the plugin's hook.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/plugin_object.h"
#include "core/state.h"
#include "core/subclassing.h"
#include "host/host.h"
#include "host/sim/sim.h"

namespace spine {

inline const std::string kHostFolder = "C:\\Program Files\\Maxthon2\\";
inline const std::string kHostExe = kHostFolder + "Maxthon.exe";
inline const std::string kPluginFolder = kHostFolder + "Plugin\\Tillwick";
inline const std::string kPluginDll = kPluginFolder + "\\Tillwick.dll";

// What a host window's own procedure received.
struct HostMessage {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    bool throughHook;  // the window was subclassed by the plugin at that moment
};

struct Tab {
    HWND child = nullptr;  // the MDI child
    HWND page = nullptr;  // "Internet Explorer_Server"
    host::Object document;
};

struct HostWindows {
    HWND frame = nullptr, mdi = nullptr, status = nullptr, tabBar = nullptr, tooltip = nullptr,
         rebar = nullptr, buttons = nullptr, plugins = nullptr, addressCombo = nullptr,
         addressEdit = nullptr, searchEdit = nullptr;
    std::vector<Tab> tabs;
};

struct HostOptions {
    int tabs = 5;
    bool visible = true;
    bool addressToolbarStyle = true;  // false: the address bar is not recognised by style
    std::string addressText = "http://www.example.com/";
};

class SpineTest : public ::testing::Test {
public:
    // The host's side of tab activation (0xC000 + i, and a new tab).
    void ActivateTabFromHost(int index);
    HostWindows w;

    // What the host's own procedures received, in order.
    static inline std::vector<HostMessage> hostLog;
    // Called by the frame's own procedure for each WM_COMMAND it receives.
    static inline std::function<void(WPARAM)> onHostCommand;

protected:
    void SetUp() override;
    void TearDown() override;
    // A fresh process for the next case of a loop.
    void Renew() { TearDown(); SetUp(); }

    // ---- the host's files
    void WriteText(const std::string& path, const std::string& content);
    void Setting(std::string_view key, std::string_view value, std::string_view section = "General");
    std::optional<std::string> SettingValue(std::string_view key, std::string_view section = "General");
    // Plugin\<folder>\plugin.ini (or plugin<lang>.ini) with Name, Version, Type.
    std::string Description(const std::string& folder, const std::string& name, const std::string& type,
                            const std::string& extra = "", const std::string& file = "plugin.ini");
    void SwitchFile(const std::string& content);

    // ---- the host's windows
    HostWindows& BuildHost(HostOptions options = {});
    void AddTab();
    // The host switches tabs and asks for its caption: 100 ms later the plugin looks, 100 ms after that it finds.
    void SwitchTab(int index);
    // A plugin object created by the host, then ms of its timers (200: the start-up tick).
    std::unique_ptr<tillwick::PluginObject> StartPlugin(std::uint32_t ms = 200);

    // ---- what the host saw
    // Messages the sim delivered to hwnd (from its log), optionally one wParam only.
    int Delivered(HWND hwnd, UINT msg, std::optional<WPARAM> wParam = std::nullopt) const;
    int HostReceived(HWND hwnd, UINT msg, std::optional<WPARAM> wParam = std::nullopt) const;
    LONG_PTR ProcOf(HWND hwnd) const { return host::GetWindowLongPtrW(hwnd, GWLP_WNDPROC); }
};

}  // namespace spine
