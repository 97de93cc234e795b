// The window-procedure table and the ANSI/Unicode conversion of messages that
// carry text, as user32 does when a message crosses between an ANSI caller
// and a Unicode procedure (or back).
//
// A procedure is stored as an entry with an ANSI and/or a Unicode side. The
// getter of the other character set sees a handle (0xFFFF0000 | entry) that
// CallWindowProcW recognises, so subclass chains that mix ANSI class
// procedures with Unicode subclasses work exactly as on Windows.
#include <algorithm>
#include <vector>

#include "host/sim/sim_internal.h"

namespace host::sim::detail {

namespace {

struct Entry {
    WNDPROC ansi = nullptr;
    WNDPROC wide = nullptr;
};

constexpr std::uintptr_t kHandleMask = 0xFFFF0000u;
constexpr ProcId kFirstUserProc = 0x1000;
// Text buffers for converted WM_GETTEXT calls are bounded; longer captions are cut.
constexpr WPARAM kMaxConvertedText = 1u << 20;
constexpr ProcId kLastUserProc = 0xFFFE;

std::vector<Entry>& Builtins() {
    static std::vector<Entry> table;
    return table;
}

std::vector<Entry>& Users() {
    static std::vector<Entry> table;
    return table;
}

const Entry* Lookup(ProcId id) {
    if (id >= 1 && id <= static_cast<ProcId>(Builtins().size())) return &Builtins()[static_cast<std::size_t>(id - 1)];
    if (id >= kFirstUserProc && id - kFirstUserProc < static_cast<ProcId>(Users().size()))
        return &Users()[static_cast<std::size_t>(id - kFirstUserProc)];
    return nullptr;
}

WNDPROC HandleOf(ProcId id) {
    return reinterpret_cast<WNDPROC>(kHandleMask | static_cast<std::uintptr_t>(id));
}

bool IsTextInMessage(UINT msg) {
    switch (msg) {
    case WM_SETTEXT:
    case EM_REPLACESEL:
    case CB_ADDSTRING:
    case CB_INSERTSTRING:
    case CB_FINDSTRINGEXACT:
        return true;
    default:
        return false;
    }
}

std::size_t WideLength(const WCHAR* text, std::size_t limit) {
    std::size_t n = 0;
    while (n < limit && text[n]) ++n;
    return n;
}

std::size_t AnsiLength(const char* text, std::size_t limit) {
    std::size_t n = 0;
    while (n < limit && text[n]) ++n;
    return n;
}

bool IsAtom(const void* p) { return reinterpret_cast<std::uintptr_t>(p) <= 0xFFFF; }

// An ANSI message delivered to a Unicode procedure.
LRESULT CallWideFromAnsi(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (IsTextInMessage(msg) && lParam) {
        const WString text = Widen(reinterpret_cast<const char*>(lParam));
        return CallGuarded(proc, hwnd, msg, wParam, reinterpret_cast<LPARAM>(text.c_str()));
    }
    switch (msg) {
    case WM_GETTEXT: {
        auto* out = reinterpret_cast<char*>(lParam);
        wParam = std::min(wParam, kMaxConvertedText);
        std::vector<WCHAR> buffer(static_cast<std::size_t>(wParam) + 1, u'\0');
        LRESULT result = CallGuarded(proc, hwnd, msg, wParam, reinterpret_cast<LPARAM>(buffer.data()));
        if (wParam && out) {
            std::size_t len = 0;
            if (result) {
                const std::string text = Narrow(std::u16string_view(buffer.data(), WideLength(buffer.data(), wParam)));
                len = std::min<std::size_t>(text.size(), wParam - 1);
                std::copy_n(text.data(), len, out);
            }
            out[len] = '\0';
            result = static_cast<LRESULT>(len);
        }
        return result;
    }
    case WM_NCCREATE:
    case WM_CREATE: {
        auto* csA = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (!csA) break;
        CREATESTRUCTW csW{};
        csW.lpCreateParams = csA->lpCreateParams;
        csW.hInstance = csA->hInstance;
        csW.hMenu = csA->hMenu;
        csW.hwndParent = csA->hwndParent;
        csW.cy = csA->cy;
        csW.cx = csA->cx;
        csW.y = csA->y;
        csW.x = csA->x;
        csW.style = csA->style;
        csW.dwExStyle = csA->dwExStyle;
        const WString name = Widen(AnsiZ(csA->lpszName));
        const WString cls = IsAtom(csA->lpszClass) ? WString() : Widen(AnsiZ(csA->lpszClass));
        csW.lpszName = csA->lpszName ? name.c_str() : nullptr;
        csW.lpszClass = IsAtom(csA->lpszClass) ? reinterpret_cast<const WCHAR*>(csA->lpszClass) : cls.c_str();
        MDICREATESTRUCTW mdiW{};
        WString mdiClass, mdiTitle;
        if ((csA->dwExStyle & WS_EX_MDICHILD) && csA->lpCreateParams) {
            const auto* mdiA = static_cast<const MDICREATESTRUCTA*>(csA->lpCreateParams);
            mdiW = {nullptr, nullptr, mdiA->hOwner, mdiA->x, mdiA->y, mdiA->cx, mdiA->cy, mdiA->style, mdiA->lParam};
            mdiClass = IsAtom(mdiA->szClass) ? WString() : Widen(AnsiZ(mdiA->szClass));
            mdiTitle = Widen(AnsiZ(mdiA->szTitle));
            mdiW.szClass = IsAtom(mdiA->szClass) ? reinterpret_cast<const WCHAR*>(mdiA->szClass) : mdiClass.c_str();
            mdiW.szTitle = mdiA->szTitle ? mdiTitle.c_str() : nullptr;
            csW.lpCreateParams = &mdiW;
        }
        return CallGuarded(proc, hwnd, msg, wParam, reinterpret_cast<LPARAM>(&csW));
    }
    case WM_MDICREATE: {
        const auto* mdiA = reinterpret_cast<const MDICREATESTRUCTA*>(lParam);
        if (!mdiA) break;
        MDICREATESTRUCTW mdiW{nullptr, nullptr, mdiA->hOwner, mdiA->x, mdiA->y, mdiA->cx, mdiA->cy, mdiA->style, mdiA->lParam};
        const WString cls = IsAtom(mdiA->szClass) ? WString() : Widen(AnsiZ(mdiA->szClass));
        const WString title = Widen(AnsiZ(mdiA->szTitle));
        mdiW.szClass = IsAtom(mdiA->szClass) ? reinterpret_cast<const WCHAR*>(mdiA->szClass) : cls.c_str();
        mdiW.szTitle = mdiA->szTitle ? title.c_str() : nullptr;
        return CallGuarded(proc, hwnd, msg, wParam, reinterpret_cast<LPARAM>(&mdiW));
    }
    default:
        break;
    }
    return CallGuarded(proc, hwnd, msg, wParam, lParam);
}

// A Unicode message delivered to an ANSI procedure.
LRESULT CallAnsiFromWide(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (IsTextInMessage(msg) && lParam) {
        const std::string text = Narrow(WideZ(reinterpret_cast<const WCHAR*>(lParam)));
        return CallGuarded(proc, hwnd, msg, wParam, reinterpret_cast<LPARAM>(text.c_str()));
    }
    switch (msg) {
    case WM_GETTEXT: {
        auto* out = reinterpret_cast<WCHAR*>(lParam);
        wParam = std::min(wParam, kMaxConvertedText);
        const WPARAM size = wParam * 2;  // room for double-byte code pages
        std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
        LRESULT result = CallGuarded(proc, hwnd, msg, size, reinterpret_cast<LPARAM>(buffer.data()));
        if (wParam && out) {
            std::size_t len = 0;
            if (result) {
                const WString text = Widen(std::string_view(buffer.data(), AnsiLength(buffer.data(), size)));
                len = std::min<std::size_t>(text.size(), wParam - 1);
                std::copy_n(text.data(), len, out);
            }
            out[len] = u'\0';
            result = static_cast<LRESULT>(len);
        }
        return result;
    }
    case WM_CHAR:
        return CallGuarded(proc, hwnd, msg, wParam < 0x100 ? wParam : static_cast<WPARAM>('?'), lParam);
    case WM_NCCREATE:
    case WM_CREATE: {
        auto* csW = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (!csW) break;
        CREATESTRUCTA csA{};
        csA.lpCreateParams = csW->lpCreateParams;
        csA.hInstance = csW->hInstance;
        csA.hMenu = csW->hMenu;
        csA.hwndParent = csW->hwndParent;
        csA.cy = csW->cy;
        csA.cx = csW->cx;
        csA.y = csW->y;
        csA.x = csW->x;
        csA.style = csW->style;
        csA.dwExStyle = csW->dwExStyle;
        const std::string name = Narrow(WideZ(csW->lpszName));
        const std::string cls = IsAtom(csW->lpszClass) ? std::string() : Narrow(WideZ(csW->lpszClass));
        csA.lpszName = csW->lpszName ? name.c_str() : nullptr;
        csA.lpszClass = IsAtom(csW->lpszClass) ? reinterpret_cast<const char*>(csW->lpszClass) : cls.c_str();
        MDICREATESTRUCTA mdiA{};
        std::string mdiClass, mdiTitle;
        if ((csW->dwExStyle & WS_EX_MDICHILD) && csW->lpCreateParams) {
            const auto* mdiW = static_cast<const MDICREATESTRUCTW*>(csW->lpCreateParams);
            mdiA = {nullptr, nullptr, mdiW->hOwner, mdiW->x, mdiW->y, mdiW->cx, mdiW->cy, mdiW->style, mdiW->lParam};
            mdiClass = IsAtom(mdiW->szClass) ? std::string() : Narrow(WideZ(mdiW->szClass));
            mdiTitle = Narrow(WideZ(mdiW->szTitle));
            mdiA.szClass = IsAtom(mdiW->szClass) ? reinterpret_cast<const char*>(mdiW->szClass) : mdiClass.c_str();
            mdiA.szTitle = mdiW->szTitle ? mdiTitle.c_str() : nullptr;
            csA.lpCreateParams = &mdiA;
        }
        return CallGuarded(proc, hwnd, msg, wParam, reinterpret_cast<LPARAM>(&csA));
    }
    case WM_MDICREATE: {
        const auto* mdiW = reinterpret_cast<const MDICREATESTRUCTW*>(lParam);
        if (!mdiW) break;
        MDICREATESTRUCTA mdiA{nullptr, nullptr, mdiW->hOwner, mdiW->x, mdiW->y, mdiW->cx, mdiW->cy, mdiW->style, mdiW->lParam};
        const std::string cls = IsAtom(mdiW->szClass) ? std::string() : Narrow(WideZ(mdiW->szClass));
        const std::string title = Narrow(WideZ(mdiW->szTitle));
        mdiA.szClass = IsAtom(mdiW->szClass) ? reinterpret_cast<const char*>(mdiW->szClass) : cls.c_str();
        mdiA.szTitle = mdiW->szTitle ? title.c_str() : nullptr;
        return CallGuarded(proc, hwnd, msg, wParam, reinterpret_cast<LPARAM>(&mdiA));
    }
    default:
        break;
    }
    return CallGuarded(proc, hwnd, msg, wParam, lParam);
}

}  // namespace

ProcId RegisterDualProc(WNDPROC ansi, WNDPROC wide) {
    Builtins().push_back({ansi, wide});
    return static_cast<ProcId>(Builtins().size());
}

bool IsProcHandle(WNDPROC proc) {
    const auto value = reinterpret_cast<std::uintptr_t>(proc);
    return (value & ~static_cast<std::uintptr_t>(0xFFFF)) == kHandleMask && Lookup(static_cast<ProcId>(value & 0xFFFF));
}

ProcId ProcFromHandle(WNDPROC proc) {
    return IsProcHandle(proc) ? static_cast<ProcId>(reinterpret_cast<std::uintptr_t>(proc) & 0xFFFF) : 0;
}

ProcId ProcFor(WNDPROC proc, bool unicode) {
    if (!proc) return 0;
    if (ProcId id = ProcFromHandle(proc)) return id;
    const WNDPROC ansi = unicode ? nullptr : proc;
    const WNDPROC wide = unicode ? proc : nullptr;
    for (std::size_t i = 0; i < Builtins().size(); ++i) {
        if (Builtins()[i].ansi == ansi && Builtins()[i].wide == wide) return static_cast<ProcId>(i + 1);
    }
    auto& users = Users();
    for (std::size_t i = 0; i < users.size(); ++i) {
        if (users[i].ansi == ansi && users[i].wide == wide) return kFirstUserProc + static_cast<ProcId>(i);
    }
    if (kFirstUserProc + static_cast<ProcId>(users.size()) > kLastUserProc) return 0;  // table full, as Win32's
    users.push_back({ansi, wide});
    return kFirstUserProc + static_cast<ProcId>(users.size() - 1);
}

WNDPROC ProcValue(ProcId id, bool unicode) {
    const Entry* e = Lookup(id);
    if (!e) return nullptr;
    if (unicode) return e->wide ? e->wide : HandleOf(id);
    return e->ansi ? e->ansi : HandleOf(id);
}

bool ProcIsUnicode(ProcId id, bool fallback) {
    const Entry* e = Lookup(id);
    if (!e) return fallback;
    if (e->ansi && e->wide) return fallback;
    return e->wide != nullptr;
}

void ResetProcTable() { Users().clear(); }

void NoteSwallowedException() { ++S().swallowed; }

LRESULT CallGuarded(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!proc) return 0;
    try {
        return proc(hwnd, msg, wParam, lParam);
    } catch (...) {
        NoteSwallowedException();
        return 0;
    }
}

LRESULT CallProc(ProcId id, bool unicodeCaller, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const Entry* found = Lookup(id);
    if (!found) return 0;
    const Entry e = *found;  // the table may grow while the procedure runs
    if (unicodeCaller) {
        if (e.wide) return CallGuarded(e.wide, hwnd, msg, wParam, lParam);
        return CallAnsiFromWide(e.ansi, hwnd, msg, wParam, lParam);
    }
    if (e.ansi) return CallGuarded(e.ansi, hwnd, msg, wParam, lParam);
    return CallWideFromAnsi(e.wide, hwnd, msg, wParam, lParam);
}

}  // namespace host::sim::detail
