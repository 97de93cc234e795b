#include "base/convert.h"

#include <cmath>
#include <limits>

#include "base/errors.h"

namespace tillwick {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::optional<double> ParseRadix(std::string_view digits, int radix) {
    if (digits.empty() || digits.size() > 16) return std::nullopt;
    std::uint64_t v = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return std::nullopt;
        if (d >= radix) return std::nullopt;
        v = v * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(d);
    }
    // Script hex literals of up to 8 digits are 32-bit two's complement ("&HFFFFFFFF" is -1).
    if (v <= 0xFFFFFFFFull && v > 0x7FFFFFFFull) return static_cast<double>(static_cast<std::int32_t>(v));
    return static_cast<double>(v);
}

}  // namespace

std::optional<double> ParseNumber(std::string_view text) {
    std::string_view s = Trim(text);
    if (s.size() > 2 && s[0] == '&') {
        if (s[1] == 'H' || s[1] == 'h') return ParseRadix(s.substr(2), 16);
        if (s[1] == 'O' || s[1] == 'o') return ParseRadix(s.substr(2), 8);
        return std::nullopt;
    }
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    double mantissa = 0;
    int digits = 0;
    int fractionDigits = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, ++digits) mantissa = mantissa * 10 + (s[i] - '0');
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, ++digits, ++fractionDigits)
            mantissa = mantissa * 10 + (s[i] - '0');
    }
    if (digits == 0) return std::nullopt;
    int exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) expNegative = s[i++] == '-';
        int expDigits = 0;
        for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, ++expDigits) {
            if (exponent < 10000) exponent = exponent * 10 + (s[i] - '0');
        }
        if (expDigits == 0) return std::nullopt;
        if (expNegative) exponent = -exponent;
    }
    if (i != s.size()) return std::nullopt;
    double value = mantissa * std::pow(10.0, exponent - fractionDigits);
    if (!std::isfinite(value)) return std::nullopt;
    return negative ? -value : value;
}

double ToNumber(std::string_view text) {
    auto v = ParseNumber(text);
    if (!v) throw StepError("not a number");
    return *v;
}

namespace {
template <typename Int>
Int ToInteger(std::string_view text) {
    double v = std::nearbyint(ToNumber(text));  // default rounding mode: half to even
    if (v < static_cast<double>(std::numeric_limits<Int>::min()) ||
        v > static_cast<double>(std::numeric_limits<Int>::max()))
        throw StepError("overflow");
    return static_cast<Int>(v);
}
}  // namespace

std::int32_t ToInt32(std::string_view text) { return ToInteger<std::int32_t>(text); }
std::int16_t ToInt16(std::string_view text) { return ToInteger<std::int16_t>(text); }

std::optional<std::int32_t> TryToInt32(std::string_view text) {
    try {
        return ToInt32(text);
    } catch (const StepError&) {
        return std::nullopt;
    }
}

}  // namespace tillwick
