// The window tree: creation, destruction, lookup, enumeration, class names,
// captions and the window longs (styles, ids, user data, procedures).
#include <algorithm>
#include <cstring>

#include "host/sim/sim_internal.h"

namespace host::sim::detail {

namespace {

HWND NewRoot(bool visible) {
    auto w = std::make_unique<Window>();
    w->handle = NewWindowHandle();
    w->cls = BuiltinClass(Builtin::Desktop);
    w->proc = w->cls->proc;
    w->root = true;
    w->style = WS_POPUP | WS_CLIPCHILDREN | (visible ? WS_VISIBLE : 0);
    w->rect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    HWND h = w->handle;
    S().windows.emplace(h, std::move(w));
    return h;
}

DWORD FixExStyle(DWORD style, DWORD exStyle) {
    if ((exStyle & WS_EX_DLGMODALFRAME) || (!(exStyle & WS_EX_STATICEDGE) && (style & (WS_DLGFRAME | WS_THICKFRAME))))
        return exStyle | WS_EX_WINDOWEDGE;
    return exStyle & ~WS_EX_WINDOWEDGE;
}

bool IsDefaultCoord(int v) { return v == CW_USEDEFAULT || v == static_cast<SHORT>(0x8000); }

// The second half of destruction: children first, then the window itself.
void FreeWindow(HWND hwnd) {
    Window* w = FindAny(hwnd);
    if (!w || w->destroyed) return;
    const std::vector<HWND> kids = w->children;
    for (HWND child : kids) FreeWindow(child);
    if (!(w = FindAny(hwnd)) || w->destroyed) return;
    Unlink(*w);
    Deliver(hwnd, WM_NCDESTROY, 0, 0, true, false);
    if (!(w = FindAny(hwnd)) || w->destroyed) return;
    w->destroyed = true;
    KillWindowTimers(hwnd);
    DropPostedFor(hwnd);
    ForgetWindowInput(hwnd);
    if (!IsChildStyle(*w) && w->id) {
        const auto menu = reinterpret_cast<HMENU>(w->id);
        if (IsMenu(menu)) DestroyMenuInternal(menu);
    }
    if (Window* parent = FindAny(w->parent); parent && parent->control) parent->control->ChildGone(hwnd);
}

// The first half: WM_DESTROY to the window, then to its children.
void SendDestroy(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return;
    w->destroying = true;
    if (S().active == hwnd) ActivateOtherWindow(hwnd);
    Deliver(hwnd, WM_DESTROY, 0, 0, true, false);
    if (!(w = Find(hwnd))) return;
    const std::vector<HWND> kids = w->children;
    for (HWND child : kids) SendDestroy(child);
}

}  // namespace

void CreateRoots() {
    if (S().desktop) return;
    S().desktop = NewRoot(true);
    S().messageRoot = NewRoot(false);
}

HWND DesktopHandle() {
    CreateRoots();
    return S().desktop;
}

HWND MessageRootHandle() {
    CreateRoots();
    return S().messageRoot;
}

Window* FindAny(HWND hwnd) {
    if (!hwnd) return nullptr;
    auto& map = S().windows;
    auto it = map.find(hwnd);
    return it == map.end() ? nullptr : it->second.get();
}

Window* Find(HWND hwnd) {
    Window* w = FindAny(hwnd);
    return (w && !w->destroyed && !w->root) ? w : nullptr;
}

bool IsRoot(HWND hwnd) {
    Window* w = FindAny(hwnd);
    return w && w->root;
}

bool IsTopLevel(const Window& w) { return IsRoot(w.parent); }

bool IsChildStyle(const Window& w) { return (w.style & (WS_CHILD | WS_POPUP)) == WS_CHILD; }

HWND RootOf(HWND hwnd) {
    Window* w = Find(hwnd);
    while (w && !IsTopLevel(*w)) {
        Window* parent = Find(w->parent);
        if (!parent) break;
        w = parent;
    }
    return w ? w->handle : nullptr;
}

bool IsDescendant(HWND ancestor, HWND hwnd) {
    Window* w = Find(hwnd);
    while (w) {
        if (w->parent == ancestor) return true;
        w = Find(w->parent);
    }
    return false;
}

HWND CreateWindowInternal(CreateArgs a) {
    CreateRoots();
    const ClassInfo* cls = a.cls;
    if (!cls) return nullptr;

    // MDI children get their client's styles, id and default position.
    MDICREATESTRUCTA mdiA{};
    MDICREATESTRUCTW mdiW{};
    if (a.exStyle & WS_EX_MDICHILD) {
        Window* client = Find(a.parent);
        if (!client || !client->cls || client->cls->kind != Builtin::MdiClient) return nullptr;
        if (a.unicode) {
            mdiW = {nullptr, nullptr, a.instance, a.x, a.y, a.cx, a.cy, a.style, reinterpret_cast<LPARAM>(a.param)};
        } else {
            mdiA = {a.ansiClass, a.ansiName, a.instance, a.x, a.y, a.cx, a.cy, a.style, reinterpret_cast<LPARAM>(a.param)};
        }
        MdiPrepareChild(a.parent, a);
    }

    // Parent and owner: a child lives in its parent; any other window is
    // top-level and owned by the top-level ancestor of the window given.
    HWND parent = nullptr, owner = nullptr;
    const bool child = (a.style & (WS_CHILD | WS_POPUP)) == WS_CHILD;
    if (a.parent == HWND_MESSAGE) {
        parent = MessageRootHandle();
    } else if (child) {
        if (!Find(a.parent)) return nullptr;  // ERROR_TLW_WITH_WSCHILD
        parent = a.parent;
    } else {
        parent = DesktopHandle();
        if (a.parent) {
            if (!Find(a.parent)) return nullptr;
            owner = RootOf(a.parent);
        }
    }

    const bool childOrPopup = (a.style & (WS_CHILD | WS_POPUP)) != 0;
    if (childOrPopup) {
        if (IsDefaultCoord(a.x)) a.x = a.y = 0;
        if (IsDefaultCoord(a.cx)) a.cx = a.cy = 0;
    } else {
        if (IsDefaultCoord(a.x)) a.x = a.y = 0;
        if (IsDefaultCoord(a.cx)) {
            a.cx = GetSystemMetrics(SM_CXSCREEN) * 3 / 4 - a.x;
            a.cy = GetSystemMetrics(SM_CYSCREEN) * 3 / 4 - a.y;
        }
    }
    if (a.cx < 0) a.cx = 0;
    if (a.cy < 0) a.cy = 0;

    DWORD style = a.style;
    if (!child) {
        style |= WS_CLIPSIBLINGS;
        if (!(style & WS_POPUP)) style |= WS_CAPTION;
    }

    auto record = std::make_unique<Window>();
    Window& w = *record;
    w.handle = NewWindowHandle();
    w.cls = cls;
    w.proc = cls->proc;
    w.unicode = cls->dual ? a.unicode : ProcIsUnicode(cls->proc, a.unicode);
    w.style = style & ~WS_VISIBLE;
    w.exStyle = FixExStyle(style, a.exStyle);
    w.parent = parent;
    w.owner = owner;
    w.rect = {a.x, a.y, a.x + a.cx, a.y + a.cy};
    w.normalRect = w.rect;
    w.id = reinterpret_cast<LONG_PTR>(a.menu);
    w.instance = a.instance;
    w.extra.assign(static_cast<std::size_t>(cls->wndExtra), 0);
    const HWND hwnd = w.handle;
    S().windows.emplace(hwnd, std::move(record));
    Window* self = Find(hwnd);
    if (child) {
        FindAny(parent)->children.push_back(hwnd);
    } else {
        LinkAt(*self, (self->exStyle & WS_EX_TOPMOST) ? HWND_TOPMOST : HWND_TOP);
    }
    self->nc = ComputeNonClient(*self);

    // WM_NCCREATE and WM_CREATE see the CREATESTRUCT of the creator's character set.
    const bool mdi = (a.exStyle & WS_EX_MDICHILD) != 0;
    const WString className = Widen(cls->name);
    CREATESTRUCTA csA{mdi ? static_cast<void*>(&mdiA) : a.param,
                      a.instance,
                      a.menu,
                      a.parent,
                      a.cy,
                      a.cx,
                      a.y,
                      a.x,
                      static_cast<LONG>(a.style),
                      a.ansiName,
                      a.ansiClass ? a.ansiClass : cls->name.c_str(),
                      a.exStyle};
    if (mdi && a.unicode) {
        mdiW.szClass = className.c_str();
        mdiW.szTitle = a.hasName ? a.name.c_str() : nullptr;
    }
    CREATESTRUCTW csW{mdi ? static_cast<void*>(&mdiW) : a.param,
                      a.instance,
                      a.menu,
                      a.parent,
                      a.cy,
                      a.cx,
                      a.y,
                      a.x,
                      static_cast<LONG>(a.style),
                      a.hasName ? a.name.c_str() : nullptr,
                      className.c_str(),
                      a.exStyle};
    const LPARAM cs = a.unicode ? reinterpret_cast<LPARAM>(&csW) : reinterpret_cast<LPARAM>(&csA);

    if (!Deliver(hwnd, WM_NCCREATE, 0, cs, a.unicode, false) || !Find(hwnd)) {
        FreeWindow(hwnd);
        return nullptr;
    }
    if (Deliver(hwnd, WM_CREATE, 0, cs, a.unicode, false) == -1 || !Find(hwnd)) {
        FreeWindow(hwnd);
        return nullptr;
    }

    if (!(self = Find(hwnd))) return nullptr;
    {
        const RECT client = ClientRectOf(*self);
        const POINT origin = ClientOriginInParent(*self);
        SendW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
        SendW(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(origin.x), static_cast<WORD>(origin.y)));
    }

