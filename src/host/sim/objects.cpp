// Late-bound page objects: property bags reached by name (case-insensitive,
// as script is against IDispatch) that record the scripts run through
// execScript, and the LRESULT round trip of WM_HTML_GETOBJECT.
#include "host/sim/sim_internal.h"

namespace host::sim {

namespace {

template <class Pairs>
auto FindNamed(Pairs& pairs, std::string_view name) {
    for (auto it = pairs.begin(); it != pairs.end(); ++it) {
        if (detail::EqualsNoCase(it->first, name)) return it;
    }
    return pairs.end();
}

}  // namespace

void PropertyBag::Set(std::string name, Value value) {
    auto it = FindNamed(props_, name);
    if (it != props_.end()) {
        it->second = std::move(value);
    } else {
        props_.emplace_back(std::move(name), std::move(value));
    }
}

void PropertyBag::SetMethod(std::string name, Method method) {
    auto it = FindNamed(methods_, name);
    if (it != methods_.end()) {
        it->second = std::move(method);
    } else {
        methods_.emplace_back(std::move(name), std::move(method));
    }
}

std::vector<std::string> PropertyBag::Names() const {
    std::vector<std::string> names;
    for (const auto& prop : props_) names.push_back(prop.first);
    return names;
}

std::optional<Value> PropertyBag::Get(std::string_view name) {
    auto it = FindNamed(props_, name);
    if (it == props_.end()) return std::nullopt;
    return it->second;
}

bool PropertyBag::Put(std::string_view name, const Value& value) {
    if (FindNamed(methods_, name) != methods_.end()) return false;  // a method is not assignable
    Set(std::string(name), value);
    return true;
}

std::optional<Value> PropertyBag::Call(std::string_view name, const std::vector<Value>& args) {
    auto method = FindNamed(methods_, name);
    if (detail::EqualsNoCase(name, "execScript")) {
        const std::string* code = args.empty() ? nullptr : std::get_if<std::string>(&args[0]);
        scripts_.push_back(code ? *code : std::string());
        if (method == methods_.end()) return Value{};
    }
    if (method == methods_.end()) return std::nullopt;
    const Method call = method->second;  // the method may replace itself
    try {
        return call(args);
    } catch (...) {
        detail::NoteSwallowedException();
        return std::nullopt;
    }
}

std::shared_ptr<PropertyBag> MakeObject() { return std::make_shared<PropertyBag>(); }

LRESULT LresultFromObject(const Object& object) {
    if (!object) return 0;
    // Distinct, non-zero cookies that look nothing like small integers.
    static LRESULT next = 0x4F420000;
    const LRESULT cookie = ++next;
    detail::S().objects.emplace(cookie, object);
    return cookie;
}

}  // namespace host::sim

namespace host {

Object ObjectFromLresult(LRESULT result) {
    auto& objects = sim::detail::S().objects;
    auto it = objects.find(result);
    return it == objects.end() ? Object() : it->second;
}

}  // namespace host
