#include "dll/browser_events.h"

#include <oleauto.h>

namespace tillwick::dll {
namespace {

// An event argument as a 32-bit integer (arguments arrive in reverse order).
LONG ArgAsLong(const DISPPARAMS* params, UINT indexFromEnd) noexcept {
    if (params == nullptr || indexFromEnd >= params->cArgs) return 0;
    VARIANT converted;
    ::VariantInit(&converted);
    VARIANT* source = &params->rgvarg[indexFromEnd];
    LONG value = 0;
    if (SUCCEEDED(::VariantChangeType(&converted, source, 0, VT_I4))) value = converted.lVal;
    ::VariantClear(&converted);
    return value;
}

}  // namespace

HRESULT BrowserEventSink::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kDiidWebBrowserEvents2) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG BrowserEventSink::AddRef() { return host::win32::ComAddRef(refs_); }
ULONG BrowserEventSink::Release() { return host::win32::ComRelease(this, refs_); }

HRESULT BrowserEventSink::GetTypeInfoCount(UINT* count) {
    if (count) *count = 0;
    return S_OK;
}
HRESULT BrowserEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}
HRESULT BrowserEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT BrowserEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                 UINT*) {
    if (result) ::VariantInit(result);
    PluginObject* logic = logic_;
    if (logic == nullptr) return S_OK;
    switch (id) {
        case kDispBeforeNavigate2: logic->OnBeforeNavigate2(); break;
        case kDispDownloadBegin: logic->OnDownloadBegin(); break;
        case kDispDownloadComplete: logic->OnDownloadComplete(); break;
        case kDispProgressChange:
            // ProgressChange(Progress, ProgressMax): reversed in rgvarg.
            logic->OnProgressChange(ArgAsLong(params, 1), ArgAsLong(params, 0));
            break;
        default: break;
    }
    return S_OK;
}

}  // namespace tillwick::dll
