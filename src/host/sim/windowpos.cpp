// Geometry, z-order and visibility: rectangles in parent coordinates, the
// non-client frame, SetWindowPos with its messages, ShowWindow with minimize
// and maximize, placement, coordinate mapping and invalidation.
#include <algorithm>
#include <functional>

#include "host/sim/sim_internal.h"

namespace host::sim::detail {

namespace {

constexpr UINT kAggNoPosChange = SWP_NOSIZE | SWP_NOMOVE | SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE | SWP_NOZORDER;
constexpr UINT kAggStatusFlags = kAggNoPosChange | SWP_FRAMECHANGED | SWP_HIDEWINDOW | SWP_SHOWWINDOW;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

bool IsTopmost(HWND h) {
    Window* w = FindAny(h);
    return w && (w->exStyle & WS_EX_TOPMOST);
}

// The frame thickness alone (no caption, menu or scroll bars).
SIZE FrameOf(DWORD style, DWORD exStyle) {
    SIZE f{0, 0};
    const bool thick = (style & WS_THICKFRAME) != 0;
    const bool dialog = (exStyle & WS_EX_DLGMODALFRAME) || ((style & WS_DLGFRAME) && !thick);
    const bool thin = (style & WS_BORDER) || !(style & (WS_CHILD | WS_POPUP));
    if (thick) {
        f = {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME)};
    } else if (dialog) {
        f = {GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME)};
    } else if (thin) {
        f = {GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER)};
    }
    return f;
}

RECT ParentArea(const Window& w) {
    if (IsTopLevel(w)) return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    Window* p = Find(w.parent);
    return p ? ClientRectOf(*p) : RECT{0, 0, 0, 0};
}

// A maximized window fills its parent's client area (the screen for a
// top-level window) with its frame pushed outside, its caption inside.
RECT MaximizedRect(const Window& w) {
    const RECT area = ParentArea(w);
    if (w.exStyle & WS_EX_MDICHILD) {
        // A maximized MDI child hides its caption too; the frame shows it in its stead.
        return {area.left - w.nc.left, area.top - w.nc.top, area.right + w.nc.right, area.bottom + w.nc.bottom};
    }
    const SIZE f = FrameOf(w.style, w.exStyle);
    return {area.left - f.cx, area.top - f.cy, area.right + f.cx, area.bottom + f.cy};
}

RECT MinimizedRect(const Window& w) {
    const int cx = GetSystemMetrics(SM_CXMINIMIZED), cy = GetSystemMetrics(SM_CYMINIMIZED);
    POINT at{-32000, -32000};
    if (w.minPos.x != -1 || w.minPos.y != -1) {
        at = w.minPos;
    } else if (!IsTopLevel(w)) {
        at = {0, ParentArea(w).bottom - cy};
    }
    return {at.x, at.y, at.x + cx, at.y + cy};
}

}  // namespace

int CaptionHeight(const Window& w) {
    if ((w.style & WS_CAPTION) != WS_CAPTION) return 0;
    return GetSystemMetrics((w.exStyle & WS_EX_TOOLWINDOW) ? 51 /* SM_CYSMCAPTION */ : SM_CYCAPTION);
}

RECT ComputeNonClient(const Window& w) {
    if (w.root) return {0, 0, 0, 0};
    const SIZE f = FrameOf(w.style, w.exStyle);
    RECT nc{f.cx, f.cy, f.cx, f.cy};
    nc.top += CaptionHeight(w);
    if (!IsChildStyle(w) && w.id && IsMenu(reinterpret_cast<HMENU>(w.id))) nc.top += GetSystemMetrics(SM_CYMENU);
    if (w.exStyle & WS_EX_CLIENTEDGE) {
        nc.left += GetSystemMetrics(SM_CXEDGE);
        nc.right += GetSystemMetrics(SM_CXEDGE);
        nc.top += GetSystemMetrics(SM_CYEDGE);
        nc.bottom += GetSystemMetrics(SM_CYEDGE);
    }
    if (w.exStyle & WS_EX_STATICEDGE) {
        nc.left += GetSystemMetrics(SM_CXBORDER);
        nc.right += GetSystemMetrics(SM_CXBORDER);
        nc.top += GetSystemMetrics(SM_CYBORDER);
        nc.bottom += GetSystemMetrics(SM_CYBORDER);
    }
    if (w.style & WS_VSCROLL) nc.right += GetSystemMetrics(SM_CXVSCROLL);
    if (w.style & WS_HSCROLL) nc.bottom += GetSystemMetrics(SM_CYHSCROLL);
    return nc;
}

