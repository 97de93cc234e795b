// The combo box ("ComboBox"). CBS_SIMPLE and CBS_DROPDOWN combo boxes have an
// "Edit" child (id 1001) that holds their text, as on Windows; a
// CBS_DROPDOWNLIST box shows its selected item. The drop-down list window
// itself is not modelled. The edit's EN_CHANGE/EN_UPDATE become
// CBN_EDITCHANGE/CBN_EDITUPDATE for the combo box's parent.
#include <algorithm>

#include "host/sim/sim_internal.h"

namespace host::sim::detail {

namespace {

constexpr UINT_PTR kEditId = 1001;
constexpr DWORD kCbsSort = 0x0100;

struct ComboState : ControlState {
    HWND edit = nullptr;
    std::vector<WString> items;
    int selected = -1;
    std::optional<WString> Caption() const override {
        if (edit) {
            Window* w = Find(edit);
            if (w && w->control) return w->control->Caption();
            return w ? std::optional<WString>(w->text) : std::nullopt;
        }
        if (selected >= 0 && selected < static_cast<int>(items.size())) return items[static_cast<std::size_t>(selected)];
        return WString();
    }
};

bool HasEdit(DWORD style) { return (style & 3u) == CBS_SIMPLE || (style & 3u) == CBS_DROPDOWN; }

int Count(const ComboState& s) { return static_cast<int>(s.items.size()); }

void ShowSelectionInEdit(ComboState& s) {
    if (!s.edit) return;
    const WString text = (s.selected >= 0 && s.selected < Count(s)) ? s.items[static_cast<std::size_t>(s.selected)] : WString();
    const HWND edit = s.edit;
    SendW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendW(edit, EM_SETSEL, 0, static_cast<LPARAM>(-1));
}

int FindExact(const ComboState& s, int start, const WString& text) {
    const int n = Count(s);
    for (int k = 1; k <= n; ++k) {
        const int i = (start + k + n) % n;  // after `start`, wrapping; -1 starts at the top
        if (EqualsNoCase(s.items[static_cast<std::size_t>(i)], text)) return i;
    }
    return static_cast<int>(CB_ERR);
}

LRESULT ComboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool unicode) {
    ComboState* s = EnsureControl<ComboState>(hwnd);
    if (!s) return 0;
    switch (msg) {
    case WM_CREATE: {
        Window* w = Find(hwnd);
        if (!w || !HasEdit(w->style)) return 0;
        const RECT client = ClientRectOf(*w);
        const int buttonWidth = (w->style & 3u) == CBS_DROPDOWN ? GetSystemMetrics(SM_CXVSCROLL) : 0;
        const HWND edit = CreateChildW("Edit", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, w->text, 0, 0,
                                       std::max(0, static_cast<int>(client.right) - buttonWidth), client.bottom, hwnd,
                                       kEditId, unicode);
        if ((s = ControlOf<ComboState>(hwnd))) s->edit = edit;
        return edit ? 0 : -1;
    }
    case WM_SIZE:
        if (Find(s->edit)) {
            Window* w = Find(hwnd);
            const int buttonWidth = (w->style & 3u) == CBS_DROPDOWN ? GetSystemMetrics(SM_CXVSCROLL) : 0;
            const RECT client = ClientRectOf(*w);
            SetWindowPosInternal(s->edit, nullptr, 0, 0, std::max(0, static_cast<int>(client.right) - buttonWidth),
                                 client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return 0;
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        if (Find(s->edit)) return Deliver(s->edit, msg, wParam, lParam, unicode, false);
        if (msg == WM_SETTEXT) return CB_ERR;
        if (s->selected < 0 || s->selected >= Count(*s)) {
            if (msg == WM_GETTEXT && wParam && lParam) AnswerGetText(WString(), wParam, lParam, unicode);
            return 0;
        }
        if (msg == WM_GETTEXT) return AnswerGetText(s->items[static_cast<std::size_t>(s->selected)], wParam, lParam, unicode);
        return AnswerGetTextLength(s->items[static_cast<std::size_t>(s->selected)], unicode);
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
        if (Find(s->edit)) return Deliver(s->edit, msg, wParam, lParam, unicode, false);
        return 0;
    case WM_SETFOCUS:
        if (Find(s->edit)) SetFocusInternal(s->edit);
        return 0;
    case WM_COMMAND: {
        if (reinterpret_cast<HWND>(lParam) != s->edit || !s->edit) break;
        const WORD code = HIWORD(wParam);
        if (code == EN_CHANGE) NotifyCommand(hwnd, static_cast<WORD>(CBN_EDITCHANGE));
        if (code == EN_UPDATE) NotifyCommand(hwnd, static_cast<WORD>(CBN_EDITUPDATE));
        return 0;
    }
    case CB_ADDSTRING: {
        WString text = TextArg(lParam, unicode);
        Window* w = Find(hwnd);
        int index = Count(*s);
        if (w && (w->style & kCbsSort)) {
            const auto upper = [](WString t) {
                for (char16_t& c : t) c = (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
                return t;
            };
            const WString key = upper(text);
            index = 0;
            while (index < Count(*s) && upper(s->items[static_cast<std::size_t>(index)]) <= key) ++index;
        }
        s->items.insert(s->items.begin() + index, std::move(text));
        if (s->selected >= index) ++s->selected;
        return index;
    }
    case CB_INSERTSTRING: {
        int index = static_cast<int>(wParam);
        if (index == -1) index = Count(*s);
        if (index < 0 || index > Count(*s)) return CB_ERR;
        s->items.insert(s->items.begin() + index, TextArg(lParam, unicode));
        if (s->selected >= index) ++s->selected;
        return index;
    }
    case CB_DELETESTRING: {
        const int index = static_cast<int>(wParam);
        if (index < 0 || index >= Count(*s)) return CB_ERR;
        s->items.erase(s->items.begin() + index);
        if (s->selected == index) {
            s->selected = -1;
        } else if (s->selected > index) {
            --s->selected;
        }
        return Count(*s);
    }
    case CB_RESETCONTENT:
        s->items.clear();
        s->selected = -1;
        return 0;
    case CB_GETCOUNT:
        return Count(*s);
    case CB_GETCURSEL:
        return s->selected < 0 ? CB_ERR : s->selected;
    case CB_SETCURSEL: {
        const int index = static_cast<int>(wParam);
        // Out of range or -1: the selection and the edit's text are cleared.
        s->selected = (index >= 0 && index < Count(*s)) ? index : -1;
        ShowSelectionInEdit(*s);
        return (index >= 0 && index < Count(*s)) ? index : CB_ERR;
    }
    case CB_GETLBTEXT:
    case CB_GETLBTEXTLEN: {
        const int index = static_cast<int>(wParam);
        if (index < 0 || index >= Count(*s)) return CB_ERR;
        const WString& text = s->items[static_cast<std::size_t>(index)];
        if (msg == CB_GETLBTEXTLEN) return AnswerGetTextLength(text, unicode);
        if (!lParam) return CB_ERR;
        const std::size_t length = unicode ? text.size() : Narrow(text).size();
        if (unicode) {
            CopyOut(reinterpret_cast<WCHAR*>(lParam), static_cast<int>(length) + 1, text);
        } else {
            CopyOut(reinterpret_cast<char*>(lParam), static_cast<int>(length) + 1, Narrow(text));
        }
        return static_cast<LRESULT>(length);
    }
    case CB_FINDSTRINGEXACT:
        if (!lParam || s->items.empty()) return CB_ERR;
        return FindExact(*s, static_cast<int>(wParam), TextArg(lParam, unicode));
    case CB_GETEDITSEL:
        if (!Find(s->edit)) return CB_ERR;
        return Deliver(s->edit, EM_GETSEL, wParam, lParam, unicode, false);
    case CB_SETEDITSEL: {
        if (!Find(s->edit)) return CB_ERR;
        const auto low = static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(lParam)));
        const auto high = static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(lParam)));
        return Deliver(s->edit, EM_SETSEL, static_cast<WPARAM>(static_cast<INT_PTR>(low)), static_cast<LPARAM>(high),
                       unicode, false);
    }
    default:
        break;
    }
    return DefWindowProcImpl(hwnd, msg, wParam, lParam, unicode);
}

}  // namespace

LRESULT CALLBACK ComboProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ComboProc(hwnd, msg, wParam, lParam, false);
}

LRESULT CALLBACK ComboProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ComboProc(hwnd, msg, wParam, lParam, true);
}

}  // namespace host::sim::detail
