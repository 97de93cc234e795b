// The window features on the reference host: the plugin's logic loaded into
// every tab through the adapter, our settings file written before the host
// starts, and the frame's messages read back from the sim's log. The spine's
// reference-host scenarios start from the same fixture.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/feature.h"
#include "core/plugin_object.h"
#include "core/state.h"
#include "core/subclassing.h"
#include "features/address_bar.h"
#include "features/always_on_top.h"
#include "features/hide_status_bar.h"
#include "features/hide_tab_bar.h"
#include "features/hide_title.h"
#include "features/tab_hover.h"
#include "host/sim/sim.h"
#include "host/text.h"
#include "menus/context_menus.h"
#include "menus/host_menus.h"
#include "options/options_dialog.h"
#include "settings/ini_store.h"
#include "statushtml/status_html.h"
#include "statusinfo/statusinfo.h"
#include "support/plugin_adapter.h"
#include "support/refhost_fixture.h"

namespace features_test {

inline const std::string kPluginFolder = refhost_fixture::kHostFolder + "Plugin\\Tillwick";

// A message as the host's own frame procedure received it, below the plugin's hook.
struct HostReceived {
    UINT msg;
    WPARAM wParam;
    std::string text;  // WM_SETTEXT: the caption the host was handed
};

// Sits between the plugin's hook and the host's frame procedure and writes
// down what the host is handed.
struct FrameRecorder {
    static inline std::vector<HostReceived> received;
    static inline WNDPROC hostProc = nullptr;
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        HostReceived r{msg, wParam, {}};
        if (msg == WM_SETTEXT && lParam != 0)
            r.text = host::WideToAnsi(reinterpret_cast<const char16_t*>(lParam));
        received.push_back(std::move(r));
        return host::CallWindowProcW(hostProc, hwnd, msg, wParam, lParam);
    }
    static void Install(HWND frame) {
        received.clear();
        hostProc = reinterpret_cast<WNDPROC>(
            host::SetWindowLongPtrW(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    }
};

// The "AtlAxWin" control host as a machine with the library offers it: a
// page window inside, whose document controlDocument makes when asked.
inline std::function<host::Object()> controlDocument;
inline LRESULT CALLBACK ControlPageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == host::RegisterWindowMessageA("WM_HTML_GETOBJECT") && controlDocument)
        return host::sim::LresultFromObject(controlDocument());
    return host::DefWindowProcA(hwnd, msg, wParam, lParam);
}
inline LRESULT CALLBACK ControlHostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CREATE) {
        HWND page = host::CreateWindowExA(0, "Internet Explorer_Server", "", WS_CHILD | WS_VISIBLE, 0, 0, 80, 16, hwnd,
                                          nullptr, nullptr, nullptr);
        host::SetWindowLongPtrW(page, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlPageProc));
    }
    return host::DefWindowProcA(hwnd, msg, wParam, lParam);
}
inline void RegisterControlHost(std::function<host::Object()> makeDocument) {
    controlDocument = std::move(makeDocument);
    const WNDCLASSA wc{.lpfnWndProc = &ControlHostProc, .lpszClassName = "AtlAxWin"};
    host::RegisterClassA(&wc);
}

using Values = std::vector<std::pair<std::string, std::string>>;

