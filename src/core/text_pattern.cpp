#include "core/text_pattern.h"

#include "core/errors.h"

namespace tillwick {

TextPattern::TextPattern(std::string_view pattern) {
    try {
        regex_.emplace(pattern.begin(), pattern.end(), std::regex::ECMAScript | std::regex::icase);
    } catch (const std::regex_error&) {
        regex_.reset();
    }
}

bool TextPattern::Matches(std::string_view text) const {
    if (!regex_) throw StepError("not a valid pattern");
    try {
        return std::regex_search(text.begin(), text.end(), *regex_);
    } catch (const std::regex_error&) {
        throw StepError("the pattern could not be tested");
    }
}

}  // namespace tillwick
