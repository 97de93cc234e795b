// Activation, foreground and keyboard focus, with the messages user32 sends
// when they change (WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP, WM_KILLFOCUS,
// WM_SETFOCUS). The sim is one process with one thread: its active window
// is also the foreground window.
#include <algorithm>

#include "host/sim/sim_internal.h"

namespace host::sim::detail {

namespace {

BOOL Iconic(HWND hwnd) {
    Window* w = Find(hwnd);
    return w && (w->style & WS_MINIMIZE) ? TRUE : FALSE;
}

void SendActivateApp(bool active) {
    const std::vector<HWND> tops = FindAny(DesktopHandle())->children;
    for (HWND top : tops) SendW(top, WM_ACTIVATEAPP, active ? TRUE : FALSE, 0);
}

HWND SetFocusWindow(HWND hwnd) {
    const HWND previous = S().focus;
    S().focus = hwnd;
    if (previous && Find(previous)) SendW(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (hwnd && S().focus == hwnd && Find(hwnd)) SendW(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

}  // namespace

bool CanActivate(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w || !IsTopLevel(*w)) return false;
    if (!(w->style & WS_VISIBLE) || (w->style & WS_DISABLED)) return false;
    if (IsChildStyle(*w)) return false;
    return !(w->exStyle & WS_EX_NOACTIVATE);
}

void ActivateWindow(HWND hwnd, bool changeFocus) {
    const HWND previous = S().active;
    if (previous == hwnd) return;
    if (previous && Find(previous)) {
        SendW(previous, WM_NCACTIVATE, FALSE, reinterpret_cast<LPARAM>(hwnd));
        SendW(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, static_cast<WORD>(Iconic(previous))),
              reinterpret_cast<LPARAM>(hwnd));
    }
    S().active = Find(hwnd) ? hwnd : nullptr;
    const bool hadActive = previous && Find(previous);
    if (!hadActive && S().active) SendActivateApp(true);
    if (hadActive && !S().active) SendActivateApp(false);
    if (S().active) {
        SendW(hwnd, WM_NCACTIVATE, TRUE, reinterpret_cast<LPARAM>(previous));
        SendW(hwnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, static_cast<WORD>(Iconic(hwnd))),
              reinterpret_cast<LPARAM>(previous));
    }
    if (changeFocus && S().active == (Find(hwnd) ? hwnd : nullptr)) {
        const HWND focus = S().focus;
        if (!focus || !S().active || RootOf(focus) != S().active) SetFocusWindow(S().active);
    }
}

void ActivateOtherWindow(HWND leaving) {
    if (S().active != leaving) return;
    HWND next = nullptr;
    Window* w = FindAny(leaving);
    if (w && (w->style & WS_POPUP) && w->owner) {
        const HWND owner = RootOf(w->owner);
        if (CanActivate(owner)) next = owner;
    }
    if (!next) {
        const std::vector<HWND> tops = FindAny(DesktopHandle())->children;
        auto it = std::find(tops.begin(), tops.end(), leaving);
        if (it != tops.end()) {
            for (auto below = it + 1; below != tops.end() && !next; ++below) {
                if (CanActivate(*below)) next = *below;
            }
        }
        for (auto top = tops.begin(); !next && top != tops.end() && *top != leaving; ++top) {
            if (CanActivate(*top)) next = *top;
        }
    }
    ActivateWindow(next);
}

HWND SetFocusInternal(HWND hwnd) {
    const HWND previous = S().focus;
    if (hwnd) {
        if (!Find(hwnd)) return nullptr;
        if (hwnd == previous) return previous;
        HWND top = hwnd;
        for (;;) {
            Window* t = Find(top);
            if (!t) return nullptr;
            if (t->style & (WS_MINIMIZE | WS_DISABLED)) return nullptr;
            if (!(t->style & WS_CHILD)) break;
            if (IsRoot(t->parent)) {
                if (IsChildStyle(*t) || t->parent == S().messageRoot) return nullptr;
                break;
            }
            top = t->parent;
        }
        if (top != S().active) {
            ActivateWindow(top, false);
            if (!Find(hwnd) || S().active != top) return nullptr;
        }
    } else if (!previous) {
        return nullptr;
    }
    return SetFocusWindow(hwnd);
}

void ForgetWindowInput(HWND hwnd) {
    State& s = S();
    if (s.focus == hwnd) s.focus = nullptr;
    if (s.active == hwnd) s.active = nullptr;
    if (s.capture == hwnd) s.capture = nullptr;
    auto& keys = s.hotKeys;
    keys.erase(std::remove_if(keys.begin(), keys.end(), [hwnd](const HotKey& k) { return k.hwnd == hwnd; }), keys.end());
}

}  // namespace host::sim::detail

namespace host {

using namespace sim::detail;

HWND GetForegroundWindow() { return S().active; }

BOOL SetForegroundWindow(HWND hwnd) {
    const HWND top = RootOf(hwnd);
    if (!top) return FALSE;
    Window* w = Find(top);
    const auto& tops = FindAny(DesktopHandle())->children;
    const bool onTop = !tops.empty() && tops.front() == top;
    if (!onTop && (w->style & WS_VISIBLE)) {
        SetWindowPosInternal(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (!Find(top)) return FALSE;
    }
    ActivateWindow(top);
    return S().active == top ? TRUE : FALSE;
}

HWND SetFocus(HWND hwnd) { return SetFocusInternal(hwnd); }

HWND GetFocus() { return S().focus; }

}  // namespace host
