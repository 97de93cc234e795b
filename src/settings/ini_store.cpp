#include "settings/ini_store.h"

#include <vector>

#include "host/host.h"

namespace tillwick::ini {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

// One physical line: where it starts, its content without the line break, and
// where the next line starts.
struct Line {
    std::size_t begin;
    std::string_view content;
    std::size_t next;
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        std::size_t next = nl == std::string_view::npos ? text.size() : nl + 1;
        std::string_view content = text.substr(pos, end - pos);
        if (!content.empty() && content.back() == '\r') content.remove_suffix(1);
        lines.push_back({pos, content, next});
        pos = next;
    }
    return lines;
}

// A section header is "[" ... "]" (the last "]" on the line); its name is what
// lies between. A line that opens with "[" but has no "]" is an ordinary line.
std::optional<std::string_view> SectionName(std::string_view line) {
    std::string_view t = Trim(line);
    if (t.empty() || t.front() != '[') return std::nullopt;
    std::size_t close = t.rfind(']');
    if (close == std::string_view::npos || close == 0) return std::nullopt;
    return t.substr(1, close - 1);
}

struct KeyLine {
    std::string_view name;
    std::optional<std::string_view> value;  // nullopt: the line has no "="
};

KeyLine ParseKeyLine(std::string_view line) {
    std::string_view t = Trim(line);
    std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) return {t, std::nullopt};
    return {Trim(t.substr(0, eq)), Trim(t.substr(eq + 1))};
}

// Where Key is in the first section named Section: the index of its line, and
// the index of the section's header and of its last non-blank line.
struct Location {
    std::optional<std::size_t> header;
    std::optional<std::size_t> keyLine;
    std::size_t lastContentLine = 0;
};

Location Locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Location loc;
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (auto name = SectionName(lines[i].content)) {
            if (inSection) break;  // only the first section of that name counts
            if (SameName(Trim(*name), Trim(section))) {
                inSection = true;
                loc.header = i;
                loc.lastContentLine = i;
            }
            continue;
        }
        if (!inSection) continue;
        std::string_view t = Trim(lines[i].content);
        if (t.empty()) continue;
        loc.lastContentLine = i;
        if (!loc.keyLine && SameName(ParseKeyLine(t).name, Trim(key))) loc.keyLine = i;
    }
    return loc;
}

std::string OneLine(std::string_view value) {
    std::string v(value);
    for (char& c : v)
        if (c == '\r' || c == '\n') c = ' ';
    return v;
}

std::string_view LineBreakOf(std::string_view text) {
    std::size_t nl = text.find('\n');
    if (nl != std::string_view::npos && (nl == 0 || text[nl - 1] != '\r')) return "\n";
    return "\r\n";
}

