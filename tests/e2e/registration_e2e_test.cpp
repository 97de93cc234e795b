// DllRegisterServer and DllUnregisterServer of the real DLL: called directly
// and through regsvr32, the way an installer registers a COM server.
#include <optional>
#include <string>

#include "e2e/e2e_host.h"

namespace e2e {
namespace {

const std::string kClassKey = "CLSID\\{16657407-4686-40CE-B8BF-1BE47D1AB637}";
const std::string kProgId = "prjTillwick.clsTillwick";

std::optional<std::string> ClassesValue(const std::string& key, const char* name = nullptr) {
    char data[1024] = {};
    DWORD size = sizeof data;
    if (::RegGetValueA(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(data);
}

bool ClassesKeyExists(const std::string& key) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    ::RegCloseKey(handle);
    return true;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    return text;
}

void ExpectRegistered(const std::string& dllPath) {
    auto server = ClassesValue(kClassKey + "\\InprocServer32");
    ASSERT_TRUE(server) << "no InprocServer32";
    EXPECT_EQ(Lower(*server), Lower(dllPath));
    EXPECT_EQ(ClassesValue(kClassKey + "\\InprocServer32", "ThreadingModel"), std::optional<std::string>("Apartment"));
    EXPECT_EQ(ClassesValue(kClassKey + "\\ProgID"), std::optional<std::string>(kProgId));
    EXPECT_EQ(ClassesValue(kProgId + "\\CLSID"), std::optional<std::string>("{16657407-4686-40CE-B8BF-1BE47D1AB637}"));
}

void ExpectUnregistered() {
    EXPECT_FALSE(ClassesKeyExists(kClassKey));
    EXPECT_FALSE(ClassesKeyExists(kProgId));
}

// Runs regsvr32 silently on the DLL; its exit code.
DWORD RunRegsvr32(const std::string& options) {
    std::string command = "regsvr32.exe /s " + options + "\"" + PluginDll() + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return ~DWORD{0};
    ::WaitForSingleObject(process.hProcess, 60000);
    DWORD code = ~DWORD{0};
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return code;
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
    ASSERT_EQ(RunRegsvr32(""), 0u);
    ExpectRegistered(PluginDll());
    ASSERT_EQ(RunRegsvr32("/u "), 0u);
    ExpectUnregistered();
}

}  // namespace
}  // namespace e2e
