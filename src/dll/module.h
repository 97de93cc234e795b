// Module-wide bookkeeping of the DLL: its instance handle and the count of
// live objects and server locks that DllCanUnloadNow reports.
#pragma once

#include "host/win_types.h"

namespace tillwick::dll {

HINSTANCE ModuleInstance() noexcept;
void AddModuleRef() noexcept;
void ReleaseModuleRef() noexcept;
bool ModuleInUse() noexcept;

// {16657407-4686-40CE-B8BF-1BE47D1AB637}
inline constexpr GUID kClsidTillwick = {0x16657407, 0x4686, 0x40CE, {0xB8, 0xBF, 0x1B, 0xE4, 0x7D, 0x1A, 0xB6, 0x37}};

}  // namespace tillwick::dll
