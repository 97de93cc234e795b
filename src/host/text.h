// Conversions between the UTF-16 text of Unicode windows and the ANSI text the
// rest of the plugin uses (the system code page on Windows; Latin-1 in the sim).
#pragma once

#include <string>
#include <string_view>

namespace host {

std::string WideToAnsi(std::u16string_view text);
std::u16string AnsiToWide(std::string_view text);

}  // namespace host
