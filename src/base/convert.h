// Text-to-number conversions with the rules of the browser's script engine:
// blanks around the number are allowed, a fraction rounds half to even when an
// integer is wanted, "&H" and "&O" prefixes give hex and octal; anything else
// (including the empty text) is not a number and fails the calling step.
#pragma once

#include <concepts>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace tillwick {

// The number a text denotes, or nullopt when it is not a number.
std::optional<double> ParseNumber(std::string_view text);

// Strict conversions: throw StepError for a non-number or a value out of range.
double ToNumber(std::string_view text);
std::int32_t ToInt32(std::string_view text);
std::int16_t ToInt16(std::string_view text);

// The same conversion, giving nullopt instead of failing.
std::optional<std::int32_t> TryToInt32(std::string_view text);

// A number from outside (a setting, a page, an event) narrowed to T: values
// past T's range stop at its ends and NaN counts as 0, so arithmetic on such
// numbers is done wide and then saturated, never left to overflow.
template <std::integral T>
constexpr T Saturated(double value) {
    if (value != value) return 0;
    if (value <= static_cast<double>(std::numeric_limits<T>::min())) return std::numeric_limits<T>::min();
    if (value >= static_cast<double>(std::numeric_limits<T>::max())) return std::numeric_limits<T>::max();
    return static_cast<T>(value);
}

// A settings switch is on only when its text is exactly "1".
inline bool IsOn(std::string_view text) { return text == "1"; }

}  // namespace tillwick
