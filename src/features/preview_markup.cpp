// The copy of a hovered tab's page, cleaned by an allow-list: the elements
// and attributes that only show text, tables and pictures pass, rebuilt in
// one canonical form (names in lower case, every value decoded, checked and
// written back escaped in double quotes); everything else goes. One pass
// over the text, no recursion, so a hostile page costs its length and no more.
#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

#include "core/html_escape.h"
#include "features/tab_hover.h"

namespace tillwick {
namespace {

constexpr std::array<std::string_view, 56> kElements{
    "a",     "abbr",  "address", "b",    "big",   "blockquote", "br",    "caption", "center", "cite",
    "code",  "col",   "colgroup", "dd",  "del",   "dfn",        "div",   "dl",      "dt",     "em",
    "font",  "h1",    "h2",      "h3",   "h4",    "h5",         "h6",    "hr",      "i",      "img",
    "ins",   "kbd",   "label",   "li",   "nobr",  "ol",         "p",     "pre",     "q",      "s",
    "samp",  "small", "span",    "strike", "strong", "sub",     "sup",   "table",   "tbody",  "td",
    "tfoot", "th",    "thead",   "tr",   "tt",    "u"};
constexpr std::array<std::string_view, 3> kMoreElements{"ul", "var", "wbr"};
// Elements whose content goes with them: code, styles, other documents,
// form controls and foreign markup.
constexpr std::array<std::string_view, 24> kDroppedWithContent{
    "script", "style",  "head",   "title",    "iframe", "frame",   "frameset", "noframes",
    "object", "embed",  "applet", "noscript", "noembed", "textarea", "select",  "option",
    "button", "xml",    "template", "svg",    "math",   "xmp",     "listing",  "plaintext"};
constexpr std::array<std::string_view, 24> kAttributes{
    "align", "alt",    "bgcolor", "border", "cellpadding", "cellspacing", "class", "clear",
    "color", "colspan", "dir",    "face",   "height",      "hspace",      "lang",  "nowrap",
    "rowspan", "size", "span",    "start",  "title",       "valign",      "vspace", "width"};
constexpr std::size_t kMaxNameLength = 32;

template <std::size_t N>
bool In(const std::array<std::string_view, N>& list, std::string_view name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}
bool Allowed(std::string_view name) { return In(kElements, name) || In(kMoreElements, name); }

char Lower(char ch) { return static_cast<char>(std::tolower(static_cast<unsigned char>(ch))); }
bool IsSpace(char ch) { return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f'; }
bool IsNameChar(char ch) { return std::isalnum(static_cast<unsigned char>(ch)) != 0; }

// Numeric character references (with or without the ";") in the ASCII range,
// then the named ones: what the engine would read the value as.
std::string DecodeValue(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size();) {
        if (value[i] == '&' && i + 2 < value.size() && value[i + 1] == '#') {
            const bool hex = value[i + 2] == 'x' || value[i + 2] == 'X';
            std::size_t j = i + (hex ? 3 : 2);
            unsigned code = 0;
            const std::size_t digits = j;
            while (j < value.size() && j - digits < 8 &&
                   (hex ? std::isxdigit(static_cast<unsigned char>(value[j])) : std::isdigit(static_cast<unsigned char>(value[j])))) {
                const char d = Lower(value[j++]);
                code = code * (hex ? 16 : 10) + static_cast<unsigned>(d <= '9' ? d - '0' : d - 'a' + 10);
            }
            if (j > digits && code < 128) {
                out += static_cast<char>(code);
                i = j + (j < value.size() && value[j] == ';' ? 1 : 0);
                continue;
            }
        }
        out += value[i++];
    }
    return DecodeBasicEntities(out);
}

// A style that draws only: no script (expression, behaviours, bindings,
// script addresses), no loading (url, import) and no escapes that could hide them.
bool InertStyle(std::string_view style) {
    std::string flat;
    for (std::size_t i = 0; i < style.size(); ++i) {
        if (style.substr(i, 2) == "/*") {
            const std::size_t end = style.find("*/", i + 2);
            if (end == std::string_view::npos) break;
            i = end + 1;
        } else if (!IsSpace(style[i])) {
            flat += Lower(style[i]);
        }
    }
    for (std::string_view bad : {"expression", "behavior", "behaviour", "binding", "script", "url(", "@import", "\\",
                                 "<", "&"})
        if (flat.find(bad) != std::string::npos) return false;
    return true;
}

// A picture address the preview may load: http, https or a raster data
// address; a relative one only where the base address is http or https.
bool PictureSource(std::string_view src, bool relativeOk) {
    std::string s;
    for (char ch : src)
        if (static_cast<unsigned char>(ch) > ' ') s += Lower(ch);
    if (s.starts_with("http://") || s.starts_with("https://")) return true;
    if (s.starts_with("data:image/")) return !s.starts_with("data:image/svg");
    const std::size_t colon = s.find(':');
    return relativeOk && !s.empty() && (colon == std::string::npos || colon > s.find_first_of("/?#"));
}

class Cleaner {
public:
    Cleaner(std::string_view markup, bool relativeOk) : in_(markup), relativeOk_(relativeOk) {
        lower_.reserve(markup.size());
        for (char ch : markup) lower_ += Lower(ch);
    }

