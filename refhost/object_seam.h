// How the reference host makes its script-visible objects (page documents,
// windows, locations, browsers) and hands a document out of a page window.
// The backend's harness fills this in: on the sim it makes property bags and
// uses the sim's LRESULT mapping; on Windows it will wrap IDispatch objects.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/host.h"

namespace refhost {

struct ObjectSeam {
    using Method = std::function<std::optional<host::Value>(const std::vector<host::Value>&)>;

    // A new object with no properties.
    std::function<host::Object()> create;
    // Sets (creating when missing) a property of an object made by create.
    std::function<void(const host::Object&, std::string_view, host::Value)> set;
    // Gives an object made by create a method.
    std::function<void(const host::Object&, std::string_view, Method)> setMethod;
    // What a page window answers to WM_HTML_GETOBJECT for its document.
    std::function<LRESULT(const host::Object&)> lresultFromObject;
    // The names of an object's properties (not its methods), as set or put.
    std::function<std::vector<std::string>(const host::Object&)> names;

    bool Complete() const { return create && set && setMethod && lresultFromObject && names; }
};

}  // namespace refhost
