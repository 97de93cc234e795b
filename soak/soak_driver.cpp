// Soak: the real DLL in the reference host under Wine, every feature on,
// driven through thousands of scripted user actions (tabs opened, closed and
// switched, menus opened and dismissed, bars revealed, tabs hovered, the
// options dialog opened and applied). Passes when the host is still running
// and the process's USER and GDI object counts end within a few objects of
// where they started. Run by soak/soak.sh, not by CTest.
//
// SOAK_ACTIONS (default 10000) and SOAK_SEED (default 1) set the run;
// SOAK_KIND=k repeats one kind of action; SOAK_TRACE=1 puts each bitmap made
// down to the action that made it (slow: the handle table is walked after
// every action).
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "e2e/e2e_host.h"
#include "options/options_controls.h"
#include "settings/settings_catalogue.h"
#include "refhost/win32/page_paint.h"

namespace e2e {
namespace {

long EnvNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtol(text, nullptr, 10) : fallback;
}

// ---- counting the process's window-system objects ---------------------------------------
struct GuiCounts {
    long user = 0, gdi = 0;
    const char* how = "";
    std::array<long, 16> gdiByType{};  // by GetObjectType, where the handle table is walked
};

// Wine's GetGuiResources answers 0 (not implemented), so there the counts
// come from walking the handle tables instead: a handle value whose upper
// word is 0 names whatever object of its slot is alive.
GuiCounts CountGuiObjects() {
    const HANDLE self = ::GetCurrentProcess();
    GuiCounts counts{static_cast<long>(::GetGuiResources(self, GR_USEROBJECTS)),
                     static_cast<long>(::GetGuiResources(self, GR_GDIOBJECTS)), "GetGuiResources"};
    if (counts.user != 0 || counts.gdi != 0) return counts;
    counts = {0, 0, "handle-table walk", {}};
    const DWORD pid = ::GetCurrentProcessId();
    for (UINT_PTR slot = 0x20; slot < 0x10000; slot += 2) {
        HWND window = reinterpret_cast<HWND>(slot);
        DWORD owner = 0;
        if (::IsWindow(window) && ::GetWindowThreadProcessId(window, &owner) && owner == pid) ++counts.user;
        else if (::IsMenu(reinterpret_cast<HMENU>(slot))) ++counts.user;
    }
    for (UINT_PTR slot = 1; slot < 0x10000; ++slot) {
        const DWORD type = ::GetObjectType(reinterpret_cast<HGDIOBJ>(slot));
        if (type == 0) continue;
        ++counts.gdi;
        ++counts.gdiByType[type & 15];
    }
    return counts;
}

// The process's live bitmaps, for finding which action made the ones that stay.
std::vector<UINT_PTR> LiveBitmaps() {
    std::vector<UINT_PTR> live;
    for (UINT_PTR slot = 1; slot < 0x10000; ++slot)
        if ((::GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) & 15) == OBJ_BITMAP) live.push_back(slot);
    return live;
}

// ---- modal loops the actions open ---------------------------------------------------------
// Menus and the options dialog run their own message loops; a thread timer
// that those loops dispatch plays the user's part inside them.
struct ModalPlay {
    std::function<bool()> step;  // true: done with this loop
    int ticks = 0;
};
ModalPlay* g_play = nullptr;

void CALLBACK PlayTick(HWND, UINT, UINT_PTR, DWORD) noexcept {
    ModalPlay* p = g_play;
    if (p == nullptr) return;
    if (++p->ticks > 200) {  // a stuck loop: get out of it whatever it is
        ::EndMenu();
        if (HWND d = ::FindWindowW(L"#32770", nullptr)) ::PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    try {
        p->step();
    } catch (...) {
        ::EndMenu();
    }
}

void WhileModal(const std::function<void()>& open, std::function<bool()> step) {
    ModalPlay play{std::move(step)};
    g_play = &play;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, &PlayTick);
    open();
    ::KillTimer(nullptr, timer);
    g_play = nullptr;
}

