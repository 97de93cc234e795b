// The reference host's page objects on Windows: small IDispatch objects that
// script and the plugin reach late-bound by name, a browser that raises
// DWebBrowserEvents2 through its connection point, and the site that hands
// the browser out as the web-browser-application service.
#pragma once

#include <string>
#include <vector>

#include "host/host.h"
#include "host/win32/com.h"
#include "refhost/object_seam.h"

#include <ocidl.h>
#include <servprov.h>

namespace refhost::win32 {

// {34A715A0-6587-11D0-924A-0020AFC7AC4D}
inline constexpr GUID kDiidWebBrowserEvents2 = {
    0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};
// {0002DF05-0000-0000-C000-000000000046}
inline constexpr GUID kWebBrowserAppService = {
    0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Event ids of DWebBrowserEvents2 the host raises.
inline constexpr DISPID kDispDownloadComplete = 104;
inline constexpr DISPID kDispDownloadBegin = 106;
inline constexpr DISPID kDispProgressChange = 108;
inline constexpr DISPID kDispBeforeNavigate2 = 250;

// The object seam backed by script objects and LresultFromObject.
ObjectSeam ComObjects();

// Raises a browser event on an object the seam made: every advised sink's
// IDispatch::Invoke gets `id` with `args` (in call order). False for an
// object the seam did not make.
bool RaiseEvent(const host::Object& object, DISPID id, const std::vector<LONG>& args = {});

// Number of sinks advised on an object the seam made (-1: not one of ours).
int AdvisedSinks(const host::Object& object);

// A site for a plugin: IServiceProvider answering the web-browser-application
// service with `browser` (null: no IServiceProvider at all), and the
// IDispatch of `site` (null: no IDispatch). The caller owns the reference.
Microsoft::WRL::ComPtr<IUnknown> MakeSite(IDispatch* site, IDispatch* browser);

}  // namespace refhost::win32
