// The COM face of the plugin: clsTillwick with IObjectWithSite and
// IOleCommandTarget, and a DWebBrowserEvents2 sink on the sited browser. All
// behaviour lives in tillwick::PluginObject; this layer only translates.
#pragma once

#include "host/win_types.h"

#include <ocidl.h>
#include <docobj.h>
#include <servprov.h>
#include "host/win32/com.h"

#include <memory>

#include "core/plugin_object.h"

namespace tillwick::dll {

class BrowserEventSink;

class ClsTillwick final : public IObjectWithSite, public IOleCommandTarget {
public:
    static HRESULT Create(REFIID iid, void** object) noexcept;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IObjectWithSite
    HRESULT STDMETHODCALLTYPE SetSite(IUnknown* site) override;
    HRESULT STDMETHODCALLTYPE GetSite(REFIID iid, void** site) override;
    // IOleCommandTarget
    HRESULT STDMETHODCALLTYPE QueryStatus(const GUID* group, ULONG count, OLECMD commands[],
                                          OLECMDTEXT* text) override;
    HRESULT STDMETHODCALLTYPE Exec(const GUID* group, DWORD id, DWORD option, VARIANT* in,
                                   VARIANT* out) override;

    PluginObject& Logic() noexcept { return *logic_; }

private:
    ClsTillwick() noexcept;
    ~ClsTillwick();  // only through Release
    friend ULONG host::win32::ComRelease<ClsTillwick>(ClsTillwick*, LONG&) noexcept;
    void ConnectEvents(IDispatch* browser) noexcept;
    void DisconnectEvents() noexcept;

    LONG refs_ = 1;
    std::unique_ptr<PluginObject> logic_;
    Microsoft::WRL::ComPtr<IUnknown> site_;
    Microsoft::WRL::ComPtr<IConnectionPoint> eventPoint_;
    DWORD eventCookie_ = 0;
    Microsoft::WRL::ComPtr<BrowserEventSink> sink_;
};

}  // namespace tillwick::dll
