#include "scenario/spine_fixture.h"

#include <algorithm>
#include <map>

#include "core/feature.h"
#include "core/host_contract.h"
#include "options/options_dialog.h"
#include "settings/ini_store.h"
#include "support/step_failures.h"

namespace spine {
namespace {

SpineTest* g_test = nullptr;
// What each host window's own procedure is, as GetWindowLongPtrW shows it
// before the plugin hooks it; for built-in controls, the procedure the
// recorder forwards to.
std::map<HWND, LONG_PTR> g_hostProc;
std::map<HWND, LONG_PTR> g_forward;
std::map<HWND, host::Object> g_documents;

void Record(HWND hwnd, UINT msg, WPARAM wParam) {
    auto it = g_hostProc.find(hwnd);
    bool hooked = it != g_hostProc.end() && host::GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != it->second;
    SpineTest::hostLog.push_back({hwnd, msg, wParam, hooked});
}

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Record(hwnd, msg, wParam);
    return host::CallWindowProcW(reinterpret_cast<WNDPROC>(g_forward[hwnd]), hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Record(hwnd, msg, wParam);
    if (msg == WM_COMMAND) {
        if (SpineTest::onHostCommand) SpineTest::onHostCommand(wParam);
        if (wParam >= tillwick::contract::kCmdActivateTabBase && wParam < tillwick::contract::kCmdActivateTabBase + 100 &&
            g_test != nullptr)
            g_test->ActivateTabFromHost(static_cast<int>(wParam - tillwick::contract::kCmdActivateTabBase));
        if (wParam == tillwick::contract::kCmdToggleStatusBar && g_test != nullptr) {
            HWND bar = g_test->w.status;
            host::ShowWindow(bar, host::IsWindowVisible(bar) ? SW_HIDE : SW_SHOWNA);
        }
        return 0;
    }
    if (msg == WM_CLOSE) return 0;  // the frame stays for the test to look at
    return host::DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK PageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Record(hwnd, msg, wParam);
    if (msg == host::RegisterWindowMessageA("WM_HTML_GETOBJECT")) {
        auto it = g_documents.find(hwnd);
        return it == g_documents.end() ? 0 : host::sim::LresultFromObject(it->second);
    }
    return host::DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND Child(const char* cls, DWORD style, HWND parent, int x, int y, int cx, int cy, const char* text = "",
           DWORD exStyle = 0) {
    return host::CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, parent, nullptr,
                                 nullptr, nullptr);
}

// The sim and the plugin as a fresh process has them, before and after each test.
void ResetProcess() {
    host::sim::Reset();
    tillwick::ResetState();
    tillwick::SubstituteFeatures({});
    tillwick::PluginObject::OptionsDialogHook = &tillwick::ShowOptionsDialog;
    SpineTest::onHostCommand = nullptr;
}

}  // namespace

void SpineTest::SetUp() {
    ResetProcess();
    hostLog.clear();
    g_hostProc.clear();
    g_forward.clear();
    g_documents.clear();
    g_test = this;
    w = HostWindows{};

    host::sim::SetExecutablePath(kHostExe);
    host::sim::SetPluginModulePath(kPluginDll);
    host::sim::SetProcessCount(1);
    host::fs::CreateFolder("C:\\Program Files");
    for (const char* folder : {"", "config", "Language", "Plugin", "Plugin\\Tillwick", "Plugin\\Tillwick\\Languages"})
        host::fs::CreateFolder(kHostFolder + folder);
    tillwick::ini::WriteString(kHostFolder + "config\\config.ini", "Settings", "language_file",
                               kHostFolder + "Language\\English.ini");
    WriteText(kHostFolder + "Language\\English.ini", "[General]\r\nlanguage_id=\r\n");
    Description("Tillwick", "Tillwick", "COM|Button");
    SwitchFile("[MyIEPlugins]\r\nTillwick1.0=1\r\n[IEPlugins]\r\n");

    for (auto [name, proc] : {std::pair{"IEFrame", &FrameProc}, {"Internet Explorer_Server", &PageProc},
                              {"Afx:400000:8:10011:0:0", &host::DefWindowProcA},
                              {"Afx:400000:8", &host::DefWindowProcA}}) {
        const WNDCLASSA wc{.lpfnWndProc = proc, .lpszClassName = name};
        host::RegisterClassA(&wc);
    }
}

void SpineTest::TearDown() {
    testsupport::CheckFailedSteps();
    ResetProcess();
    g_test = nullptr;
}

void SpineTest::WriteText(const std::string& path, const std::string& content) {
    ASSERT_TRUE(host::fs::WriteFileAtomic(path, content)) << path;
}

void SpineTest::Setting(std::string_view key, std::string_view value, std::string_view section) {
    tillwick::ini::WriteString(kPluginFolder + "\\settings.ini", section, key, value);
}

std::optional<std::string> SpineTest::SettingValue(std::string_view key, std::string_view section) {
    std::optional<std::string> text = host::fs::ReadFile(kPluginFolder + "\\settings.ini");
    if (!text) return std::nullopt;
    return tillwick::ini::FindRawValue(*text, section, key);
}

std::string SpineTest::Description(const std::string& folder, const std::string& name, const std::string& type,
                                   const std::string& extra, const std::string& file) {
    std::string dir = kHostFolder + "Plugin\\" + folder;
    host::fs::CreateFolder(dir);
    std::string path = dir + "\\" + file;
    WriteText(path, "[General]\r\nName=" + name + "\r\nVersion=1.0\r\nType=" + type + "\r\n" + extra);
    return path;
}

void SpineTest::SwitchFile(const std::string& content) {
    WriteText(kHostFolder + "Config\\Plugins.ini", content);
}

HostWindows& SpineTest::BuildHost(HostOptions options) {
    w.frame = host::CreateWindowExA(0, "IEFrame", "Maxthon", WS_OVERLAPPEDWINDOW, 0, 0, 1024, 768, nullptr, nullptr,
                                    nullptr, nullptr);
    g_hostProc[w.frame] = ProcOf(w.frame);

    w.rebar = Child("ReBarWindow32", 0, w.frame, 0, 0, 1024, 60);
    // The host's tool bars, told apart by their exact styles (WS_CHILD | WS_VISIBLE and these bits).
    w.buttons = Child("ToolbarWindow32", 0x0400894E, w.rebar, 0, 0, 400, 30, "", WS_EX_TOOLWINDOW);
    w.plugins = Child("ToolbarWindow32", 0x0400994D, w.rebar, 400, 0, 300, 30);
    const DWORD addressStyle = options.addressToolbarStyle ? 0x0600894E : 0x0400984E;
    HWND addressBar = Child("ToolbarWindow32", addressStyle, w.rebar, 0, 30, 700, 30);
    w.addressCombo = Child("ComboBox", CBS_DROPDOWN, addressBar, 0, 0, 700, 200, options.addressText.c_str());
    w.addressEdit = host::FindWindowExA(w.addressCombo, nullptr, "Edit", nullptr);
    HWND searchBar = Child("ToolbarWindow32", 0x0600994C, w.rebar, 700, 30, 300, 30);
    HWND searchCombo = Child("ComboBox", CBS_DROPDOWN, searchBar, 0, 0, 300, 200);
    w.searchEdit = host::FindWindowExA(searchCombo, nullptr, "Edit", nullptr);
    // A band of the rebar for each tool bar (the rebar takes its height from its bands).
    for (auto [child, id] :
         {std::pair{w.buttons, 0xE800u}, {w.plugins, 33045u}, {addressBar, 0xE801u}, {searchBar, 0xE802u}}) {
        REBARBANDINFOA band{.cbSize = sizeof(REBARBANDINFOA),
                            .fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_ID | RBBIM_SIZE,
                            .hwndChild = child, .cyMinChild = 26, .cx = 300, .wID = id};
        host::SendMessageA(w.rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
    }

    w.tabBar = Child("SysTabControl32", TCS_TOOLTIPS, w.frame, 0, 60, 1024, 24);
    w.tooltip = reinterpret_cast<HWND>(host::SendMessageA(w.tabBar, TCM_GETTOOLTIPS, 0, 0));
    CLIENTCREATESTRUCT ccs{.hWindowMenu = nullptr, .idFirstChild = 0xFF00};
    w.mdi = host::CreateWindowExA(0, "MDIClient", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 84, 1024, 640, w.frame,
                                  nullptr, nullptr, &ccs);
    w.status = Child("msctls_statusbar32", 0, w.frame, 0, 724, 1024, 22);
    Child("ToolbarWindow32", 0, w.status, 900, 0, 100, 22);
    // The host's own procedure in front of each built-in control, so that tests see what reaches it.
    for (HWND control : {w.rebar, w.tabBar, w.mdi, w.status, w.addressCombo, w.addressEdit, w.searchEdit}) {
        g_forward[control] = host::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingProc));
        g_hostProc[control] = reinterpret_cast<LONG_PTR>(&RecordingProc);
    }