// A menu that opens is closed again once it shows.
bool DismissMenu() {
    HWND popup = ::FindWindowA("#32768", nullptr);
    if (popup == nullptr || !::IsWindowVisible(popup)) return false;
    ::EndMenu();
    return true;
}

HWND OptionsDialog() { return ::FindWindowW(L"#32770", L"Tillwick"); }
HWND Control(HWND dialog, std::string_view name) { return ::GetDlgItem(dialog, 100 + tillwick::ControlOf(name)); }

class Soak : public HostTest {
protected:
    void StartEverythingOn() {
        std::vector<std::pair<std::string, std::string>> profile;
        for (const tillwick::SettingRow& row : tillwick::SettingsCatalogue())
            if (row.kind == tillwick::SettingKind::Switch) profile.emplace_back(std::string(row.key), "1");
        profile.emplace_back("StartOffLine", "0");  // the pages load from the host's own store anyway
        profile.emplace_back("OpenGroupConfirm", "0");
        WriteProfile(profile);
        StartHost();
        pluginsOn = true;
        for (const char* url : {"http://www.example.com/", "http://www.example.org/", "http://www.example.net/"})
            host->OpenTab(url);
        const HMODULE dll = ::GetModuleHandleA("Tillwick.dll");
        ASSERT_TRUE(PumpUntil([&] { return ModuleOf(WindowProcOf(host->Frame())) == dll && !host->Loading(2); }, 10000))
            << "the plugin did not start";
        Pump(500);
    }

    void MoveOver(HWND window, POINT at) {
        POINT screen = at;
        ::ClientToScreen(window, &screen);
        ::SetCursorPos(screen.x, screen.y);
        ::SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    }

    void HoverTab(int index) {
        RECT tab{};
        if (!::SendMessageA(host->TabBar(), TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tab)))
            return;
        // Only a tab the user can see: not one scrolled off the bar or behind its scroll arrows.
        const POINT centre{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2};
        RECT bar{};
        ::GetClientRect(host->TabBar(), &bar);
        if (!::PtInRect(&bar, centre)) return;
        HWND arrows = ::FindWindowExA(host->TabBar(), nullptr, "msctls_updown32", nullptr);
        RECT covered{};
        if (arrows != nullptr && ::IsWindowVisible(arrows) && ::GetWindowRect(arrows, &covered)) {
            ::MapWindowPoints(nullptr, host->TabBar(), reinterpret_cast<POINT*>(&covered), 2);
            if (::PtInRect(&covered, centre)) return;
        }
        MoveOver(host->TabBar(), centre);
    }

    // The bottom band (status bar), the top band (tab bar) or the middle of the page.
    void MoveInPage(int where) {
        HWND page = host->PageWindow(host->ActiveTab());
        if (page == nullptr) return;
        RECT client{};
        ::GetClientRect(page, &client);
        const LONG y = where == 0 ? client.bottom - 2 : where == 1 ? client.top + 2 : client.bottom / 2;
        MoveOver(page, POINT{client.right / 2, y});
    }

    // Opens the dialog with the plugin's button, switches one feature off and
    // applies, switches it back on and applies, and closes with OK.
    void OptionsRoundTrip(const char* checkBox, int page) {
        int stage = 0;
        WhileModal([&] { host->PressPluginButton(0); },
                   [&] {
                       HWND dialog = OptionsDialog();
                       if (dialog == nullptr || !::IsWindowVisible(dialog)) return false;
                       if (stage == 0) {
                           HWND list = Control(dialog, "lstTillwick");
                           ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(page), 0);
                           ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), LBN_SELCHANGE),
                                          reinterpret_cast<LPARAM>(list));
                       }
                       if (stage == 1 || stage == 3) ::SendMessageW(Control(dialog, checkBox), BM_CLICK, 0, 0);
                       if (stage == 2 || stage == 4) ::SendMessageW(Control(dialog, "cmdApply"), BM_CLICK, 0, 0);
                       if (stage == 5) ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                       ++stage;
                       return stage > 5;
                   });
        ++dialogsApplied;
    }

    int dialogsApplied = 0;
};

