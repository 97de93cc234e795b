#include "statushtml/status_html_page.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <random>
#include <vector>

#include "base/convert.h"
#include "core/html_escape.h"

namespace tillwick {
namespace {

// ASCII case, as the page's tags are written; no locale is asked per character.
char Lower(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch + 32) : ch; }
char Upper(char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 32) : ch; }

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view word) {
    if (at + word.size() > text.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (Lower(text[at + i]) != Lower(word[i])) return false;
    return true;
}

// The occurrences of one word, asked for at places that never move back: the
// next place of each case of its first character is kept, so every character
// of the text is looked at a bounded number of times however often it asks.
class NoCaseCursor {
public:
    NoCaseCursor(std::string_view text, std::string_view word)
        : text_(text), word_(word), lower_(Lower(word.front())), upper_(Upper(word.front())) {}

    std::size_t From(std::size_t from) {
        for (;;) {
            if (lowerAt_ < from) lowerAt_ = text_.find(lower_, from);
            if (upperAt_ < from) upperAt_ = text_.find(upper_, from);
            const std::size_t at = std::min(lowerAt_, upperAt_);
            if (at == std::string_view::npos || StartsWithNoCase(text_, at, word_)) return at;
            from = at + 1;
        }
    }

private:
    std::string_view text_, word_;
    char lower_, upper_;
    std::size_t lowerAt_ = 0, upperAt_ = 0;  // 0 at first: a place to look at, not yet known
};

std::size_t FindNoCase(std::string_view text, std::string_view word, std::size_t from = 0) {
    return NoCaseCursor(text, word).From(from);
}

bool IsBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\f' || ch == '\v'; }

// The host's script tag that loads its own script file: "<script ... max.src ...></script>".
// Returns [begin, end) of the first one, or begin == npos. One pass: the next
// '>' and the next "max.src" are only ever looked for further on, so a page
// of many unclosed script tags costs no more than its length.
std::pair<std::size_t, std::size_t> FindHostScriptTag(std::string_view html) {
    constexpr std::string_view kOpen = "<script", kMarker = "max.src", kClose = "</script>";
    NoCaseCursor opens(html, kOpen), markers(html, kMarker);
    std::size_t close = 0;
    for (std::size_t at = opens.From(0); at != std::string_view::npos; at = opens.From(at + 1)) {
        if (close <= at) close = html.find('>', at);
        const std::size_t marker = markers.From(at + kOpen.size());
        if (close == std::string_view::npos || marker == std::string_view::npos) break;
        if (marker + kMarker.size() > close || !StartsWithNoCase(html, close + 1, kClose)) continue;
        return {at, close + 1 + kClose.size()};
    }
    return {std::string_view::npos, 0};
}

// The end of the first "<body" reached from a line break over nothing but
// tags and blanks; npos when there is none. The first body tag wins, however
// many follow in the same run. A walk that reaches a place an earlier walk
// passed ends as that one did (without a body tag), so each place is walked
// over once and the search is linear in the page's length.
std::size_t FindBodyAfterLineBreak(std::string_view html) {
    std::vector<std::size_t> tagEnds;
    for (std::size_t i = html.find('>'); i != std::string_view::npos; i = html.find('>', i + 1)) tagEnds.push_back(i);
    std::vector<bool> walked(html.size() + 1, false);
    std::size_t tag = 0;  // into tagEnds: a walk meets the tags' ends in order
    for (std::size_t nl = html.find('\n'); nl != std::string_view::npos; nl = html.find('\n', nl + 1)) {
        for (std::size_t at = nl + 1; !walked[at];) {
            walked[at] = true;
            if (at < html.size() && IsBlank(html[at])) {
                ++at;
            } else if (StartsWithNoCase(html, at, "<body")) {
                return at + std::string_view("<body").size();
            } else if (at < html.size() && html[at] == '<') {
                if (tag >= tagEnds.size() || tagEnds[tag] < at || (tag > 0 && tagEnds[tag - 1] >= at))
                    tag = static_cast<std::size_t>(std::lower_bound(tagEnds.begin(), tagEnds.end(), at) -
                                                   tagEnds.begin());
                if (tag == tagEnds.size()) break;
                at = tagEnds[tag++] + 1;
            } else {
                break;
            }
        }
    }
    return std::string_view::npos;
}

bool IsUrlSafe(char ch) {
    return std::isalnum(static_cast<unsigned char>(ch)) || ch == '/' || ch == ':' || ch == '.' || ch == '-' ||
           ch == '_' || ch == '~';
}

}  // namespace

