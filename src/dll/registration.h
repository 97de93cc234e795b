#pragma once

#include "host/win_types.h"

namespace tillwick::dll {

// HKCR\CLSID\{class id} with InprocServer32 (this DLL, apartment threaded) and
// the ProgID, and HKCR\prjTillwick.clsTillwick\CLSID; Unregister removes them.
HRESULT RegisterServer() noexcept;
HRESULT UnregisterServer() noexcept;

}  // namespace tillwick::dll
