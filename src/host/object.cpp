#include "host/host.h"

namespace host {

std::optional<Value> Object::Get(std::string_view name) const {
    if (!impl_) return std::nullopt;
    try {
        return impl_->Get(name);
    } catch (...) {
        return std::nullopt;
    }
}

bool Object::Put(std::string_view name, const Value& value) const {
    if (!impl_) return false;
    try {
        return impl_->Put(name, value);
    } catch (...) {
        return false;
    }
}

std::optional<Value> Object::Call(std::string_view name, const std::vector<Value>& args) const {
    if (!impl_) return std::nullopt;
    try {
        return impl_->Call(name, args);
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<std::string> Object::GetText(std::string_view name) const {
    auto v = Get(name);
    if (!v) return std::nullopt;
    if (auto* s = std::get_if<std::string>(&*v)) return *s;
    return std::nullopt;
}

Object Object::GetObject(std::string_view name) const {
    auto v = Get(name);
    if (!v) return {};
    if (auto* o = std::get_if<Object>(&*v)) return *o;
    return {};
}

bool Object::ExecScript(std::string_view code, std::string_view language) const {
    return Call("execScript", {std::string(code), std::string(language)}).has_value();
}

}  // namespace host
