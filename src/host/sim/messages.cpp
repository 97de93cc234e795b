// Sending, posting and logging messages; the default window procedure; the
// message loop's posted-message and paint passes.
#include <algorithm>
#include <climits>

#include "host/sim/sim_internal.h"

namespace host::sim::detail {

namespace {

// Deeper nesting than this is a runaway recursion; Windows would overflow its
// stack, the sim refuses the send instead.
constexpr int kMaxSendDepth = 1000;

struct DepthGuard {
    DepthGuard() { ++S().sendDepth; }
    ~DepthGuard() { --S().sendDepth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;
};

// Messages whose parameters point into the sender's memory cannot be posted.
bool IsPointerMessage(UINT msg) {
    switch (msg) {
    case WM_CREATE:
    case WM_NCCREATE:
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
    case WM_MDICREATE:
    case EM_GETSEL:
    case EM_REPLACESEL:
    case CB_ADDSTRING:
    case CB_INSERTSTRING:
    case CB_GETLBTEXT:
    case CB_FINDSTRINGEXACT:
        return true;
    default:
        return false;
    }
}

void CollectPaintOrder(HWND hwnd, std::vector<HWND>& out) {
    Window* w = FindAny(hwnd);
    if (!w || w->destroyed) return;
    if (!w->root) {
        if (!(w->style & WS_VISIBLE)) return;
        if (w->needsPaint) out.push_back(hwnd);
    }
    const std::vector<HWND> children = w->children;
    for (HWND child : children) CollectPaintOrder(child, out);
}

}  // namespace

LRESULT Deliver(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool unicode, bool posted) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    if (S().sendDepth >= kMaxSendDepth) return 0;
    DepthGuard guard;
    S().log.push_back({hwnd, msg, wParam, lParam, posted});
    return CallProc(w->proc, unicode, hwnd, msg, wParam, lParam);
}

LRESULT SendW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return Deliver(hwnd, msg, wParam, lParam, true, false);
}

void PostInternal(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool unicode) {
    S().posted.push_back({hwnd, msg, wParam, lParam, unicode});
}

void DropPostedFor(HWND hwnd) {
    auto& q = S().posted;
    q.erase(std::remove_if(q.begin(), q.end(), [hwnd](const Posted& p) { return p.hwnd == hwnd; }), q.end());
}

bool PumpPostedAndPaint() {
    bool any = false;
    // A procedure that re-posts forever would hang the test; leave the rest for the next pass.
    for (int budget = 100000; budget > 0 && !S().posted.empty(); --budget) {
        const Posted p = S().posted.front();
        S().posted.pop_front();
        if (Find(p.hwnd)) {
            Deliver(p.hwnd, p.msg, p.wParam, p.lParam, p.unicode, true);
            any = true;
        }
    }
    std::vector<HWND> paint;
    CollectPaintOrder(DesktopHandle(), paint);
    for (HWND h : paint) {
        Window* w = Find(h);
        if (w && w->needsPaint && VisibleOnScreen(h)) {
            Deliver(h, WM_PAINT, 0, 0, w->unicode, true);
            any = true;
        }
    }
    return any;
}

void PumpForMenuLoop() {
    for (int budget = 100000; budget > 0 && !S().posted.empty(); --budget) {
        const Posted p = S().posted.front();
        S().posted.pop_front();
        const bool input = (p.msg >= WM_KEYFIRST && p.msg <= WM_KEYLAST) ||
                           (p.msg >= WM_MOUSEFIRST && p.msg <= WM_MOUSELAST) || p.msg == WM_CANCELMODE;
        if (input) continue;  // the menu consumes input while it is up
        if (Find(p.hwnd)) Deliver(p.hwnd, p.msg, p.wParam, p.lParam, p.unicode, true);
    }
    FireDueTimers();
}

void Invalidate(HWND hwnd, bool children) {
    Window* w = Find(hwnd);
    if (!w) return;
    w->needsPaint = true;
    ++w->invalidations;
    if (children) {
        const std::vector<HWND> kids = w->children;
        for (HWND child : kids) Invalidate(child, true);
    }
}

void PaintNow(HWND hwnd, bool children) {
    Window* w = Find(hwnd);
    if (!w) return;
    if (w->needsPaint && VisibleOnScreen(hwnd)) SendW(hwnd, WM_PAINT, 0, 0);
    if (children && (w = Find(hwnd))) {
        const std::vector<HWND> kids = w->children;
        for (HWND child : kids) PaintNow(child, true);
    }
}

void NotifyParent(HWND child, UINT code) {
    Window* w = Find(child);
    if (!w || !IsChildStyle(*w) || (w->exStyle & WS_EX_NOPARENTNOTIFY)) return;
    if (IsRoot(w->parent)) return;
    SendW(w->parent, WM_PARENTNOTIFY, MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(w->id)),
          reinterpret_cast<LPARAM>(child));
}

WString TextArg(LPARAM lParam, bool unicode) {
    if (!lParam) return {};
    return unicode ? WideZ(reinterpret_cast<const WCHAR*>(lParam)) : Widen(reinterpret_cast<const char*>(lParam));
}

LRESULT AnswerGetText(const WString& text, WPARAM capacity, LPARAM buffer, bool unicode) {
    if (!capacity || !buffer) return 0;
    const int cap = static_cast<int>(std::min<WPARAM>(capacity, INT_MAX));
    if (unicode) return CopyOut(reinterpret_cast<WCHAR*>(buffer), cap, text);
    return CopyOut(reinterpret_cast<char*>(buffer), cap, Narrow(text));
}

