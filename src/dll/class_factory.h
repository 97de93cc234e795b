#pragma once

#include "host/win_types.h"

#include <unknwn.h>

namespace tillwick::dll {

// The class object of clsTillwick; any other class id is CLASS_E_CLASSNOTAVAILABLE.
HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) noexcept;

}  // namespace tillwick::dll
