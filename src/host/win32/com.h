// COM headers for the late-bound object code. The build defines
// WIN32_LEAN_AND_MEAN, which keeps OLE out of <windows.h>.
#pragma once

#include "host/win_types.h"

#include <ole2.h>
#include <oleauto.h>
#include <wrl/client.h>

namespace host::win32 {

// AddRef and Release of a COM object on the heap that deletes itself when
// its count reaches zero; each object keeps its own LONG count.
inline ULONG ComAddRef(LONG& refs) noexcept { return static_cast<ULONG>(::InterlockedIncrement(&refs)); }

template <typename Object>
ULONG ComRelease(Object* self, LONG& refs) noexcept {
    const LONG n = ::InterlockedDecrement(&refs);
    if (n == 0) delete self;
    return static_cast<ULONG>(n);
}

}  // namespace host::win32
