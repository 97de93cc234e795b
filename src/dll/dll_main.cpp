#include <atomic>

#include "core/startup.h"
#include "dll/class_factory.h"
#include "dll/module.h"
#include "dll/registration.h"

namespace tillwick::dll {
namespace {
HINSTANCE g_instance = nullptr;
std::atomic<long> g_moduleRefs{0};
}  // namespace

HINSTANCE ModuleInstance() noexcept { return g_instance; }
void AddModuleRef() noexcept { ++g_moduleRefs; }
void ReleaseModuleRef() noexcept { --g_moduleRefs; }
bool ModuleInUse() noexcept { return g_moduleRefs.load() != 0; }

}  // namespace tillwick::dll

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        tillwick::dll::g_instance = instance;
        ::DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    return tillwick::dll::GetClassObject(clsid, iid, object);
}

// Only when nothing in the process can call into us any more: no object or
// lock, and nothing the plugin started (the last release stops all of it).
extern "C" HRESULT __stdcall DllCanUnloadNow() {
    return tillwick::dll::ModuleInUse() || tillwick::PluginStillActive() ? S_FALSE : S_OK;
}

extern "C" HRESULT __stdcall DllRegisterServer() { return tillwick::dll::RegisterServer(); }

extern "C" HRESULT __stdcall DllUnregisterServer() { return tillwick::dll::UnregisterServer(); }
