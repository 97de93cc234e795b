// The bars around the pages: the rebar with its six tool bars (the styles are
// what a plugin tells them apart by), the status bar with its parts and tool
// bar, and the tab bar with its tooltip; the address and search edits.
#include <algorithm>
#include <string>

#include "base/errors.h"
#include "refhost/host_impl.h"

namespace refhost {

namespace c = tillwick::contract;

namespace {

// Tool bar styles as GWL_STYLE reads them, and the bands that hold them.
constexpr DWORD kButtonsBarStyle = 0x5400894E;
constexpr DWORD kButtonsBarExStyle = WS_EX_TOOLWINDOW;
constexpr DWORD kPluginsBarStyle = 0x5400994D;
constexpr DWORD kAddressBarStyle = 0x5600894E;
constexpr DWORD kSearchBarStyle = 0x5600994C;
constexpr DWORD kUnusedBarStyles[2] = {0x5400984E, 0x5400994E};
constexpr UINT kAddressBandId = 0xE81B;
constexpr UINT kSearchBandId = 0xE81C;
constexpr UINT kUnusedBandIds[2] = {0xE81A, 0xE81D};

constexpr DWORD kRebarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                              0x0200 /*RBS_VARHEIGHT*/ | 0x0400 /*RBS_BANDBORDERS*/ |
                              0x0040 /*CCS_NODIVIDER*/ | 0x0008 /*CCS_NOPARENTALIGN*/ |
                              0x0004 /*CCS_NORESIZE*/;
constexpr DWORD kStatusBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | 0x0100 /*SBARS_SIZEGRIP*/;
constexpr DWORD kStatusToolbarStyle = WS_CHILD | WS_VISIBLE | 0x0800 /*TBSTYLE_FLAT*/ |
                                      0x004C /*CCS_NODIVIDER|CCS_NOPARENTALIGN|CCS_NORESIZE*/;
constexpr DWORD kTabBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | 0x4000 /*TCS_TOOLTIPS*/ |
                               0x8000 /*TCS_FOCUSNEVER*/;
constexpr DWORD kComboStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | 0x0002 /*CBS_DROPDOWN*/ |
                              0x0040 /*CBS_AUTOHSCROLL*/;
constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | 0x0080 /*ES_AUTOHSCROLL*/;
constexpr UINT kRbbimIdealSize = 0x0200;
constexpr UINT kRbbsBreak = 0x0001;
constexpr UINT kTcmSetToolTips = 0x132E;
constexpr UINT kTbSetParent = 0x0425;

constexpr int kRowHeight = 26;
constexpr int kZonePartWidth = 110;
constexpr int kToolbarPartWidth = 120;

HWND Child(DWORD exStyle, std::string_view cls, DWORD style, HWND parent, int x, int y, int w,
           int h) {
    return host::CreateWindowExA(exStyle, std::string(cls).c_str(), "", style, x, y, w, h, parent,
                                 nullptr, nullptr, nullptr);
}

// A tool bar that keeps the style it was made with: comctl32 adds CCS_TOP to
// a bar made with neither CCS_TOP nor CCS_NOMOVEY, and a plugin tells the
// bars apart by their exact styles.
HWND Toolbar(DWORD exStyle, DWORD style, HWND parent, int x, int y, int w, int h) {
    HWND bar = Child(exStyle, c::kToolbarClass, style, parent, x, y, w, h);
    if (bar && static_cast<DWORD>(host::GetWindowLongA(bar, GWL_STYLE)) != style)
        host::SetWindowLongPtrW(bar, GWL_STYLE, static_cast<LONG_PTR>(style));
    return bar;
}

void AddButtons(HWND toolbar, const std::vector<std::pair<UINT, std::string>>& buttons) {
    host::SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // A pressed button's command goes straight to the frame, wherever the bar sits.
    if (Host::State* s = Current())
        host::SendMessageA(toolbar, kTbSetParent, reinterpret_cast<WPARAM>(s->frame), 0);
    for (const auto& [id, text] : buttons) {
        TBBUTTON b{};
        b.iBitmap = -2;  // I_IMAGENONE
        b.idCommand = static_cast<int>(id);
        b.fsState = TBSTATE_ENABLED;
        b.iString = reinterpret_cast<std::intptr_t>(text.c_str());
        host::SendMessageA(toolbar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&b));
    }
}

void AddBand(HWND rebar, HWND child, UINT id, UINT width, bool newRow) {
    REBARBANDINFOA band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID |
                 kRbbimIdealSize;
    band.fStyle = newRow ? kRbbsBreak : 0;
    band.hwndChild = child;
    band.cxMinChild = 40;
    band.cyMinChild = kRowHeight - 4;
    band.cx = width;
    band.cxIdeal = width;
    band.wID = id;
    host::SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(&band));
}

