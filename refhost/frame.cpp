// The main frame "IEFrame": its window procedure, the layout of its bars and
// pages, the caption, full screen and closing; and the Host's public face.
#include <string>

#include "base/errors.h"
#include "refhost/host_impl.h"

namespace refhost {

namespace c = tillwick::contract;

namespace {

Host::State* g_current = nullptr;

constexpr DWORD kFrameStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kCaptionBits = WS_CAPTION | WS_THICKFRAME;
constexpr UINT kFirstMdiChildId = 0xFF00;  // the ids MFC gives its MDI children

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Host::State* s = Current();
    if (s && s->frame == hwnd) {
        switch (msg) {
            case WM_COMMAND:
                tillwick::RunStep([&] { RunCommand(*s, wParam); });
                return 0;
            case WM_INITMENUPOPUP: {
                LRESULT r = host::DefWindowProcA(hwnd, msg, wParam, lParam);
                // Like the host's main menus; its context menus leave their items as they are.
                if (!s->contextMenuOpen)
                    tillwick::RunStep([&] { GrayUnknownCommands(*s, reinterpret_cast<HMENU>(wParam)); });
                return r;
            }
            case WM_SIZE:
                tillwick::RunStep([&] { Layout(*s); });
                return 0;
            case WM_CLOSE:
                tillwick::RunStep([&] { CloseFrame(*s); });
                return 0;
            case ids::kMsgCloseTabById:
                tillwick::RunStep([&] {
                    int index = TabIndexById(*s, static_cast<int>(wParam));
                    if (index >= 0) CloseTabAt(*s, index);
                });
                return 0;
            default:
                break;
        }
    }
    return host::DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Registered at every start: a fresh process (or a reset sim) has no classes,
// and a second registration in the same process fails harmlessly; creating the
// window is what tells whether the class exists.
void RegisterFrameClass() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = FrameProc;
    // Gaps between the bars are painted like the bars, not left with old pixels.
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::intptr_t>(COLOR_BTNFACE + 1));
    wc.lpszClassName = c::kMainFrameClass.data();
    wc.hInstance = host::ProgramInstance();
    host::RegisterClassA(&wc);
}

void Place(HWND hwnd, int x, int y, int w, int h) {
    if (hwnd) host::MoveWindow(hwnd, x, y, w, h < 0 ? 0 : h, TRUE);
}

}  // namespace

Host::State* Current() { return g_current; }
void SetCurrent(Host::State* state) { g_current = state; }

bool BarVisible(HWND bar) {
    return bar && (static_cast<DWORD>(host::GetWindowLongA(bar, GWL_STYLE)) & WS_VISIBLE) != 0;
}

void ShowBar(Host::State& s, HWND bar, bool shown) {
    if (!bar) return;
    host::ShowWindow(bar, shown ? SW_SHOW : SW_HIDE);
    Layout(s);
}

void Layout(Host::State& s) {
    RECT client{};
    if (!host::GetClientRect(s.frame, &client)) return;
    const int width = client.right - client.left;
    int top = 0;
    int bottom = client.bottom - client.top;

    if (BarVisible(s.rebar)) {
        // As tall as its rows of bands: below them a rebar paints nothing.
        const auto rows = static_cast<int>(host::SendMessageA(s.rebar, RB_GETBARHEIGHT, 0, 0));
        top = rows > 0 ? rows : kRebarHeight;
        Place(s.rebar, 0, 0, width, top);
    }
    if (BarVisible(s.statusBar)) {
        Place(s.statusBar, 0, bottom - kStatusBarHeight, width, kStatusBarHeight);
        // A status bar keeps the height its font needs, whatever it was given.
        RECT bar{};
        host::GetWindowRect(s.statusBar, &bar);
        const int height = bar.bottom > bar.top ? bar.bottom - bar.top : kStatusBarHeight;
        if (height != kStatusBarHeight) Place(s.statusBar, 0, bottom - height, width, height);
        bottom -= height;
        LayoutStatusParts(s, width);
    }
    if (BarVisible(s.tabBar) && TabBarClaimsRoom(s)) {
        if (s.tabBarOnTop) {
            Place(s.tabBar, 0, top, width, kTabBarHeight);
            top += kTabBarHeight;
        } else {
            Place(s.tabBar, 0, bottom - kTabBarHeight, width, kTabBarHeight);
            bottom -= kTabBarHeight;
        }
    }
    Place(s.mdiClient, 0, top, width, bottom - top);
    LayoutTabs(s);
}

void UpdateCaption(Host::State& s) {
    std::string caption = "Maxthon";
    if (s.active >= 0 && s.active < static_cast<int>(s.tabs.size())) {
        const Tab& tab = *s.tabs[static_cast<std::size_t>(s.active)];
        const std::string& title = tab.title.empty() ? tab.url : tab.title;
        caption = title + " - Maxthon";
    }
    // The host reads its caption back before it changes it; that read is the
    // WM_GETTEXT a watcher of the frame sees at every tab or title change.
    char current[1024] = {};
    host::SendMessageA(s.frame, WM_GETTEXT, sizeof current, reinterpret_cast<LPARAM>(current));
    if (caption != current) host::SetWindowTextA(s.frame, caption.c_str());
}

