// Brushes, colours, icons, the security dialog and the ATL control host.
// wininet and atl are loaded when first needed, so the DLL imports neither:
// a system without them only loses the feature that wanted them.
#include "host/host.h"

namespace host {
namespace {

// A procedure of a system library, looked up once; null when missing.
template <typename Proc>
Proc LibraryProc(const char* library, const char* name) noexcept {
    HMODULE module = ::LoadLibraryA(library);
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) { return ::CreateBrushIndirect(brush); }

BOOL DeleteObject(HGDIOBJ object) { return ::DeleteObject(object); }

COLORREF SetTextColor(HDC dc, COLORREF colour) { return ::SetTextColor(dc, colour); }

COLORREF SetBkColor(HDC dc, COLORREF colour) { return ::SetBkColor(dc, colour); }

HANDLE LoadImageA(HINSTANCE instance, const char* name, UINT type, int cx, int cy, UINT flags) {
    return ::LoadImageA(instance, name, type, cx, cy, flags);
}

BOOL InternetShowSecurityInfoByURLA(const char* url, HWND owner) {
    using Proc = BOOL(WINAPI*)(LPSTR, HWND);
    static const Proc proc = LibraryProc<Proc>("wininet.dll", "InternetShowSecurityInfoByURLA");
    if (proc == nullptr || url == nullptr) return FALSE;
    return proc(const_cast<LPSTR>(url), owner);
}

bool AtlAxWinInit() {
    using Proc = BOOL(WINAPI*)();
    static const Proc proc = LibraryProc<Proc>("atl.dll", "AtlAxWinInit");
    return proc != nullptr && proc() != FALSE;
}

}  // namespace host
