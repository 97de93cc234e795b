// The host's COM page objects on real ole32: late-bound names, browser events
// through the connection point, the site's browser service, and the DLL sited
// through them.
#include <vector>

#include "e2e/e2e_host.h"
#include "host/win32/dispatch_object.h"

#include <olectl.h>

namespace e2e {
namespace {

using Microsoft::WRL::ComPtr;
using refhost::win32::kDiidWebBrowserEvents2;
using refhost::win32::kWebBrowserAppService;

class ComObjectsTest : public HostTest {
protected:
    refhost::ObjectSeam seam = refhost::win32::ComObjects();
};

// An event sink that records the events it gets and their integer arguments.
class RecordingSink final : public IDispatch {
public:
    struct Event {
        DISPID id;
        std::vector<LONG> argsLastFirst;
    };
    std::vector<Event> events;
    ULONG refs = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kDiidWebBrowserEvents2) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }  // lives on the test's stack
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return *n = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        Event e{id, {}};
        for (UINT i = 0; params && i < params->cArgs; ++i) e.argsLastFirst.push_back(params->rgvarg[i].lVal);
        events.push_back(e);
        return S_OK;
    }
};

TEST_F(ComObjectsTest, PropertiesAndMethodsAreReachedByNameWithoutCase) {
    host::Object doc = seam.create();
    seam.set(doc, "title", std::string("Hello"));
    seam.setMethod(doc, "add", [](const std::vector<host::Value>& args) -> std::optional<host::Value> {
        if (args.size() != 2) return std::nullopt;
        return host::Value{std::get<std::int32_t>(args[0]) * 10 + std::get<std::int32_t>(args[1])};
    });
    EXPECT_EQ(doc.Get("TITLE"), std::optional<host::Value>(std::string("Hello")));
    EXPECT_TRUE(doc.Put("Title", std::string("Changed")));
    EXPECT_EQ(doc.Get("title"), std::optional<host::Value>(std::string("Changed")));
    // Argument order survives IDispatch's last-first layout.
    EXPECT_EQ(doc.Call("Add", {std::int32_t{2}, std::int32_t{3}}), std::optional<host::Value>(std::int32_t{23}));
    EXPECT_FALSE(doc.Call("add", {std::int32_t{1}}));  // the method's own failure
    EXPECT_FALSE(doc.Get("missing"));
    // A property that holds an object hands out that same object.
    host::Object window = seam.create();
    seam.set(doc, "parentWindow", window);
    EXPECT_TRUE(doc.GetObject("parentWindow") == window);
}

TEST_F(ComObjectsTest, BrowserEventsReachAdvisedSinksUntilUnadvised) {
    host::Object browser = seam.create();
    ComPtr<IConnectionPointContainer> container;
    ASSERT_HRESULT_SUCCEEDED(host::win32::DispatchOf(browser)->QueryInterface(IID_PPV_ARGS(&container)));
    ComPtr<IConnectionPoint> point;
    EXPECT_EQ(container->FindConnectionPoint(IID_IPropertyNotifySink, &point), CONNECT_E_NOCONNECTION);
    ASSERT_HRESULT_SUCCEEDED(container->FindConnectionPoint(kDiidWebBrowserEvents2, &point));

    RecordingSink sink;
    DWORD cookie = 0;
    ASSERT_HRESULT_SUCCEEDED(point->Advise(&sink, &cookie));
    EXPECT_EQ(refhost::win32::AdvisedSinks(browser), 1);
    EXPECT_TRUE(refhost::win32::RaiseEvent(browser, refhost::win32::kDispProgressChange, {50, 100}));
    EXPECT_TRUE(refhost::win32::RaiseEvent(browser, refhost::win32::kDispDownloadComplete));
    ASSERT_EQ(sink.events.size(), 2u);
    EXPECT_EQ(sink.events[0].id, refhost::win32::kDispProgressChange);
    EXPECT_EQ(sink.events[0].argsLastFirst, (std::vector<LONG>{100, 50}));
    EXPECT_EQ(sink.events[1].id, refhost::win32::kDispDownloadComplete);

    EXPECT_HRESULT_SUCCEEDED(point->Unadvise(cookie));
    EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
    refhost::win32::RaiseEvent(browser, refhost::win32::kDispDownloadBegin);
    EXPECT_EQ(sink.events.size(), 2u);
    EXPECT_EQ(sink.refs, 0u) << "the browser kept a reference to an unadvised sink";
    EXPECT_FALSE(refhost::win32::RaiseEvent(host::Object(), refhost::win32::kDispDownloadBegin));
}

