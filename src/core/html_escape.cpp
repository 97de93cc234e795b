#include "core/html_escape.h"

#include <array>
#include <cstdio>
#include <utility>

namespace tillwick {

std::string EscapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char ch : text) {
        switch (ch) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += ch;
        }
    }
    return out;
}

std::string EscapeScriptString(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto ch = static_cast<unsigned char>(text[i]);
        // U+2028 and U+2029 end a line inside a script literal.
        if (ch == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
            (static_cast<unsigned char>(text[i + 2]) == 0xA8 || static_cast<unsigned char>(text[i + 2]) == 0xA9)) {
            out += static_cast<unsigned char>(text[i + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
            i += 2;
            continue;
        }
        switch (ch) {
        case '\\': out += "\\\\"; break;
        case '\'': out += "\\'"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '<': out += "\\x3C"; break;
        case '>': out += "\\x3E"; break;
        default:
            if (ch < 0x20 || ch == 0x7F) {
                std::array<char, 8> hex{};
                std::snprintf(hex.data(), hex.size(), "\\x%02X", ch);
                out += hex.data();
            } else {
                out += static_cast<char>(ch);
            }
        }
    }
    return out;
}

std::string DecodeBasicEntities(std::string_view text) {
    static constexpr std::array<std::pair<std::string_view, char>, 7> kEntities{{
        {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}, {"&#x27;", '\''}, {"&nbsp;", ' '},
        {"&amp;", '&'},
    }};
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        bool decoded = false;
        if (text[i] == '&') {
            for (const auto& [entity, ch] : kEntities) {
                if (text.substr(i, entity.size()) == entity) {
                    out += ch;
                    i += entity.size();
                    decoded = true;
                    break;
                }
            }
        }
        if (!decoded) out += text[i++];
    }
    return out;
}

}  // namespace tillwick