void SetFullScreen(Host::State& s, bool on) {
    if (on == s.fullScreen) return;
    if (on) {
        s.savedStyle = host::GetWindowLongPtrW(s.frame, GWL_STYLE);
        host::GetWindowRect(s.frame, &s.savedRect);
        s.fullScreen = true;
        host::ShowWindow(s.rebar, SW_HIDE);  // menus and tool bars
        host::SetWindowLongPtrW(s.frame, GWL_STYLE, s.savedStyle & ~static_cast<LONG_PTR>(kCaptionBits));
        host::SetWindowPos(s.frame, nullptr, 0, 0, host::GetSystemMetrics(SM_CXSCREEN),
                           host::GetSystemMetrics(SM_CYSCREEN), SWP_NOZORDER | SWP_FRAMECHANGED);
    } else {
        s.fullScreen = false;
        host::ShowWindow(s.rebar, SW_SHOW);
        // Caption bits come back even when the style changed meanwhile.
        LONG_PTR style = host::GetWindowLongPtrW(s.frame, GWL_STYLE);
        style |= s.savedStyle & static_cast<LONG_PTR>(kCaptionBits);
        host::SetWindowLongPtrW(s.frame, GWL_STYLE, style);
        const RECT& r = s.savedRect;
        host::SetWindowPos(s.frame, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    Layout(s);
}

void CloseFrame(Host::State& s) {
    if (!s.running) return;
    s.running = false;
    while (!s.tabs.empty()) {
        const std::size_t last = s.tabs.size() - 1;
        tillwick::RunStep([&] { s.tabs[last]->locked = false; });
        CloseTabAt(s, static_cast<int>(last));
        if (s.tabs.size() > last) s.tabs.pop_back();  // a tab that would not close
    }
    UnsubclassControls(s);
    DestroyKeptMenus(s);
    host::DestroyWindow(s.frame);  // and every bar with it
    if (s.tabToolTip && host::IsWindow(s.tabToolTip)) host::DestroyWindow(s.tabToolTip);
    for (HWND* window : {&s.frame, &s.mdiClient, &s.statusBar, &s.statusToolbar, &s.tabBar,
                         &s.tabToolTip, &s.rebar, &s.buttonsBar, &s.pluginsBar, &s.addressBar,
                         &s.addressCombo, &s.addressEdit, &s.searchBar, &s.searchCombo,
                         &s.searchEdit, &s.unusedBars[0], &s.unusedBars[1]})
        *window = nullptr;
    s.external = {};
    if (Current() == &s) SetCurrent(nullptr);
}

// ---- Host -------------------------------------------------------------------------

Host::Host(Config config) : state_(std::make_unique<State>(std::move(config))) {}

Host::~Host() {
    tillwick::RunStep([&] { Close(); });
    if (Current() == state_.get()) SetCurrent(nullptr);
}

bool Host::Start() {
    State& s = *state_;
    if (s.running || !s.config.objects.Complete()) return false;
    if (Current() && Current() != &s) return false;  // one frame per process
    if (!LayOutHostFolder(s)) return false;
    RegisterFrameClass();
    RegisterTabClasses();
    SetCurrent(&s);

    s.tabBarOnTop = s.config.tabBarOnTop;
    const RECT& r = s.config.frameRect;
    s.frame = host::CreateWindowExA(0, c::kMainFrameClass.data(), "Maxthon", kFrameStyle, r.left,
                                    r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                    host::ProgramInstance(), nullptr);
    if (!s.frame) {
        SetCurrent(nullptr);
        return false;
    }
    s.running = true;
    CollectMenuCommands(s);
    MakeExternal(s);
    CLIENTCREATESTRUCT mdi{nullptr, kFirstMdiChildId};
    s.mdiClient = host::CreateWindowExA(WS_EX_CLIENTEDGE, c::kMdiClientClass.data(), "",
                                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                        0, 0, r.right - r.left, r.bottom - r.top, s.frame, nullptr,
                                        nullptr, &mdi);
    if (!s.mdiClient || !CreateBars(s)) {
        CloseFrame(s);
        return false;
    }
    // The page area lies below the bars, so that a bar shown over the page
    // without a new layout is seen on top of it.
    host::SetWindowPos(s.mdiClient, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!s.config.statusBarVisible) host::ShowWindow(s.statusBar, SW_HIDE);
    if (!s.config.tabBarVisible) host::ShowWindow(s.tabBar, SW_HIDE);
    Layout(s);
    UpdateCaption(s);
    if (s.config.showFrame) {
        host::ShowWindow(s.frame, SW_SHOW);
        host::SetForegroundWindow(s.frame);
    }
    return true;
}

void Host::Close() {
    if (state_->running && state_->frame) host::SendMessageA(state_->frame, WM_CLOSE, 0, 0);
}

bool Host::Running() const { return state_->running; }

void Host::DropPluginFactory() { state_->config.pluginFactory = nullptr; }

LRESULT Host::Command(std::uintptr_t wParam) {
    if (!state_->frame) return 0;
    return host::SendMessageA(state_->frame, WM_COMMAND, wParam, 0);
}

int Host::OpenTab(std::string_view url) {
    Command(c::kCmdNewTab);
    if (url != "about:blank" && state_->active >= 0) LoadPage(url);
    return state_->active;
}

void Host::ActivateTab(int index) { Command(c::kCmdActivateTabBase + static_cast<UINT>(index)); }
void Host::CloseTab() { Command(c::kCmdCloseTab); }

void Host::LoadPage(std::string_view url) {
    State& s = *state_;
    if (s.active < 0 || s.active >= static_cast<int>(s.tabs.size())) return;
    StartLoad(s, *s.tabs[static_cast<std::size_t>(s.active)], url);
}

void Host::PressToolbarButton(HWND toolbar, UINT command) {
    if (!state_->frame) return;
    host::SendMessageA(state_->frame, WM_COMMAND, command, reinterpret_cast<LPARAM>(toolbar));
}

void Host::PressPluginButton(int entryIndex) {
    PressToolbarButton(state_->pluginsBar, c::kCmdPluginBase + static_cast<UINT>(entryIndex));
}

void Host::RightClickTab(int index) { TrackTabMenu(*state_, index); }
void Host::RightClickPage(PageMenuKind kind) { TrackPageMenu(*state_, kind); }
void Host::OpenOptionsMenu() { TrackOptionsMenu(*state_); }
void Host::OpenGroupsMenu() { TrackGroupsMenu(*state_); }
void Host::OpenSearchMenu() { TrackSearchMenu(*state_); }
HMENU Host::OptionsMenu() const { return state_->optionsMenu; }
HMENU Host::RefreshGroupsMenu() { return refhost::RefreshGroupsMenu(*state_); }

HWND Host::Frame() const { return state_->frame; }
HWND Host::MdiClient() const { return state_->mdiClient; }
HWND Host::StatusBar() const { return state_->statusBar; }
HWND Host::StatusToolbar() const { return state_->statusToolbar; }
HWND Host::TabBar() const { return state_->tabBar; }
HWND Host::Rebar() const { return state_->rebar; }
HWND Host::ButtonsToolbar() const { return state_->buttonsBar; }
HWND Host::PluginsToolbar() const { return state_->pluginsBar; }
HWND Host::AddressCombo() const { return state_->addressCombo; }
HWND Host::AddressEdit() const { return state_->addressEdit; }
HWND Host::SearchEdit() const { return state_->searchEdit; }

namespace {
const Tab* TabAt(const Host::State& s, int index) {
    if (index < 0 || index >= static_cast<int>(s.tabs.size())) return nullptr;
    return s.tabs[static_cast<std::size_t>(index)].get();
}
}  // namespace

int Host::TabCount() const { return static_cast<int>(state_->tabs.size()); }
int Host::ActiveTab() const { return state_->active; }
HWND Host::TabWindow(int index) const {
    const Tab* t = TabAt(*state_, index);
    return t ? t->child : nullptr;
}
HWND Host::PageWindow(int index) const {
    const Tab* t = TabAt(*state_, index);
    return t ? t->page : nullptr;
}
host::Object Host::Document(int index) const {
    const Tab* t = TabAt(*state_, index);
    return t ? t->document : host::Object();
}
host::Object Host::PageWindowObject(int index) const {
    const Tab* t = TabAt(*state_, index);
    return t ? t->window : host::Object();
}
host::Object Host::Browser(int index) const {
    const Tab* t = TabAt(*state_, index);
    return t ? t->browser : host::Object();
}
TabPlugin* Host::Plugin(int index) const {
    const Tab* t = TabAt(*state_, index);
    return t ? t->plugin.get() : nullptr;
}
bool Host::Loading(int index) const {
    const Tab* t = TabAt(*state_, index);
    return t && t->loadStep > 0;
}

bool Host::TabBarShown() const { return BarVisible(state_->tabBar); }
bool Host::TabBarOnTop() const { return state_->tabBarOnTop; }
bool Host::FullScreen() const { return state_->fullScreen; }
bool Host::Blocker(int index) const {
    if (index < 0 || index >= 6) return false;
    return ReadHostConfig(*state_, c::kHostSettingsSection,
                          c::kHostBlockers[index].configKey, "0") == "1";
}

const std::string& Host::HostFolder() const { return state_->hostFolder; }
std::string Host::PluginFolder(std::string_view pluginName) const {
    return PluginFolderOf(*state_, pluginName);
}
const std::string& Host::SecurityId() const { return state_->config.securityId; }
const std::vector<UINT>& Host::CommandsCarriedOut() const { return state_->carriedOut; }

}  // namespace refhost