TEST_F(ComObjectsTest, SiteAnswersOnlyTheBrowserService) {
    host::Object site = seam.create(), browser = seam.create();
    seam.set(site, "name", std::string("site"));
    ComPtr<IUnknown> unknown = refhost::win32::MakeSite(host::win32::DispatchOf(site), host::win32::DispatchOf(browser));
    ComPtr<IServiceProvider> provider;
    ASSERT_HRESULT_SUCCEEDED(unknown.As(&provider));
    ComPtr<IDispatch> served;
    ASSERT_HRESULT_SUCCEEDED(provider->QueryService(kWebBrowserAppService, IID_PPV_ARGS(&served)));
    EXPECT_TRUE(host::win32::MakeDispatchObject(served) == browser);
    ComPtr<IDispatch> none;
    EXPECT_HRESULT_FAILED(provider->QueryService(IID_IDispatch, IID_PPV_ARGS(&none)));
    // The site's own names answer through its IDispatch.
    ComPtr<IDispatch> siteDispatch;
    ASSERT_HRESULT_SUCCEEDED(unknown.As(&siteDispatch));
    EXPECT_EQ(host::win32::MakeDispatchObject(siteDispatch).Get("name"),
              std::optional<host::Value>(std::string("site")));

    // Without a browser there is no service provider at all; without a site, no IDispatch.
    ComPtr<IServiceProvider> lonelyProvider;
    EXPECT_HRESULT_FAILED(refhost::win32::MakeSite(host::win32::DispatchOf(site), nullptr).As(&lonelyProvider));
    ComPtr<IDispatch> bareDispatch;
    EXPECT_HRESULT_FAILED(refhost::win32::MakeSite(nullptr, host::win32::DispatchOf(browser)).As(&bareDispatch));
}

// The DLL sited like a browser sites it: it connects its event sink to the
// browser's connection point and lets go of it when unsited.
TEST_F(ComObjectsTest, TheDllConnectsToTheBrowserItIsSitedWith) {
    refhost::PluginFactory factory = refhost::win32::DllPluginFactory(PluginDll());
    ASSERT_TRUE(factory) << "cannot load " << PluginDll();
    auto plugin = factory();
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(CanUnloadNow(), S_FALSE) << "an object is alive";
    host::Object site = seam.create(), browser = seam.create();
    EXPECT_HRESULT_SUCCEEDED(plugin->SetSite(site, browser));
    EXPECT_TRUE(plugin->AttachedBrowser() == browser);
    EXPECT_EQ(refhost::win32::AdvisedSinks(browser), 1);
    // A site owes the plugin no IDispatch: one without is a site all the same.
    host::Object other = seam.create();
    EXPECT_HRESULT_SUCCEEDED(plugin->SetSite(host::Object(), other));
    EXPECT_EQ(refhost::win32::AdvisedSinks(browser), 0);
    EXPECT_EQ(refhost::win32::AdvisedSinks(other), 1);
    // No service provider: the failure goes back and the browser stays attached.
    EXPECT_HRESULT_FAILED(plugin->SetSite(site, std::nullopt));
    EXPECT_EQ(refhost::win32::AdvisedSinks(other), 1);
    EXPECT_HRESULT_SUCCEEDED(plugin->SetSite(std::nullopt, std::nullopt));
    EXPECT_EQ(refhost::win32::AdvisedSinks(other), 0);
    EXPECT_FALSE(plugin->AttachedBrowser());
    plugin.reset();
    Pump(100);
    EXPECT_EQ(CanUnloadNow(), S_OK) << "the released object still holds the module";
}

}  // namespace
}  // namespace e2e
