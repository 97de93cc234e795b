#include "refhost/win32/dll_plugin.h"

#include <memory>
#include <new>
#include <utility>

#include "host/win32/com.h"
#include "host/win32/dispatch_object.h"
#include "refhost/win32/com_objects.h"

#include <docobj.h>

using Microsoft::WRL::ComPtr;

namespace refhost::win32 {
namespace {

using GetClassObjectProc = HRESULT(__stdcall*)(REFCLSID, REFIID, void**);

using CanUnloadNowProc = HRESULT(__stdcall*)();

// The loaded DLL; when the last owner lets go it is freed if it agrees, as
// COM frees unused libraries, and otherwise stays for the process's life.
struct PluginModule {
    HMODULE module = nullptr;
    GetClassObjectProc getClassObject = nullptr;
    ~PluginModule() {
        if (!module) return;
        auto canUnload = reinterpret_cast<CanUnloadNowProc>(
            reinterpret_cast<void*>(::GetProcAddress(module, "DllCanUnloadNow")));
        if (canUnload == nullptr || canUnload() == S_OK) ::FreeLibrary(module);
    }
};

// One plugin object, held the way the browser holds it.
class DllTabPlugin final : public TabPlugin {
public:
    DllTabPlugin(std::shared_ptr<PluginModule> module, ComPtr<IUnknown> object)
        : module_(std::move(module)), object_(std::move(object)) {}
    ~DllTabPlugin() override { object_.Reset(); }  // before module_ lets the DLL go

    HRESULT SetSite(std::optional<host::Object> site, std::optional<host::Object> browser) override {
        ComPtr<IObjectWithSite> withSite;
        HRESULT hr = object_.As(&withSite);
        if (FAILED(hr)) return hr;
        if (!site) {
            browser_ = host::Object();
            return withSite->SetSite(nullptr);
        }
        IDispatch* browserDispatch = browser ? host::win32::DispatchOf(*browser) : nullptr;
        ComPtr<IUnknown> comSite = MakeSite(host::win32::DispatchOf(*site), browserDispatch);
        if (!comSite) return E_OUTOFMEMORY;
        hr = withSite->SetSite(comSite.Get());
        browser_ = SUCCEEDED(hr) && browserDispatch ? *browser : host::Object();
        return hr;
    }
    HRESULT Exec() override {
        ComPtr<IOleCommandTarget> target;
        HRESULT hr = object_.As(&target);
        if (FAILED(hr)) return hr;
        return target->Exec(nullptr, 0, 0, nullptr, nullptr);
    }
    void BeforeNavigate2() override { RaiseEvent(browser_, kDispBeforeNavigate2); }
    void DownloadBegin() override { RaiseEvent(browser_, kDispDownloadBegin); }
    void DownloadComplete() override { RaiseEvent(browser_, kDispDownloadComplete); }
    void ProgressChange(std::int32_t progress, std::int32_t progressMax) override {
        RaiseEvent(browser_, kDispProgressChange, {progress, progressMax});
    }
    host::Object AttachedBrowser() const override { return browser_; }

private:
    std::shared_ptr<PluginModule> module_;
    ComPtr<IUnknown> object_;
    host::Object browser_;
};

}  // namespace

PluginFactory DllPluginFactory(const std::string& dllPath, const GUID& clsid) {
    auto module = std::make_shared<PluginModule>();
    module->module = ::LoadLibraryA(dllPath.c_str());
    if (module->module == nullptr) return {};
    module->getClassObject =
        reinterpret_cast<GetClassObjectProc>(reinterpret_cast<void*>(::GetProcAddress(module->module, "DllGetClassObject")));
    if (module->getClassObject == nullptr) return {};
    return [module, clsid]() -> std::unique_ptr<TabPlugin> {
        ComPtr<IClassFactory> factory;
        if (FAILED(module->getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(factory.GetAddressOf()))) ||
            !factory)
            return nullptr;
        ComPtr<IUnknown> object;
        if (FAILED(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(object.GetAddressOf()))) ||
            !object)
            return nullptr;
        return std::make_unique<DllTabPlugin>(module, std::move(object));
    };
}

}  // namespace refhost::win32
