// The escapers of text that goes into pages, given any bytes: the HTML text
// comes back unchanged as an element's text and as a quoted attribute's value
// (judged by an HTML5 parser), and the script string, read as the script
// engine reads a string literal (in the system code page), comes back
// unchanged in either quote and never ends its literal or its script block early.
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "core/html_escape.h"
#include "fuzz_target.h"
#include "host/text.h"
#include "html_oracle.h"

namespace {

// The value of a string literal's inside as the script engine reads it: the
// page's text through the code page first, then the escapes; nullopt when the
// literal would end (or fail) before the text does.
std::optional<std::u16string> ReadLiteral(std::u16string_view s, char16_t quote) {
    std::u16string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        if (c == quote || c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029) return std::nullopt;
        if (c != u'\\') {
            out += c;
            continue;
        }
        if (++i == s.size()) return std::nullopt;
        const std::size_t digits = s[i] == u'x' ? 2 : s[i] == u'u' ? 4 : 0;
        if (digits == 0) {
            static constexpr std::u16string_view kLetters = u"nrtbfv0", kMeant(u"\n\r\t\b\f\v\0", 7);
            const std::size_t at = kLetters.find(s[i]);
            out += at == std::u16string_view::npos ? s[i] : kMeant[at];
            continue;
        }
        if (i + digits >= s.size()) return std::nullopt;
        char16_t value = 0;
        for (const char16_t h : s.substr(i + 1, digits)) {
            const char16_t lower = h | 0x20;
            if (!((h >= u'0' && h <= u'9') || (lower >= u'a' && lower <= u'f'))) return std::nullopt;
            value = static_cast<char16_t>(value * 16 + (h <= u'9' ? h - u'0' : lower - u'a' + 10));
        }
        out += value;
        i += digits;
    }
    return out;
}

}  // namespace

void fuzz::TestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view raw(reinterpret_cast<const char*>(data), size);
    if (tillwick::DecodeBasicEntities(tillwick::EscapeHtml(raw)) != raw) std::abort();
    const std::u16string script = host::AnsiToWide(tillwick::EscapeScriptString(raw));
    for (char16_t quote : {u'\'', u'"'})
        if (ReadLiteral(script, quote) != host::AnsiToWide(raw)) std::abort();

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