    std::string Run() {
        while (at_ < in_.size()) {
            const char ch = in_[at_];
            if (ch == '<' && at_ + 1 < in_.size()) {
                const char next = in_[at_ + 1];
                if (lower_.compare(at_, 4, "<!--") == 0) {
                    SkipPast("-->");
                    continue;
                }
                if (next == '!' || next == '?') {
                    SkipPast(">");
                    continue;
                }
                if (next == '/' || std::isalpha(static_cast<unsigned char>(next))) {
                    Tag();
                    continue;
                }
            }
            if (ch == '<') out_ += "&lt;";
            else if (ch == '>') out_ += "&gt;";
            else out_ += ch;
            ++at_;
        }
        return std::move(out_);
    }

private:
    void SkipPast(std::string_view end) {
        const std::size_t found = lower_.find(end, at_);
        at_ = found == std::string::npos ? in_.size() : found + end.size();
    }

    std::string Name() {
        std::string name;
        while (at_ < in_.size() && (IsNameChar(in_[at_]) || in_[at_] == '-' || in_[at_] == ':')) name += lower_[at_++];
        return name.size() > kMaxNameLength ? std::string() : name;
    }
    void SkipSpace() {
        while (at_ < in_.size() && (IsSpace(in_[at_]) || in_[at_] == '/')) ++at_;
    }

    void Tag() {
        ++at_;  // "<"
        const bool closing = in_[at_] == '/';
        if (closing) ++at_;
        const std::string name = Name();
        std::string attributes;
        std::vector<std::string> kept;
        for (SkipSpace(); at_ < in_.size() && in_[at_] != '>'; SkipSpace()) {
            std::string attribute = Name();
            if (attribute.empty()) {
                // Not a name: as the engine does, skip the character.
                ++at_;
                continue;
            }
            std::string value;
            while (at_ < in_.size() && IsSpace(in_[at_])) ++at_;
            if (at_ < in_.size() && in_[at_] == '=') {
                ++at_;
                while (at_ < in_.size() && IsSpace(in_[at_])) ++at_;
                value = Value();
            }
            if (!closing) Attribute(name, attribute, DecodeValue(value), attributes, kept);
        }
        ++at_;  // ">"
        if (!closing && In(kDroppedWithContent, name)) {
            const std::string end = "</" + name;
            SkipPast(end);
            SkipPast(">");
            return;
        }
        if (!Allowed(name)) return;
        out_ += (closing ? "</" : "<") + name + attributes + ">";
    }

    std::string Value() {
        if (at_ < in_.size() && (in_[at_] == '"' || in_[at_] == '\'')) {
            const char quote = in_[at_++];
            const std::size_t end = std::min(in_.find(quote, at_), in_.size());
            std::string value(in_.substr(at_, end - at_));
            at_ = std::min(end + 1, in_.size());
            return value;
        }
        const std::size_t start = at_;
        while (at_ < in_.size() && !IsSpace(in_[at_]) && in_[at_] != '>') ++at_;
        return std::string(in_.substr(start, at_ - start));
    }

    // The first of each name counts, as in the engine; later ones are dropped.
    void Attribute(const std::string& element, const std::string& name, const std::string& value,
                   std::string& attributes, std::vector<std::string>& kept) {
        bool keep = In(kAttributes, name);
        if (name == "style") keep = InertStyle(value);
        if (name == "src") keep = element == "img" && PictureSource(value, relativeOk_);
        if (!keep || std::find(kept.begin(), kept.end(), name) != kept.end()) return;
        kept.push_back(name);
        attributes += " " + name + "=\"" + EscapeHtml(value) + "\"";
    }

    std::string_view in_;
    std::string lower_;
    bool relativeOk_;
    std::size_t at_ = 0;
    std::string out_;
};

}  // namespace

std::string CleanPreviewMarkup(std::string_view markup, bool relativeSourcesOk) {
    return Cleaner(markup, relativeSourcesOk).Run();
}

std::string PreviewPage(std::string_view markup, std::string_view url, std::string_view zoomText) {
    std::string lower(url.substr(0, 8));
    std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
    const bool web = lower.starts_with("http://") || lower.starts_with("https://");
    std::string page = "<html><head>";
    if (web) page += "<base href=\"" + EscapeHtml(url) + "\">";
    page += "<style>body{zoom:" + std::string(zoomText) + "%;border:black solid 2px;overflow:hidden}</style></head><body>";
    page += CleanPreviewMarkup(markup, web);
    page += "</body></html>";
    return page;
}

}  // namespace tillwick
