#include "refhost/win32/com_objects.h"

#include <map>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include <oleacc.h>
#include <olectl.h>

#include "host/win32/dispatch_object.h"
#include "host/win32/guard.h"
#include "host/win32/variant.h"

using Microsoft::WRL::ComPtr;

namespace refhost::win32 {
namespace {

// Lets the seam find its own objects behind an IDispatch (QueryInterface
// with this id answers the ScriptObject itself).
// {5B0E1C52-0D8E-4F3B-9B47-7A2C3F1D6E01}
constexpr GUID kIidScriptObject = {0x5B0E1C52, 0x0D8E, 0x4F3B, {0x9B, 0x47, 0x7A, 0x2C, 0x3F, 0x1D, 0x6E, 0x01}};

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string Narrow(LPCOLESTR text) {
    int n = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string out(static_cast<std::size_t>(n - 1), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

// A script object: named properties and methods, reached by name through
// IDispatch the way script reaches a page object; names compare without case.
// It is also a connection point container with the one connection point of
// DWebBrowserEvents2, which only a browser ever raises.
class ScriptObject final : public IDispatch, public IConnectionPointContainer, public IConnectionPoint {
public:
    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch) *out = static_cast<IDispatch*>(this);
        else if (iid == IID_IConnectionPointContainer) *out = static_cast<IConnectionPointContainer*>(this);
        else if (iid == IID_IConnectionPoint) *out = static_cast<IConnectionPoint*>(this);
        else if (iid == kIidScriptObject) *out = this;
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return host::win32::ComAddRef(refs_); }
    ULONG STDMETHODCALLTYPE Release() override { return host::win32::ComRelease(this, refs_); }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (names == nullptr || ids == nullptr || count == 0) return E_INVALIDARG;
        return host::win32::Guarded<HRESULT>(E_OUTOFMEMORY, [&] {
            // Every name gets an id, as script may put a property that does not exist yet.
            ids[0] = IdOf(Narrow(names[0]));
            for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
            return count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) override {
        if (result) ::VariantInit(result);
        if (id < 1 || static_cast<std::size_t>(id) > names_.size()) return DISP_E_MEMBERNOTFOUND;
        return host::win32::Guarded<HRESULT>(E_FAIL, [&] { return InvokeNamed(names_[id - 1], flags, params, result); });
    }

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override {
        if (out) *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (iid != kDiidWebBrowserEvents2) return CONNECT_E_NOCONNECTION;
        *out = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }

    // IConnectionPoint
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
        if (iid == nullptr) return E_POINTER;
        *iid = kDiidWebBrowserEvents2;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override {
        if (out == nullptr) return E_POINTER;
        *out = static_cast<IConnectionPointContainer*>(this);
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
        if (sink == nullptr || cookie == nullptr) return E_POINTER;
        *cookie = 0;
        ComPtr<IDispatch> dispatch;
        if (FAILED(sink->QueryInterface(IID_PPV_ARGS(&dispatch)))) return CONNECT_E_CANNOTCONNECT;
        return host::win32::Guarded<HRESULT>(E_OUTOFMEMORY, [&] {
            sinks_.emplace(++lastCookie_, dispatch);
            *cookie = lastCookie_;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
        return sinks_.erase(cookie) == 1 ? S_OK : CONNECT_E_NOCONNECTION;
    }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override {
        if (out) *out = nullptr;
        return E_NOTIMPL;
    }

    // The seam's side.
    void Set(std::string_view name, host::Value value) {
        IdOf(std::string(name));
        properties_[Lower(std::string(name))] = std::move(value);
    }
    void SetMethod(std::string_view name, ObjectSeam::Method method) {
        IdOf(std::string(name));
        methods_[Lower(std::string(name))] = std::move(method);
    }
    void Raise(DISPID id, const std::vector<LONG>& args) {
        // A sink may unadvise from inside its own event, so the list is copied.
        std::vector<ComPtr<IDispatch>> sinks;
        for (const auto& entry : sinks_) sinks.push_back(entry.second);
        std::vector<VARIANT> argv(args.size());
        for (std::size_t i = 0; i < args.size(); ++i) {
            ::VariantInit(&argv[i]);
            argv[i].vt = VT_I4;
            argv[i].lVal = args[args.size() - 1 - i];  // last argument first
        }
        DISPPARAMS params{argv.empty() ? nullptr : argv.data(), nullptr, static_cast<UINT>(argv.size()), 0};
        for (auto& sink : sinks) sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                                              nullptr, nullptr);
    }
    int SinkCount() const noexcept { return static_cast<int>(sinks_.size()); }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& property : properties_) names.push_back(property.first);
        return names;
    }

private:
    ~ScriptObject() = default;  // only through Release
    friend ULONG host::win32::ComRelease<ScriptObject>(ScriptObject*, LONG&) noexcept;

    DISPID IdOf(const std::string& name) {
        const std::string key = Lower(name);
        for (std::size_t i = 0; i < names_.size(); ++i)
            if (names_[i] == key) return static_cast<DISPID>(i + 1);
        names_.push_back(key);
        return static_cast<DISPID>(names_.size());
    }

    HRESULT InvokeNamed(const std::string& name, WORD flags, DISPPARAMS* params, VARIANT* result) {
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            if (params == nullptr || params->cArgs < 1) return DISP_E_BADPARAMCOUNT;
            auto value = host::win32::FromVariant(params->rgvarg[0]);
            properties_[name] = value.value_or(host::Value{});
            return S_OK;
        }
        auto method = methods_.find(name);
        // A page window runs script through execScript; the host has no script
        // engine, so the call succeeds and runs nothing.
        if (name == "execscript" && (flags & DISPATCH_METHOD) && method == methods_.end()) return S_OK;
        if (method != methods_.end() && (flags & DISPATCH_METHOD)) {
            std::vector<host::Value> args;
            const UINT count = params ? params->cArgs : 0;
            for (UINT i = count; i-- > 0;)  // rgvarg holds the last argument first
                args.push_back(host::win32::FromVariant(params->rgvarg[i]).value_or(host::Value{}));
            // Copied: the method may replace itself on this object.
            ObjectSeam::Method call = method->second;
            auto returned = call(args);
            if (!returned) return DISP_E_EXCEPTION;
            if (result) host::win32::ToVariant(*returned, result);
            return S_OK;
        }
        auto property = properties_.find(name);
        if (property != properties_.end() && (flags & DISPATCH_PROPERTYGET)) {
            if (result && !host::win32::ToVariant(property->second, result)) return DISP_E_TYPEMISMATCH;
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

    LONG refs_ = 1;
    std::vector<std::string> names_;  // DISPID n is names_[n - 1]
    std::map<std::string, host::Value> properties_;
    std::map<std::string, ObjectSeam::Method> methods_;
    std::map<DWORD, ComPtr<IDispatch>> sinks_;
    DWORD lastCookie_ = 0;
};

// The ScriptObject behind an object the seam made, or null. The object stays
// alive as long as the host::Object does.
ScriptObject* ScriptOf(const host::Object& object) noexcept {
    IDispatch* dispatch = host::win32::DispatchOf(object);
    if (dispatch == nullptr) return nullptr;
    ScriptObject* script = nullptr;
    if (FAILED(dispatch->QueryInterface(kIidScriptObject, reinterpret_cast<void**>(&script))) || !script)
        return nullptr;
    script->Release();  // borrowed: the host::Object holds it
    return script;
}

// The plugin's site: the browser as a service, and the host's site object.
class Site final : public IServiceProvider, public IDispatch {
public:
    Site(IDispatch* site, IDispatch* browser) : site_(site), browser_(browser) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        // A site without a browser offers no service provider at all.
        if (iid == IID_IUnknown || (iid == IID_IServiceProvider && browser_))
            *out = static_cast<IServiceProvider*>(this);
        else if (iid == IID_IDispatch && site_) *out = static_cast<IDispatch*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return host::win32::ComAddRef(refs_); }
    ULONG STDMETHODCALLTYPE Release() override { return host::win32::ComRelease(this, refs_); }

    HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (service != kWebBrowserAppService || !browser_) return E_NOINTERFACE;
        // The service is asked for IWebBrowserApp, the browser's dual interface.
        // Our browser is reached late-bound only, so it answers with the
        // IDispatch that interface begins with; a caller uses it through
        // IDispatch (as the plugin does), never through the early-bound slots.
        if (iid == kWebBrowserAppService) {
            browser_->AddRef();
            *out = browser_.Get();
            return S_OK;
        }
        return browser_->QueryInterface(iid, out);
    }

