// The status bar ("msctls_statusbar32").
//
// Geometry as comctl32 lays it out: unless CCS_NORESIZE, the bar sits along
// the bottom of its parent's client area at full width, 20 pixels high,
// whenever it gets WM_SIZE. Part i spans from the previous part's right
// edge + 2 (0 for the first) to its own right edge (-1: the client's right
// edge), from y = 2 to the client's bottom.
#include <algorithm>

#include "host/sim/sim_internal.h"

namespace host::sim::detail {

namespace {

constexpr int kDefaultHeight = 20;
constexpr int kVerticalBorder = 2;
constexpr int kHorizontalGap = 2;
constexpr int kMaxParts = 256;
constexpr UINT kSimpleModeChange = static_cast<UINT>(-880);  // SBN_SIMPLEMODECHANGE

struct Part {
    int right = -1;
    WString text;
    UINT style = 0;
    LRESULT ownerData = 0;
};

struct StatusState : ControlState {
    std::vector<Part> parts{Part{}};
    Part simplePart;
    bool simple = false;
    int height = kDefaultHeight;
    HWND notify = nullptr;
    std::optional<WString> Caption() const override { return parts.front().text; }
};

RECT PartRect(HWND hwnd, const StatusState& s, int index) {
    Window* w = Find(hwnd);
    const RECT client = w ? ClientRectOf(*w) : RECT{0, 0, 0, 0};
    if (s.simple) return {0, kVerticalBorder, client.right, client.bottom};
    RECT r{0, kVerticalBorder, 0, client.bottom};
    for (int i = 0; i <= index; ++i) {
        const int right = s.parts[static_cast<std::size_t>(i)].right;
        r.left = i == 0 ? 0 : r.right + kHorizontalGap;
        r.right = right == -1 ? client.right : right;
    }
    return r;
}

Part* PartFor(StatusState& s, int index, bool allowSimpleId) {
    if (allowSimpleId && index == static_cast<int>(SB_SIMPLEID)) return &s.simplePart;
    if (index < 0 || index >= static_cast<int>(s.parts.size())) return nullptr;
    return &s.parts[static_cast<std::size_t>(index)];
}

void Reposition(HWND hwnd, const StatusState& s) {
    Window* w = Find(hwnd);
    if (!w || (w->style & CCS_NORESIZE)) return;
    Window* parent = Find(w->parent);
    if (!parent) return;
    const RECT area = ClientRectOf(*parent);
    SetWindowPosInternal(hwnd, nullptr, 0, area.bottom - s.height, area.right, s.height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

LRESULT CALLBACK StatusBarProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    StatusState* s = EnsureControl<StatusState>(hwnd);
    if (!s) return 0;
    switch (msg) {
    case WM_CREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        s->notify = cs ? cs->hwndParent : nullptr;
        if (cs && cs->lpszName) s->parts.front().text = cs->lpszName;
        return 0;
    }
    case WM_SIZE:
        if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) Reposition(hwnd, *s);
        return 0;
    case WM_SETTEXT:
        s->parts.front().text = TextArg(lParam, true);
        return TRUE;
    case WM_GETTEXT:
        return AnswerGetText(s->parts.front().text, wParam, lParam, true);
    case WM_GETTEXTLENGTH:
        return AnswerGetTextLength(s->parts.front().text, true);
    case SB_SETPARTS: {
        const int count = static_cast<int>(wParam);
        const auto* rights = reinterpret_cast<const int*>(lParam);
        if (count <= 0 || count > kMaxParts || !rights) return FALSE;
        s->parts.resize(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) s->parts[static_cast<std::size_t>(i)].right = rights[i];
        return TRUE;
    }
    case SB_GETPARTS: {
        auto* out = reinterpret_cast<int*>(lParam);
        const int count = static_cast<int>(s->parts.size());
        if (out) {
            for (int i = 0; i < count && i < static_cast<int>(wParam); ++i) out[i] = s->parts[static_cast<std::size_t>(i)].right;
        }
        return count;
    }
    case SB_SETTEXTA:
    case SB_SETTEXTW: {
        Part* part = PartFor(*s, LOBYTE(wParam), true);
        if (!part) return FALSE;
        part->style = static_cast<UINT>(wParam & 0xFF00);
        if (part->style & SBT_OWNERDRAW) {
            part->ownerData = lParam;
            part->text.clear();
        } else {
            part->text = TextArg(lParam, msg == SB_SETTEXTW);
        }
        return TRUE;
    }
    case SB_GETTEXTA:
    case SB_GETTEXTW:
    case SB_GETTEXTLENGTHA:
    case SB_GETTEXTLENGTHW: {
        const bool unicode = msg == SB_GETTEXTW || msg == SB_GETTEXTLENGTHW;
        const Part* part = s->simple ? &s->simplePart : PartFor(*s, static_cast<int>(LOWORD(wParam)), false);
        if (!part) return 0;
        if ((part->style & SBT_OWNERDRAW) && (msg == SB_GETTEXTA || msg == SB_GETTEXTW)) return part->ownerData;
        const std::size_t length = unicode ? part->text.size() : Narrow(part->text).size();
        if ((msg == SB_GETTEXTA || msg == SB_GETTEXTW) && lParam) {
            // SB_GETTEXT has no buffer size: the whole text is copied.
            if (unicode) {
                CopyOut(reinterpret_cast<WCHAR*>(lParam), static_cast<int>(length) + 1, part->text);
            } else {
                CopyOut(reinterpret_cast<char*>(lParam), static_cast<int>(length) + 1, Narrow(part->text));
            }
        }
        return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(length), static_cast<WORD>(part->style)));
    }
    case SB_GETRECT: {
        auto* r = reinterpret_cast<RECT*>(lParam);
        const int index = static_cast<int>(wParam);
        if (!r || (!s->simple && (index < 0 || index >= static_cast<int>(s->parts.size())))) return FALSE;
        *r = PartRect(hwnd, *s, s->simple ? 0 : index);
        return TRUE;
    }
    case SB_SIMPLE: {
        s->simple = wParam != 0;
        Window* w = Find(hwnd);
        if (w && Find(s->notify)) {
            NMHDR hdr{hwnd, static_cast<UINT_PTR>(w->id), kSimpleModeChange};
            SendW(s->notify, WM_NOTIFY, static_cast<WPARAM>(w->id), reinterpret_cast<LPARAM>(&hdr));
        }
        return 0;
    }
    case SB_ISSIMPLE:
        return s->simple ? TRUE : FALSE;
    case SB_SETMINHEIGHT:
        // Like comctl32 the bar keeps its size until it is laid out again.
        s->height = std::max(kDefaultHeight, static_cast<int>(wParam) + 2 * kVerticalBorder);
        return TRUE;
    default:
        return DefWindowProcImpl(hwnd, msg, wParam, lParam, true);
    }
}

}  // namespace host::sim::detail
