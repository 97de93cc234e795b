#include "core/html_escape.h"

#include <array>
#include <utility>

#include "host/text.h"

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
    // Read in the system code page first: escaping byte by byte would let a
    // double-byte lead byte take the backslash put before a quote as its
    // trail byte. Only ASCII letters, digits and spaces stay, so what is
    // written means the same in every code page.
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::u16string wide = host::AnsiToWide(text);
    std::string out;
    out.reserve(wide.size() * 2);
    for (char16_t ch : wide) {
        if ((ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z') || (ch >= u'0' && ch <= u'9') || ch == u' ') {
            out += static_cast<char>(ch);
            continue;
        }
        out += "\\u";
        for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(ch >> shift) & 0xF];
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