    for (int i = 0; i < options.tabs; ++i) AddTab();
    if (options.visible) {
        host::ShowWindow(w.frame, SW_SHOW);
        host::SetForegroundWindow(w.frame);
    }
    return w;
}

void SpineTest::AddTab() {
    Tab tab;
    MDICREATESTRUCTA mcs{.szClass = "Afx:400000:8:10011:0:0", .szTitle = "", .cx = 1024, .cy = 640};
    tab.child = reinterpret_cast<HWND>(host::SendMessageA(w.mdi, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    HWND view = Child("Afx:400000:8", 0, tab.child, 0, 0, 1024, 640);
    tab.page = Child("Internet Explorer_Server", 0, view, 0, 0, 1024, 640);
    g_hostProc[tab.page] = ProcOf(tab.page);
    auto doc = host::sim::MakeObject();
    doc->Set("readyState", std::string("complete"));
    tab.document = host::Object(doc);
    g_documents[tab.page] = tab.document;
    TCITEMA item{.mask = TCIF_TEXT, .pszText = const_cast<char*>("tab")};
    int index = static_cast<int>(w.tabs.size());
    host::SendMessageA(w.tabBar, TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    w.tabs.push_back(tab);
    ActivateTabFromHost(index);
}

void SpineTest::SwitchTab(int index) {
    ActivateTabFromHost(index);
    host::SendMessageA(w.frame, WM_GETTEXT, 0, 0);
    host::sim::Advance(250);
}

std::unique_ptr<tillwick::PluginObject> SpineTest::StartPlugin(std::uint32_t ms) {
    auto plugin = std::make_unique<tillwick::PluginObject>();
    host::sim::Advance(ms);
    return plugin;
}

void SpineTest::ActivateTabFromHost(int index) {
    if (index < 0 || index >= static_cast<int>(w.tabs.size())) return;
    host::SendMessageA(w.tabBar, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    host::SendMessageA(w.mdi, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(w.tabs[index].child), 0);
}

template <class Log>
int CountIn(const Log& log, HWND hwnd, UINT msg, std::optional<WPARAM> wParam) {
    return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const auto& m) {
        return m.hwnd == hwnd && m.msg == msg && (!wParam || m.wParam == *wParam);
    }));
}

int SpineTest::Delivered(HWND hwnd, UINT msg, std::optional<WPARAM> wParam) const {
    return CountIn(host::sim::MessageLog(), hwnd, msg, wParam);
}

int SpineTest::HostReceived(HWND hwnd, UINT msg, std::optional<WPARAM> wParam) const {
    return CountIn(hostLog, hwnd, msg, wParam);
}

}  // namespace spine