RECT ClientRectOf(const Window& w) {
    const int cx = Width(w.rect) - w.nc.left - w.nc.right;
    const int cy = Height(w.rect) - w.nc.top - w.nc.bottom;
    return {0, 0, std::max(0, cx), std::max(0, cy)};
}

POINT ClientOriginInParent(const Window& w) { return {w.rect.left + w.nc.left, w.rect.top + w.nc.top}; }

POINT ClientOriginOnScreen(HWND hwnd) {
    Window* w = FindAny(hwnd);
    if (!w || w->root) return {0, 0};
    const POINT parent = ClientOriginOnScreen(w->parent);
    const POINT own = ClientOriginInParent(*w);
    return {parent.x + own.x, parent.y + own.y};
}

RECT WindowRectOnScreen(const Window& w) {
    const POINT parent = ClientOriginOnScreen(w.parent);
    return {w.rect.left + parent.x, w.rect.top + parent.y, w.rect.right + parent.x, w.rect.bottom + parent.y};
}

bool VisibleOnScreen(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return false;
    while (w && !w->root) {
        if (!(w->style & WS_VISIBLE)) return false;
        w = FindAny(w->parent);
    }
    return w && w->handle == S().desktop;
}

void Unlink(Window& w) {
    Window* p = FindAny(w.parent);
    if (!p) return;
    auto& list = p->children;
    list.erase(std::remove(list.begin(), list.end(), w.handle), list.end());
}

void LinkAt(Window& w, HWND after) {
    Window* p = FindAny(w.parent);
    if (!p) return;
    Unlink(w);
    auto& list = p->children;
    if (after == HWND_NOTOPMOST) {
        w.exStyle &= ~WS_EX_TOPMOST;
        after = HWND_TOP;
    }
    if (after == HWND_BOTTOM) {
        list.push_back(w.handle);
        w.exStyle &= ~WS_EX_TOPMOST;
    } else if (after == HWND_TOPMOST) {
        list.insert(list.begin(), w.handle);
        w.exStyle |= WS_EX_TOPMOST;
    } else {
        auto pos = list.end();
        if (after != HWND_TOP) pos = std::find(list.begin(), list.end(), after);
        if (pos == list.end()) {
            // HWND_TOP: above the first window of its own group.
            pos = list.begin();
            if (!(w.exStyle & WS_EX_TOPMOST)) {
                while (pos != list.end() && IsTopmost(*pos)) ++pos;
            }
            list.insert(pos, w.handle);
        } else {
            const bool afterTopmost = IsTopmost(after);
            auto at = list.insert(pos + 1, w.handle);
            if (!afterTopmost) {
                w.exStyle &= ~WS_EX_TOPMOST;
            } else if (at + 1 != list.end() && IsTopmost(*(at + 1))) {
                w.exStyle |= WS_EX_TOPMOST;
            }
        }
    }
}

void NoteNormalRect(Window& w) {
    if (!(w.style & (WS_MINIMIZE | WS_MAXIMIZE))) w.normalRect = w.rect;
}

