// Text helpers of the sim: ANSI/UTF-16 conversion and the copy rules of the
// Win32 text getters.
#include <algorithm>
#include <cctype>

#include "host/sim/sim_internal.h"
#include "host/text.h"

namespace host::sim::detail {

WString Widen(std::string_view ansi) { return host::AnsiToWide(ansi); }

std::string Narrow(std::u16string_view wide) { return host::WideToAnsi(wide); }

WString WideZ(const WCHAR* text) { return text ? WString(text) : WString(); }

std::string AnsiZ(const char* text) { return text ? std::string(text) : std::string(); }

int CopyOut(char* dst, int capacity, std::string_view src) {
    if (!dst || capacity <= 0) return 0;
    const auto n = std::min<std::size_t>(src.size(), static_cast<std::size_t>(capacity - 1));
    std::copy_n(src.data(), n, dst);
    dst[n] = '\0';
    return static_cast<int>(n);
}

int CopyOut(WCHAR* dst, int capacity, std::u16string_view src) {
    if (!dst || capacity <= 0) return 0;
    const auto n = std::min<std::size_t>(src.size(), static_cast<std::size_t>(capacity - 1));
    std::copy_n(src.data(), n, dst);
    dst[n] = u'\0';
    return static_cast<int>(n);
}

namespace {
char16_t FoldUnit(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }
}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return FoldUnit(x) == FoldUnit(y); });
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace host::sim::detail
