#include "statushtml/status_html_page.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <random>

#include "core/convert.h"
#include "core/html_escape.h"

namespace tillwick {
namespace {

char Lower(char ch) { return static_cast<char>(std::tolower(static_cast<unsigned char>(ch))); }

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view word) {
    if (at + word.size() > text.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (Lower(text[at + i]) != Lower(word[i])) return false;
    return true;
}

std::size_t FindNoCase(std::string_view text, std::string_view word, std::size_t from = 0) {
    for (std::size_t at = from; at + word.size() <= text.size(); ++at)
        if (StartsWithNoCase(text, at, word)) return at;
    return std::string_view::npos;
}

bool IsBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\f' || ch == '\v'; }

// The host's script tag that loads its own script file: "<script ... max.src ...></script>".
// Returns [begin, end) of the first one, or begin == npos.
std::pair<std::size_t, std::size_t> FindHostScriptTag(std::string_view html) {
    for (std::size_t at = FindNoCase(html, "<script"); at != std::string_view::npos;
         at = FindNoCase(html, "<script", at + 1)) {
        const std::size_t close = html.find('>', at);
        if (close == std::string_view::npos) break;
        const std::string_view tag = html.substr(at, close - at);
        if (FindNoCase(tag, "max.src") == std::string_view::npos) continue;
        if (!StartsWithNoCase(html, close + 1, "</script>")) continue;
        return {at, close + 1 + std::string_view("</script>").size()};
    }
    return {std::string_view::npos, 0};
}

// The end of the first "<body" reached from a line break over nothing but
// tags and blanks; npos when there is none. The first body tag wins, however
// many follow in the same run.
std::size_t FindBodyAfterLineBreak(std::string_view html) {
    std::size_t nl = html.find('\n');
    while (nl != std::string_view::npos) {
        std::size_t at = nl + 1;
        for (;;) {
            if (at < html.size() && IsBlank(html[at])) {
                ++at;
            } else if (StartsWithNoCase(html, at, "<body")) {
                return at + std::string_view("<body").size();
            } else if (at < html.size() && html[at] == '<' && html.find('>', at) != std::string_view::npos) {
                at = html.find('>', at) + 1;
            } else {
                break;
            }
        }
        nl = html.find('\n', nl + 1);
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
    return n && *n > 0 ? *n : 0;
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
        page.totalWidth += width;
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