TEST_F(Soak, ThousandsOfActionsWithEveryFeatureOnLeakNoWindowObjects) {
    StartEverythingOn();
    const int startTabs = host->TabCount();
    RECT startFrame{};
    ::GetWindowRect(host->Frame(), &startFrame);
    const LONG startWidth = startFrame.right - startFrame.left;
    const GuiCounts cold = CountGuiObjects();
    std::printf("start: %d tabs, USER %ld, GDI %ld (%s)\n", startTabs, cold.user, cold.gdi, cold.how);

    const long actions = EnvNumber("SOAK_ACTIONS", 10000);
    std::mt19937 random(static_cast<unsigned>(EnvNumber("SOAK_SEED", 1)));
    const char* urls[] = {"http://www.example.com/", "https://www.example.org/", "http://localhost/", "about:blank"};
    const struct { const char* box; int page; } optionBoxes[] = {
        {"chkHideStatusBar", 3}, {"chkHideTabBar", 2}, {"chkHighlightCombo", 1}, {"chkTabMenu", 5}, {"chkHideTitle", 6}};
    constexpr int kKinds = 15;
    std::vector<long> done(kKinds, 0);
    auto act = [&](int kind, bool always) {
        const int tabs = host->TabCount();
        switch (kind) {
            case 0: if (tabs < 8) host->OpenTab(urls[random() % 4]); break;
            case 1: if (tabs > 2) host->CloseTab(); break;
            case 2: case 3: if (tabs > 0) host->ActivateTab(static_cast<int>(random() % static_cast<unsigned>(tabs))); break;
            case 4: case 5: if (tabs > 0) HoverTab(static_cast<int>(random() % static_cast<unsigned>(tabs))); break;
            case 6: case 7: MoveInPage(static_cast<int>(random() % 3)); break;
            case 8: if (tabs > 0) WhileModal([&] { host->RightClickTab(static_cast<int>(random() % static_cast<unsigned>(tabs))); }, DismissMenu); break;
            case 9: WhileModal([&] { host->RightClickPage(static_cast<refhost::PageMenuKind>(random() % 7)); }, DismissMenu); break;
            case 10: WhileModal([&] { host->OpenOptionsMenu(); }, DismissMenu); break;
            case 11: WhileModal([&] { random() % 2 ? host->OpenGroupsMenu() : host->OpenSearchMenu(); }, DismissMenu); break;
            case 12: if (always || random() % 40 == 0) { const auto& o = optionBoxes[random() % 5]; OptionsRoundTrip(o.box, o.page); } break;
            case 13: if (tabs > 0) host->LoadPage(urls[random() % 4]); break;
            case 14: {  // the frame resized: the status bar lays out again and the panel strip checks its width
                // A few widths in turn, the narrowest one too narrow for three tabs: the
                // tab bar makes its scroll arrows on first need and keeps them.
                const LONG widths[] = {startWidth - 240, startWidth + 40, startWidth};
                RECT r{};
                ::GetWindowRect(host->Frame(), &r);
                ::SetWindowPos(host->Frame(), nullptr, 0, 0, widths[done[14] % 3], r.bottom - r.top,
                               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
                break;
            }
        }
        ++done[static_cast<std::size_t>(kind)];
        Pump(static_cast<int>(random() % 8));
    };
    // What the system makes on first need and keeps for the process (the theme
    // images a control loads when first shown, cursors, menu bitmaps, fonts) is
    // not a leak: every kind of action runs a few times before the count that
    // the end is held to.
    // Back to the tabs it started with, then let every timer run out.
    // The last tab is never a locked one; a locked tab refuses to close.
    auto backToStart = [&] {
        for (int tries = 0; host->TabCount() > startTabs && tries < 50; ++tries) {
            host->ActivateTab(host->TabCount() - 1);
            host->CloseTab();
            Pump(20);
        }
        while (host->TabCount() < startTabs) host->OpenTab("about:blank");
        MoveInPage(2);
        Pump(3000);
    };
    // Each options page once: a page's controls load their theme images on
    // first sight, and those stay with the theme.
    for (const auto& o : optionBoxes) OptionsRoundTrip(o.box, o.page);
    for (int round = 0; round < 8; ++round)  // several rounds: each menu kind, page and address comes up
        for (int kind = 0; kind < kKinds; ++kind) act(kind, false);
    backToStart();
    const GuiCounts before = CountGuiObjects();
    std::printf("after a warm-up of every kind of action: %d tabs, USER %ld, GDI %ld\n", host->TabCount(), before.user, before.gdi);
    std::fflush(stdout);
    // SOAK_TRACE=1: each bitmap made during the run is put down to the action
    // that made it, and those still alive at the end are listed.
    const bool trace = EnvNumber("SOAK_TRACE", 0) != 0;
    std::vector<UINT_PTR> bitmaps = trace ? LiveBitmaps() : std::vector<UINT_PTR>{};
    std::vector<std::pair<long, int>> madeBy(0x10000, {-1, -1});
    std::vector<long> netByKind(kKinds, 0);
    // SOAK_KIND=k: that kind of action only, every time in full.
    const long onlyKind = EnvNumber("SOAK_KIND", -1);
    for (long i = 0; i < actions && host->Running(); ++i) {
        const int kind = onlyKind >= 0 && onlyKind < kKinds ? static_cast<int>(onlyKind) : static_cast<int>(random() % kKinds);
        act(kind, onlyKind >= 0);
        if (trace) {
            std::vector<UINT_PTR> now = LiveBitmaps();
            const long net = static_cast<long>(now.size()) - static_cast<long>(bitmaps.size());
            netByKind[static_cast<std::size_t>(kind)] += net;
            RECT frame{};
            if (net != 0 && ::GetWindowRect(host->Frame(), &frame))
                std::printf("action %ld of kind %d: bitmaps %+ld, %d tabs, frame %ld wide, tab scroll arrows %s\n", i,
                            kind, net, host->TabCount(), frame.right - frame.left,
                            ::FindWindowExA(host->TabBar(), nullptr, "msctls_updown32", nullptr) ? "made" : "not made");
            for (UINT_PTR b : now)
                if (!std::binary_search(bitmaps.begin(), bitmaps.end(), b)) madeBy[b] = {i, kind};
            bitmaps = std::move(now);
        }
        if ((i + 1) % 1000 == 0) {
            const GuiCounts now = CountGuiObjects();
            std::printf("after %ld actions: %d tabs, USER %ld, GDI %ld\n", i + 1, host->TabCount(), now.user, now.gdi);
            std::fflush(stdout);
        }
    }
    ASSERT_TRUE(host->Running()) << "the host went down";

    backToStart();
    const GuiCounts after = CountGuiObjects();
    std::printf("end: %d tabs, USER %ld, GDI %ld; options dialog applied %d times\n", host->TabCount(), after.user,
                after.gdi, dialogsApplied);
    std::printf("GDI objects by type (GetObjectType), after warm-up -> end:");
    for (std::size_t t = 0; t < after.gdiByType.size(); ++t)
        if (before.gdiByType[t] != after.gdiByType[t])
            std::printf(" %zu: %ld -> %ld", t, before.gdiByType[t], after.gdiByType[t]);
    std::printf("\n");
    if (trace) {
        std::printf("bitmaps made less freed, by kind:");
        for (long n : netByKind) std::printf(" %ld", n);
        std::printf("\n");
        for (UINT_PTR b : LiveBitmaps()) {
            if (madeBy[b].first < 0) continue;
            BITMAP info{};
            ::GetObjectW(reinterpret_cast<HGDIOBJ>(b), sizeof info, &info);
            std::printf("bitmap %#llx alive at the end, made by action %ld of kind %d: %ldx%ld, %u bpp\n",
                        static_cast<unsigned long long>(b), madeBy[b].first, madeBy[b].second, info.bmWidth,
                        info.bmHeight, info.bmBitsPixel);
        }
    }
    std::printf("actions by kind:");
    for (long n : done) std::printf(" %ld", n);
    std::printf("\n");
    EXPECT_LE(std::labs(after.user - before.user), 5);
    EXPECT_LE(std::labs(after.gdi - before.gdi), 5);
}

}  // namespace
}  // namespace e2e
