// The rebar ("ReBarWindow32").
//
// Layout: visible bands are laid out in rows; a band starts a new row when it
// is the first or has RBBS_BREAK. A row is as high as its highest band (a
// band with a child: cyMinChild, or cyChild with RBBS_VARIABLEHEIGHT; without
// a child: 4). In a row the bands follow each other with their cx (at least
// cxMinChild + cxHeader); the last one reaches the right edge. A band's child
// is moved into the band, right of its header. Unless CCS_NORESIZE the rebar
// takes the height of its rows (0 without visible bands) and, unless
// CCS_NOPARENTALIGN, the full width of its parent at the top.
#include <algorithm>
#include <cstddef>

#include "host/sim/sim_internal.h"

namespace host::sim::detail {

namespace {

constexpr UINT kV3Size = offsetof(REBARBANDINFOA, wID) + sizeof(UINT);
constexpr UINT kV6Size = offsetof(REBARBANDINFOA, cxHeader) + sizeof(UINT);
constexpr int kNoChildHeight = 4;

struct Band {
    UINT style = 0;
    COLORREF fore = 0;
    COLORREF back = 0;
    std::optional<WString> text;
    int image = -1;
    HWND child = nullptr;
    HWND previousParent = nullptr;
    UINT cxMinChild = 0, cyMinChild = 0, cx = 0;
    void* background = nullptr;
    UINT id = 0;
    UINT cyChild = 0, cyMaxChild = 0, cyIntegral = 0, cxIdeal = 0;
    LPARAM lParam = 0;
    UINT cxHeader = 0;
    RECT rect{};
};

struct RebarState : ControlState {
    std::vector<Band> bands;
    int rows = 0;
    std::vector<int> rowHeights;
    int barHeight = 0;
    bool laying = false;
    void ChildGone(HWND child) override {
        for (Band& b : bands) {
            if (b.child == child) b.child = nullptr;
        }
    }
};

bool Hidden(const Band& b) { return (b.style & RBBS_HIDDEN) != 0; }

int BandHeight(const Band& b) {
    if (!b.child) return static_cast<int>(std::max<UINT>(b.cyMinChild, kNoChildHeight));
    UINT h = b.cyMinChild;
    if (b.style & RBBS_VARIABLEHEIGHT) h = std::max(h, b.cyChild);
    return static_cast<int>(h);
}

// The band fields of REBARBANDINFOA and REBARBANDINFOW sit at the same places.
void Setup(HWND rebar, Band& b, const REBARBANDINFOA& info, bool unicode) {
    if (info.fMask & RBBIM_STYLE) b.style = info.fStyle;
    if (info.fMask & RBBIM_COLORS) {
        b.fore = info.clrFore;
        b.back = info.clrBack;
    }
    if (info.fMask & RBBIM_IMAGE) b.image = info.iImage;
    if ((info.fMask & RBBIM_CHILD) && b.child != info.hwndChild) {
        if (info.hwndChild && Find(info.hwndChild)) {
            b.child = info.hwndChild;
            b.previousParent = SetParent(b.child, rebar);
            ShowWindowInternal(b.child, SW_SHOWNOACTIVATE | SW_SHOWNORMAL);
        } else {
            b.child = nullptr;
            b.previousParent = nullptr;
        }
    }
    if (info.fMask & RBBIM_CHILDSIZE) {
        b.cxMinChild = info.cxMinChild;
        b.cyMinChild = info.cyMinChild;
        if (info.cbSize >= kV6Size) {
            b.cyChild = info.cyChild;
            b.cyMaxChild = info.cyMaxChild;
            b.cyIntegral = info.cyIntegral;
        } else {
            b.cyChild = b.cyMinChild;
            b.cyMaxChild = 0x7FFFFFFF;
            b.cyIntegral = 0;
        }
    }
    if (info.fMask & RBBIM_SIZE) b.cx = info.cx;
    if (info.fMask & RBBIM_BACKGROUND) b.background = info.hbmBack;
    if (info.fMask & RBBIM_ID) b.id = info.wID;
    if (info.cbSize >= kV6Size) {
        if (info.fMask & RBBIM_IDEALSIZE) b.cxIdeal = info.cxIdeal;
        if (info.fMask & RBBIM_LPARAM) b.lParam = info.lParam;
        if (info.fMask & RBBIM_HEADERSIZE) b.cxHeader = info.cxHeader;
    }
    if (info.fMask & RBBIM_TEXT) {
        if (!info.lpText) {
            b.text.reset();
        } else {
            b.text = unicode ? WideZ(reinterpret_cast<const WCHAR*>(info.lpText)) : Widen(info.lpText);
        }
    }
    if (b.child && Hidden(b)) ShowWindowInternal(b.child, SW_HIDE);
}

void Layout(HWND hwnd) {
    RebarState* s = ControlOf<RebarState>(hwnd);
    Window* w = Find(hwnd);
    if (!s || !w || s->laying) return;
    s->laying = true;
    const int width = ClientRectOf(*w).right;

    // Rows and band rectangles.
    s->rowHeights.clear();
    std::vector<std::vector<std::size_t>> rows;
    for (std::size_t i = 0; i < s->bands.size(); ++i) {
        const Band& b = s->bands[i];
        if (Hidden(b)) continue;
        if (rows.empty() || (b.style & RBBS_BREAK)) rows.emplace_back();
        rows.back().push_back(i);
    }
    int y = 0;
    for (const auto& row : rows) {
        int height = 0;
        for (std::size_t i : row) height = std::max(height, BandHeight(s->bands[i]));
        int x = 0;
        for (std::size_t k = 0; k < row.size(); ++k) {
            Band& b = s->bands[row[k]];
            const int minimum = static_cast<int>(b.cxMinChild + b.cxHeader);
            int bandWidth = std::max(static_cast<int>(b.cx), minimum);
            if (k + 1 == row.size()) bandWidth = std::max(width - x, minimum);
            b.rect = {x, y, x + bandWidth, y + height};
            x += bandWidth;
        }
        s->rowHeights.push_back(height);
        y += height;
    }
    for (Band& b : s->bands) {
        if (Hidden(b)) b.rect = {0, 0, 0, 0};
    }
    s->rows = static_cast<int>(rows.size());
    s->barHeight = y;

    // Children into their bands.
    std::vector<std::pair<HWND, RECT>> moves;
    for (const Band& b : s->bands) {
        if (!Hidden(b) && b.child) {
            moves.emplace_back(b.child, RECT{b.rect.left + static_cast<LONG>(b.cxHeader), b.rect.top, b.rect.right,
                                             b.rect.top + BandHeight(b)});
        }
    }
    const int barHeight = s->barHeight;
    for (const auto& [child, r] : moves) {
        SetWindowPosInternal(child, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // The rebar itself.
    if ((w = Find(hwnd)) && !(w->style & CCS_NORESIZE)) {
        RECT target = w->rect;
        if (!(w->style & CCS_NOPARENTALIGN)) {
            Window* parent = Find(w->parent);
            const RECT area = parent ? ClientRectOf(*parent) : RECT{0, 0, w->rect.right - w->rect.left, 0};
            const bool bottom = (w->style & 3u) == CCS_BOTTOM;
            const int top = (w->style & 3u) == CCS_NOMOVEY ? w->rect.top : bottom ? area.bottom - barHeight : 0;
            target = {0, top, area.right, top};
        }
        target.bottom = target.top + barHeight;
        SetWindowPosInternal(hwnd, nullptr, target.left, target.top, target.right - target.left, barHeight,
                             SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if ((s = ControlOf<RebarState>(hwnd))) s->laying = false;
}

LRESULT GetBandInfo(RebarState& s, WPARAM wParam, LPARAM lParam, bool unicode) {
    auto* info = reinterpret_cast<REBARBANDINFOA*>(lParam);
    if (!info || info->cbSize < kV3Size) return FALSE;
    if (wParam >= s.bands.size()) return FALSE;
    const Band& b = s.bands[wParam];
    if (info->fMask & RBBIM_STYLE) info->fStyle = b.style;
    if (info->fMask & RBBIM_COLORS) {
        info->clrFore = b.fore;
        info->clrBack = b.back;
    }
    if ((info->fMask & RBBIM_TEXT) && info->lpText) {
        const int max = static_cast<int>(std::min<UINT>(info->cch, 0x7FFFFFFF));
        const WString text = b.text ? *b.text : WString();
        if (unicode) {
            CopyOut(reinterpret_cast<WCHAR*>(info->lpText), max, text);
        } else {
            CopyOut(info->lpText, max, Narrow(text));
        }
    }
    if (info->fMask & RBBIM_IMAGE) info->iImage = b.image;
    if (info->fMask & RBBIM_CHILD) info->hwndChild = b.child;
    if (info->fMask & RBBIM_CHILDSIZE) {
        info->cxMinChild = b.cxMinChild;
        info->cyMinChild = b.cyMinChild;
        if (info->cbSize >= kV6Size && (b.style & RBBS_VARIABLEHEIGHT)) {
            info->cyChild = b.cyChild;
            info->cyMaxChild = b.cyMaxChild;
            info->cyIntegral = b.cyIntegral;
        }
    }
    if (info->fMask & RBBIM_SIZE) info->cx = b.cx;
    if (info->fMask & RBBIM_BACKGROUND) info->hbmBack = b.background;
    if (info->fMask & RBBIM_ID) info->wID = b.id;
    if (info->cbSize >= kV6Size) {
        if (info->fMask & RBBIM_IDEALSIZE) info->cxIdeal = b.cxIdeal;
        if (info->fMask & RBBIM_LPARAM) info->lParam = b.lParam;
        if (info->fMask & RBBIM_HEADERSIZE) info->cxHeader = b.cxHeader;
    }
    return TRUE;
}

}  // namespace

LRESULT CALLBACK RebarProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    RebarState* s = EnsureControl<RebarState>(hwnd);
    if (!s) return 0;
    switch (msg) {
    case WM_SIZE:
        Layout(hwnd);
        return 0;
    case RB_INSERTBANDA:
    case RB_INSERTBANDW: {
        const auto* info = reinterpret_cast<const REBARBANDINFOA*>(lParam);
        if (!info || info->cbSize < kV3Size) return FALSE;
        std::size_t index = static_cast<std::size_t>(wParam);
        if (static_cast<int>(wParam) == -1 || index > s->bands.size()) index = s->bands.size();
        Band band;
        band.fore = GetSysColor(COLOR_BTNTEXT);
        band.back = GetSysColor(COLOR_BTNFACE);
        s->bands.insert(s->bands.begin() + static_cast<std::ptrdiff_t>(index), band);
        Band copy = s->bands[index];
        Setup(hwnd, copy, *info, msg == RB_INSERTBANDW);  // may send messages that reach this rebar
        if ((s = ControlOf<RebarState>(hwnd)) && index < s->bands.size()) s->bands[index] = copy;
        Layout(hwnd);
        return TRUE;
    }
    case RB_SETBANDINFOA:
    case RB_SETBANDINFOW: {
        const auto* info = reinterpret_cast<const REBARBANDINFOA*>(lParam);
        if (!info || info->cbSize < kV3Size || wParam >= s->bands.size()) return FALSE;
        Band copy = s->bands[wParam];
        Setup(hwnd, copy, *info, msg == RB_SETBANDINFOW);
        if ((s = ControlOf<RebarState>(hwnd)) && wParam < s->bands.size()) s->bands[wParam] = copy;
        Layout(hwnd);
        return TRUE;
    }
    case RB_GETBANDINFOA:
    case RB_GETBANDINFOW:
        return GetBandInfo(*s, wParam, lParam, msg == RB_GETBANDINFOW);
    case RB_DELETEBAND: {
        if (wParam >= s->bands.size()) return FALSE;
        const Band gone = s->bands[wParam];
        s->bands.erase(s->bands.begin() + static_cast<std::ptrdiff_t>(wParam));
        if (gone.child && Find(gone.child)) {
            ShowWindowInternal(gone.child, SW_HIDE);
            SetParent(gone.child, gone.previousParent);
        }
        Layout(hwnd);
        return TRUE;
    }
    case RB_GETBANDCOUNT:
        return static_cast<LRESULT>(s->bands.size());
    case RB_IDTOINDEX:
        for (std::size_t i = 0; i < s->bands.size(); ++i) {
            if (s->bands[i].id == static_cast<UINT>(wParam)) return static_cast<LRESULT>(i);
        }
        return -1;
    case RB_SHOWBAND: {
        if (wParam >= s->bands.size()) return FALSE;
        Band& b = s->bands[wParam];
        const HWND child = b.child;
        if (lParam) {
            b.style &= ~RBBS_HIDDEN;
        } else {
            b.style |= RBBS_HIDDEN;
        }
        if (child) ShowWindowInternal(child, lParam ? SW_SHOW : SW_HIDE);
        Layout(hwnd);
        return TRUE;
    }
    case RB_GETROWCOUNT:
        return s->rows;
    case RB_GETROWHEIGHT: {
        if (wParam >= s->bands.size() || Hidden(s->bands[wParam])) return 0;
        return s->bands[wParam].rect.bottom - s->bands[wParam].rect.top;
    }
    case RB_GETBARHEIGHT:
        return s->barHeight;
    case RB_GETRECT: {
        auto* r = reinterpret_cast<RECT*>(lParam);
        if (!r || wParam >= s->bands.size()) return FALSE;
        *r = s->bands[wParam].rect;
        return TRUE;
    }
    default:
        return DefWindowProcImpl(hwnd, msg, wParam, lParam, true);
    }
}

}  // namespace host::sim::detail