// Key names the plugin writes may come from pages (a host name such as
// "[::1]"). What would end the name, make its line a section header or a
// comment, or break the line is written as %XX (and so is "%" itself, so that
// two names never share one encoding); any other name stays as it is.
std::string EncodeKey(std::string_view key) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(key.size());
    for (char c : key) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || c == '%' || c == '=' || c == '[' || c == ']' || c == ';') {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::optional<std::string> FindRawValue(std::string_view text, std::string_view section,
                                        std::string_view key) {
    if (Trim(key).empty()) return std::nullopt;
    auto lines = SplitLines(text);
    Location loc = Locate(lines, section, key);
    if (!loc.keyLine) return std::nullopt;
    auto parsed = ParseKeyLine(lines[*loc.keyLine].content);
    if (!parsed.value) return std::nullopt;
    return std::string(*parsed.value);
}

std::string ProfileValue(std::optional<std::string_view> rawValue, std::string_view defaultValue,
                         std::size_t bufferChars) {
    std::string_view v;
    if (rawValue) {
        v = *rawValue;
    } else {
        // The platform drops trailing blanks of the default.
        v = defaultValue;
        while (v.size() > 1 && v.back() == ' ') v.remove_suffix(1);
    }
    std::size_t nul = v.find('\0');
    if (nul != std::string_view::npos) v = v.substr(0, nul);
    bool quoted = v.size() > 1 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
    if (quoted) v.remove_prefix(1);
    if (bufferChars == 0) return {};
    std::size_t room = bufferChars - 1;
    if (v.size() > room) return std::string(v.substr(0, room));  // cut text keeps its closing quote
    if (quoted) v.remove_suffix(1);
    return std::string(v);
}

std::string WithValue(std::string_view text, std::string_view section, std::string_view key,
                      std::optional<std::string_view> value) {
    auto lines = SplitLines(text);
    Location loc = Locate(lines, section, key);
    std::string_view br = LineBreakOf(text);
    std::string out;

    if (loc.keyLine) {
        const Line& l = lines[*loc.keyLine];
        out.append(text.substr(0, l.begin));
        if (value) {
            std::string_view name = ParseKeyLine(l.content).name;
            out.append(name).append("=").append(OneLine(*value));
            // Keep the line's own break (or none, on a last line without one).
            out.append(text.substr(l.begin + l.content.size(), l.next - l.begin - l.content.size()));
        }
        out.append(text.substr(l.next));
        return out;
    }
    if (!value) return std::string(text);

    std::string entry = std::string(Trim(key)) + "=" + OneLine(*value);
    if (loc.header) {
        const Line& after = lines[loc.lastContentLine];
        out.append(text.substr(0, after.next));
        if (after.next == text.size() && (text.empty() || text.back() != '\n')) out.append(br);
        out.append(entry).append(br);
        out.append(text.substr(after.next));
        return out;
    }
    out.assign(text);
    if (!out.empty() && out.back() != '\n') out.append(br);
    out.append("[").append(Trim(section)).append("]").append(br);
    out.append(entry).append(br);
    return out;
}

namespace {
// One cache for the process: every tab's start-up reads the same files.
FileCache g_cache;
}  // namespace

void ForgetCachedFiles() { g_cache.files.clear(); }

const std::string* CachedFileText(const std::string& path) {
    auto& files = g_cache.files;
    const std::optional<host::fs::Stamp> stamp = host::fs::FileStamp(path);
    if (!stamp) {
        files.erase(path);
        return nullptr;
    }
    auto it = files.find(path);
    if (it != files.end() && it->second.stamp == *stamp) return &it->second.text;
    std::optional<std::string> text = host::fs::ReadFile(path);
    if (!text) {
        if (it != files.end()) files.erase(it);
        return nullptr;
    }
    FileCache::Entry& entry = files[path];
    entry = FileCache::Entry{*stamp, std::move(*text)};
    return &entry.text;
}

std::string ReadString(const std::string& path, std::string_view section, std::string_view key,
                       std::string_view defaultValue, std::size_t bufferChars) {
    std::optional<std::string> raw;
    if (const std::string* text = CachedFileText(path)) raw = FindRawValue(*text, section, EncodeKey(key));
    return ProfileValue(raw ? std::optional<std::string_view>(*raw) : std::nullopt, defaultValue,
                        bufferChars);
}

bool HasValue(const std::string& path, std::string_view section, std::string_view key) {
    const std::string* text = CachedFileText(path);
    return text != nullptr && FindRawValue(*text, section, EncodeKey(key)).has_value();
}

void WriteString(const std::string& path, std::string_view section, std::string_view key,
                 std::optional<std::string_view> value) {
    if (Trim(section).empty() || Trim(key).empty()) return;
    std::string text = host::fs::ReadFile(path).value_or(std::string());
    std::string updated = WithValue(text, section, EncodeKey(key), value);
    if (updated == text && host::fs::FileExists(path)) return;
    if (!value && !host::fs::FileExists(path)) return;  // deleting from nothing creates nothing
    host::fs::WriteFileAtomic(path, updated);
}

}  // namespace tillwick::ini