// A combo box with its edit: the control makes the edit itself on Windows;
// where it does not, the host adds one so that both backends look alike.
void MakeCombo(HWND bar, int width, HWND* combo, HWND* edit) {
    *combo = Child(0, c::kComboBoxClass, kComboStyle, bar, 0, 0, width, 200);
    if (!*combo) return;
    *edit = host::FindWindowExA(*combo, nullptr, c::kEditClass.data(), nullptr);
    if (!*edit) *edit = Child(0, c::kEditClass, kEditStyle, *combo, 2, 2, width - 20, kRowHeight - 8);
}

// The controls' own procedures under the host's, kept apart from the host
// state so that a control destroyed with (or after) the host still reaches its own.
struct OwnProc {
    HWND hwnd = nullptr;
    WNDPROC own = nullptr;
};
OwnProc g_ownProcs[3];  // address edit, search edit, tab bar
bool g_tabBarClaimedRoom = false;
constexpr UINT kWmSizeParent = 0x0361;  // the frame's layout asks each bar for its room

WNDPROC OwnProcOf(HWND hwnd) {
    for (const auto& hook : g_ownProcs)
        if (hook.hwnd == hwnd) return hook.own;
    return nullptr;
}

LRESULT CallOwn(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC own = OwnProcOf(hwnd);
    return own ? host::CallWindowProcW(own, hwnd, msg, wParam, lParam)
               : host::DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Host::State* s = Current();
    if (s && msg == WM_KEYDOWN && wParam == static_cast<WPARAM>(VK_RETURN)) {
        tillwick::RunStep([&] {
            char text[1024] = {};
            host::GetWindowTextA(hwnd, text, sizeof text);
            if (hwnd == s->addressEdit) {
                if (s->active >= 0 && text[0])
                    StartLoad(*s, *s->tabs[static_cast<std::size_t>(s->active)], text);
            } else if (!s->config.searchEngines.empty()) {
                SearchCommand(*s, ids::kSearchEngineBase);
            }
        });
        return 0;
    }
    return CallOwn(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK TabBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kWmSizeParent) {
        g_tabBarClaimedRoom = true;
        return 0;
    }
    const LRESULT result = CallOwn(hwnd, msg, wParam, lParam);
    Host::State* s = Current();
    if (s && msg == WM_LBUTTONDBLCLK) {
        // The user's configured action for a double-click on the tab bar.
        tillwick::RunStep([&] {
            const std::string command =
                ReadHostConfig(*s, c::kDoubleClickTabBarSection, c::kDoubleClickTabBarKey,
                               std::to_string(c::kDoubleClickTabBarDefault));
            host::SendMessageA(s->frame, WM_COMMAND, static_cast<WPARAM>(std::stoul(command)), 0);
        });
    }
    return result;
}

