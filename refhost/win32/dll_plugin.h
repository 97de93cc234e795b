// Plugin objects from a plugin DLL, the way the browser makes them: the DLL
// is loaded once, and each tab gets its own object from the DLL's class
// factory, sited with the tab's browser and released when the tab closes.
#pragma once

#include <string>

#include "refhost/plugin_seam.h"

namespace refhost::win32 {

// {16657407-4686-40CE-B8BF-1BE47D1AB637}
inline constexpr GUID kClsidTillwick = {0x16657407, 0x4686, 0x40CE, {0xB8, 0xBF, 0x1B, 0xE4, 0x7D, 0x1A, 0xB6, 0x37}};

// A factory over the DLL at `dllPath` (loaded now) for class `clsid`; an
// empty factory when the DLL cannot be loaded or exports no
// DllGetClassObject. Once the factory and the last object it made are gone,
// the DLL is freed if its DllCanUnloadNow says S_OK.
PluginFactory DllPluginFactory(const std::string& dllPath, const GUID& clsid = kClsidTillwick);

}  // namespace refhost::win32