class FeatureOnHost : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::PlatformReset();
        tillwick::ResetState();
        tillwick::SubstituteFeatures({});
        tillwick::PluginObject::OptionsDialogHook = [] {};
        config = refhost_fixture::SimConfig();
        config.pluginFactory = testsupport::TillwickFactory();
    }
    void TearDown() override {
        host.reset();
        testsupport::PlatformReset();
        tillwick::ResetState();
        tillwick::PluginObject::OptionsDialogHook = &tillwick::ShowOptionsDialog;
    }

    // Our settings file, section "General", as the user left it.
    void Settings(const Values& values) {
        std::string text = "[General]\r\n";
        for (const auto& [key, value] : values) text += key + "=" + value + "\r\n";
        host::sim::PutFile(kPluginFolder + "\\settings.ini", text);
    }
    // A value in the host's config.ini.
    void HostConfig(std::string key, std::string value, std::string section = "Settings") {
        config.settings.push_back({"config\\config.ini", std::move(section), std::move(key), std::move(value)});
    }

    // A fresh process for the next case of a loop.
    void Renew() { TearDown(); SetUp(); }

    // Starts the host with its tabs and lets the plugin's start-up run.
    refhost::Host& Start(const std::vector<std::string>& urls = {"http://example.com/"}) {
        host = std::make_unique<refhost::Host>(std::move(config));
        EXPECT_TRUE(host->Start());
        // Before the first tab: the plugin hooks the frame on top of the recorder.
        FrameRecorder::Install(host->Frame());
        for (const auto& url : urls) host->OpenTab(url);
        testsupport::PumpFor(1000);
        return *host;
    }

    refhost::Host& StartWith(const Values& settings, const std::vector<std::string>& urls = {"http://example.com/"}) {
        Settings(settings);
        return Start(urls);
    }
    // The active tab goes to `url`, and `ms` go by.
    void Load(const std::string& url, std::uint32_t ms = 1000) {
        host->LoadPage(url);
        testsupport::PumpFor(ms);
    }
    // A value of our settings file's "General" section as written there.
    static std::string StoredValue(const std::string& key) {
        return tillwick::ini::ReadString(kPluginFolder + "\\settings.ini", "General", key, "(none)");
    }

    // WM_COMMAND values the frame received from the log position `from` on.
    std::vector<WPARAM> FrameCommands(std::size_t from = 0) const {
        std::vector<WPARAM> commands;
        const auto& log = host::sim::MessageLog();
        for (std::size_t i = from; i < log.size(); ++i)
            if (log[i].hwnd == host->Frame() && log[i].msg == WM_COMMAND) commands.push_back(log[i].wParam);
        return commands;
    }
    static std::size_t LogMark() { return host::sim::MessageLog().size(); }
    // How many `msg` (with `wParam`, if given) `hwnd` (nullptr: any window) received from log position `from` on.
    static long Delivered(HWND hwnd, UINT msg, std::size_t from, std::optional<WPARAM> wParam = std::nullopt) {
        const auto& log = host::sim::MessageLog();
        return std::count_if(log.begin() + static_cast<std::ptrdiff_t>(from), log.end(), [&](const auto& m) {
            return (!hwnd || m.hwnd == hwnd) && m.msg == msg && (!wParam || m.wParam == *wParam);
        });
    }
    // What the host's frame procedure was handed from position `from` on.
    static std::vector<HostReceived> HostGot(UINT msg, std::size_t from = 0) {
        std::vector<HostReceived> got;
        const auto& all = FrameRecorder::received;
        for (std::size_t i = from; i < all.size(); ++i)
            if (all[i].msg == msg) got.push_back(all[i]);
        return got;
    }
    static std::size_t HostMark() { return FrameRecorder::received.size(); }

    // The mouse at `inClient` of `hwnd`, as the cursor and WM_MOUSEMOVE tell it.
    static void MouseAt(HWND hwnd, POINT inClient) {
        POINT at = inClient;
        host::ClientToScreen(hwnd, &at);
        host::sim::SetCursorScreenPos(at.x, at.y);
        host::SendMessageA(hwnd, WM_MOUSEMOVE, 0,
                           MAKELPARAM(static_cast<WORD>(inClient.x), static_cast<WORD>(inClient.y)));
    }
    // The mouse over the active tab's page, `d` pixels above the bottom (or
    // below the top) of its client area.
    void MouseOverPage(int d, bool fromTop = false) {
        const HWND page = host->PageWindow(host->ActiveTab());
        RECT client{};
        host::GetClientRect(page, &client);
        MouseAt(page, {client.right / 2, fromTop ? client.top + d : client.bottom - d});
    }
    // The mouse comes to rest on tab `index` of the tab bar (tabs are 96 pixels wide).
    void HoverTab(int index) { MouseAt(host->TabBar(), {index * 96 + 40, 10}); }
    void RestOverPage(int d, int ms, bool fromTop = false) { MouseOverPage(d, fromTop); testsupport::PumpFor(ms); }
    static RECT WindowRect(HWND hwnd) {
        RECT r{};
        host::GetWindowRect(hwnd, &r);
        return r;
    }
    static bool Visible(HWND hwnd) { return host::IsWindowVisible(hwnd) != FALSE; }
    // `hwnd` is shown (or hidden) one millisecond later, not before.
    static void ExpectShownInOneMs(HWND hwnd, bool shown = true) {
        EXPECT_EQ(Visible(hwnd), !shown);
        testsupport::PumpFor(1);
        EXPECT_EQ(Visible(hwnd), shown);
    }
    RECT StatusPart(int part = 0) const {
        RECT r{};
        host::SendMessageA(host->StatusBar(), SB_GETRECT, static_cast<WPARAM>(part),
                           reinterpret_cast<LPARAM>(&r));
        return r;
    }
    // The ideal width of the rebar band `bandId`.
    int BandWidth(UINT bandId) const {
        REBARBANDINFOA band{.cbSize = sizeof(REBARBANDINFOA), .fMask = RBBIM_IDEALSIZE};
        const auto index = host::SendMessageA(host->Rebar(), RB_IDTOINDEX, bandId, 0);
        host::SendMessageA(host->Rebar(), RB_GETBANDINFOA, static_cast<WPARAM>(index),
                           reinterpret_cast<LPARAM>(&band));
        return static_cast<int>(band.cxIdeal);
    }
    // The items of the menu tracked last.
    static const std::vector<host::sim::MenuItemSnapshot>& LastMenuItems() {
        return host::sim::TrackedMenus().back().items;
    }
    // How often `command` reached the frame from log position `from` on.
    long CommandCount(WPARAM command, std::size_t from) const {
        return Delivered(host->Frame(), WM_COMMAND, from, command);
    }

    refhost::Config config;
    std::unique_ptr<refhost::Host> host;
};

}  // namespace features_test
