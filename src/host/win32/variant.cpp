#include "host/win32/variant.h"

#include <limits>

#include "host/text.h"
#include "host/win32/dispatch_object.h"

namespace host::win32 {

using Microsoft::WRL::ComPtr;

VariantArgs::VariantArgs(std::size_t count) : args_(count) {
    for (auto& v : args_) ::VariantInit(&v);
}

VariantArgs::~VariantArgs() {
    for (auto& v : args_) ::VariantClear(&v);
}

bool VariantArgs::Set(std::size_t index, const Value& value) {
    if (index >= args_.size()) return false;
    return ToVariant(value, &args_[args_.size() - 1 - index]);
}

namespace {

struct ToVariantVisitor {
    VARIANT* out;

    bool operator()(std::monostate) const {
        V_VT(out) = VT_EMPTY;
        return true;
    }
    bool operator()(bool b) const {
        V_VT(out) = VT_BOOL;
        V_BOOL(out) = b ? VARIANT_TRUE : VARIANT_FALSE;
        return true;
    }
    bool operator()(std::int32_t i) const {
        V_VT(out) = VT_I4;
        V_I4(out) = i;
        return true;
    }
    bool operator()(double d) const {
        V_VT(out) = VT_R8;
        V_R8(out) = d;
        return true;
    }
    bool operator()(const std::string& s) const {
        std::u16string wide = AnsiToWide(s);
        BSTR b = ::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wide.c_str()),
                                     static_cast<UINT>(wide.size()));
        if (!b) return false;
        V_VT(out) = VT_BSTR;
        V_BSTR(out) = b;
        return true;
    }
    bool operator()(const Object& o) const {
        // An empty object is script's "nothing": a null IDispatch.
        IDispatch* d = DispatchOf(o);
        if (o && !d) return false;
        if (d) d->AddRef();
        V_VT(out) = VT_DISPATCH;
        V_DISPATCH(out) = d;
        return true;
    }
};

std::optional<Value> FromInt64(long long v) {
    if (v >= std::numeric_limits<std::int32_t>::min() &&
        v <= std::numeric_limits<std::int32_t>::max()) {
        return Value{static_cast<std::int32_t>(v)};
    }
    return Value{static_cast<double>(v)};
}

// Types without a direct host form go through the system's own coercion.
// (VariantChangeType and VariantCopyInd only read their source, but are
// declared without const.)
std::optional<Value> Coerced(const VARIANT& value, VARTYPE to) {
    Variant converted;
    auto* source = const_cast<VARIANT*>(&value);
    if (FAILED(::VariantChangeType(converted.get(), source, 0, to))) return std::nullopt;
    return FromVariant(*converted);
}

}  // namespace

bool ToVariant(const Value& value, VARIANT* out) {
    return std::visit(ToVariantVisitor{out}, value);
}

std::optional<Value> FromVariant(const VARIANT& value) {
    if (V_VT(&value) & VT_BYREF) {
        Variant direct;
        auto* source = const_cast<VARIANT*>(&value);
        if (FAILED(::VariantCopyInd(direct.get(), source))) return std::nullopt;
        return FromVariant(*direct);
    }
    switch (V_VT(&value)) {
    case VT_EMPTY:
    case VT_NULL:
        return Value{};
    case VT_BOOL:
        return Value{V_BOOL(&value) != VARIANT_FALSE};
    case VT_I1:
        return Value{static_cast<std::int32_t>(V_I1(&value))};
    case VT_UI1:
        return Value{static_cast<std::int32_t>(V_UI1(&value))};
    case VT_I2:
        return Value{static_cast<std::int32_t>(V_I2(&value))};
    case VT_UI2:
        return Value{static_cast<std::int32_t>(V_UI2(&value))};
    case VT_I4:
        return Value{static_cast<std::int32_t>(V_I4(&value))};
    case VT_INT:
        return Value{static_cast<std::int32_t>(V_INT(&value))};
    // Unsigned 32-bit values keep their bits (colours, handles, flags).
    case VT_UI4:
        return Value{static_cast<std::int32_t>(V_UI4(&value))};
    case VT_UINT:
        return Value{static_cast<std::int32_t>(V_UINT(&value))};
    case VT_I8:
        return FromInt64(V_I8(&value));
    case VT_UI8:
        if (V_UI8(&value) > static_cast<ULONGLONG>(std::numeric_limits<long long>::max())) {
            return Value{static_cast<double>(V_UI8(&value))};
        }
        return FromInt64(static_cast<long long>(V_UI8(&value)));
    case VT_R4:
        return Value{static_cast<double>(V_R4(&value))};
    case VT_R8:
        return Value{V_R8(&value)};
    case VT_CY:
    case VT_DECIMAL:
        return Coerced(value, VT_R8);
    case VT_DATE:
        return Coerced(value, VT_BSTR);
    case VT_BSTR: {
        BSTR b = V_BSTR(&value);
        if (!b) return Value{std::string{}};
        return Value{WideToAnsi(
            std::u16string_view(reinterpret_cast<const char16_t*>(b), ::SysStringLen(b)))};
    }
    case VT_DISPATCH:
        return Value{MakeDispatchObject(ComPtr<IDispatch>(V_DISPATCH(&value)))};
    case VT_UNKNOWN: {
        ComPtr<IDispatch> d;
        IUnknown* u = V_UNKNOWN(&value);
        if (!u) return Value{Object{}};
        if (FAILED(u->QueryInterface(IID_PPV_ARGS(&d)))) return std::nullopt;
        return Value{MakeDispatchObject(std::move(d))};
    }
    default:
        return std::nullopt;
    }
}

}  // namespace host::win32
