// The escapers of text that goes into pages, given any bytes: the HTML text
// comes back unchanged as an element's text and as a quoted attribute's value
// (judged by an HTML5 parser), and the script string, read as the script
// engine reads a string literal, comes back unchanged in either quote and
// never ends its literal or its script block early.
#include <charconv>
#include <string_view>
#include <cstdlib>

#include "core/html_escape.h"
#include "fuzz_target.h"
#include "html_oracle.h"

namespace {

void AppendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The value of a string literal's inside, as the engine reads it; nullopt
// when the literal would end (or fail) before the text does.
std::optional<std::string> ReadLiteral(std::string_view s, char quote) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        const std::string_view rest = s.substr(i);
        if (c == quote || c == '\n' || c == '\r' || rest.starts_with("\xE2\x80\xA8") || rest.starts_with("\xE2\x80\xA9"))
            return std::nullopt;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == s.size()) return std::nullopt;
        const std::size_t digits = s[i] == 'x' ? 2 : s[i] == 'u' ? 4 : 0;
        if (digits == 0) {
            static constexpr std::string_view kLetters = "nrtbfv0", kMeant("\n\r\t\b\f\v\0", 7);
            const std::size_t at = kLetters.find(s[i]);
            out += at == std::string_view::npos ? s[i] : kMeant[at];
            continue;
        }
        unsigned cp = 0;
        const char* first = s.data() + i + 1;
        if (i + digits >= s.size() || std::from_chars(first, first + digits, cp, 16).ptr != first + digits)
            return std::nullopt;
        if (digits == 2) out += static_cast<char>(cp);  // \xHH stands for that byte here
        else AppendUtf8(out, cp);
        i += digits;
    }
    return out;
}

}  // namespace

void fuzz::TestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view raw(reinterpret_cast<const char*>(data), size);
    if (tillwick::DecodeBasicEntities(tillwick::EscapeHtml(raw)) != raw) std::abort();
    const std::string script = tillwick::EscapeScriptString(raw);
    for (char quote : {'\'', '"'})
        if (ReadLiteral(script, quote) != raw) std::abort();

    const std::string text = Parseable(raw);
    const std::string html = tillwick::EscapeHtml(text);
    const std::string code = "var s='" + tillwick::EscapeScriptString(text) + "';";
    const Document doc("<!DOCTYPE html><body><div>" + html + "</div><div title='" + html + "'></div><div title=\"" +
                       html + "\"></div><script>" + code + "</script><div></div>");
    const auto divs = doc.Elements(GUMBO_TAG_DIV);
    const auto scripts = doc.Elements(GUMBO_TAG_SCRIPT);
    if (divs.size() != 4 || scripts.size() != 1 || TextOf(*divs[0]) != text || Attribute(*divs[1], "title") != text ||
        Attribute(*divs[2], "title") != text || TextOf(*scripts[0]) != code)
        std::abort();
}
