#include "dll/registration.h"

#include <string>

#include "core/host_contract.h"
#include "dll/module.h"

#include <olectl.h>

namespace tillwick::dll {
namespace {

HRESULT SetValue(const std::string& keyPath, const char* name, const std::string& value) noexcept {
    HKEY key = nullptr;
    LONG rc = ::RegCreateKeyExA(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_WRITE, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    rc = ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(rc);
}

HRESULT DeleteTree(const std::string& keyPath) noexcept {
    LONG rc = ::RegDeleteTreeA(HKEY_CLASSES_ROOT, keyPath.c_str());
    if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) {
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, keyPath.c_str());
        return S_OK;
    }
    return HRESULT_FROM_WIN32(rc);
}

std::string ClassKey() { return "CLSID\\" + std::string(contract::kClassId); }

}  // namespace

HRESULT RegisterServer() noexcept {
    try {
        char path[MAX_PATH] = {};
        DWORD n = ::GetModuleFileNameA(ModuleInstance(), path, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) return SELFREG_E_CLASS;
        const std::string progId(contract::kProgId);
        HRESULT hr = SetValue(ClassKey(), nullptr, "clsTillwick");
        if (SUCCEEDED(hr)) hr = SetValue(ClassKey() + "\\InprocServer32", nullptr, path);
        if (SUCCEEDED(hr)) hr = SetValue(ClassKey() + "\\InprocServer32", "ThreadingModel", "Apartment");
        if (SUCCEEDED(hr)) hr = SetValue(ClassKey() + "\\ProgID", nullptr, progId);
        if (SUCCEEDED(hr)) hr = SetValue(progId, nullptr, "clsTillwick");
        if (SUCCEEDED(hr)) hr = SetValue(progId + "\\CLSID", nullptr, std::string(contract::kClassId));
        if (FAILED(hr)) {
            UnregisterServer();
            return SELFREG_E_CLASS;
        }
        return S_OK;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}

HRESULT UnregisterServer() noexcept {
    try {
        HRESULT a = DeleteTree(ClassKey());
        HRESULT b = DeleteTree(std::string(contract::kProgId));
        return SUCCEEDED(a) && SUCCEEDED(b) ? S_OK : SELFREG_E_CLASS;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}

}  // namespace tillwick::dll
