// DllRegisterServer and DllUnregisterServer of the real DLL: called directly
// and through regsvr32, the way an installer registers a COM server.
#include <string>

#include "e2e/e2e_host.h"

namespace e2e {
namespace {

const std::string kClassKey = "CLSID\\{16657407-4686-40CE-B8BF-1BE47D1AB637}";
const std::string kProgId = "prjTillwick.clsTillwick";

bool ClassesKeyExists(const std::string& key) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    ::RegCloseKey(handle);
    return true;
}

std::string Classes(const std::string& key, const char* name = nullptr) {
    return RegText(HKEY_CLASSES_ROOT, key, name).value_or("<none>");
}

void ExpectRegistered(const std::string& dllPath) {
    EXPECT_STRCASEEQ(Classes(kClassKey + "\\InprocServer32").c_str(), dllPath.c_str());
    EXPECT_EQ(Classes(kClassKey + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(Classes(kClassKey + "\\ProgID"), kProgId);
    EXPECT_EQ(Classes(kProgId + "\\CLSID"), "{16657407-4686-40CE-B8BF-1BE47D1AB637}");
}

void ExpectUnregistered() {
    EXPECT_FALSE(ClassesKeyExists(kClassKey));
    EXPECT_FALSE(ClassesKeyExists(kProgId));
}

TEST(E2eRegistration, DllRegisterServerAndRegsvr32WriteTheClassAndUnregisteringRemovesIt) {
    HMODULE dll = ::LoadLibraryA(PluginDll().c_str());
    ASSERT_NE(dll, nullptr);
    using ServerProc = HRESULT(__stdcall*)();
    auto reg = reinterpret_cast<ServerProc>(reinterpret_cast<void*>(::GetProcAddress(dll, "DllRegisterServer")));
    auto unreg = reinterpret_cast<ServerProc>(reinterpret_cast<void*>(::GetProcAddress(dll, "DllUnregisterServer")));
    ASSERT_NE(reg, nullptr);
    ASSERT_NE(unreg, nullptr);
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(dll, path, MAX_PATH);

    EXPECT_EQ(reg(), S_OK);
    ExpectRegistered(path);
    EXPECT_EQ(unreg(), S_OK);
    ExpectUnregistered();
    ::FreeLibrary(dll);

    // The same through regsvr32, as an installer registers a COM server.
    ASSERT_EQ(RunToEnd("regsvr32.exe /s \"" + PluginDll() + "\"").code, 0u);
    ExpectRegistered(PluginDll());
    ASSERT_EQ(RunToEnd("regsvr32.exe /s /u \"" + PluginDll() + "\"").code, 0u);
    ExpectUnregistered();
}

}  // namespace
}  // namespace e2e
