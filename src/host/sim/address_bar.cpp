// Brushes, device-context colours, icons loaded from files, the security
// dialog and the control host, as far as the address-bar decorations and
// their tests need them. A device context here is only the two colours set
// on it.
#include <map>

#include "host/sim/sim_internal.h"

namespace host::sim {
namespace {

struct Gdi {
    std::map<HBRUSH, COLORREF> brushes;
    std::map<HDC, DcColours> dcs;
    std::vector<SecurityInfoCall> securityInfo;
    bool atlAvailable = true;
    std::uintptr_t nextHandle = 0x6D000000;
};

Gdi& G() {
    static Gdi gdi;
    return gdi;
}

template <typename Handle>
Handle NewHandle() {
    G().nextHandle += 8;
    return reinterpret_cast<Handle>(G().nextHandle);
}

}  // namespace

namespace detail {
void ResetAddressBarGdi() {
    const std::uintptr_t next = G().nextHandle;  // handles keep counting across resets
    G() = Gdi{};
    G().nextHandle = next;
}
}  // namespace detail

HDC CreateTestDc() {
    HDC dc = NewHandle<HDC>();
    G().dcs[dc] = DcColours{};
    return dc;
}
DcColours ColoursOf(HDC dc) {
    auto it = G().dcs.find(dc);
    return it == G().dcs.end() ? DcColours{} : it->second;
}
int LiveBrushCount() { return static_cast<int>(G().brushes.size()); }
std::optional<COLORREF> BrushColour(HBRUSH brush) {
    auto it = G().brushes.find(brush);
    if (it == G().brushes.end()) return std::nullopt;
    return it->second;
}
const std::vector<SecurityInfoCall>& SecurityInfoShown() { return G().securityInfo; }
void SetAtlAvailable(bool available) { G().atlAvailable = available; }

EditPaint PaintEdit(HWND edit) {
    HDC dc = CreateTestDc();
    const LRESULT brush = SendMessageW(GetParent(edit), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(edit));
    EditPaint paint{ColoursOf(dc), BrushColour(reinterpret_cast<HBRUSH>(brush))};
    G().dcs.erase(dc);
    return paint;
}

}  // namespace host::sim

namespace host {

using sim::G;

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
    if (brush == nullptr || brush->lbStyle != BS_SOLID) return nullptr;
    HBRUSH handle = sim::NewHandle<HBRUSH>();
    G().brushes[handle] = brush->lbColor;
    return handle;
}

BOOL DeleteObject(HGDIOBJ object) {
    return G().brushes.erase(static_cast<HBRUSH>(object)) > 0 ? TRUE : FALSE;
}

COLORREF SetTextColor(HDC dc, COLORREF colour) {
    auto it = G().dcs.find(dc);
    if (it == G().dcs.end()) return 0xFFFFFFFF;  // CLR_INVALID
    const COLORREF old = it->second.text.value_or(0);
    it->second.text = colour;
    return old;
}

COLORREF SetBkColor(HDC dc, COLORREF colour) {
    auto it = G().dcs.find(dc);
    if (it == G().dcs.end()) return 0xFFFFFFFF;
    const COLORREF old = it->second.back.value_or(0xFFFFFF);
    it->second.back = colour;
    return old;
}

HANDLE LoadImageA(HINSTANCE, const char* name, UINT type, int, int, UINT flags) {
    if (name == nullptr || type != IMAGE_ICON || (flags & LR_LOADFROMFILE) == 0) return nullptr;
    if (!fs::FileExists(name)) return nullptr;
    return sim::NewHandle<HANDLE>();
}

BOOL InternetShowSecurityInfoByURLA(const char* url, HWND owner) {
    G().securityInfo.push_back({url ? std::string(url) : std::string(), owner});
    return TRUE;
}

// The class itself is the test's to register: where it is not, creating an
// "AtlAxWin" window fails as it does where the library cannot host a page.
bool AtlAxWinInit() { return G().atlAvailable; }

}  // namespace host
