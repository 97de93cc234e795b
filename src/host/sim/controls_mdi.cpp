// The MDI client ("MDIClient"): creates, activates, maximizes and destroys
// its children (the browser's tabs). Children get WS_EX_MDICHILD, the MDI
// child styles (WS_VISIBLE included), ids from idFirstChild on, and take
// over the maximized state when they become active, as on Windows.
#include <algorithm>

#include "host/sim/sim_internal.h"

namespace host::sim::detail {

namespace {

struct MdiState : ControlState {
    HWND self = nullptr;
    HWND active = nullptr;
    UINT idFirstChild = 0;
    HMENU windowMenu = nullptr;
    UINT created = 0;
    void ChildGone(HWND child) override;
};

bool Zoomed(HWND hwnd) {
    Window* w = Find(hwnd);
    return w && (w->style & WS_MAXIMIZE);
}

// The next child after `from` in z-order that could be activated (wrapping).
HWND NextChild(HWND client, HWND from) {
    Window* c = Find(client);
    if (!c) return nullptr;
    const std::vector<HWND> list = c->children;
    auto usable = [](HWND h) {
        Window* w = Find(h);
        return w && !w->owner && (w->style & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE;
    };
    auto it = std::find(list.begin(), list.end(), from);
    if (it != list.end()) {
        for (auto next = it + 1; next != list.end(); ++next) {
            if (usable(*next)) return *next;
        }
    }
    for (auto next = list.begin(); next != list.end() && *next != from; ++next) {
        if (usable(*next)) return *next;
    }
    return nullptr;
}

void Activate(HWND client, HWND child) {
    MdiState* s = ControlOf<MdiState>(client);
    if (!s || s->active == child) return;
    const HWND previous = Find(s->active) ? s->active : nullptr;
    const bool wasZoomed = previous && Zoomed(previous);

    if (child) SetWindowPosInternal(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (previous) {
        SendW(previous, WM_NCACTIVATE, FALSE, 0);
        SendW(previous, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(previous), reinterpret_cast<LPARAM>(child));
    }
    if (!(s = ControlOf<MdiState>(client))) return;
    s->active = Find(child) ? child : nullptr;
    if (wasZoomed && s->active) {
        // The maximized state moves to the newly active child.
        if (Find(previous)) ShowWindowInternal(previous, SW_SHOWNORMAL);
        if (Find(child)) ShowWindowInternal(child, SW_SHOWMAXIMIZED);
    }
    if (!Find(child)) return;
    Window* c = Find(client);
    if (c && S().active && S().active == RootOf(client)) {
        SendW(child, WM_NCACTIVATE, TRUE, 0);
        SetFocusInternal(child);
    }
    if (Find(child)) {
        SendW(child, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(previous), reinterpret_cast<LPARAM>(child));
    }
}

void DestroyChild(HWND client, HWND child) {
    MdiState* s = ControlOf<MdiState>(client);
    if (!s || !Find(child)) return;
    if (s->active == child) {
        if (const HWND next = NextChild(client, child)) {
            Activate(client, next);
        } else {
            ShowWindowInternal(child, SW_HIDE);
            if (Find(child)) SendW(child, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), 0);
            if ((s = ControlOf<MdiState>(client))) s->active = nullptr;
        }
    }
    DestroyWindowInternal(child);
}

HWND CreateChild(HWND client, LPARAM lParam, bool unicode) {
    if (!lParam) return nullptr;
    CreateArgs a;
    a.exStyle = WS_EX_MDICHILD;
    a.parent = client;
    a.unicode = unicode;
    std::string ansiClass, ansiTitle;
    if (unicode) {
        const auto* m = reinterpret_cast<const MDICREATESTRUCTW*>(lParam);
        a.cls = reinterpret_cast<std::uintptr_t>(m->szClass) <= 0xFFFF
                    ? FindClass(reinterpret_cast<const char*>(m->szClass))
                    : FindClassW(WideZ(m->szClass));
        a.hasName = m->szTitle != nullptr;
        a.name = WideZ(m->szTitle);
        a.style = m->style;
        a.x = m->x;
        a.y = m->y;
        a.cx = m->cx;
        a.cy = m->cy;
        a.instance = m->hOwner;
        a.param = reinterpret_cast<void*>(m->lParam);
        if (a.cls) ansiClass = a.cls->name;
        ansiTitle = Narrow(a.name);
        a.ansiClass = ansiClass.c_str();
        a.ansiName = a.hasName ? ansiTitle.c_str() : nullptr;
    } else {
        const auto* m = reinterpret_cast<const MDICREATESTRUCTA*>(lParam);
        a.cls = FindClass(m->szClass);
        a.hasName = m->szTitle != nullptr;
        a.name = Widen(AnsiZ(m->szTitle));
        a.style = m->style;
        a.x = m->x;
        a.y = m->y;
        a.cx = m->cx;
        a.cy = m->cy;
        a.instance = m->hOwner;
        a.param = reinterpret_cast<void*>(m->lParam);
        a.ansiClass = m->szClass;
        a.ansiName = m->szTitle;
    }
    if (!a.cls) return nullptr;
    return CreateWindowInternal(std::move(a));
}

LRESULT MdiClientProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool unicode) {
    MdiState* s = EnsureControl<MdiState>(hwnd);
    if (!s) return 0;
    s->self = hwnd;
    switch (msg) {
    case WM_CREATE: {
        // Both CREATESTRUCT variants keep lpCreateParams at the same place.
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (cs && cs->lpCreateParams) {
            const auto* ccs = static_cast<const CLIENTCREATESTRUCT*>(cs->lpCreateParams);
            s->idFirstChild = ccs->idFirstChild;
            s->windowMenu = ccs->hWindowMenu;
        }
        return 0;
    }
    case WM_MDICREATE:
        return reinterpret_cast<LRESULT>(CreateChild(hwnd, lParam, unicode));
    case WM_MDIDESTROY:
        DestroyChild(hwnd, reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_MDIACTIVATE: {
        const HWND child = reinterpret_cast<HWND>(wParam);
        Window* w = Find(child);
        if (w && w->parent == hwnd) Activate(hwnd, child);
        return 0;
    }
    case WM_MDIGETACTIVE: {
        const HWND active = Find(s->active) ? s->active : nullptr;
        if (lParam) *reinterpret_cast<BOOL*>(lParam) = active && Zoomed(active) ? TRUE : FALSE;
        return reinterpret_cast<LRESULT>(active);
    }
    case WM_MDINEXT: {
        const HWND from = wParam ? reinterpret_cast<HWND>(wParam) : s->active;
        if (!from) return 0;
        HWND target = nullptr;
        if (lParam) {
            // Backwards: the last usable child before `from`, wrapping.
            Window* c = Find(hwnd);
            const std::vector<HWND> list = c ? c->children : std::vector<HWND>{};
            for (HWND h : list) {
                if (h != from && Find(h) && (Find(h)->style & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE) target = h;
            }
        } else {
            target = NextChild(hwnd, from);
        }
        if (target) Activate(hwnd, target);
        return 0;
    }
    case WM_MDIMAXIMIZE:
        if (Find(reinterpret_cast<HWND>(wParam))) ShowWindowInternal(reinterpret_cast<HWND>(wParam), SW_SHOWMAXIMIZED);
        return 0;
    case WM_MDIRESTORE:
        if (Find(reinterpret_cast<HWND>(wParam))) ShowWindowInternal(reinterpret_cast<HWND>(wParam), SW_RESTORE);
        return 0;
    case WM_SIZE:
        // A maximized child follows the client's size.
        if (Find(s->active) && Zoomed(s->active)) {
            Window* child = Find(s->active);
            RECT target{};
            MinMaximize(*child, SW_MAXIMIZE, target);
            SetWindowPosInternal(s->active, nullptr, target.left, target.top, target.right - target.left,
                                 target.bottom - target.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return 0;
    case WM_SETFOCUS:
        if (Find(s->active) && !(Find(s->active)->style & WS_MINIMIZE)) SetFocusInternal(s->active);
        return 0;
    default:
        return DefWindowProcImpl(hwnd, msg, wParam, lParam, unicode);
    }
}

void MdiState::ChildGone(HWND child) {
    if (child != active) return;
    // Destroyed directly rather than through WM_MDIDESTROY: the next child takes over.
    active = nullptr;
    if (const HWND next = NextChild(self, child)) Activate(self, next);
}

}  // namespace

void MdiPrepareChild(HWND client, CreateArgs& args) {
    Window* c = Find(client);
    MdiState* s = EnsureControl<MdiState>(client);
    if (!c || !s) return;
    s->self = client;
    if (c->style & MDIS_ALLCHILDSTYLES) {
        args.style |= WS_CHILD | WS_CLIPSIBLINGS;
    } else {
        args.style &= ~WS_POPUP;
        args.style |= WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                      WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    }
    const HWND active = Find(s->active) ? s->active : nullptr;
    if (active && Zoomed(active) && (args.style & WS_VISIBLE)) args.style |= WS_MAXIMIZE;
    const RECT area = ClientRectOf(*c);
    // Default places cascade by the number of children made so far.
    const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
    const int n = static_cast<int>(s->created % 8);
    const bool defaultPos = args.x == CW_USEDEFAULT || args.x == static_cast<SHORT>(0x8000);
    if (defaultPos) {
        args.x = n * step;
        args.y = n * step;
    }
    if (args.cx == CW_USEDEFAULT || args.cx == static_cast<SHORT>(0x8000) || !args.cx) args.cx = area.right * 3 / 4;
    if (args.cy == CW_USEDEFAULT || args.cy == static_cast<SHORT>(0x8000) || !args.cy) args.cy = area.bottom * 3 / 4;
    args.menu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(s->idFirstChild + s->created));
    ++s->created;
}

void MdiChildCreated(HWND client, HWND child) {
    Window* w = Find(child);
    if (!w || !(w->style & WS_VISIBLE)) return;
    MdiState* s = ControlOf<MdiState>(client);
    const HWND previous = s && Find(s->active) ? s->active : nullptr;
    if (previous && previous != child && Zoomed(previous) && Zoomed(child)) {
        ShowWindowInternal(previous, SW_SHOWNORMAL);  // only one maximized child
    }
    // As CreateWindowEx does for a visible MDI child: to the top, which sends
    // it WM_CHILDACTIVATE (DefMDIChildProc activates it there). The client
    // activates it either way, so children with a plain procedure work too.
    SetWindowPosInternal(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (Find(child)) Activate(client, child);
}

LRESULT CALLBACK MdiClientProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return MdiClientProc(hwnd, msg, wParam, lParam, false);
}

LRESULT CALLBACK MdiClientProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return MdiClientProc(hwnd, msg, wParam, lParam, true);
}

}  // namespace host::sim::detail

namespace host {

using namespace sim::detail;

LRESULT DefMDIChildProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    const HWND client = w->parent;
    MdiState* s = ControlOf<MdiState>(client);
    if (!s) return DefWindowProcImpl(hwnd, msg, wParam, lParam, false);
    switch (msg) {
    case WM_CLOSE:
        SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(hwnd), 0);
        return 0;
    case WM_CHILDACTIVATE:
        Activate(client, hwnd);
        return 0;
    case WM_SETFOCUS:
        if (s->active != hwnd) Activate(client, hwnd);
        return 0;
    default:
        return DefWindowProcImpl(hwnd, msg, wParam, lParam, false);
    }
}

}  // namespace host
