// The reference host on real windows with the real DLL: a fixture that lays
// out a profile, starts the host in this process and pumps its messages.
// Plugin objects are made only once `pluginsOn` is set, so a test can open
// tabs first and then let the plugin start with those tabs in place.
#pragma once

#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "host/win32/com.h"
#include "refhost/host.h"
#include "refhost/win32/com_objects.h"
#include "refhost/win32/dll_plugin.h"
#include "support/exe_folder.h"
#include "support/platform.h"

#include <commctrl.h>

namespace e2e {

using testsupport::ClassOf;
using testsupport::ExeFolder;
inline std::string PluginFolder() { return ExeFolder() + "Plugin\\Tillwick\\"; }
inline std::string PluginDll() { return PluginFolder() + "Tillwick.dll"; }

// Runs the message loop for `ms` or until `done` holds; whether it held.
inline bool PumpUntil(const std::function<bool()>& done, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (done && done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}
inline void Pump(int ms) { PumpUntil({}, ms); }

// The window procedure as the window's own character set reports it (the
// other set would give a conversion handle instead of the procedure).
inline LONG_PTR WindowProcOf(HWND hwnd) {
    return ::IsWindowUnicode(hwnd) ? ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC) : ::GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
}

inline bool Visible(HWND hwnd) { return ::IsWindowVisible(hwnd) != FALSE; }
inline bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
// The bytes of a file, empty when there is none.
inline std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A value of the plugin's settings file, "<none>" when it has none.
inline std::string Setting(const char* key, const char* section = "General") {
    char value[512] = {};
    ::GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, (PluginFolder() + "settings.ini").c_str());
    return value;
}

// What the loaded DLL's DllCanUnloadNow answers (E_UNEXPECTED without it).
inline HRESULT CanUnloadNow() {
    using Proc = HRESULT(__stdcall*)();
    const HMODULE dll = ::GetModuleHandleA("Tillwick.dll");
    const auto proc = dll ? reinterpret_cast<Proc>(reinterpret_cast<void*>(::GetProcAddress(dll, "DllCanUnloadNow")))
                          : nullptr;
    return proc ? proc() : E_UNEXPECTED;
}

// The module that holds the code at `address`.
inline HMODULE ModuleOf(LONG_PTR address) {
    HMODULE module = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(address), &module);
    return module;
}

// Steps run one per tick of a thread timer, which the modal loops of menus and
// dialogs dispatch as they dispatch the browser's timers; a step returning
// false is tried again at the next tick.
class Script {
public:
    void Add(std::function<bool()> step) { steps_.push_back(std::move(step)); }
    // A step that has nothing to wait for: it runs once and the script goes on.
    void Then(std::function<void()> step) {
        Add([step = std::move(step)] {
            step();
            return true;
        });
    }
    // Runs `start` (a modal loop may run inside it), then pumps for at most `ms` until every step
    // has run; whether they all did.
    bool RunWhile(const std::function<void()>& start, int ms = 0) {
        current_ = this;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 150, &Tick);
        start();
        PumpUntil([this] { return next_ >= steps_.size(); }, ms);
        ::KillTimer(nullptr, timer);
        current_ = nullptr;
        return next_ == steps_.size();
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) noexcept {
        Script* s = current_;
        if (s == nullptr || s->next_ >= s->steps_.size()) return;
        try {
            if (++s->tries_ > 60) {  // about nine seconds for one step: give up, out of any menu or dialog
                ADD_FAILURE() << "step " << s->next_ << " never completed";
                s->next_ = s->steps_.size() + 1;
                ::EndMenu();
                if (HWND d = ::FindWindowW(L"#32770", L"Tillwick")) ::PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
            } else if (s->steps_[s->next_]()) {
                ++s->next_;
                s->tries_ = 0;
            }
        } catch (...) {
            ::EndMenu();
        }
    }
    static inline Script* current_ = nullptr;
    std::vector<std::function<bool()>> steps_;
    std::size_t next_ = 0;
    int tries_ = 0;
};