UINT MinMaximize(Window& w, int cmd, RECT& target) {
    switch (cmd) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
        if (w.style & WS_MINIMIZE) {
            target = w.rect;
            return SWP_NOSIZE | SWP_NOMOVE;
        }
        if (w.style & WS_MAXIMIZE) {
            w.restoreToMaximized = true;
            w.style &= ~WS_MAXIMIZE;
        } else {
            w.restoreToMaximized = false;
            w.normalRect = w.rect;
        }
        w.style |= WS_MINIMIZE;
        target = MinimizedRect(w);
        return SWP_STATECHANGED | SWP_NOCOPYBITS;
    case SW_MAXIMIZE: {
        const bool was = (w.style & WS_MAXIMIZE) && !(w.style & WS_MINIMIZE);
        if (w.style & WS_MINIMIZE) {
            w.style &= ~WS_MINIMIZE;
        } else if (!was) {
            w.normalRect = w.rect;
        }
        w.style |= WS_MAXIMIZE;
        target = MaximizedRect(w);
        return was ? 0u : SWP_STATECHANGED;
    }
    default:  // restore
        if (w.style & WS_MINIMIZE) {
            w.style &= ~WS_MINIMIZE;
            if (w.restoreToMaximized) {
                w.style |= WS_MAXIMIZE;
                target = MaximizedRect(w);
                return SWP_STATECHANGED;
            }
        } else {
            w.style &= ~WS_MAXIMIZE;
        }
        target = w.normalRect;
        return SWP_STATECHANGED;
    }
}

