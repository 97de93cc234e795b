// Objects reached through IDispatch: page documents, windows, browsers.
#pragma once

#include "host/host.h"
#include "host/win32/com.h"

namespace host::win32 {

// An Object that holds `dispatch`; an empty Object for a null pointer.
Object MakeDispatchObject(Microsoft::WRL::ComPtr<IDispatch> dispatch);

// The IDispatch behind an Object made here; null for any other kind of object.
IDispatch* DispatchOf(const Object& object) noexcept;

}  // namespace host::win32