LRESULT AnswerGetTextLength(const WString& text, bool unicode) {
    return static_cast<LRESULT>(unicode ? text.size() : Narrow(text).size());
}

void NotifyCommand(HWND control, WORD code) {
    Window* w = Find(control);
    if (!w || IsRoot(w->parent)) return;
    SendW(w->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(w->id), code), reinterpret_cast<LPARAM>(control));
}

LRESULT DefWindowProcImpl(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool unicode) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    switch (msg) {
    case WM_NCCREATE: {
        if (lParam) {
            // Both CREATESTRUCT variants keep the name at the same place.
            if (unicode) {
                const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
                if (cs->lpszName) w->text = WideZ(cs->lpszName);
            } else {
                const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
                if (cs->lpszName) w->text = Widen(cs->lpszName);
            }
        }
        return TRUE;
    }
    case WM_SETTEXT:
        w->text = TextArg(lParam, unicode);
        return TRUE;
    case WM_GETTEXT:
        return AnswerGetText(w->text, wParam, lParam, unicode);
    case WM_GETTEXTLENGTH:
        return AnswerGetTextLength(w->text, unicode);
    case WM_CLOSE:
        DestroyWindowInternal(hwnd);
        return 0;
    case WM_WINDOWPOSCHANGED: {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (!pos) return 0;
        const POINT origin = ClientOriginInParent(*w);
        const RECT client = ClientRectOf(*w);
        if (!(pos->flags & SWP_NOCLIENTMOVE)) {
            SendW(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(origin.x), static_cast<WORD>(origin.y)));
        }
        if (!(pos->flags & SWP_NOCLIENTSIZE) || (pos->flags & SWP_STATECHANGED)) {
            if (!(w = Find(hwnd))) return 0;
            if (w->style & WS_MINIMIZE) {
                SendW(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
            } else {
                const WPARAM kind = (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
                SendW(hwnd, WM_SIZE, kind, MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
            }
        }
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !(w->style & WS_MINIMIZE)) SetFocusInternal(hwnd);
        return 0;
    case WM_PAINT:
        w->needsPaint = false;  // BeginPaint/EndPaint validate the window
        return 0;
    case WM_ERASEBKGND:
        return w->cls && w->cls->background ? 1 : 0;
    case WM_NCACTIVATE:
        return TRUE;
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_MOUSEACTIVATE:
        if (IsChildStyle(*w)) {
            if (LRESULT r = SendW(w->parent, WM_MOUSEACTIVATE, wParam, lParam)) return r;
        }
        return MA_ACTIVATE;
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
        // Children pass these up to their parent.
        if (IsChildStyle(*w)) return Deliver(w->parent, msg, wParam, lParam, unicode, false);
        return 0;
    case WM_SETCURSOR:
        if (IsChildStyle(*w)) return Deliver(w->parent, msg, wParam, lParam, unicode, false);
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE:
            return Deliver(hwnd, WM_CLOSE, 0, 0, unicode, false);
        case SC_MINIMIZE:
            ShowWindowInternal(hwnd, SW_MINIMIZE);
            return 0;
        case SC_MAXIMIZE:
            ShowWindowInternal(hwnd, SW_MAXIMIZE);
            return 0;
        case SC_RESTORE:
            ShowWindowInternal(hwnd, SW_RESTORE);
            return 0;
        default:
            return 0;
        }
    default:
        return 0;
    }
}

LRESULT CALLBACK DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcImpl(hwnd, msg, wParam, lParam, true);
}

}  // namespace host::sim::detail

namespace host {

using namespace sim::detail;

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcImpl(hwnd, msg, wParam, lParam, false);
}

namespace {

LRESULT Broadcast(UINT msg, WPARAM wParam, LPARAM lParam, bool unicode) {
    Window* desktop = FindAny(DesktopHandle());
    const std::vector<HWND> tops = desktop->children;
    for (HWND h : tops) Deliver(h, msg, wParam, lParam, unicode, false);
    return 1;
}

}  // namespace

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CountCall();
    if (hwnd == HWND_BROADCAST) return Broadcast(msg, wParam, lParam, false);
    return Deliver(hwnd, msg, wParam, lParam, false, false);
}

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CountCall();
    if (hwnd == HWND_BROADCAST) return Broadcast(msg, wParam, lParam, true);
    return Deliver(hwnd, msg, wParam, lParam, true, false);
}

LRESULT SendMessageTimeoutA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeoutMs,
                            DWORD_PTR* result) {
    CountCall();
    (void)flags;
    (void)timeoutMs;  // a procedure of this thread is called directly and cannot time out
    if (hwnd == HWND_BROADCAST) {
        Broadcast(msg, wParam, lParam, false);
        if (result) *result = 0;
        return 1;
    }
    if (!Find(hwnd)) return 0;
    const LRESULT r = Deliver(hwnd, msg, wParam, lParam, false, false);
    if (result) *result = static_cast<DWORD_PTR>(r);
    return 1;
}

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CountCall();
    if (msg < WM_USER && IsPointerMessage(msg)) return FALSE;  // ERROR_MESSAGE_SYNC_ONLY
    if (!hwnd) return TRUE;  // a thread message: nobody in the sim reads the thread queue
    if (hwnd == HWND_BROADCAST) {
        const std::vector<HWND> tops = FindAny(DesktopHandle())->children;
        for (HWND h : tops) PostInternal(h, msg, wParam, lParam, false);
        return TRUE;
    }
    if (!Find(hwnd)) return FALSE;
    PostInternal(hwnd, msg, wParam, lParam, false);
    return TRUE;
}

UINT RegisterWindowMessageA(const char* name) {
    if (!name || !*name) return 0;
    return AtomFor(name);
}

}  // namespace host