std::int32_t ClampSeparatorWidth(std::int32_t width) {
    if (width > 10) width = 10;
    if (width > 0 && width < 6) width = 6;
    return width;
}

std::int32_t PanelPixels(std::string_view text) {
    const std::optional<std::int32_t> n = TryToInt32(text);
    return n ? std::clamp<std::int32_t>(*n, 0, INT16_MAX) : 0;
}

std::string PanelUrl(std::string_view path) {
    if (path.substr(0, 4) == "http") return std::string(path);
    std::string url = "file:///";
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (char ch : path) {
        if (ch == '\\') {
            url += '/';
        } else if (IsUrlSafe(ch)) {
            url += ch;
        } else {
            const auto byte = static_cast<unsigned char>(ch);
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 0xF];
        }
    }
    return url;
}

FramesetPage BuildFramesetPage(const std::vector<StatusHtmlPanel>& panels, const std::vector<bool>& shown,
                               std::int32_t separatorWidth) {
    FramesetPage page;
    page.totalWidth = separatorWidth;
    page.cols = std::to_string(separatorWidth) + ",";
    std::string frames = "<frame scrolling='NO'>";
    for (std::size_t i = 0; i < panels.size(); ++i) {
        const StatusHtmlPanel& p = panels[i];
        const std::int32_t width = (p.use && i < shown.size() && shown[i]) ? PanelPixels(p.width) : 0;
        page.cols += std::to_string(width) + ",";
        page.totalWidth = std::min<std::int32_t>(page.totalWidth + width, INT16_MAX);
        frames += "<frame name='" + EscapeHtml(p.name) + "' scrolling='NO'>";
    }
    frames += "<frame scrolling='NO'>";
    page.cols += "*";
    page.html = "<html><frameset cols='" + page.cols + "' frameborder='NO' border='0' framespacing='0'>" +
                frames + "</frameset></html>";
    return page;
}

std::string SeparatorPage(std::string_view imagePath) {
    return "<body oncontextmenu=return(false) style=\"background:url('" + EscapeHtml(PanelUrl(imagePath)) +
           "')\"></body>";
}

std::string PreparePanelPage(std::string html, std::string_view path, std::string_view offset,
                             std::string_view securityId, std::string_view backgroundPath) {
    if (auto [begin, end] = FindHostScriptTag(html); begin != std::string::npos)
        html.replace(begin, end - begin,
                     "<script>max_security_id='" + EscapeScriptString(securityId) + "'</script>");
    if (std::size_t body = FindBodyAfterLineBreak(html); body != std::string::npos)
        html.insert(body, " style=\"background:url('" + EscapeHtml(PanelUrl(backgroundPath)) +
                              "'); margin-top:" + std::to_string(PanelPixels(offset)) + "px\"");
    const std::string base = EscapeHtml(PanelUrl(path));
    if (std::size_t head = FindNoCase(html, "<head>"); head == std::string::npos)
        html = "<base href='" + base + "'>\r\n" + html;
    else
        html.replace(head, 6, "<head>\r\n<base href=\"" + base + "\">");
    return html;
}

std::string CloseTabsScript(std::string_view securityId, std::string_view donorName) {
    const std::string id = EscapeScriptString(securityId);
    return "try{(function(){for(var i=external.tab_count-1; i>=0; i--){var oWin=external.get_tab('" + id +
           "',i);if(oWin.name=='" + EscapeScriptString(donorName) + "'){external.close_tab('" + id +
           "',i)}}})()} catch(e){}";
}

std::string NewDonorName() {
    std::random_device random;
    std::string name = "Tillwick";
    static constexpr char kHex[] = "0123456789abcdef";
    for (int i = 0; i < 4; ++i) {
        const std::uint32_t bits = random();
        for (int shift = 0; shift < 32; shift += 4) name += kHex[(bits >> shift) & 0xF];
    }
    return name;
}

}  // namespace tillwick