bool SetWindowPosInternal(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
    Window* w = Find(hwnd);
    if (!w) return false;
    if (!(flags & SWP_NOZORDER)) {
        if (!IsTopLevel(*w) && (after == HWND_TOPMOST || after == HWND_NOTOPMOST)) after = HWND_TOP;
        if (after != HWND_TOP && after != HWND_BOTTOM && after != HWND_TOPMOST && after != HWND_NOTOPMOST) {
            Window* a = Find(after);
            if (!a) return false;
            if (a->parent != w->parent || after == hwnd) return true;  // nothing to do
        }
    }
    if (!(flags & SWP_NOMOVE)) {
        x = std::clamp(x, -32768, 32767);
        y = std::clamp(y, -32768, 32767);
    }
    if (!(flags & SWP_NOSIZE)) {
        cx = std::clamp(cx, 0, 32767);
        cy = std::clamp(cy, 0, 32767);
    }

    WINDOWPOS pos{hwnd, after, x, y, cx, cy, flags};
    const RECT oldRect = w->rect;
    const POINT oldOrigin = ClientOriginInParent(*w);
    const RECT oldClient = ClientRectOf(*w);
    if (!(pos.flags & SWP_NOSENDCHANGING)) {
        SendW(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
        if (!(w = Find(hwnd))) return false;
    }

    RECT newRect = oldRect;
    if (!(pos.flags & SWP_NOSIZE)) {
        if (w->style & WS_MINIMIZE) {
            newRect.right = newRect.left + GetSystemMetrics(SM_CXMINIMIZED);
            newRect.bottom = newRect.top + GetSystemMetrics(SM_CYMINIMIZED);
        } else {
            newRect.right = newRect.left + pos.cx;
            newRect.bottom = newRect.top + pos.cy;
        }
    }
    if (!(pos.flags & SWP_NOMOVE)) {
        const int dx = pos.x - oldRect.left, dy = pos.y - oldRect.top;
        newRect = {newRect.left + dx, newRect.top + dy, newRect.right + dx, newRect.bottom + dy};
    }
    pos.flags |= SWP_NOCLIENTMOVE | SWP_NOCLIENTSIZE;

    // Redundant flags go, as in user32.
    if (w->style & WS_VISIBLE) {
        pos.flags &= ~SWP_SHOWWINDOW;
    } else {
        pos.flags &= ~SWP_HIDEWINDOW;
        if (!(pos.flags & SWP_SHOWWINDOW)) pos.flags |= SWP_NOREDRAW;
    }
    if (Width(newRect) == Width(oldRect) && Height(newRect) == Height(oldRect)) pos.flags |= SWP_NOSIZE;
    if (newRect.left == oldRect.left && newRect.top == oldRect.top) pos.flags |= SWP_NOMOVE;
    if (!IsChildStyle(*w) && !(pos.flags & (SWP_NOACTIVATE | SWP_HIDEWINDOW)) &&
        ((pos.flags & SWP_NOZORDER) || (pos.hwndInsertAfter != HWND_TOPMOST && pos.hwndInsertAfter != HWND_NOTOPMOST))) {
        pos.flags &= ~SWP_NOZORDER;  // activation brings the window to the top
        pos.hwndInsertAfter = HWND_TOP;
    }
    if (!(pos.flags & SWP_NOZORDER)) {
        const auto& siblings = FindAny(w->parent)->children;
        const bool first = !siblings.empty() && siblings.front() == hwnd;
        const bool last = !siblings.empty() && siblings.back() == hwnd;
        const bool topmost = (w->exStyle & WS_EX_TOPMOST) != 0;
        const HWND a = pos.hwndInsertAfter;
        if (a == HWND_TOP) {
            if (first) pos.flags |= SWP_NOZORDER;
        } else if (a == HWND_BOTTOM) {
            if (!topmost && last) pos.flags |= SWP_NOZORDER;
        } else if (a == HWND_TOPMOST) {
            if (topmost && first) pos.flags |= SWP_NOZORDER;
        } else if (a == HWND_NOTOPMOST) {
            if (!topmost) pos.flags |= SWP_NOZORDER;
        } else {
            auto it = std::find(siblings.begin(), siblings.end(), a);
            if (a == hwnd || (it != siblings.end() && it + 1 != siblings.end() && *(it + 1) == hwnd))
                pos.flags |= SWP_NOZORDER;
        }
    }

    // The client area moves with the new rectangle and, on SWP_FRAMECHANGED, the new frame.
    const RECT newNc = (pos.flags & SWP_FRAMECHANGED) ? ComputeNonClient(*w) : w->nc;
    const POINT newOrigin{newRect.left + newNc.left, newRect.top + newNc.top};
    const int newClientW = std::max(0, Width(newRect) - newNc.left - newNc.right);
    const int newClientH = std::max(0, Height(newRect) - newNc.top - newNc.bottom);
    if (newOrigin.x != oldOrigin.x || newOrigin.y != oldOrigin.y) pos.flags &= ~SWP_NOCLIENTMOVE;
    if (newClientW != oldClient.right || newClientH != oldClient.bottom) pos.flags &= ~SWP_NOCLIENTSIZE;

    if (!(pos.flags & SWP_NOZORDER)) LinkAt(*w, pos.hwndInsertAfter);
    w->rect = newRect;
    w->nc = newNc;
    NoteNormalRect(*w);
    if (pos.flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
    if (pos.flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
    if ((pos.flags & SWP_SHOWWINDOW) && VisibleOnScreen(hwnd)) {
        Invalidate(hwnd, true);
    } else if (!(pos.flags & SWP_NOCLIENTSIZE) || (pos.flags & SWP_FRAMECHANGED)) {
        Invalidate(hwnd, false);
    }

    if (!(pos.flags & (SWP_NOACTIVATE | SWP_HIDEWINDOW))) {
        if (IsChildStyle(*w)) {
            SendW(hwnd, WM_CHILDACTIVATE, 0, 0);
        } else if (CanActivate(hwnd)) {
            ActivateWindow(hwnd);
        }
        if (!(w = Find(hwnd))) return true;
    }

    if ((pos.flags & kAggStatusFlags) != kAggNoPosChange) {
        pos.x = w->rect.left;
        pos.y = w->rect.top;
        pos.cx = Width(w->rect);
        pos.cy = Height(w->rect);
        SendW(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    }
    if ((pos.flags & SWP_HIDEWINDOW) && S().active == hwnd) ActivateOtherWindow(hwnd);
    return true;
}

BOOL ShowWindowInternal(HWND hwnd, int cmd) {
    Window* w = Find(hwnd);
    if (!w) return FALSE;
    const DWORD style = w->style;
    const bool wasVisible = (style & WS_VISIBLE) != 0;
    const bool child = (style & WS_CHILD) != 0;
    bool showFlag = true;
    bool minMax = false;
    RECT target{};
    UINT swp = 0;

    switch (cmd) {
    case SW_HIDE:
        if (!wasVisible) return FALSE;
        showFlag = false;
        swp |= SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE;
        if (child) swp |= SWP_NOACTIVATE | SWP_NOZORDER;
        break;
    case SW_SHOWMINNOACTIVE:
    case SW_MINIMIZE:
    case SW_FORCEMINIMIZE:
        swp |= SWP_NOACTIVATE | SWP_NOZORDER;
        [[fallthrough]];
    case SW_SHOWMINIMIZED:
        swp |= SWP_SHOWWINDOW | SWP_FRAMECHANGED;
        swp |= MinMaximize(*w, cmd, target);
        minMax = true;
        if ((style & WS_MINIMIZE) && wasVisible) return TRUE;
        break;
    case SW_SHOWMAXIMIZED:
        if (!wasVisible) swp |= SWP_SHOWWINDOW;
        swp |= SWP_FRAMECHANGED;
        swp |= MinMaximize(*w, SW_MAXIMIZE, target);
        minMax = true;
        if ((style & WS_MAXIMIZE) && wasVisible) return TRUE;
        break;
    case SW_SHOWNA:
        swp |= SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE;
        if (child) swp |= SWP_NOZORDER;
        break;
    case SW_SHOW:
        if (wasVisible) return TRUE;
        swp |= SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE;
        if (child) swp |= SWP_NOACTIVATE | SWP_NOZORDER;
        break;
    case SW_SHOWNOACTIVATE:
        swp |= SWP_NOACTIVATE | SWP_NOZORDER;
        [[fallthrough]];
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
        swp |= SWP_SHOWWINDOW;
        if (style & (WS_MINIMIZE | WS_MAXIMIZE)) {
            swp |= SWP_FRAMECHANGED;
            swp |= MinMaximize(*w, SW_RESTORE, target);
            minMax = true;
        } else {
            if (wasVisible) return TRUE;
            swp |= SWP_NOSIZE | SWP_NOMOVE;
        }
        if (child && !(swp & SWP_STATECHANGED)) swp |= SWP_NOACTIVATE | SWP_NOZORDER;
        break;
    default:
        return wasVisible ? TRUE : FALSE;
    }

    if ((showFlag != wasVisible || cmd == SW_SHOWNA) && cmd != SW_SHOWMAXIMIZED && !(swp & SWP_STATECHANGED)) {
        SendW(hwnd, WM_SHOWWINDOW, showFlag ? TRUE : FALSE, 0);
        if (!(w = Find(hwnd))) return wasVisible ? TRUE : FALSE;
    }

    Window* parent = FindAny(w->parent);
    const bool parentHidden = parent && !parent->root && !VisibleOnScreen(w->parent);
    if (parentHidden && !(swp & SWP_STATECHANGED)) {
        // Under a hidden parent only the style changes.
        if (showFlag) {
            w->style |= WS_VISIBLE;
        } else {
            w->style &= ~WS_VISIBLE;
        }
    } else if (minMax) {
        SetWindowPosInternal(hwnd, HWND_TOP, target.left, target.top, target.right - target.left,
                             target.bottom - target.top, swp);
    } else {
        SetWindowPosInternal(hwnd, HWND_TOP, 0, 0, 0, 0, swp);
    }

    if (cmd == SW_HIDE) {
        if (S().active == hwnd) ActivateOtherWindow(hwnd);
        if (S().focus == hwnd && Find(hwnd)) {
            Window* self = Find(hwnd);
            const HWND up = IsRoot(self->parent) ? nullptr : self->parent;
            SetFocusInternal(up);
        }
    }
    return wasVisible ? TRUE : FALSE;
}

}  // namespace host::sim::detail

namespace host {

using namespace sim::detail;

BOOL GetClientRect(HWND hwnd, RECT* rect) {
    Window* w = Find(hwnd);
    if (!w || !rect) return FALSE;
    *rect = ClientRectOf(*w);
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
    Window* w = Find(hwnd);
    if (!w || !rect) return FALSE;
    *rect = WindowRectOnScreen(*w);
    return TRUE;
}

BOOL IsWindowVisible(HWND hwnd) { return VisibleOnScreen(hwnd) ? TRUE : FALSE; }

BOOL ShowWindow(HWND hwnd, int cmdShow) { return ShowWindowInternal(hwnd, cmdShow); }

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return SetWindowPosInternal(hwnd, insertAfter, x, y, cx, cy, flags) ? TRUE : FALSE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPosInternal(hwnd, nullptr, x, y, width, height,
                                SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : SWP_NOREDRAW))
               ? TRUE
               : FALSE;
}

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement) {
    Window* w = Find(hwnd);
    if (!w || !placement) return FALSE;
    placement->length = sizeof(WINDOWPLACEMENT);
    const bool minimized = (w->style & WS_MINIMIZE) != 0;
    const bool maximized = (w->style & WS_MAXIMIZE) != 0;
    placement->flags = (minimized && w->restoreToMaximized) ? 2u /* WPF_RESTORETOMAXIMIZED */ : 0u;
    placement->showCmd = minimized ? SW_SHOWMINIMIZED : maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    placement->ptMinPosition = minimized ? POINT{w->rect.left, w->rect.top} : w->minPos;
    placement->ptMaxPosition = maximized ? POINT{w->rect.left, w->rect.top} : w->maxPos;
    placement->rcNormalPosition = (minimized || maximized) ? w->normalRect : w->rect;
    return TRUE;
}

BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement) {
    Window* w = Find(hwnd);
    if (!w || !placement) return FALSE;
    const WINDOWPLACEMENT wp = *placement;
    if (wp.flags & 1u /* WPF_SETMINPOSITION */) w->minPos = wp.ptMinPosition;
    w->maxPos = wp.ptMaxPosition;
    w->normalRect = wp.rcNormalPosition;
    if (w->style & WS_MINIMIZE) {
        if (wp.flags & 1u)
            SetWindowPosInternal(hwnd, nullptr, wp.ptMinPosition.x, wp.ptMinPosition.y, 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (!(w->style & WS_MAXIMIZE)) {
        const RECT& r = wp.rcNormalPosition;
        SetWindowPosInternal(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindowInternal(hwnd, static_cast<int>(wp.showCmd));
    if ((w = Find(hwnd)) && (w->style & WS_MINIMIZE) && (wp.flags & 2u)) w->restoreToMaximized = true;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* point) {
    if (!Find(hwnd) || !point) return FALSE;
    const POINT origin = ClientOriginOnScreen(hwnd);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* point) {
    if (!Find(hwnd) || !point) return FALSE;
    const POINT origin = ClientOriginOnScreen(hwnd);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

namespace {

constexpr UINT kRdwNoChildren = 0x0040;

void Validate(HWND hwnd, bool children) {
    Window* w = Find(hwnd);
    if (!w) return;
    w->needsPaint = false;
    if (children) {
        for (HWND child : w->children) Validate(child, true);
    }
}

bool IncludesChildren(HWND hwnd, UINT flags) {
    if (flags & RDW_ALLCHILDREN) return true;
    if (flags & kRdwNoChildren) return false;
    Window* w = FindAny(hwnd);
    return w && !(w->style & WS_CLIPCHILDREN);
}

void ForEachTarget(HWND hwnd, const std::function<void(HWND)>& f) {
    if (hwnd) {
        f(hwnd);
        return;
    }
    const std::vector<HWND> tops = FindAny(DesktopHandle())->children;
    for (HWND top : tops) f(top);
}

}  // namespace

BOOL RedrawWindow(HWND hwnd, const RECT* update, void* region, UINT flags) {
    (void)update;
    (void)region;  // the sim tracks whole windows, not regions
    if (hwnd && !Find(hwnd)) return FALSE;
    ForEachTarget(hwnd, [flags](HWND h) {
        const bool children = IncludesChildren(h, flags);
        if (flags & RDW_INVALIDATE) Invalidate(h, children);
        if (flags & RDW_VALIDATE) Validate(h, children);
        if (flags & RDW_UPDATENOW) PaintNow(h, children);
    });
    return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    (void)rect;
    (void)erase;
    if (hwnd && !Find(hwnd)) return FALSE;
    ForEachTarget(hwnd, [](HWND h) { Invalidate(h, IncludesChildren(h, 0)); });
    return TRUE;
}

BOOL ValidateWindow(HWND hwnd) {
    if (!Find(hwnd)) return FALSE;
    Validate(hwnd, false);
    return TRUE;
}

}  // namespace host

namespace host::sim {

int InvalidationCount(HWND hwnd) {
    detail::Window* w = detail::FindAny(hwnd);
    return w ? w->invalidations : 0;
}

}  // namespace host::sim
