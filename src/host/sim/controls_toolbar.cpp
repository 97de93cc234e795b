// The toolbar ("ToolbarWindow32").
//
// Layout: visible buttons in one row from x = 0, each 23 x 22 pixels (a
// separator is as wide as its iBitmap, 8 when that is 0); TBIF_SIZE sets a
// button's width. Hidden buttons take no room. The toolbar never resizes
// itself (the host's toolbars are CCS_NORESIZE). A click (WM_LBUTTONUP) on
// an enabled button sends WM_COMMAND(id, BN_CLICKED) to the window that
// was the parent when the toolbar was created.
#include <algorithm>

#include "host/sim/sim_internal.h"

namespace host::sim::detail {

namespace {

constexpr int kButtonWidth = 23;
constexpr int kButtonHeight = 22;
constexpr int kSeparatorWidth = 8;

struct Button {
    int bitmap = 0;
    int command = 0;
    BYTE state = 0;
    BYTE style = 0;
    DWORD_PTR data = 0;
    INT_PTR stringId = -1;          // iString when it is not a text
    std::unique_ptr<WString> text;  // iString points here when set
    int cx = 0;                     // set through TBIF_SIZE
};

struct ToolbarState : ControlState {
    std::vector<Button> buttons;
    HWND notify = nullptr;
    UINT structSize = sizeof(TBBUTTON);
};

bool IsTextPointer(INT_PTR s) { return s != -1 && (static_cast<std::uintptr_t>(s) >> 16) != 0; }

int ButtonWidth(const Button& b) {
    if (b.cx) return b.cx;
    if (b.style & BTNS_SEP) return b.bitmap > 0 ? b.bitmap : kSeparatorWidth;
    return kButtonWidth;
}

RECT ButtonRect(const ToolbarState& s, std::size_t index) {
    int x = 0;
    for (std::size_t i = 0; i < s.buttons.size(); ++i) {
        const Button& b = s.buttons[i];
        if (b.state & TBSTATE_HIDDEN) {
            if (i == index) return {0, 0, 0, 0};
            continue;
        }
        const int w = ButtonWidth(b);
        if (i == index) return {x, 0, x + w, kButtonHeight};
        x += w;
    }
    return {0, 0, 0, 0};
}

int IndexOf(const ToolbarState& s, int command) {
    for (std::size_t i = 0; i < s.buttons.size(); ++i) {
        if (s.buttons[i].command == command) return static_cast<int>(i);
    }
    return -1;
}

int HitTest(const ToolbarState& s, POINT pt) {
    for (std::size_t i = 0; i < s.buttons.size(); ++i) {
        if (s.buttons[i].state & TBSTATE_HIDDEN) continue;
        const RECT r = ButtonRect(s, i);
        if (pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom)
            return (s.buttons[i].style & BTNS_SEP) ? -static_cast<int>(i) : static_cast<int>(i);
    }
    return -1;
}

Button FromTbButton(const TBBUTTON& tb, bool unicode) {
    Button b;
    b.bitmap = tb.iBitmap;
    b.command = tb.idCommand;
    b.state = tb.fsState;
    b.style = tb.fsStyle;
    b.data = tb.dwData;
    if (IsTextPointer(tb.iString)) {
        b.text = std::make_unique<WString>(unicode ? WideZ(reinterpret_cast<const WCHAR*>(tb.iString))
                                                   : Widen(reinterpret_cast<const char*>(tb.iString)));
    } else {
        b.stringId = tb.iString;
    }
    return b;
}

LRESULT GetButtonInfo(ToolbarState& s, WPARAM wParam, LPARAM lParam, bool unicode) {
    // TBBUTTONINFOA and TBBUTTONINFOW share their layout; only the text differs.
    auto* info = reinterpret_cast<TBBUTTONINFOA*>(lParam);
    if (!info || info->cbSize != sizeof(TBBUTTONINFOA)) return -1;
    const int index = (info->dwMask & TBIF_BYINDEX) ? static_cast<int>(wParam) : IndexOf(s, static_cast<int>(wParam));
    if (index < 0 || index >= static_cast<int>(s.buttons.size())) return -1;
    const Button& b = s.buttons[static_cast<std::size_t>(index)];
    if (info->dwMask & TBIF_COMMAND) info->idCommand = b.command;
    if (info->dwMask & TBIF_IMAGE) info->iImage = b.bitmap;
    if (info->dwMask & TBIF_LPARAM) info->lParam = b.data;
    if (info->dwMask & TBIF_SIZE) {
        // A separator reports the width it was given, a button its laid-out width.
        const RECT r = ButtonRect(s, static_cast<std::size_t>(index));
        info->cx = static_cast<WORD>((b.style & BTNS_SEP) ? b.cx : r.right - r.left);
    }
    if (info->dwMask & TBIF_STATE) info->fsState = b.state;
    if (info->dwMask & TBIF_STYLE) info->fsStyle = b.style;
    if ((info->dwMask & TBIF_TEXT) && info->pszText) {
        const WString text = b.text ? *b.text : WString();
        if (unicode) {
            CopyOut(reinterpret_cast<WCHAR*>(info->pszText), info->cchText, text);
        } else {
            CopyOut(info->pszText, info->cchText, Narrow(text));
        }
    }
    return index;
}

LRESULT SetButtonInfo(ToolbarState& s, WPARAM wParam, LPARAM lParam, bool unicode) {
    const auto* info = reinterpret_cast<const TBBUTTONINFOA*>(lParam);
    if (!info || info->cbSize != sizeof(TBBUTTONINFOA)) return FALSE;
    const int index = (info->dwMask & TBIF_BYINDEX) ? static_cast<int>(wParam) : IndexOf(s, static_cast<int>(wParam));
    if (index < 0 || index >= static_cast<int>(s.buttons.size())) return FALSE;
    Button& b = s.buttons[static_cast<std::size_t>(index)];
    if (info->dwMask & TBIF_COMMAND) b.command = info->idCommand;
    if (info->dwMask & TBIF_IMAGE) b.bitmap = info->iImage;
    if (info->dwMask & TBIF_LPARAM) b.data = info->lParam;
    if (info->dwMask & TBIF_SIZE) b.cx = info->cx;
    if (info->dwMask & TBIF_STATE) b.state = info->fsState;
    if (info->dwMask & TBIF_STYLE) b.style = info->fsStyle;
    if ((info->dwMask & TBIF_TEXT) && reinterpret_cast<INT_PTR>(info->pszText) != -1) {
        if (info->pszText) {
            b.text = std::make_unique<WString>(unicode ? WideZ(reinterpret_cast<const WCHAR*>(info->pszText))
                                                       : Widen(info->pszText));
        } else {
            b.text.reset();
            b.stringId = -1;
        }
    }
    return TRUE;
}

}  // namespace

LRESULT CALLBACK ToolbarProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ToolbarState* s = EnsureControl<ToolbarState>(hwnd);
    if (!s) return 0;
    auto byCommand = [&](WPARAM command) -> Button* {
        const int i = IndexOf(*s, static_cast<int>(command));
        return i < 0 ? nullptr : &s->buttons[static_cast<std::size_t>(i)];
    };
    switch (msg) {
    case WM_CREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        s->notify = cs ? cs->hwndParent : nullptr;
        return 0;
    }
    case TB_BUTTONSTRUCTSIZE:
        s->structSize = static_cast<UINT>(wParam);
        return 0;
    case TB_ADDBUTTONSA:
    case TB_ADDBUTTONSW: {
        const auto* tb = reinterpret_cast<const TBBUTTON*>(lParam);
        if (!tb) return FALSE;
        for (WPARAM i = 0; i < wParam; ++i) s->buttons.push_back(FromTbButton(tb[i], msg == TB_ADDBUTTONSW));
        return TRUE;
    }
    case TB_INSERTBUTTONA:
    case TB_INSERTBUTTONW: {
        const auto* tb = reinterpret_cast<const TBBUTTON*>(lParam);
        int index = static_cast<int>(wParam);
        if (!tb) return FALSE;
        if (index == -1) {
            index = static_cast<int>(s->buttons.size());
        } else if (index < 0) {
            return FALSE;
        }
        index = std::min(index, static_cast<int>(s->buttons.size()));
        s->buttons.insert(s->buttons.begin() + index, FromTbButton(*tb, msg == TB_INSERTBUTTONW));
        return TRUE;
    }
    case TB_DELETEBUTTON: {
        const int index = static_cast<int>(wParam);
        if (index < 0 || index >= static_cast<int>(s->buttons.size())) return FALSE;
        s->buttons.erase(s->buttons.begin() + index);
        return TRUE;
    }
    case TB_BUTTONCOUNT:
        return static_cast<LRESULT>(s->buttons.size());
    case TB_GETBUTTON: {
        const int index = static_cast<int>(wParam);
        auto* out = reinterpret_cast<TBBUTTON*>(lParam);
        if (!out || index < 0 || index >= static_cast<int>(s->buttons.size())) return FALSE;
        const Button& b = s->buttons[static_cast<std::size_t>(index)];
        out->iBitmap = b.bitmap;
        out->idCommand = b.command;
        out->fsState = b.state;
        out->fsStyle = b.style;
        out->dwData = b.data;
        out->iString = b.text ? reinterpret_cast<INT_PTR>(b.text->c_str()) : b.stringId;
        return TRUE;
    }
    case TB_COMMANDTOINDEX:
        return IndexOf(*s, static_cast<int>(wParam));
    case TB_HIDEBUTTON: {
        Button* b = byCommand(wParam);
        if (!b) return FALSE;
        if (LOWORD(static_cast<std::uintptr_t>(lParam))) {
            b->state |= TBSTATE_HIDDEN;
        } else {
            b->state &= static_cast<BYTE>(~TBSTATE_HIDDEN);
        }
        return TRUE;
    }
    case TB_ISBUTTONHIDDEN: {
        Button* b = byCommand(wParam);
        return b ? (b->state & TBSTATE_HIDDEN) : -1;
    }
    case TB_ENABLEBUTTON: {
        Button* b = byCommand(wParam);
        if (!b) return FALSE;
        if (LOWORD(static_cast<std::uintptr_t>(lParam))) {
            b->state |= TBSTATE_ENABLED;
        } else {
            b->state &= static_cast<BYTE>(~(TBSTATE_ENABLED | TBSTATE_PRESSED));
        }
        return TRUE;
    }
    case TB_ISBUTTONENABLED: {
        Button* b = byCommand(wParam);
        return b ? (b->state & TBSTATE_ENABLED) : -1;
    }
    case TB_CHECKBUTTON: {
        Button* b = byCommand(wParam);
        if (!b) return FALSE;
        if (LOWORD(static_cast<std::uintptr_t>(lParam))) {
            b->state |= TBSTATE_CHECKED;
        } else {
            b->state &= static_cast<BYTE>(~TBSTATE_CHECKED);
        }
        return TRUE;
    }
    case TB_ISBUTTONCHECKED: {
        Button* b = byCommand(wParam);
        return b ? (b->state & TBSTATE_CHECKED) : -1;
    }
    case TB_SETSTATE: {
        Button* b = byCommand(wParam);
        if (!b) return FALSE;
        b->state = static_cast<BYTE>(LOWORD(static_cast<std::uintptr_t>(lParam)));
        return TRUE;
    }
    case TB_GETSTATE: {
        Button* b = byCommand(wParam);
        return b ? b->state : -1;
    }
    case TB_GETBUTTONINFOA:
    case TB_GETBUTTONINFOW:
        return GetButtonInfo(*s, wParam, lParam, msg == TB_GETBUTTONINFOW);
    case TB_SETBUTTONINFOA:
    case TB_SETBUTTONINFOW:
        return SetButtonInfo(*s, wParam, lParam, msg == TB_SETBUTTONINFOW);
    case TB_GETITEMRECT: {
        const int index = static_cast<int>(wParam);
        auto* r = reinterpret_cast<RECT*>(lParam);
        if (!r || index < 0 || index >= static_cast<int>(s->buttons.size())) return FALSE;
        if (s->buttons[static_cast<std::size_t>(index)].state & TBSTATE_HIDDEN) return FALSE;
        *r = ButtonRect(*s, static_cast<std::size_t>(index));
        return TRUE;
    }
    case TB_GETRECT: {
        const int index = IndexOf(*s, static_cast<int>(wParam));
        auto* r = reinterpret_cast<RECT*>(lParam);
        if (!r || index < 0) return FALSE;
        *r = ButtonRect(*s, static_cast<std::size_t>(index));
        return TRUE;
    }
    case TB_HITTEST: {
        const auto* pt = reinterpret_cast<const POINT*>(lParam);
        return pt ? HitTest(*s, *pt) : -1;
    }
    case TB_AUTOSIZE:
        return 0;
    case WM_LBUTTONUP: {
        const POINT pt{static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(lParam))),
                       static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(lParam)))};
        const int hit = HitTest(*s, pt);
        if (hit < 0 || (hit == 0 && (s->buttons.empty() || (s->buttons[0].style & BTNS_SEP)))) return 0;
        const Button& b = s->buttons[static_cast<std::size_t>(hit)];
        if (!(b.state & TBSTATE_ENABLED) || !Find(s->notify)) return 0;
        SendW(s->notify, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(b.command), BN_CLICKED), reinterpret_cast<LPARAM>(hwnd));
        return 0;
    }
    default:
        return DefWindowProcImpl(hwnd, msg, wParam, lParam, true);
    }
}

}  // namespace host::sim::detail