    // IDispatch: the host's site object.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return site_->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
        return site_->GetTypeInfo(index, lcid, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override {
        return site_->GetIDsOfNames(iid, names, count, lcid, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* info, UINT* argError) override {
        return site_->Invoke(id, iid, lcid, flags, params, result, info, argError);
    }

private:
    ~Site() = default;  // only through Release
    friend ULONG host::win32::ComRelease<Site>(Site*, LONG&) noexcept;
    LONG refs_ = 1;
    ComPtr<IDispatch> site_;
    ComPtr<IDispatch> browser_;
};

}  // namespace

ObjectSeam ComObjects() {
    ObjectSeam seam;
    seam.create = [] {
        ComPtr<IDispatch> dispatch;
        dispatch.Attach(static_cast<IDispatch*>(new ScriptObject()));
        return host::win32::MakeDispatchObject(std::move(dispatch));
    };
    seam.set = [](const host::Object& object, std::string_view name, host::Value value) {
        if (ScriptObject* script = ScriptOf(object)) script->Set(name, std::move(value));
    };
    seam.setMethod = [](const host::Object& object, std::string_view name, ObjectSeam::Method method) {
        if (ScriptObject* script = ScriptOf(object)) script->SetMethod(name, std::move(method));
    };
    seam.lresultFromObject = [](const host::Object& object) -> LRESULT {
        IDispatch* dispatch = host::win32::DispatchOf(object);
        if (dispatch == nullptr) return 0;
        LRESULT result = ::LresultFromObject(IID_IDispatch, 0, dispatch);
        return result < 0 ? 0 : result;  // a failure code is no answer
    };
    seam.names = [](const host::Object& object) {
        ScriptObject* script = ScriptOf(object);
        return script ? script->Names() : std::vector<std::string>{};
    };
    return seam;
}

bool RaiseEvent(const host::Object& object, DISPID id, const std::vector<LONG>& args) {
    ScriptObject* script = ScriptOf(object);
    if (script == nullptr) return false;
    ComPtr<IDispatch> keep(static_cast<IDispatch*>(script));  // a sink may drop the last other reference
    script->Raise(id, args);
    return true;
}

int AdvisedSinks(const host::Object& object) {
    ScriptObject* script = ScriptOf(object);
    return script ? script->SinkCount() : -1;
}

ComPtr<IUnknown> MakeSite(IDispatch* site, IDispatch* browser) {
    ComPtr<IUnknown> unknown;
    auto* made = new (std::nothrow) Site(site, browser);
    if (made) unknown.Attach(static_cast<IServiceProvider*>(made));
    return unknown;
}

}  // namespace refhost::win32
