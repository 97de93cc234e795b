// The edit control ("Edit"): its text, the selection with Win32's rules for
// -1 and out-of-range positions, one level of undo (undoing twice redoes),
// and the clipboard commands. A single-line edit pastes up to the first line
// break. User edits send EN_CHANGE; WM_SETTEXT sends EN_UPDATE and EN_CHANGE
// unless the edit belongs to a combo box.
#include <algorithm>

#include "host/sim/sim_internal.h"

namespace host::sim::detail {

namespace {

constexpr std::size_t kDefaultLimit = 30000;

struct EditState : ControlState {
    WString text;
    UINT selStart = 0, selEnd = 0;  // selStart may be past selEnd (a backwards selection)
    WString undoText;               // what the last undoable change removed
    UINT undoPos = 0;
    UINT undoInserted = 0;          // how much it inserted at undoPos
    bool modified = false;
    std::size_t limit = kDefaultLimit;
    std::optional<WString> Caption() const override { return text; }
};

UINT Low(const EditState& s) { return std::min(s.selStart, s.selEnd); }
UINT High(const EditState& s) { return std::max(s.selStart, s.selEnd); }

bool InCombo(HWND hwnd) {
    Window* w = Find(hwnd);
    Window* parent = w ? Find(w->parent) : nullptr;
    return parent && parent->cls && parent->cls->kind == Builtin::ComboBox;
}

void SetSel(EditState& s, UINT start, UINT end) {
    const auto len = static_cast<UINT>(s.text.size());
    if (start == static_cast<UINT>(-1)) {
        start = end = s.selEnd;  // -1 removes the selection, the caret stays
    } else {
        start = std::min(start, len);
        end = std::min(end, len);
    }
    s.selStart = start;
    s.selEnd = end;
}

void EmptyUndo(EditState& s) {
    s.undoText.clear();
    s.undoInserted = 0;
}

// Replaces the selection; the caret ends after the inserted text.
void ReplaceSel(HWND hwnd, EditState& s, const WString& insert, bool canUndo, bool notify) {
    const UINT lo = Low(s), hi = High(s);
    WString piece = insert;
    const std::size_t room = s.limit > s.text.size() - (hi - lo) ? s.limit - (s.text.size() - (hi - lo)) : 0;
    if (piece.size() > room) piece.resize(room);
    const WString removed = s.text.substr(lo, hi - lo);
    s.text.replace(lo, hi - lo, piece);
    if (canUndo) {
        s.undoText = removed;
        s.undoPos = lo;
        s.undoInserted = static_cast<UINT>(piece.size());
    } else {
        EmptyUndo(s);
    }
    s.selStart = s.selEnd = lo + static_cast<UINT>(piece.size());
    s.modified = true;
    if (Window* w = Find(hwnd)) w->text = s.text;
    if (notify) NotifyCommand(hwnd, static_cast<WORD>(EN_CHANGE));
}

bool ReadOnly(HWND hwnd) {
    Window* w = Find(hwnd);
    return w && (w->style & ES_READONLY);
}

bool SingleLine(HWND hwnd) {
    Window* w = Find(hwnd);
    return w && !(w->style & ES_MULTILINE);
}

void Copy(const EditState& s) {
    if (Low(s) == High(s)) return;
    S().clipboard = Narrow(s.text.substr(Low(s), High(s) - Low(s)));
}

LRESULT EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool unicode) {
    EditState* s = EnsureControl<EditState>(hwnd);
    if (!s) return 0;
    switch (msg) {
    case WM_NCCREATE: {
        // Both CREATESTRUCT variants keep the name at the same place.
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (cs && cs->lpszName) {
            s->text = unicode ? WideZ(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpszName) : Widen(cs->lpszName);
        }
        if (Window* w = Find(hwnd)) w->text = s->text;
        return TRUE;
    }
    case WM_SETTEXT: {
        s->text = TextArg(lParam, unicode);
        if (s->text.size() > s->limit) s->text.resize(s->limit);
        s->selStart = s->selEnd = 0;
        EmptyUndo(*s);
        s->modified = false;
        if (Window* w = Find(hwnd)) w->text = s->text;
        if (SingleLine(hwnd) && !InCombo(hwnd)) {
            NotifyCommand(hwnd, static_cast<WORD>(EN_UPDATE));
            NotifyCommand(hwnd, static_cast<WORD>(EN_CHANGE));
        }
        return TRUE;
    }
    case WM_GETTEXT:
        return AnswerGetText(s->text, wParam, lParam, unicode);
    case WM_GETTEXTLENGTH:
        return AnswerGetTextLength(s->text, unicode);
    case EM_GETSEL: {
        const UINT lo = Low(*s), hi = High(*s);
        if (wParam) *reinterpret_cast<DWORD*>(wParam) = lo;
        if (lParam) *reinterpret_cast<DWORD*>(lParam) = hi;
        return (lo > 0xFFFF || hi > 0xFFFF) ? -1 : MAKELONG(static_cast<WORD>(lo), static_cast<WORD>(hi));
    }
    case EM_SETSEL:
        SetSel(*s, static_cast<UINT>(wParam), static_cast<UINT>(lParam));
        return 1;
    case EM_REPLACESEL:
        if (ReadOnly(hwnd)) return 0;
        ReplaceSel(hwnd, *s, TextArg(lParam, unicode), wParam != 0, true);
        return 0;
    case WM_COPY:
        Copy(*s);
        return 0;
    case WM_CUT:
        Copy(*s);
        if (!ReadOnly(hwnd) && Low(*s) != High(*s)) ReplaceSel(hwnd, *s, WString(), true, true);
        return 0;
    case WM_CLEAR:
        if (!ReadOnly(hwnd) && Low(*s) != High(*s)) ReplaceSel(hwnd, *s, WString(), true, true);
        return 0;
    case WM_PASTE: {
        if (ReadOnly(hwnd) || !S().clipboard) return 0;
        WString paste = Widen(*S().clipboard);
        if (SingleLine(hwnd)) {
            const auto lf = paste.find(u'\n');
            if (lf != WString::npos) {
                paste.resize(lf);
                if (!paste.empty() && paste.back() == u'\r') paste.pop_back();
            }
        }
        ReplaceSel(hwnd, *s, paste, true, true);
        return 0;
    }
    case WM_UNDO:
    case EM_UNDO: {
        if (ReadOnly(hwnd)) return FALSE;
        const WString restore = s->undoText;
        const UINT pos = s->undoPos;
        s->selStart = pos;
        s->selEnd = std::min<UINT>(pos + s->undoInserted, static_cast<UINT>(s->text.size()));
        EmptyUndo(*s);
        ReplaceSel(hwnd, *s, restore, true, true);
        if ((s = ControlOf<EditState>(hwnd))) {
            s->selStart = pos;
            s->selEnd = pos + s->undoInserted;  // the restored text is selected
        }
        return TRUE;
    }
    case EM_CANUNDO:
        return (s->undoInserted || !s->undoText.empty()) ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER:
        EmptyUndo(*s);
        return 0;
    case EM_GETMODIFY:
        return s->modified ? TRUE : FALSE;
    case EM_SETMODIFY:
        s->modified = wParam != 0;
        return 0;
    case EM_LIMITTEXT:
        s->limit = wParam ? static_cast<std::size_t>(wParam) : 0x7FFFFFFE;
        return 0;
    case EM_SETREADONLY:
        if (Window* w = Find(hwnd)) {
            if (wParam) {
                w->style |= ES_READONLY;
            } else {
                w->style &= ~ES_READONLY;
            }
        }
        return TRUE;
    case WM_CHAR: {
        if (ReadOnly(hwnd)) return 0;
        const auto ch = static_cast<char16_t>(unicode ? wParam : Widen(std::string(1, static_cast<char>(wParam)))[0]);
        if (ch == 0x08) {  // backspace
            if (Low(*s) == High(*s)) {
                if (Low(*s) == 0) return 0;
                s->selStart = Low(*s) - 1;
                s->selEnd = s->selStart + 1;
            }
            ReplaceSel(hwnd, *s, WString(), true, true);
        } else if (ch >= 0x20 || (ch == u'\t' && !SingleLine(hwnd))) {
            ReplaceSel(hwnd, *s, WString(1, ch), true, true);
        }
        return 0;
    }
    default:
        return DefWindowProcImpl(hwnd, msg, wParam, lParam, unicode);
    }
}

}  // namespace

LRESULT CALLBACK EditProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return EditProc(hwnd, msg, wParam, lParam, false);
}

LRESULT CALLBACK EditProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return EditProc(hwnd, msg, wParam, lParam, true);
}

}  // namespace host::sim::detail
