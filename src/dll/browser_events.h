// The DWebBrowserEvents2 sink: an IDispatch whose Invoke hands the four
// events the plugin reacts to over to its logic, and ignores all others.
#pragma once

#include "host/win_types.h"

#include "host/win32/com.h"

#include "core/plugin_object.h"

namespace tillwick::dll {

// {34A715A0-6587-11D0-924A-0020AFC7AC4D}
inline constexpr IID kDiidWebBrowserEvents2 = {0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};

enum BrowserDispId : DISPID {
    kDispDownloadComplete = 104,
    kDispDownloadBegin = 106,
    kDispProgressChange = 108,
    kDispBeforeNavigate2 = 250,
};

class BrowserEventSink final : public IDispatch {
public:
    explicit BrowserEventSink(PluginObject* logic) noexcept : logic_(logic) {}
    // The owner detaches the sink before its logic goes away; the browser may
    // still hold a reference for a while.
    void Detach() noexcept { logic_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) override;

private:
    LONG refs_ = 1;
    PluginObject* logic_;
};

}  // namespace tillwick::dll