    if (!(self = Find(hwnd))) return nullptr;
    const DWORD minMax = self->style & (WS_MINIMIZE | WS_MAXIMIZE);
    if (minMax) {
        self->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
        RECT target{};
        UINT flags = MinMaximize(*self, (minMax & WS_MINIMIZE) ? SW_MINIMIZE : SW_MAXIMIZE, target);
        flags |= SWP_FRAMECHANGED;
        if (!(a.style & WS_VISIBLE) || child) flags |= SWP_NOACTIVATE;
        SetWindowPosInternal(hwnd, HWND_TOP, target.left, target.top, target.right - target.left,
                             target.bottom - target.top, flags);
    }

    NotifyParent(hwnd, WM_CREATE);
    if (!Find(hwnd)) return nullptr;

    if (a.style & WS_VISIBLE) {
        int show = SW_SHOW;
        if (a.style & WS_MAXIMIZE) show = SW_SHOW;
        else if (a.style & WS_MINIMIZE) show = SW_SHOWMINIMIZED;
        ShowWindowInternal(hwnd, show);
    }
    if (mdi && Find(hwnd)) MdiChildCreated(a.parent, hwnd);
    return Find(hwnd) ? hwnd : nullptr;
}

HWND CreateChildW(const char* className, DWORD style, const WString& text, int x, int y, int cx, int cy, HWND parent,
                  UINT_PTR id, bool unicode) {
    CreateArgs a;
    a.cls = FindClass(className);
    a.name = text;
    a.hasName = true;
    a.style = style;
    a.x = x;
    a.y = y;
    a.cx = cx;
    a.cy = cy;
    a.parent = parent;
    a.menu = reinterpret_cast<HMENU>(id);
    a.unicode = unicode;
    const std::string ansiName = Narrow(text);
    a.ansiName = ansiName.c_str();
    a.ansiClass = className;
    return CreateWindowInternal(std::move(a));
}

