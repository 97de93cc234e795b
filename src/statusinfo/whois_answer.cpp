#include "statusinfo/whois_answer.h"

#include <algorithm>
#include <cctype>

#include <nlohmann/json.hpp>

#include "core/html_escape.h"
#include "statusinfo/statusinfo.h"

namespace tillwick {
namespace {

struct RegistryRow {
    std::string_view name, method, path, bodyKey;
};
// Text bodies are form-encoded; RIPE's query keeps its historic "&amp;" separators.
constexpr std::array<RegistryRow, 5> kRows{{
    {"ARIN", "GET", "/whois/?queryinput=", ""},
    {"APNIC", "POST", "/apnic-bin/whois.pl", "searchtext="},
    {"LACNIC", "POST", "/cgi-bin/lacnic/whois?lg=EN", "query="},
    {"RIPE", "GET", "/fcgi-bin/whois?form_type=simple&amp;full_query_string=&amp;searchtext=", ""},
    {"AfriNIC", "POST", "/cgi-bin/whois", "searchtext="},
}};
constexpr std::string_view kRipeQueryEnd = "&amp;do_search=Search";
constexpr std::string_view kFormType = "application/x-www-form-urlencoded";

// An address as it may appear in a query: the cache is a file a user can edit.
std::string UrlEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char ch : text) {
        if (std::isalnum(ch) || ch == '.' || ch == '-' || ch == '_' || ch == '~' || ch == ':') {
            out += static_cast<char>(ch);
        } else {
            out += '%';
            out += kHex[ch >> 4];
            out += kHex[ch & 15];
        }
    }
    return out;
}

std::string Trim(std::string_view text) {
    const auto blank = [](unsigned char ch) { return std::isspace(ch) != 0; };
    while (!text.empty() && blank(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && blank(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return std::string(text);
}

// Drops every "<...>"; a "<" that no ">" follows stays.
std::string WithoutTags(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t open = text.find('<', i);
        const std::size_t close = open == std::string_view::npos ? open : text.find('>', open);
        if (close == std::string_view::npos) {
            out.append(text.substr(i));
            break;
        }
        out.append(text.substr(i, open - i));
        i = close + 1;
    }
    return out;
}

// RDAP answers nest a handful of levels; anything deeper is not one of them.
constexpr int kMaxJsonDepth = 32;

// The answer as a JSON object, refused when it nests deeper than kMaxJsonDepth:
// the parse stops keeping values past that depth, so nothing deep is ever built.
std::optional<nlohmann::json> JsonObjectOf(std::string_view body) {
    const std::string trimmed = Trim(body);
    if (trimmed.empty() || trimmed.front() != '{') return std::nullopt;
    bool tooDeep = false;
    const nlohmann::json::parser_callback_t bound = [&](int depth, nlohmann::json::parse_event_t, nlohmann::json&) {
        if (depth > kMaxJsonDepth) tooDeep = true;
        return !tooDeep;
    };
    nlohmann::json doc = nlohmann::json::parse(trimmed, bound, false);
    if (tooDeep || doc.is_discarded() || !doc.is_object()) return std::nullopt;
    return doc;
}

// Lays out JSON text that parsed, two blanks per level, in one pass over the
// characters: the answer's shape never drives a recursion.
std::string IndentedJson(std::string_view json) {
    std::string out;
    int depth = 0;
    bool inString = false, escaped = false;
    const auto newLine = [&] { out += '\n'; out.append(static_cast<std::size_t>(std::max(depth, 0)) * 2, ' '); };
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char ch = json[i];
        if (inString) {
            out += ch;
            if (escaped) escaped = false;
            else if (ch == '\\') escaped = true;
            else if (ch == '"') inString = false;
            continue;
        }
        switch (ch) {
            case '"': inString = true; out += ch; break;
            case '{': case '[': {
                out += ch;
                const std::size_t next = json.find_first_not_of(" \t\r\n", i + 1);
                if (next != std::string_view::npos && (json[next] == '}' || json[next] == ']')) {
                    out += json[next];  // an empty one stays on its line
                    i = next;
                } else {
                    ++depth;
                    newLine();
                }
                break;
            }
            case '}': case ']': --depth; newLine(); out += ch; break;
            case ',': out += ch; newLine(); break;
            case ':': out += ": "; break;
            case ' ': case '\t': case '\r': case '\n': break;
            default: out += ch;
        }
    }
    return out;
}

std::string JsonText(const nlohmann::json& doc, const char* key) {
    const auto it = doc.find(key);
    return it != doc.end() && it->is_string() ? Trim(it->get<std::string>()) : std::string();
}

}  // namespace

std::optional<host::HttpRequestSpec> WhoisRequest(std::string_view registry, std::string_view base,
                                                  std::string_view address) {
    const auto row = std::find_if(kRows.begin(), kRows.end(), [&](const RegistryRow& r) { return r.name == registry; });
    if (row == kRows.end()) return std::nullopt;
    std::string root(base);
    while (!root.empty() && root.back() == '/') root.pop_back();
    host::HttpRequestSpec request;
    request.method = std::string(row->method);
    request.url = root + std::string(row->path);
    const std::string value = UrlEncode(address);
    if (row->bodyKey.empty()) {
        request.url += value;
        if (row->name == "RIPE") request.url += kRipeQueryEnd;
    } else {
        request.contentType = std::string(kFormType);
        request.body = std::string(row->bodyKey) + value;
    }
    return request;
}

std::string_view NextRegistry(std::string_view registry) {
    const auto it = std::find(kRegistries.begin(), kRegistries.end(), registry);
    if (it == kRegistries.end() || it + 1 == kRegistries.end()) return {};
    return *(it + 1);
}

std::string ExtractFieldText(std::string_view field, std::string_view text) {
    const std::string lower = LowerText(text);
    const std::string key = LowerText(field) + ":";
    const auto at = lower.find(key);
    if (at == std::string::npos) return {};
    const auto start = at + key.size();
    const auto end = text.find('\n', start);
    if (end == std::string_view::npos) return {};
    const std::string value = Trim(text.substr(start, end - start));
    return Trim(WithoutTags(value));
}

RegistryAnswer ReadRegistryAnswer(std::string_view body) {
    if (const auto doc = JsonObjectOf(body)) return {JsonText(*doc, "name"), JsonText(*doc, "country")};
    return {ExtractFieldText("NetName", body), ExtractFieldText("Country", body)};
}

bool IsReferral(std::string_view netName, std::string_view currentRegistry) {
    const std::string name = LowerText(netName);
    if (name.empty() || StartsWithNoCase(name, "iana") || name.find("erx-netblock") != std::string::npos ||
        name.find("internic") != std::string::npos)
        return true;
    for (std::string_view registry : kRegistries)
        if (registry != currentRegistry && StartsWithNoCase(name, registry)) return true;
    return false;
}

std::string ReportTextOf(std::string_view body) {
    if (JsonObjectOf(body)) return IndentedJson(Trim(body));
    const std::string lower = LowerText(body);
    const auto open = lower.find("<pre");
    if (open == std::string::npos) return std::string(body);
    const auto openEnd = lower.find('>', open);
    const auto inner = openEnd == std::string::npos ? body.size() : openEnd + 1;
    const auto close = lower.rfind("</pre>");
    const auto end = close == std::string::npos || close < inner ? body.size() : close;
    // The registry's own entities read as characters; they are escaped again on the way into the page.
    return DecodeBasicEntities(body.substr(inner, end - inner));
}

}  // namespace tillwick
