// refhost.exe: the reference host as a Windows program. It lays out its
// folder, loads Tillwick.dll from Plugin\Tillwick\ through the DLL's class
// factory (one object per tab) and runs a real message loop.
//
//   refhost.exe [--tour SIGNAL_DIR] [URL ...]
//
// Each URL opens a tab (default: one tab). With --tour the host then drives a
// short tour by itself (opens tabs, loads pages, switches tabs, closes one)
// and stops at each sight: it writes SIGNAL_DIR\NN-name.ready and goes on
// once NN-name.done exists (or after 30 seconds), so a script can take a
// screenshot in between; at the end it closes the frame.
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "host/win32/com.h"

#include <commctrl.h>

#include "refhost/host.h"
#include "refhost/win32/com_objects.h"
#include "refhost/win32/dll_plugin.h"
#include "refhost/win32/menu_keys.h"
#include "refhost/win32/page_paint.h"

namespace {

constexpr UINT kTickMs = 200;
constexpr int kTicksPerStep = 8;        // 1.6 s between tour steps: loads finish
constexpr int kTicksToWaitForShot = 150;  // 30 s

std::string ExeFolder() {
    char path[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text(path, n);
    return text.substr(0, text.find_last_of('\\') + 1);
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string TitleOf(std::string_view url) {
    struct Known {
        const char* host;
        const char* title;
    };
    static const Known known[] = {{"example.com", "Example Domain"},
                                  {"wikipedia.org", "Wikipedia, the free encyclopedia"},
                                  {"debian.org", "Debian -- The Universal Operating System"},
                                  {"winehq.org", "WineHQ - Run Windows applications on Linux"}};
    for (const auto& k : known)
        if (url.find(k.host) != std::string_view::npos) return k.title;
    return std::string(url);
}

constexpr WPARAM kOnTopHotKeyId = 138;  // the plugin's always-on-top hot key

// The cursor to the bottom edge of the active page, as a user's mouse would go.
void MoveMouseToPageBottom(refhost::Host& host) {
    const HWND page = host.PageWindow(host.ActiveTab());
    RECT client{};
    if (page == nullptr || !::GetClientRect(page, &client)) return;
    POINT at{client.right / 2, client.bottom - 3};
    POINT screen = at;
    ::ClientToScreen(page, &screen);
    ::SetCursorPos(screen.x, screen.y);
    ::SendMessageA(page, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
}

// An address on the clipboard, then a right-click in the address box. Posted:
// the menu runs its own loop, in which the tour's timer goes on.
void OpenAddressBoxMenu(refhost::Host& host, const std::wstring& clip) {
    if (::OpenClipboard(nullptr)) {
        ::EmptyClipboard();
        if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (clip.size() + 1) * sizeof(wchar_t))) {
            if (void* p = ::GlobalLock(memory)) {
                std::memcpy(p, clip.c_str(), (clip.size() + 1) * sizeof(wchar_t));
                ::GlobalUnlock(memory);
                if (::SetClipboardData(CF_UNICODETEXT, memory) == nullptr) ::GlobalFree(memory);
            } else {
                ::GlobalFree(memory);
            }
        }
        ::CloseClipboard();
    }
    const HWND edit = host.AddressEdit();
    RECT r{};
    if (edit == nullptr || !::GetWindowRect(edit, &r)) return;
    ::SendMessageA(edit, EM_SETSEL, 0, -1);  // the address selected, as a click into the box leaves it
    const POINT at{r.left + 30, (r.top + r.bottom) / 2};
    ::SetCursorPos(at.x, at.y);
    ::PostMessageA(edit, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit), MAKELPARAM(at.x, at.y));
}

// The open popup menu's last item, as a keyboard user picks it: up, Enter.
void PickLastMenuItem() {
    if (HWND popup = ::FindWindowA("#32768", nullptr)) {
        ::PostMessageA(popup, WM_KEYDOWN, VK_UP, 0);
        ::PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
    }
}

// The plugin's button: the first entry of the host's plugin list.
constexpr WPARAM kOwnButtonCommand = 29521;

// A page of the plugin's options dialog, picked in its page list as a click would.
void ShowOptionsPage(int page) {
    HWND dialog = ::FindWindowA("#32770", "Tillwick");
    HWND list = dialog ? ::FindWindowExA(dialog, nullptr, "ListBox", nullptr) : nullptr;
    if (list == nullptr) return;
    ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(page), 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

// The scripted tour: one action per step; a sight waits for its screenshot.
struct Tour {
    refhost::Host* host = nullptr;
    std::string signalDir;
    std::vector<std::function<void()>> steps;
    std::vector<std::string> sights;  // per step: empty, or the sight's name
    std::size_t next = 0;
    int ticks = 0;
    int waited = -1;  // ticks spent waiting for the current sight; -1: none
};
Tour* g_tour = nullptr;
refhost::Host* g_host = nullptr;

void CALLBACK TourTick(HWND, UINT, UINT_PTR, DWORD) noexcept {
    try {
        if (g_host && !g_host->Running()) {
            ::PostQuitMessage(0);
            return;
        }
        Tour* t = g_tour;
        if (t == nullptr || t->host == nullptr) return;
        if (++t->ticks % 5 == 0) refhost::win32::PaintPages(*t->host);
        if (t->waited >= 0) {
            const std::string done = t->signalDir + "\\" + t->sights[t->next - 1] + ".done";
            if (!FileExists(done) && ++t->waited < kTicksToWaitForShot) return;
            t->waited = -1;
            t->ticks = 0;
        }
        if (t->ticks < kTicksPerStep || t->next >= t->steps.size()) return;
        t->ticks = 0;
        const std::size_t step = t->next++;
        t->steps[step]();
        refhost::win32::PaintPages(*t->host);
        if (!t->sights[step].empty()) {
            ::UpdateWindow(t->host->Frame());
            const std::string ready = t->signalDir + "\\" + t->sights[step] + ".ready";
            if (FILE* f = std::fopen(ready.c_str(), "w")) std::fclose(f);
            t->waited = 0;
        }
    } catch (...) {
        // A failed step is skipped; the tour goes on with the next.
    }
}

void BuildTour(Tour& tour, refhost::Host& host) {
    auto add = [&](std::function<void()> step, std::string sight = {}) {
        tour.steps.push_back(std::move(step));
        tour.sights.push_back(std::move(sight));
    };
    add([] {}, "00-one-tab");
    add([&host] { host.OpenTab("http://en.wikipedia.org/"); });
    add([&host] { host.OpenTab("https://www.debian.org/"); });
    add([] {}, "01-three-tabs");
    add([&host] { host.ActivateTab(0); });
    add([&host] { host.LoadPage("http://www.winehq.org/"); });
    add([] {}, "02-first-tab-new-page");
    add([&host] { host.ActivateTab(1); }, "03-second-tab");
    // What the plugin's window features look like: the status bar called back
    // by the mouse at the page's bottom edge, the always-on-top window (the
    // plugin's hot key), and the address box's Paste and Go menu. Before any
    // tab closes: the release of a tab's plugin object takes the plugin's
    // window hooks away for the rest of the process.
    add([&host] { MoveMouseToPageBottom(host); });
    add([] {}, "04-status-bar-at-bottom-edge");
    add([&host] { ::PostMessageA(host.Frame(), WM_HOTKEY, kOnTopHotKeyId, MAKELPARAM(MOD_CONTROL, 'M')); });
    add([] {}, "05-always-on-top");
    add([&host] { ::PostMessageA(host.Frame(), WM_HOTKEY, kOnTopHotKeyId, MAKELPARAM(MOD_CONTROL, 'M')); });
    add([&host] { OpenAddressBoxMenu(host, L"https://www.debian.org/News/"); });
    add([] {}, "06-paste-and-go-menu");
    add([] { PickLastMenuItem(); });
    add([] {}, "07-pasted-address-loaded");
    // The context menus with a submenu of the plugin's open. A menu runs its
    // own loop inside its step; the next steps run in that loop's ticks.
    add([&host] {
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);  // no hovering
        host.RightClickTab(host.ActiveTab());
    });
    add([] { refhost::win32::OpenPlannedSubmenu(refhost::win32::PlanSubmenuPick(0x806A)); },
        "08-tab-menu-close-all");  // the submenu of Close All Except Current
    add([] { ::EndMenu(); });
    add([&host] { host.RightClickPage(refhost::PageMenuKind::Link); });
    add([] { refhost::win32::OpenPlannedSubmenu(refhost::win32::PlanSubmenuPick(15)); },
        "09-page-menu-other-options");  // the submenu of Copy
    add([] { ::EndMenu(); });
    // The plugin's options dialog, from its button (posted: the dialog runs
    // its own loop, in which the tour goes on), on three of its pages.
    add([&host] { ::PostMessageA(host.Frame(), WM_COMMAND, kOwnButtonCommand, 0); }, "10-options-address-bar");
    for (const auto& [page, sight] : {std::pair{2, "11-options-tabs-bar"}, std::pair{3, "12-options-status-bar"},
                                      std::pair{6, "13-options-misc"}})
        add([page = page] { ShowOptionsPage(page); }, sight);
    add([] {
        if (HWND dialog = ::FindWindowA("#32770", "Tillwick")) ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    add([&host] { host.CloseTab(); });
    add([] {}, "14-tab-closed");
    add([&host] {
        // The host commands the tour saw carried out, for the demo's log.
        std::string log = "refhost: host commands carried out:";
        char hex[16];
        for (UINT command : host.CommandsCarriedOut()) {
            std::snprintf(hex, sizeof hex, " %04X", command);
            log += hex;
        }
        std::printf("%s\n", log.c_str());
        std::fflush(stdout);
        host.Close();
    });
}

int Run(int argc, char** argv) {
    std::string signalDir;
    std::vector<std::string> urls;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--tour" && i + 1 < argc) signalDir = argv[++i];
        else urls.push_back(arg);
    }
    if (urls.empty()) urls.push_back("http://www.example.com/");

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_COOL_CLASSES |
                                                       ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);

    refhost::Config config;
    config.objects = refhost::win32::ComObjects();
    const std::string dll = ExeFolder() + "Plugin\\Tillwick\\Tillwick.dll";
    config.pluginFactory = refhost::win32::DllPluginFactory(dll);
    if (!config.pluginFactory) std::fprintf(stderr, "refhost: cannot load %s; tabs run without the plugin\n", dll.c_str());
    config.titleOf = TitleOf;
    config.loadStepMs = 250;

    refhost::Host host(std::move(config));
    if (!host.Start()) {
        std::fprintf(stderr, "refhost: the frame could not be created\n");
        return 1;
    }
    g_host = &host;
    for (const auto& url : urls) host.OpenTab(url);
    refhost::win32::PaintPages(host);

    Tour tour;
    if (!signalDir.empty()) {
        tour.host = &host;
        tour.signalDir = signalDir;
        BuildTour(tour, host);
        g_tour = &tour;
    }
    UINT_PTR tick = ::SetTimer(nullptr, 0, kTickMs, TourTick);

    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    ::KillTimer(nullptr, tick);
    g_tour = nullptr;
    g_host = nullptr;
    if (host.Running()) host.Close();
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (FAILED(::OleInitialize(nullptr))) return 1;
    int rc = 1;
    try {
        rc = Run(__argc, __argv);
    } catch (...) {
        std::fprintf(stderr, "refhost: stopped by an unexpected error\n");
    }
    ::OleUninitialize();
    return rc;
}
