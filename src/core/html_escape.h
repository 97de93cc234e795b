// Text that goes into pages: escaped for the context it lands in, so that
// nothing the user or the network supplies is read as markup or code.
#pragma once

#include <string>
#include <string_view>

namespace tillwick {

// Element text and quoted attribute values: & < > " ' become entities.
std::string EscapeHtml(std::string_view text);
// The inside of a JScript string literal in either quote, from text in the
// system code page: everything but ASCII letters, digits and spaces is written
// as a \uXXXX escape, so no quote, line end or "</script>" survives.
std::string EscapeScriptString(std::string_view text);
// The five entities EscapeHtml writes (and &nbsp;) read back as characters;
// any other entity stays as it is.
std::string DecodeBasicEntities(std::string_view text);

}  // namespace tillwick
