#include "host/win32/dispatch_object.h"

#include "host/text.h"
#include "host/win32/guard.h"
#include "host/win32/variant.h"

namespace host::win32 {

using Microsoft::WRL::ComPtr;

namespace {

class DispatchObject final : public Object::Impl {
public:
    DispatchObject(ComPtr<IDispatch> dispatch, ComPtr<IUnknown> identity) noexcept
        : dispatch_(std::move(dispatch)), identity_(std::move(identity)) {}

    std::optional<Value> Get(std::string_view name) override {
        return Guarded(std::optional<Value>{}, [&]() -> std::optional<Value> {
            auto id = IdOf(name);
            if (!id) return std::nullopt;
            DISPPARAMS none{};
            Variant result;
            if (FAILED(Invoke(*id, DISPATCH_PROPERTYGET, &none, result.get()))) return std::nullopt;
            return FromVariant(*result);
        });
    }

    bool Put(std::string_view name, const Value& value) override {
        return Guarded(false, [&] {
            auto id = IdOf(name);
            if (!id) return false;
            VariantArgs args(1);
            if (!args.Set(0, value)) return false;
            DISPID named = DISPID_PROPERTYPUT;
            DISPPARAMS params{args.data(), &named, 1, 1};
            return SUCCEEDED(Invoke(*id, DISPATCH_PROPERTYPUT, &params, nullptr));
        });
    }

    std::optional<Value> Call(std::string_view name, const std::vector<Value>& args) override {
        return Guarded(std::optional<Value>{}, [&]() -> std::optional<Value> {
            auto id = IdOf(name);
            if (!id) return std::nullopt;
            VariantArgs argv(args.size());
            for (std::size_t i = 0; i < args.size(); ++i) {
                if (!argv.Set(i, args[i])) return std::nullopt;
            }
            DISPPARAMS params{argv.data(), nullptr, argv.count(), 0};
            Variant result;
            if (FAILED(Invoke(*id, DISPATCH_METHOD, &params, result.get()))) return std::nullopt;
            return FromVariant(*result);
        });
    }

    const void* Identity() const override { return identity_.Get(); }

    IDispatch* Dispatch() const noexcept { return dispatch_.Get(); }

private:
    std::optional<DISPID> IdOf(std::string_view name) const {
        std::u16string wide = AnsiToWide(name);
        LPOLESTR names[] = {reinterpret_cast<LPOLESTR>(wide.data())};
        DISPID id = DISPID_UNKNOWN;
        if (FAILED(dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) {
            return std::nullopt;
        }
        return id;
    }

    HRESULT Invoke(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) const noexcept {
        EXCEPINFO exception{};
        UINT argError = 0;
        HRESULT hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, params, result,
                                       &exception, &argError);
        // A script error is a failed call for us; its texts are not kept.
        ::SysFreeString(exception.bstrSource);
        ::SysFreeString(exception.bstrDescription);
        ::SysFreeString(exception.bstrHelpFile);
        return hr;
    }

    ComPtr<IDispatch> dispatch_;
    ComPtr<IUnknown> identity_;  // COM identity: equal for every face of one object
};

}  // namespace

Object MakeDispatchObject(ComPtr<IDispatch> dispatch) {
    if (!dispatch) return {};
    ComPtr<IUnknown> identity;
    if (FAILED(dispatch.As(&identity))) return {};
    return Object(std::make_shared<DispatchObject>(std::move(dispatch), std::move(identity)));
}

IDispatch* DispatchOf(const Object& object) noexcept {
    auto* impl = dynamic_cast<DispatchObject*>(object.impl());
    return impl ? impl->Dispatch() : nullptr;
}

}  // namespace host::win32
