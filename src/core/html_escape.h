// Text that lands in generated HTML or script is escaped for the exact
// context it lands in, so that page markup, panel names or network answers
// can never close a string or a tag and run as code.
#pragma once

#include <string>
#include <string_view>

namespace tillwick {

// The inside of a JScript string literal in either quote, safe also inside a
// <script> element: quotes, backslashes and line breaks are escaped, and "<"
// is written as \x3C so that no "</script>" can appear.
std::string EscapeScriptString(std::string_view text);
// Element text: & < > escaped.
std::string EscapeHtmlText(std::string_view text);
// A quoted attribute value (either quote): & < > " ' escaped.
std::string EscapeHtmlAttribute(std::string_view text);

}  // namespace tillwick
