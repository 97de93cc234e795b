// One tab: an MDI child of the MDI client ("Afx:400000:8..." class), its view
// window (class exactly "Afx:400000:8") and the page window
// "Internet Explorer_Server" that hands out the page document; its item in
// the tab bar; its plugin object, sited with the tab's browser.
#include <string>

#include "base/errors.h"
#include "refhost/host_impl.h"

namespace refhost {

namespace c = tillwick::contract;

namespace {

constexpr const char* kChildClass = "Afx:400000:8:10011:0:0";
constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr DWORD kInnerStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;

Tab* TabAtIndex(Host::State& s, int index) {
    if (index < 0 || index >= static_cast<int>(s.tabs.size())) return nullptr;
    return s.tabs[static_cast<std::size_t>(index)].get();
}

LRESULT CALLBACK PageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Host::State* s = Current();
    if (s && s->htmlGetObject != 0 && msg == s->htmlGetObject) {
        return tillwick::RunStepOr<LRESULT>(0, [&]() -> LRESULT {
            int index = TabIndexByPage(*s, hwnd);
            if (index < 0) return 0;
            const Tab& tab = *s->tabs[static_cast<std::size_t>(index)];
            if (!tab.document) return 0;
            return s->config.objects.lresultFromObject(tab.document);
        });
    }
    return host::DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return host::DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A tab's MDI child: closing it goes through the host's own close (a locked
// tab stays, the plugin object is released); the rest is the MDI default.
LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Host::State* s = Current();
    if (s && msg == WM_CLOSE) {
        tillwick::RunStep([&] {
            for (std::size_t i = 0; i < s->tabs.size(); ++i)
                if (s->tabs[i]->child == hwnd) {
                    CloseTabAt(*s, static_cast<int>(i));
                    break;
                }
        });
        return 0;
    }
    return host::DefMDIChildProcA(hwnd, msg, wParam, lParam);
}

void RegisterWindowClass(const char* name, WNDPROC proc) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    wc.hInstance = host::ProgramInstance();
    host::RegisterClassA(&wc);
}

HWND CreateChildWindow(Host::State& s, int width, int height) {
    MDICREATESTRUCTA mcs{};
    mcs.szClass = kChildClass;
    mcs.hOwner = host::ProgramInstance();
    mcs.szTitle = "";
    mcs.cx = width;
    mcs.cy = height;
    mcs.style = kChildStyle;
    HWND child = reinterpret_cast<HWND>(
        host::SendMessageA(s.mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    if (!child) {
        // An MDI client that does not create children itself: the child is
        // made directly, and the client was still told through WM_MDICREATE.
        child = host::CreateWindowExA(WS_EX_MDICHILD, kChildClass, "", kChildStyle, 0, 0, width,
                                      height, s.mdiClient, nullptr, host::ProgramInstance(), nullptr);
    }
    return child;
}

void ShowOnly(Host::State& s, int index) {
    for (std::size_t i = 0; i < s.tabs.size(); ++i) {
        HWND child = s.tabs[i]->child;
        const bool shown = static_cast<int>(i) == index;
        if (static_cast<bool>(host::IsWindowVisible(child)) != shown)
            host::ShowWindow(child, shown ? SW_SHOW : SW_HIDE);
    }
}

}  // namespace

void RegisterTabClasses() {
    RegisterWindowClass(kChildClass, ChildProc);
    RegisterWindowClass(c::kTabChildClassPrefix.data(), PlainProc);
    RegisterWindowClass(c::kPageViewClass.data(), PageProc);
}

int TabIndexById(const Host::State& s, int id) {
    for (std::size_t i = 0; i < s.tabs.size(); ++i)
        if (s.tabs[i]->id == id) return static_cast<int>(i);
    return -1;
}

int TabIndexByPage(const Host::State& s, HWND page) {
    for (std::size_t i = 0; i < s.tabs.size(); ++i)
        if (s.tabs[i]->page == page) return static_cast<int>(i);
    return -1;
}

int NewTab(Host::State& s, std::string_view windowName) {
    if (!s.running) return -1;
    if (s.htmlGetObject == 0)
        s.htmlGetObject = host::RegisterWindowMessageA(c::kHtmlGetObjectMessage.data());
    RECT area{};
    host::GetClientRect(s.mdiClient, &area);

    auto tab = std::make_unique<Tab>();
    tab->id = s.nextTabId++;
    tab->child = CreateChildWindow(s, area.right, area.bottom);
    if (!tab->child) return -1;
    tab->view = host::CreateWindowExA(0, c::kTabChildClassPrefix.data(), "", kInnerStyle, 0, 0,
                                      area.right, area.bottom, tab->child, nullptr,
                                      host::ProgramInstance(), nullptr);
    tab->page = tab->view ? host::CreateWindowExA(0, c::kPageViewClass.data(), "", kInnerStyle, 0,
                                                  0, area.right, area.bottom, tab->view, nullptr,
                                                  host::ProgramInstance(), nullptr)
                          : nullptr;
    if (!tab->page) {
        host::SendMessageA(s.mdiClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(tab->child), 0);
        if (host::IsWindow(tab->child)) host::DestroyWindow(tab->child);
        return -1;
    }
    MakeTabObjects(s, *tab, windowName);

    const int index = static_cast<int>(s.tabs.size());
    std::string text = tab->url;
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text.data();
    item.iImage = -1;
    host::SendMessageA(s.tabBar, TCM_INSERTITEMA, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&item));
    Tab& added = *tab;
    s.tabs.push_back(std::move(tab));

    if (s.config.pluginFactory) {
        tillwick::RunStep([&] {
            added.plugin = s.config.pluginFactory();
            if (!added.plugin) return;
            const SiteKind kind = s.config.siteKind;
            added.plugin->SetSite(kind == SiteKind::WithoutDispatch ? host::Object() : added.site,
                                  kind == SiteKind::WithoutServiceProvider ? std::nullopt
                                                                           : std::optional<host::Object>(added.browser));
        });
    }
    UpdateExternal(s);
    ActivateTabAt(s, index);
    return index;
}

void ActivateTabAt(Host::State& s, int index) {
    Tab* tab = TabAtIndex(s, index);
    if (!tab) return;
    s.active = index;
    host::SendMessageA(s.mdiClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(tab->child), 0);
    ShowOnly(s, index);
    host::SendMessageA(s.tabBar, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    SetAddressText(s, tab->loadStep > 0 ? tab->loadingUrl : tab->url);
    RefreshStatusParts(s);
    SetStatusText(s, tab->loadStep > 0 ? "Opening " + tab->loadingUrl + "..." : std::string("Done"));
    UpdateCaption(s);
}

void CloseTabAt(Host::State& s, int index) {
    Tab* tab = TabAtIndex(s, index);
    if (!tab || tab->locked) return;
    StopLoad(s, *tab);
    // Unsited now; released with the tab's window below, as a browser control
    // inside the MDI child would be: after the MDI client's notification.
    auto plugin = std::move(tab->plugin);
    if (plugin) tillwick::RunStep([&] { plugin->SetSite(std::nullopt, std::nullopt); });
    if (s.config.releaseOrder == ReleaseOrder::BeforeWindows) tillwick::RunStep([&] { plugin.reset(); });
    ReleaseTabObjects(*tab);
    host::SendMessageA(s.tabBar, TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
    HWND child = tab->child;
    const bool wasActive = index == s.active;
    s.tabs.erase(s.tabs.begin() + index);
    // The active index is right again before anything can look at it: the
    // MDI client's notification below may reach a plugin that asks the host.
    const int count = static_cast<int>(s.tabs.size());
    if (count == 0) s.active = -1;
    else if (wasActive) s.active = index < count ? index : count - 1;
    else if (index < s.active) --s.active;
    host::SendMessageA(s.mdiClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
    tillwick::RunStep([&] { plugin.reset(); });
    if (host::IsWindow(child)) host::DestroyWindow(child);
    UpdateExternal(s);

    if (!s.running) return;
    if (count == 0) {
        SetAddressText(s, "");
        RefreshStatusParts(s);
        UpdateCaption(s);
    } else if (wasActive) {
        ActivateTabAt(s, s.active);
    } else {
        host::SendMessageA(s.tabBar, TCM_SETCURSEL, static_cast<WPARAM>(s.active), 0);
    }
}

void SetTabText(Host::State& s, int index) {
    Tab* tab = TabAtIndex(s, index);
    if (!tab) return;
    std::string text = tab->title.empty() ? tab->url : tab->title;
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    host::SendMessageA(s.tabBar, TCM_SETITEMA, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&item));
}

void SetTabLocked(Host::State& s, int index, bool locked) {
    Tab* tab = TabAtIndex(s, index);
    if (!tab) return;
    tab->locked = locked;
    TCITEMA item{};
    item.mask = TCIF_IMAGE;
    item.iImage = locked ? c::kLockedTabImage : -1;
    host::SendMessageA(s.tabBar, TCM_SETITEMA, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&item));
}

void LayoutTabs(Host::State& s) {
    RECT area{};
    if (!host::GetClientRect(s.mdiClient, &area)) return;
    for (const auto& tab : s.tabs) {
        // Tabs are maximized children: each fills the client, view and page
        // fill the tab. A view that was moved into another window (a plugin
        // may adopt one) is no longer the tab's to size.
        host::MoveWindow(tab->child, 0, 0, area.right, area.bottom, TRUE);
        if (host::GetParent(tab->view) != tab->child) continue;
        host::MoveWindow(tab->view, 0, 0, area.right, area.bottom, TRUE);
        if (host::GetParent(tab->page) == tab->view)
            host::MoveWindow(tab->page, 0, 0, area.right, area.bottom, TRUE);
    }
    ShowOnly(s, s.active);
}

}  // namespace refhost
