// The page object behind a WM_HTML_GETOBJECT answer.
#include "host/host.h"
#include "host/win32/com.h"
#include "host/win32/dispatch_object.h"
#include "host/win32/guard.h"

#include <oleacc.h>

namespace host {

namespace {

// IHTMLDocument, named here so that <mshtml.h> is not needed.
constexpr GUID kIidHtmlDocument = {
    0x626FC520, 0xA41E, 0x11CF, {0xA7, 0x31, 0x00, 0xA0, 0xC9, 0x08, 0x26, 0x37}};

}  // namespace

Object ObjectFromLresult(LRESULT result) {
    using Microsoft::WRL::ComPtr;
    return win32::Guarded(Object{}, [&] {
        // The answer can be unmarshalled only once (the call consumes it), so
        // it is taken as IDispatch, which every page object has; the document
        // face is then preferred when the object has one.
        ComPtr<IDispatch> dispatch;
        if (FAILED(::ObjectFromLresult(result, IID_IDispatch, 0,
                                       reinterpret_cast<void**>(dispatch.GetAddressOf()))) ||
            !dispatch) {
            return Object{};
        }
        // IHTMLDocument derives from IDispatch, so its pointer serves as one.
        ComPtr<IDispatch> document;
        if (SUCCEEDED(dispatch->QueryInterface(
                kIidHtmlDocument, reinterpret_cast<void**>(document.GetAddressOf()))) &&
            document) {
            dispatch = document;
        }
        return win32::MakeDispatchObject(std::move(dispatch));
    });
}

}  // namespace host
