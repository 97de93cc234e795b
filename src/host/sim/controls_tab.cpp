// The tab control ("SysTabControl32") and the tooltip window it owns.
//
// Layout: the tabs form one row at the top of the client area, tab i at
// x = i * width, 0 .. height; 96 x 20 pixels unless TCM_SETITEMSIZE says
// otherwise. Clicking a tab (WM_LBUTTONDOWN) selects it with the
// TCN_SELCHANGING / TCN_SELCHANGE notifications.
#include <algorithm>

#include "host/sim/sim_internal.h"

namespace host::sim::detail {

namespace {

constexpr int kDefaultTabWidth = 96;
constexpr int kDefaultTabHeight = 20;

struct TabItem {
    std::optional<WString> text;
    int image = -1;
    LPARAM param = 0;
    DWORD state = 0;
};

struct TabState : ControlState {
    std::vector<TabItem> items;
    int selected = -1;
    int focus = -1;
    HWND tooltip = nullptr;
    HWND notify = nullptr;
    int width = kDefaultTabWidth;
    int height = kDefaultTabHeight;
    LRESULT imageList = 0;
};

struct TooltipState : ControlState {
    bool active = true;
};

int Count(const TabState& s) { return static_cast<int>(s.items.size()); }

RECT ItemRect(const TabState& s, int index) {
    return {index * s.width, 0, (index + 1) * s.width, s.height};
}

int HitTest(const TabState& s, POINT pt) {
    for (int i = 0; i < Count(s); ++i) {
        const RECT r = ItemRect(s, i);
        if (pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom) return i;
    }
    return -1;
}

LRESULT Notify(HWND hwnd, const TabState& s, UINT code) {
    Window* w = Find(hwnd);
    if (!w || !Find(s.notify)) return 0;
    NMHDR hdr{hwnd, static_cast<UINT_PTR>(w->id), code};
    return SendW(s.notify, WM_NOTIFY, static_cast<WPARAM>(w->id), reinterpret_cast<LPARAM>(&hdr));
}

// Str_GetPtr: copies at most max - 1 units; nothing when the buffer is missing.
void CopyItemText(const std::optional<WString>& text, void* buffer, int max, bool unicode) {
    if (!buffer || max <= 0) return;
    const WString value = text ? *text : WString();
    if (unicode) {
        CopyOut(static_cast<WCHAR*>(buffer), max, value);
    } else {
        CopyOut(static_cast<char*>(buffer), max, Narrow(value));
    }
}

std::optional<WString> ItemTextArg(const void* text, bool unicode) {
    if (!text) return std::nullopt;
    return unicode ? WideZ(static_cast<const WCHAR*>(text)) : Widen(static_cast<const char*>(text));
}

// TCITEMA and TCITEMW share their layout; only the text differs.
struct ItemArg {
    UINT mask;
    DWORD state, stateMask;
    void* text;
    int textMax;
    int image;
    LPARAM param;
};

ItemArg ReadItemArg(LPARAM lParam, bool unicode) {
    if (unicode) {
        const auto* t = reinterpret_cast<const TCITEMW*>(lParam);
        return {t->mask, t->dwState, t->dwStateMask, t->pszText, t->cchTextMax, t->iImage, t->lParam};
    }
    const auto* t = reinterpret_cast<const TCITEMA*>(lParam);
    return {t->mask, t->dwState, t->dwStateMask, t->pszText, t->cchTextMax, t->iImage, t->lParam};
}

void SelectByClick(HWND hwnd, TabState& s, int index) {
    if (index < 0 || index == s.selected) return;
    if (Notify(hwnd, s, TCN_SELCHANGING)) return;  // the parent refused
    TabState* again = ControlOf<TabState>(hwnd);
    if (!again || index >= Count(*again)) return;
    again->selected = index;
    again->focus = index;
    Notify(hwnd, *again, TCN_SELCHANGE);
}

}  // namespace

LRESULT CALLBACK TabProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TabState* s = EnsureControl<TabState>(hwnd);
    if (!s) return 0;
    switch (msg) {
    case WM_CREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        Window* w = Find(hwnd);
        s->notify = cs ? cs->hwndParent : nullptr;
        w->style |= WS_CLIPSIBLINGS;  // a tab control always clips its siblings
        if (w->style & TCS_TOOLTIPS) {
            CreateArgs a;
            a.cls = BuiltinClass(Builtin::Tooltip);
            a.style = WS_POPUP;
            a.x = a.y = a.cx = a.cy = CW_USEDEFAULT;
            a.parent = hwnd;
            a.unicode = true;
            const HWND tip = CreateWindowInternal(a);
            if ((s = ControlOf<TabState>(hwnd))) s->tooltip = tip;
            if (tip && s && Find(s->notify)) {
                NMTOOLTIPSCREATED created{{hwnd, static_cast<UINT_PTR>(w->id), NM_TOOLTIPSCREATED}, tip};
                SendW(s->notify, WM_NOTIFY, static_cast<WPARAM>(w->id), reinterpret_cast<LPARAM>(&created));
            }
        }
        return 0;
    }
    case WM_DESTROY:
        if (s->tooltip) {
            const HWND tip = s->tooltip;
            s->tooltip = nullptr;
            DestroyWindowInternal(tip);
        }
        return 0;
    case TCM_GETITEMCOUNT:
        return Count(*s);
    case TCM_INSERTITEMA:
    case TCM_INSERTITEMW: {
        if (!lParam) return -1;
        const bool unicode = msg == TCM_INSERTITEMW;
        const ItemArg arg = ReadItemArg(lParam, unicode);
        int index = static_cast<int>(wParam);
        if (index < 0) return -1;
        index = std::min(index, Count(*s));
        TabItem item;
        if (arg.mask & TCIF_TEXT) item.text = ItemTextArg(arg.text, unicode);
        item.image = (arg.mask & TCIF_IMAGE) ? arg.image : -1;
        item.param = (arg.mask & TCIF_PARAM) ? arg.param : 0;
        s->items.insert(s->items.begin() + index, item);
        if (Count(*s) == 1) {
            s->selected = 0;
        } else if (index <= s->selected) {
            ++s->selected;
        }
        if (s->focus == -1) s->focus = index;
        return index;
    }
    case TCM_DELETEITEM: {
        const int index = static_cast<int>(wParam);
        if (index < 0 || index >= Count(*s)) return FALSE;
        s->items.erase(s->items.begin() + index);
        if (s->items.empty() || index == s->selected) {
            s->selected = -1;
        } else if (index < s->selected) {
            --s->selected;
        }
        return TRUE;
    }
    case TCM_DELETEALLITEMS:
        s->items.clear();
        s->selected = -1;
        return TRUE;
    case TCM_GETCURSEL:
        return s->selected;
    case TCM_SETCURSEL: {
        const int index = static_cast<int>(wParam);
        const int previous = s->selected;
        if (index >= Count(*s)) return -1;
        if (index != previous) {
            s->selected = index < 0 ? -1 : index;
            s->focus = s->selected;
        }
        return previous;
    }
    case TCM_GETCURFOCUS:
        return s->focus;
    case TCM_SETCURFOCUS: {
        const int index = static_cast<int>(wParam);
        if (index < Count(*s)) s->focus = index < 0 ? -1 : index;
        return 0;
    }
    case TCM_GETITEMA:
    case TCM_GETITEMW: {
        if (!lParam) return FALSE;
        const bool unicode = msg == TCM_GETITEMW;
        const int index = static_cast<int>(wParam);
        // TCITEMA and TCITEMW differ only in the text pointer's type.
        auto* out = reinterpret_cast<TCITEMA*>(lParam);
        if (index < 0 || index >= Count(*s)) {
            if (out->mask & TCIF_IMAGE) out->iImage = 0;
            if (out->mask & TCIF_PARAM) out->lParam = 0;
            if (out->mask & TCIF_STATE) out->dwState = 0;
            return FALSE;
        }
        const TabItem& item = s->items[static_cast<std::size_t>(index)];
        if (out->mask & TCIF_IMAGE) out->iImage = item.image;
        if (out->mask & TCIF_PARAM) out->lParam = item.param;
        if (out->mask & TCIF_STATE) out->dwState = item.state & out->dwStateMask;
        if (out->mask & TCIF_TEXT) CopyItemText(item.text, out->pszText, out->cchTextMax, unicode);
        return TRUE;
    }
    case TCM_SETITEMA:
    case TCM_SETITEMW: {
        if (!lParam) return FALSE;
        const bool unicode = msg == TCM_SETITEMW;
        const int index = static_cast<int>(wParam);
        if (index < 0 || index >= Count(*s)) return FALSE;
        const ItemArg arg = ReadItemArg(lParam, unicode);
        TabItem& item = s->items[static_cast<std::size_t>(index)];
        if (arg.mask & TCIF_IMAGE) item.image = arg.image;
        if (arg.mask & TCIF_PARAM) item.param = arg.param;
        if (arg.mask & TCIF_STATE) item.state = (item.state & ~arg.stateMask) | (arg.state & arg.stateMask);
        if (arg.mask & TCIF_TEXT) item.text = ItemTextArg(arg.text, unicode);
        return TRUE;
    }
    case TCM_GETITEMRECT: {
        const int index = static_cast<int>(wParam);
        if (index < 0 || index >= Count(*s) || !lParam) return FALSE;
        *reinterpret_cast<RECT*>(lParam) = ItemRect(*s, index);
        return TRUE;
    }
    case TCM_HITTEST: {
        auto* info = reinterpret_cast<TCHITTESTINFO*>(lParam);
        if (!info) return -1;
        const int index = HitTest(*s, info->pt);
        info->flags = index < 0 ? TCHT_NOWHERE : TCHT_ONITEM;
        return index;
    }
    case TCM_GETTOOLTIPS:
        return reinterpret_cast<LRESULT>(s->tooltip);
    case TCM_SETITEMSIZE: {
        const LRESULT previous = MAKELONG(static_cast<WORD>(s->width), static_cast<WORD>(s->height));
        const int cx = LOWORD(static_cast<std::uintptr_t>(lParam)), cy = HIWORD(static_cast<std::uintptr_t>(lParam));
        s->width = cx > 0 ? cx : kDefaultTabWidth;
        if (cy > 0) s->height = cy;
        return previous;
    }
    case TCM_ADJUSTRECT: {
        auto* r = reinterpret_cast<RECT*>(lParam);
        if (!r) return 0;
        // The display area lies below the row of tabs.
        r->top += wParam ? -s->height : s->height;
        return 0;
    }
    case TCM_GETIMAGELIST:
        return s->imageList;
    case TCM_SETIMAGELIST: {
        const LRESULT previous = s->imageList;
        s->imageList = lParam;
        return previous;
    }
    case WM_LBUTTONDOWN: {
        const POINT pt{static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(lParam))),
                       static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(lParam)))};
        SelectByClick(hwnd, *s, HitTest(*s, pt));
        return 0;
    }
    case WM_RBUTTONUP:
        Notify(hwnd, *s, NM_RCLICK);
        return 0;
    default:
        return DefWindowProcImpl(hwnd, msg, wParam, lParam, true);
    }
}

LRESULT CALLBACK TooltipProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TooltipState* s = EnsureControl<TooltipState>(hwnd);
    if (!s) return 0;
    if (msg == TTM_ACTIVATE) {
        s->active = wParam != 0;
        return 0;
    }
    return DefWindowProcImpl(hwnd, msg, wParam, lParam, true);
}

}  // namespace host::sim::detail

