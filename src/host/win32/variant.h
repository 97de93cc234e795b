// Conversion between host values and VARIANTs, the way script sees them:
// BSTR <-> text in the ANSI code page, integers -> int32, VARIANT_BOOL <-> bool,
// doubles, IDispatch <-> Object, empty and null -> no value.
#pragma once

#include <optional>
#include <vector>

#include "host/host.h"
#include "host/win32/com.h"

namespace host::win32 {

// A VARIANT that clears itself.
class Variant {
public:
    Variant() noexcept { ::VariantInit(&v_); }
    ~Variant() { ::VariantClear(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT* get() noexcept { return &v_; }
    const VARIANT& operator*() const noexcept { return v_; }

private:
    VARIANT v_;
};

// Arguments for IDispatch::Invoke, which takes them last to first.
class VariantArgs {
public:
    explicit VariantArgs(std::size_t count);
    ~VariantArgs();
    VariantArgs(const VariantArgs&) = delete;
    VariantArgs& operator=(const VariantArgs&) = delete;
    // Stores argument `index` (in call order); false when it has no VARIANT form.
    bool Set(std::size_t index, const Value& value);
    VARIANT* data() noexcept { return args_.empty() ? nullptr : args_.data(); }
    UINT count() const noexcept { return static_cast<UINT>(args_.size()); }

private:
    std::vector<VARIANT> args_;
};

// Fills `out`, which must be empty (VT_EMPTY); false when the value has no
// VARIANT form (an object that is not backed by an IDispatch) or memory ran out.
bool ToVariant(const Value& value, VARIANT* out);

// The host value of a VARIANT; nullopt for types script values do not map to.
std::optional<Value> FromVariant(const VARIANT& value);

}  // namespace host::win32