bool DestroyWindowInternal(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return false;
    if (w->destroying) return true;  // already on its way out
    const bool child = IsChildStyle(*w);
    if (child) NotifyParent(hwnd, WM_DESTROY);
    if (!(w = Find(hwnd))) return true;

    if (w->style & WS_VISIBLE) {
        if (child) {
            ShowWindowInternal(hwnd, SW_HIDE);
        } else {
            SetWindowPosInternal(hwnd, nullptr, 0, 0, 0, 0,
                                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
        }
    }
    if (!Find(hwnd)) return true;

    if (!child) {
        // Owned windows go first.
        for (bool again = true; again;) {
            again = false;
            const std::vector<HWND> tops = FindAny(DesktopHandle())->children;
            for (HWND top : tops) {
                Window* t = Find(top);
                if (t && t->owner == hwnd && !t->destroying) {
                    DestroyWindowInternal(top);
                    again = true;
                }
            }
        }
    }

    SendDestroy(hwnd);
    if (!FindAny(hwnd) || FindAny(hwnd)->destroyed) return true;
    FreeWindow(hwnd);
    return true;
}

}  // namespace host::sim::detail

namespace host {

using namespace sim::detail;

namespace {

bool ClassMatches(const Window& w, const char* className) {
    if (!className) return true;
    if (reinterpret_cast<std::uintptr_t>(className) <= 0xFFFF)
        return w.cls && w.cls->atom == static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(className));
    return w.cls && EqualsNoCase(w.cls->name, className);
}

bool TitleMatches(const Window& w, const char* title) {
    if (!title) return true;
    return EqualsNoCase(w.text, Widen(title));
}

BOOL EnumList(const std::vector<HWND>& list, WNDENUMPROC proc, LPARAM lParam) {
    for (HWND h : list) {
        Window* w = Find(h);
        if (!w) continue;
        const std::vector<HWND> kids = w->children;
        BOOL ret = FALSE;
        try {
            ret = proc(h, lParam);
        } catch (...) {
            NoteSwallowedException();
            ret = FALSE;
        }
        if (!kids.empty() && ret) ret = EnumList(kids, proc, lParam);
        if (!ret) return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindWindowA(const char* className, const char* windowName) {
    return FindWindowExA(nullptr, nullptr, className, windowName);
}

HWND FindWindowExA(HWND parent, HWND childAfter, const char* className, const char* windowName) {
    HWND root = parent ? parent : DesktopHandle();
    if (parent == HWND_MESSAGE) root = MessageRootHandle();
    Window* p = FindAny(root);
    if (!p || p->destroyed) return nullptr;
    const std::vector<HWND> list = p->children;
    std::size_t start = 0;
    if (childAfter) {
        auto it = std::find(list.begin(), list.end(), childAfter);
        if (it == list.end()) return nullptr;
        start = static_cast<std::size_t>(it - list.begin()) + 1;
    }
    for (std::size_t i = start; i < list.size(); ++i) {
        Window* w = Find(list[i]);
        if (w && ClassMatches(*w, className) && TitleMatches(*w, windowName)) return list[i];
    }
    return nullptr;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
    if (!proc) return FALSE;
    Window* p = parent ? Find(parent) : FindAny(DesktopHandle());
    if (!p || p->children.empty()) return FALSE;
    return EnumList(p->children, proc, lParam);
}

int GetClassNameA(HWND hwnd, char* buffer, int maxCount) {
    Window* w = Find(hwnd);
    if (!w || !w->cls) return 0;
    return CopyOut(buffer, maxCount, w->cls->name);
}

int GetWindowTextA(HWND hwnd, char* buffer, int maxCount) {
    if (!buffer || maxCount <= 0) return 0;
    buffer[0] = '\0';
    if (!Find(hwnd)) return 0;
    return static_cast<int>(SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

BOOL SetWindowTextA(HWND hwnd, const char* text) {
    if (!Find(hwnd)) return FALSE;
    return static_cast<BOOL>(SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

namespace {

bool ReadExtra(const Window& w, int index, void* out, std::size_t size) {
    if (index < 0 || static_cast<std::size_t>(index) + size > w.extra.size()) return false;
    std::memcpy(out, w.extra.data() + index, size);
    return true;
}

bool WriteExtra(Window& w, int index, const void* in, std::size_t size) {
    if (index < 0 || static_cast<std::size_t>(index) + size > w.extra.size()) return false;
    std::memcpy(w.extra.data() + index, in, size);
    return true;
}

LONG_PTR SetStyle(HWND hwnd, int index, DWORD value) {
    Window* w = Find(hwnd);
    const DWORD old = index == GWL_STYLE ? w->style : w->exStyle;
    STYLESTRUCT ss{old, value};
    SendW(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
    if (!(w = Find(hwnd))) return 0;
    DWORD next = ss.styleNew;
    if (index == GWL_STYLE) {
        if (IsTopLevel(*w)) next |= WS_CLIPSIBLINGS;  // cannot be cleared on top-level windows
        if (w->style & WS_MINIMIZE) next |= WS_MINIMIZE;
        w->style = next;
    } else {
        next = (next & ~WS_EX_TOPMOST) | (w->exStyle & WS_EX_TOPMOST);  // only SetWindowPos changes it
        w->exStyle = FixExStyle(w->style, next);
        next = w->exStyle;
    }
    STYLESTRUCT changed{old, next};
    SendW(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&changed));
    return static_cast<LONG_PTR>(old);
}

}  // namespace

LONG GetWindowLongA(HWND hwnd, int index) {
    switch (index) {
    case GWLP_WNDPROC:
    case GWLP_HINSTANCE:
    case GWLP_HWNDPARENT:
        return 0;  // pointer-sized: ERROR_INVALID_INDEX for the 32-bit getter on Win64
    case GWL_STYLE:
    case GWL_EXSTYLE:
    case GWLP_ID:
    case GWLP_USERDATA:
        return static_cast<LONG>(GetWindowLongPtrW(hwnd, index));
    default: {
        // Extra window bytes: the 32-bit getter reads four of them.
        Window* w = Find(hwnd);
        LONG v = 0;
        return w && ReadExtra(*w, index, &v, sizeof(v)) ? v : 0;
    }
    }
}

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    switch (index) {
    case GWL_STYLE:
        return static_cast<LONG_PTR>(w->style);
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(w->exStyle);
    case GWLP_ID:
        return w->id;
    case GWLP_USERDATA:
        return w->userData;
    case GWLP_WNDPROC:
        return reinterpret_cast<LONG_PTR>(ProcValue(w->proc, true));
    case GWLP_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>(GetParent(hwnd));
    default: {
        LONG_PTR v = 0;
        return ReadExtra(*w, index, &v, sizeof(v)) ? v : 0;
    }
    }
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    switch (index) {
    case GWL_STYLE:
    case GWL_EXSTYLE:
        return SetStyle(hwnd, index, static_cast<DWORD>(value));
    case GWLP_ID: {
        const LONG_PTR old = w->id;
        w->id = value;
        return old;
    }
    case GWLP_USERDATA: {
        const LONG_PTR old = w->userData;
        w->userData = value;
        return old;
    }
    case GWLP_WNDPROC: {
        const LONG_PTR old = reinterpret_cast<LONG_PTR>(ProcValue(w->proc, true));
        if (ProcId id = ProcFor(reinterpret_cast<WNDPROC>(value), true)) {
            w->proc = id;
            w->unicode = ProcIsUnicode(id, true);
        }
        return old;
    }
    case GWLP_HINSTANCE: {
        const LONG_PTR old = reinterpret_cast<LONG_PTR>(w->instance);
        w->instance = reinterpret_cast<HINSTANCE>(value);
        return old;
    }
    case GWLP_HWNDPARENT: {
        if (!IsTopLevel(*w)) return 0;
        const LONG_PTR old = reinterpret_cast<LONG_PTR>(w->owner);
        w->owner = reinterpret_cast<HWND>(value);
        return old;
    }
    default: {
        LONG_PTR old = 0;
        if (!ReadExtra(*w, index, &old, sizeof(old))) return 0;
        WriteExtra(*w, index, &value, sizeof(value));
        return old;
    }
    }
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!proc) return 0;
    if (ProcId id = ProcFromHandle(proc)) return CallProc(id, true, hwnd, msg, wParam, lParam);
    return CallGuarded(proc, hwnd, msg, wParam, lParam);
}

BOOL IsWindow(HWND hwnd) { return Find(hwnd) ? TRUE : FALSE; }

HWND GetParent(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return nullptr;
    if (w->style & WS_CHILD) return IsRoot(w->parent) ? nullptr : w->parent;
    if (w->style & WS_POPUP) return w->owner;
    return nullptr;
}

HWND SetParent(HWND child, HWND newParent) {
    Window* w = Find(child);
    if (!w) return nullptr;
    HWND target = newParent ? newParent : DesktopHandle();
    if (newParent == HWND_MESSAGE) target = MessageRootHandle();
    Window* p = FindAny(target);
    if (!p || p->destroyed || p->destroying) return nullptr;
    if (target == child || IsDescendant(child, target)) return nullptr;  // ERROR_INVALID_PARAMETER

    const BOOL wasVisible = ShowWindowInternal(child, SW_HIDE);
    if (!(w = Find(child))) return nullptr;
    const HWND old = w->parent;
    if (Window* oldParent = FindAny(old); oldParent && oldParent->control && old != target)
        oldParent->control->ChildGone(child);
    Unlink(*w);
    w->parent = target;
    if (!IsRoot(target)) w->owner = nullptr;
    LinkAt(*w, HWND_TOP);
    SetWindowPosInternal(child, HWND_TOP, w->rect.left, w->rect.top, 0, 0, SWP_NOSIZE);
    if (wasVisible && Find(child)) ShowWindowInternal(child, SW_SHOW);
    return old;
}

HWND CreateWindowExA(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param) {
    CreateArgs a;
    a.exStyle = exStyle;
    a.cls = FindClass(className);
    if (!a.cls) return nullptr;  // ERROR_CANNOT_FIND_WND_CLASS
    a.hasName = windowName != nullptr;
    a.name = Widen(AnsiZ(windowName));
    a.style = style;
    a.x = x;
    a.y = y;
    a.cx = width;
    a.cy = height;
    a.parent = parent;
    a.menu = menu;
    a.instance = instance;
    a.param = param;
    a.unicode = false;
    a.ansiName = windowName;
    a.ansiClass = className;
    return CreateWindowInternal(std::move(a));
}

BOOL DestroyWindow(HWND hwnd) { return DestroyWindowInternal(hwnd) ? TRUE : FALSE; }

}  // namespace host

namespace host::sim {

std::string WindowText(HWND hwnd) {
    using namespace detail;
    Window* w = Find(hwnd);
    if (!w) return {};
    if (w->control) {
        if (auto caption = w->control->Caption()) return Narrow(*caption);
    }
    return Narrow(w->text);
}

int LiveWindowCount() {
    using namespace detail;
    int n = 0;
    for (const auto& [h, w] : S().windows) {
        if (!w->destroyed && !w->root) ++n;
    }
    return n;
}

}  // namespace host::sim