WNDPROC Subclass(HWND hwnd, WNDPROC proc) {
    return reinterpret_cast<WNDPROC>(
        host::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

void Unsubclass(HWND hwnd, WNDPROC proc, WNDPROC own) {
    // Only while ours is on top: a plugin's subclass above ours stays intact.
    if (hwnd && own && host::IsWindow(hwnd) &&
        host::GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(proc))
        host::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
}

}  // namespace

bool CreateBars(Host::State& s) {
    RECT client{};
    host::GetClientRect(s.frame, &client);
    const int width = client.right > 0 ? client.right : 800;

    s.rebar = Child(0, c::kRebarClass, kRebarStyle, s.frame, 0, 0, width, kRebarHeight);
    if (!s.rebar) return false;

    // First row: the (unused) menu bar, the main buttons, the plugins bar.
    s.unusedBars[0] = Toolbar(0, kUnusedBarStyles[0], s.rebar, 0, 0, 180, kRowHeight);
    s.buttonsBar = Toolbar(kButtonsBarExStyle, kButtonsBarStyle, s.rebar, 182, 0, 260, kRowHeight);
    s.pluginsBar = Toolbar(0, kPluginsBarStyle, s.rebar, 444, 0, width - 444, kRowHeight);
    // Second row: address, search, the (unused) links bar.
    s.addressBar = Toolbar(0, kAddressBarStyle, s.rebar, 0, kRowHeight + 2, 520, kRowHeight);
    s.searchBar = Toolbar(0, kSearchBarStyle, s.rebar, 522, kRowHeight + 2, 240, kRowHeight);
    s.unusedBars[1] =
        Toolbar(0, kUnusedBarStyles[1], s.rebar, 764, kRowHeight + 2, width - 764, kRowHeight);
    if (!s.unusedBars[0] || !s.buttonsBar || !s.pluginsBar || !s.addressBar || !s.searchBar ||
        !s.unusedBars[1])
        return false;

    std::vector<std::pair<UINT, std::string>> mainButtons = {{ids::kBack, "Back"},
                                                             {ids::kForward, "Forward"},
                                                             {c::kCmdRefresh, "Refresh"},
                                                             {c::kCmdStop, "Stop"},
                                                             {ids::kHome, "Home"},
                                                             {c::kCmdNewTab, "New"}};
    if (s.config.buttonsBetweenRefreshAndStop > 0) {  // Home and New move in between
        std::rotate(mainButtons.begin() + 3, mainButtons.begin() + 4,
                    mainButtons.begin() + 4 + std::min(s.config.buttonsBetweenRefreshAndStop, 2));
    }
    AddButtons(s.buttonsBar, mainButtons);
    std::vector<std::pair<UINT, std::string>> pluginButtons;
    for (int k : ButtonPluginIndexes(s))
        pluginButtons.emplace_back(c::kCmdPluginBase + static_cast<UINT>(k),
                                   s.config.plugins[static_cast<std::size_t>(k)].name);
    AddButtons(s.pluginsBar, pluginButtons);
    AddButtons(s.unusedBars[0], {});
    AddButtons(s.unusedBars[1], {});

    MakeCombo(s.addressBar, 500, &s.addressCombo, &s.addressEdit);
    MakeCombo(s.searchBar, 220, &s.searchCombo, &s.searchEdit);
    if (!s.addressCombo || !s.addressEdit || !s.searchCombo || !s.searchEdit) return false;

    AddBand(s.rebar, s.unusedBars[0], kUnusedBandIds[0], 180, false);
    AddBand(s.rebar, s.buttonsBar, c::kMainButtonsBandId, 260, false);
    AddBand(s.rebar, s.pluginsBar, c::kPluginButtonsBandId, 160, false);
    AddBand(s.rebar, s.addressBar, kAddressBandId, 520, true);
    AddBand(s.rebar, s.searchBar, kSearchBandId, 240, false);
    AddBand(s.rebar, s.unusedBars[1], kUnusedBandIds[1], 200, false);

    s.statusBar = Child(0, c::kStatusBarClass, kStatusBarStyle, s.frame, 0, 0, width,
                        kStatusBarHeight);
    if (!s.statusBar) return false;
    s.statusToolbar =
        Toolbar(0, kStatusToolbarStyle, s.statusBar, 0, 0, kToolbarPartWidth, kStatusBarHeight);
    if (!s.statusToolbar) return false;
    AddButtons(s.statusToolbar,
               {{c::kCmdAllBlockers, "AdHunter"}, {c::kCmdPopupFilter, "Popup Filter"}});

    s.tabBar = Child(0, c::kTabBarClass, kTabBarStyle, s.frame, 0, 0, width, kTabBarHeight);
    if (!s.tabBar) return false;
    if (host::SendMessageA(s.tabBar, TCM_GETTOOLTIPS, 0, 0) == 0) {
        s.tabToolTip = host::CreateWindowExA(WS_EX_TOPMOST, c::kTooltipClass.data(), "",
                                             WS_POPUP | 0x01 /*TTS_ALWAYSTIP*/, 0, 0, 0, 0,
                                             s.frame, nullptr, nullptr, nullptr);
        if (s.tabToolTip)
            host::SendMessageA(s.tabBar, kTcmSetToolTips, reinterpret_cast<WPARAM>(s.tabToolTip), 0);
    }
    if (!SubclassControls(s)) return false;
    RefreshStatusParts(s);
    SetStatusText(s, "Done");
    return true;
}

void LayoutStatusParts(Host::State& s, int width) {
    if (!s.statusBar) return;
    const bool loading = s.active >= 0 && s.active < static_cast<int>(s.tabs.size()) &&
                         s.tabs[static_cast<std::size_t>(s.active)]->loadStep > 0;
    const int progress = loading ? kProgressPartLoadingWidth : 0;
    int rights[4];
    rights[0] = width - kToolbarPartWidth - kZonePartWidth - progress;
    rights[1] = rights[0] + progress;
    rights[2] = rights[1] + kZonePartWidth;
    rights[3] = -1;
    host::SendMessageA(s.statusBar, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(rights));
    RECT part{};
    if (host::SendMessageA(s.statusBar, SB_GETRECT, 3, reinterpret_cast<LPARAM>(&part)) &&
        s.statusToolbar) {
        host::MoveWindow(s.statusToolbar, part.left, part.top, part.right - part.left,
                         part.bottom - part.top, TRUE);
    }
}

void RefreshStatusParts(Host::State& s) {
    RECT client{};
    if (s.frame && host::GetClientRect(s.frame, &client)) LayoutStatusParts(s, client.right);
}

void SetStatusText(Host::State& s, std::string_view text) {
    if (!s.statusBar) return;
    const std::string copy(text);
    host::SendMessageA(s.statusBar, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
}

void SetAddressText(Host::State& s, std::string_view text) {
    const std::string copy(text);
    if (s.addressEdit) host::SetWindowTextA(s.addressEdit, copy.c_str());
    if (s.addressCombo) host::SetWindowTextA(s.addressCombo, copy.c_str());
}

bool SubclassControls(Host::State& s) {
    g_ownProcs[0] = {s.addressEdit, nullptr};
    g_ownProcs[1] = {s.searchEdit, nullptr};
    g_ownProcs[2] = {s.tabBar, nullptr};
    g_ownProcs[0].own = Subclass(s.addressEdit, EditProc);
    g_ownProcs[1].own = Subclass(s.searchEdit, EditProc);
    g_ownProcs[2].own = Subclass(s.tabBar, TabBarProc);
    return g_ownProcs[0].own && g_ownProcs[1].own && g_ownProcs[2].own;
}

void UnsubclassControls(Host::State& s) {
    Unsubclass(s.addressEdit, EditProc, g_ownProcs[0].own);
    Unsubclass(s.searchEdit, EditProc, g_ownProcs[1].own);
    Unsubclass(s.tabBar, TabBarProc, g_ownProcs[2].own);
}

bool TabBarClaimsRoom(Host::State& s) {
    g_tabBarClaimedRoom = false;
    host::SendMessageA(s.tabBar, kWmSizeParent, 0, 0);
    return g_tabBarClaimedRoom;
}

}  // namespace refhost