// The visible dialog of that caption, if one is up (of any caption with another class: "#32768" a popup menu).
inline HWND ShownDialog(const wchar_t* caption, const wchar_t* windowClass = L"#32770") {
    HWND dialog = ::FindWindowW(windowClass, caption);
    return dialog != nullptr && ::IsWindowVisible(dialog) ? dialog : nullptr;
}

// A string value of the registry, if there is one.
inline std::optional<std::string> RegText(HKEY root, const std::string& key, const char* name = nullptr) {
    char data[1024] = {};
    DWORD size = sizeof data;
    if (::RegGetValueA(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(data);
}

struct Outcome {
    DWORD code = ~DWORD{0};
    std::string err;  // what it wrote to standard error
};

// Runs a command line to its end while this thread's windows are served, `serve` called meanwhile.
inline Outcome RunToEnd(std::string command, const std::function<void()>& serve = {}) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const std::string errFile = ExeFolder() + "..\\stderr.txt";
    HANDLE err = ::CreateFileA(errFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    const BOOL started =
        ::CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    ::CloseHandle(err);
    Outcome out;
    if (!started) return out;
    if (!PumpUntil([&] {
            if (serve) serve();
            return ::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
        }, 120000))
        ::TerminateProcess(process.hProcess, ~0u);
    ::GetExitCodeProcess(process.hProcess, &out.code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    out.err = FileText(errFile);
    return out;
}

// A visible popup menu, if one is open.
inline HWND OpenPopupMenu() { return ShownDialog(nullptr, L"#32768"); }

class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_COOL_CLASSES};
        ::InitCommonControlsEx(&controls);
        for (const char* name : {"settings.ini", "temp1", "temp2"}) ::DeleteFileA((PluginFolder() + name).c_str());
    }
    void TearDown() override {
        host.reset();
        Pump(100);
        ::OleUninitialize();
    }

    // settings.ini of the plugin, section "General".
    void WriteProfile(const std::vector<std::pair<std::string, std::string>>& settings) {
        for (const auto& [key, value] : settings)
            ::WritePrivateProfileStringA("General", key.c_str(), value.c_str(), (PluginFolder() + "settings.ini").c_str());
    }

    void StartHost() {
        refhost::Config config;
        config.objects = refhost::win32::ComObjects();
        refhost::PluginFactory dll = refhost::win32::DllPluginFactory(PluginDll());
        ASSERT_TRUE(dll) << "cannot load " << PluginDll();
        config.pluginFactory = [this, dll]() -> std::unique_ptr<refhost::TabPlugin> {
            return pluginsOn ? dll() : nullptr;
        };
        config.loadStepMs = 50;
        config.releaseOrder = releaseOrder;
        config.siteKind = siteKind;
        config.frameRect = RECT{0, 0, 900, 650};
        host = std::make_unique<refhost::Host>(std::move(config));
        ASSERT_TRUE(host->Start());
        Pump(200);
    }

    // Opens a tab with the plugin on (the host started first if need be) and waits until the
    // plugin has started: its procedure on the frame, the new tab loaded.
    void StartWithPlugin(const char* url = "http://www.example.com/") {
        if (!host) StartHost();
        pluginsOn = true;
        host->OpenTab(url);
        const int tab = host->TabCount() - 1;
        ASSERT_NE(host->Plugin(tab), nullptr) << "the DLL made no plugin object";
        dll = ::GetModuleHandleA("Tillwick.dll");
        ASSERT_NE(dll, nullptr);
        ASSERT_TRUE(PumpUntil([&] { return ModuleOf(WindowProcOf(host->Frame())) == dll && !host->Loading(tab); }, 8000))
            << "the plugin did not start";
        Pump(300);
    }

    bool pluginsOn = false;
    HMODULE dll = nullptr;  // Tillwick.dll, once StartWithPlugin has seen it
    refhost::ReleaseOrder releaseOrder = refhost::ReleaseOrder::AfterWindows;
    refhost::SiteKind siteKind = refhost::SiteKind::Full;
    std::unique_ptr<refhost::Host> host;
};

}  // namespace e2e
