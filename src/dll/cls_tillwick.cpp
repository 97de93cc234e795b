#include "dll/cls_tillwick.h"

#include <new>
#include <optional>

#include "dll/browser_events.h"
#include "dll/module.h"
#include "host/win32/dispatch_object.h"

using Microsoft::WRL::ComPtr;

namespace tillwick::dll {
namespace {

// The web-browser-application service; the same GUID names the service and the interface.
constexpr GUID kWebBrowserApp = {0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// GetBrowserFromSite: the browser behind the site's service provider, as an
// IDispatch for late-bound use, or the failure to report to the host.
HRESULT GetBrowserFromSite(IServiceProvider* provider, ComPtr<IDispatch>* browser) noexcept {
    ComPtr<IUnknown> service;
    HRESULT hr = provider->QueryService(kWebBrowserApp, kWebBrowserApp, reinterpret_cast<void**>(service.GetAddressOf()));
    if (FAILED(hr)) return hr;
    if (!service) return E_NOINTERFACE;
    return service.As(browser);
}

}  // namespace

ClsTillwick::ClsTillwick() noexcept {
    AddModuleRef();
    // Creation runs the plugin's start-up, which contains its own failures.
    logic_.reset(new (std::nothrow) PluginObject());
}

ClsTillwick::~ClsTillwick() {
    DisconnectEvents();
    logic_.reset();  // release: every subclass goes back to the host's procedure
    ReleaseModuleRef();
}

HRESULT ClsTillwick::Create(REFIID iid, void** object) noexcept {
    auto* created = new (std::nothrow) ClsTillwick();
    if (created == nullptr) return E_OUTOFMEMORY;
    if (!created->logic_) {
        created->Release();
        return E_OUTOFMEMORY;
    }
    HRESULT hr = created->QueryInterface(iid, object);
    created->Release();
    return hr;
}

HRESULT ClsTillwick::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IObjectWithSite) {
        *object = static_cast<IObjectWithSite*>(this);
    } else if (iid == IID_IOleCommandTarget) {
        *object = static_cast<IOleCommandTarget*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG ClsTillwick::AddRef() { return host::win32::ComAddRef(refs_); }
ULONG ClsTillwick::Release() { return host::win32::ComRelease(this, refs_); }

HRESULT ClsTillwick::SetSite(IUnknown* site) {
    site_ = site;
    // The pointer decides: any non-null site takes the service-provider road,
    // whatever else it implements.
    std::optional<host::Object> siteObject;
    if (site != nullptr) {
        siteObject.emplace();
        ComPtr<IDispatch> siteDispatch;
        if (SUCCEEDED(site->QueryInterface(IID_PPV_ARGS(&siteDispatch))))
            siteObject = host::win32::MakeDispatchObject(siteDispatch);
    }
    std::optional<host::Object> browser;
    HRESULT serviceError = S_OK;
    if (site == nullptr) {
        browser = host::Object();
    } else {
        ComPtr<IServiceProvider> provider;
        serviceError = site->QueryInterface(IID_PPV_ARGS(&provider));
        ComPtr<IDispatch> browserDispatch;
        if (SUCCEEDED(serviceError)) serviceError = GetBrowserFromSite(provider.Get(), &browserDispatch);
        if (SUCCEEDED(serviceError)) browser = host::win32::MakeDispatchObject(browserDispatch);
    }
    HRESULT hr = logic_->SetSite(siteObject, browser, serviceError);
    // Follow the browser the logic now holds with the event sink.
    IDispatch* held = host::win32::DispatchOf(logic_->Browser());
    if (held == nullptr) DisconnectEvents();
    else if (SUCCEEDED(hr) && browser) ConnectEvents(held);
    return hr;
}

HRESULT ClsTillwick::GetSite(REFIID iid, void** site) {
    if (site == nullptr) return E_POINTER;
    *site = nullptr;
    if (!site_) return E_FAIL;
    site_->QueryInterface(iid, site);
    return S_OK;
}

HRESULT ClsTillwick::QueryStatus(const GUID*, ULONG count, OLECMD commands[], OLECMDTEXT*) {
    if (count == 0 || commands == nullptr) return S_OK;
    std::uint32_t flags = commands[0].cmdf;
    PluginObject::QueryStatus(&flags);
    commands[0].cmdf = flags;
    return S_OK;
}

HRESULT ClsTillwick::Exec(const GUID*, DWORD, DWORD, VARIANT*, VARIANT*) { return logic_->Exec(); }

void ClsTillwick::ConnectEvents(IDispatch* browser) noexcept {
    DisconnectEvents();
    ComPtr<IConnectionPointContainer> container;
    if (FAILED(browser->QueryInterface(IID_PPV_ARGS(&container)))) return;
    ComPtr<IConnectionPoint> point;
    if (FAILED(container->FindConnectionPoint(kDiidWebBrowserEvents2, &point))) return;
    auto* sink = new (std::nothrow) BrowserEventSink(logic_.get());
    if (sink == nullptr) return;
    // mingw-w64's ComPtr::Attach adds a reference, so take over the creation
    // reference by hand.
    sink_ = sink;
    sink->Release();
    DWORD cookie = 0;
    if (FAILED(point->Advise(sink, &cookie))) {
        sink_->Detach();
        sink_.Reset();
        return;
    }
    eventPoint_ = point;
    eventCookie_ = cookie;
}

void ClsTillwick::DisconnectEvents() noexcept {
    if (eventPoint_) eventPoint_->Unadvise(eventCookie_);
    eventPoint_.Reset();
    eventCookie_ = 0;
    if (sink_) sink_->Detach();
    sink_.Reset();
}

}  // namespace tillwick::dll
