// A hostile page: one that reads everything script can reach from it. The
// host has no script engine, so it judges what the scripts run in the page
// would have left there: every name that a script declares or assigns outside
// a function (the page reads it, and a function's source with it), every
// property put on the page's window or document, the security id or a call
// to `external.get_tab`/`close_tab` in any script run there (the page can
// wrap whatever such a script calls), another tab's window, document or
// markup among the values, and a content blocker left switched. A page opened
// through the watched page's `window.open` is watched with it.
#include <algorithm>
#include <cctype>
#include <string>

#include "refhost/host_impl.h"

namespace refhost {
namespace {

using host::Value;

bool IdentStart(char ch) { return std::isalpha(static_cast<unsigned char>(ch)) || ch == '_' || ch == '$'; }
bool IdentPart(char ch) { return IdentStart(ch) || std::isdigit(static_cast<unsigned char>(ch)); }

// The names a script leaves in its window's global scope, each with the text
// that gave it its value. Strings, comments and regular expression literals
// are single tokens; a function's parameters and `var`s are its own, and a
// name assigned in a function without being its own is global.
class GlobalScan {
public:
    explicit GlobalScan(std::string_view code) : code_(code) { Tokenize(); }

    std::vector<std::pair<std::string, std::string>> Run() {
        struct Scope {
            int braceDepth;
            std::vector<std::string> locals;
        };
        std::vector<Scope> scopes;
        int braces = 0, parens = 0, varParens = 0;
        bool inVar = false;
        std::string prev;
        const auto isLocal = [&](const std::string& name) {
            for (const Scope& scope : scopes)
                if (std::find(scope.locals.begin(), scope.locals.end(), name) != scope.locals.end()) return true;
            return false;
        };
        for (std::size_t i = 0; i < toks_.size(); ++i) {
            const std::string& t = toks_[i].text;
            if (t == "function") {
                const bool statement = prev.empty() || prev == ";" || prev == "{" || prev == "}";
                std::size_t j = i + 1;
                std::string name;
                if (j < toks_.size() && IsName(toks_[j].text)) name = toks_[j++].text;
                std::vector<std::string> params;
                if (j < toks_.size() && toks_[j].text == "(")
                    for (++j; j < toks_.size() && toks_[j].text != ")"; ++j)
                        if (IsName(toks_[j].text)) params.push_back(toks_[j].text);
                ++j;  // the body's "{"
                if (!name.empty() && statement) {
                    if (scopes.empty()) Found(name, Text(i, Matching(j)));
                    else scopes.back().locals.push_back(name);
                }
                if (scopes.size() >= kMaxDepth) break;
                scopes.push_back({++braces, std::move(params)});
                i = j;
                prev = "{";
                continue;
            }
            if (t == "{") ++braces;
            if (t == "}") {
                if (!scopes.empty() && scopes.back().braceDepth == braces) scopes.pop_back();
                --braces;
            }
            if (t == "(") ++parens;
            if (t == ")") --parens;
            if (t == ";" || parens < varParens) inVar = false;
            if (t == "var") {
                inVar = true;
                varParens = parens;
                prev = ",";  // the first name follows as a name after a comma does
                continue;
            }
            if (IsName(t) && prev != ".") {
                const bool declared = inVar && prev == "," && parens == varParens;
                const bool assigned = i + 1 < toks_.size() && toks_[i + 1].text == "=";
                if (declared && !scopes.empty()) scopes.back().locals.push_back(t);
                else if ((declared || assigned) && !isLocal(t)) Found(t, Text(i, StatementEnd(i)));
            }
            prev = t;
        }
        return found_;
    }

private:
    static constexpr std::size_t kMaxDepth = 64;
    struct Tok {
        std::string text;  // a string or pattern literal is "\""
        std::size_t at, end;
    };

    static bool IsName(const std::string& t) {
        static constexpr std::string_view kWords[] = {
            "break", "case", "catch", "continue", "default", "delete", "do", "else", "false", "finally", "for",
            "function", "if", "in", "instanceof", "new", "null", "return", "switch", "this", "throw", "true",
            "try", "typeof", "var", "void", "while", "with"};
        return !t.empty() && IdentStart(t[0]) && std::find(std::begin(kWords), std::end(kWords), t) == std::end(kWords);
    }
    void Found(const std::string& name, std::string source) {
        for (auto& [n, s] : found_)
            if (n == name) {
                s = std::move(source);
                return;
            }
        found_.emplace_back(name, std::move(source));
    }
    // The code from token `from` up to token `to` (exclusive; the end when past it).
    std::string Text(std::size_t from, std::size_t to) const {
        const std::size_t end = to < toks_.size() ? toks_[to].at : code_.size();
        return std::string(code_.substr(toks_[from].at, end - toks_[from].at));
    }
    // The token after the "}" that closes the "{" at token `open`.
    std::size_t Matching(std::size_t open) const {
        int depth = 0;
        for (std::size_t j = open; j < toks_.size(); ++j) {
            if (toks_[j].text == "{") ++depth;
            if (toks_[j].text == "}" && --depth == 0) return j + 1;
        }
        return toks_.size();
    }
    // The first ";" or unmatched closing bracket after token `from`.
    std::size_t StatementEnd(std::size_t from) const {
        int depth = 0;
        for (std::size_t j = from; j < toks_.size(); ++j) {
            const std::string& t = toks_[j].text;
            if (t == "(" || t == "[" || t == "{") ++depth;
            if ((t == ")" || t == "]" || t == "}") && depth-- == 0) return j;
            if (t == ";" && depth == 0) return j;
        }
        return toks_.size();
    }

    void Tokenize() {
        std::size_t pos = 0;
        while (pos < code_.size()) {
            const char ch = code_[pos];
            if (std::isspace(static_cast<unsigned char>(ch))) {
                ++pos;
                continue;
            }
            if (code_.compare(pos, 2, "//") == 0) {
                pos = std::min(code_.size(), code_.find('\n', pos));
                continue;
            }
            if (code_.compare(pos, 2, "/*") == 0) {
                const std::size_t end = code_.find("*/", pos + 2);
                pos = end == std::string_view::npos ? code_.size() : end + 2;
                continue;
            }
            const std::size_t at = pos;
            const std::string& last = toks_.empty() ? std::string() : toks_.back().text;
            const bool patternAllowed =
                last.empty() || (last.size() == 1 && std::string_view("(,=:[!&|?{};").find(last[0]) != std::string_view::npos);
            std::string text;
            if (ch == '\'' || ch == '"' || (ch == '/' && patternAllowed)) {
                bool inClass = false;
                for (++pos; pos < code_.size() && (code_[pos] != ch || inClass) && code_[pos] != '\n'; ++pos) {
                    if (code_[pos] == '\\') ++pos;
                    else if (ch == '/' && code_[pos] == '[') inClass = true;
                    else if (ch == '/' && code_[pos] == ']') inClass = false;
                }
                ++pos;
                while (ch == '/' && pos < code_.size() && IdentPart(code_[pos])) ++pos;  // flags
                text = "\"";
            } else if (IdentPart(ch)) {
                while (pos < code_.size() && IdentPart(code_[pos])) ++pos;
                text = std::string(code_.substr(at, pos - at));
            } else if (code_.compare(pos, 2, "==") == 0) {
                pos += code_.compare(pos, 3, "===") == 0 ? 3 : 2;
                text = "==";
            } else if (std::string_view("+-*/%&|^!<>").find(ch) != std::string_view::npos && pos + 1 < code_.size() &&
                       code_[pos + 1] == '=') {
                pos += code_.compare(pos, 3, "!==") == 0 ? 3 : 2;
                // A compound assignment assigns; "!=", "<=", ">=" compare.
                text = std::string_view("!<>").find(ch) != std::string_view::npos ? "==" : "=";
            } else {
                ++pos;
                text = std::string(1, ch);
            }
            toks_.push_back({std::move(text), at, std::min(pos, code_.size())});
        }
    }

    std::string_view code_;
    std::vector<Tok> toks_;
    std::vector<std::pair<std::string, std::string>> found_;
};

bool Contains(std::string_view text, std::string_view part) {
    return !part.empty() && text.find(part) != std::string_view::npos;
}

std::string Shown(std::string_view text) {
    constexpr std::size_t kMax = 160;
    return text.size() <= kMax ? std::string(text) : std::string(text.substr(0, kMax)) + "...";
}

std::vector<bool> Blockers(const Host::State& s) {
    std::vector<bool> on;
    for (const auto& blocker : tillwick::contract::kHostBlockers)
        on.push_back(ReadHostConfig(s, tillwick::contract::kHostSettingsSection, blocker.configKey, "0") == "1");
    return on;
}

const Tab* TabOf(const Host::State& s, int id) {
    const int index = TabIndexById(s, id);
    return index < 0 ? nullptr : s.tabs[static_cast<std::size_t>(index)].get();
}

std::vector<std::string> ScriptsSince(const Host::State& s, const Host::State::Watch& w) {
    const auto found = s.pageScripts.find(w.tabId);
    if (found == s.pageScripts.end()) return {};
    const auto& all = found->second;
    return {all.begin() + static_cast<std::ptrdiff_t>(std::min(w.scriptsFrom, all.size())), all.end()};
}

std::string Markup(const Tab& tab) {
    return tab.document.GetObject("documentElement").GetText("innerHTML").value_or("");
}

// What a value the page can read gives it: the security id, another tab's
// object or markup. Empty when nothing.
std::string Judge(const Host::State& s, int pageId, const Value& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        if (Contains(*text, s.config.securityId)) return "the security id";
        for (const auto& tab : s.tabs) {
            const std::string markup = tab->id == pageId ? "" : Markup(*tab);
            if (markup.size() >= 8 && Contains(*text, markup)) return "the markup of tab " + std::to_string(tab->id);
        }
    } else if (const auto* object = std::get_if<host::Object>(&value)) {
        for (const auto& tab : s.tabs) {
            if (tab->id == pageId) continue;
            if (*object == tab->window || *object == tab->document || *object == tab->browser)
                return "an object of tab " + std::to_string(tab->id);
        }
    }
    return {};
}

std::string Describe(const Value& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return "'" + Shown(*text) + "'";
    if (std::holds_alternative<host::Object>(value)) return "an object";
    if (const auto* n = std::get_if<std::int32_t>(&value)) return std::to_string(*n);
    return "a value";
}

void WatchTab(Host::State& s, const Tab& tab, bool fromNow) {
    Host::State::Watch w;
    w.tabId = tab.id;
    const auto scripts = s.pageScripts.find(tab.id);
    w.scriptsFrom = fromNow && scripts != s.pageScripts.end() ? scripts->second.size() : 0;
    w.window = tab.window;
    w.document = tab.document;
    w.windowNames = s.config.objects.names(tab.window);
    w.documentNames = s.config.objects.names(tab.document);
    s.watched.push_back(std::move(w));
}

}  // namespace

void WatchOpenedPage(Host::State& s, int openerId, int openedIndex) {
    if (openedIndex < 0) return;
    const auto opener = std::find_if(s.watched.begin(), s.watched.end(), [&](auto& w) { return w.tabId == openerId; });
    const Tab& opened = *s.tabs[static_cast<std::size_t>(openedIndex)];
    if (opener == s.watched.end() || opened.id == openerId || TabOf(s, opened.id) == nullptr) return;
    for (const auto& w : s.watched)
        if (w.tabId == opened.id) return;
    WatchTab(s, opened, false);
}

void Host::WatchPage(int index) {
    State& s = *state_;
    s.watched.clear();
    if (index < 0 || index >= static_cast<int>(s.tabs.size())) return;
    WatchTab(s, *s.tabs[static_cast<std::size_t>(index)], true);
    s.blockersAtWatch = Blockers(s);
}

std::vector<std::string> Host::PageGains() const {
    const State& s = *state_;
    std::vector<std::string> gains;
    for (const auto& w : s.watched) {
        const Tab* tab = TabOf(s, w.tabId);
        const host::Object window = w.window, document = tab ? tab->document : w.document;
        const std::string page = "tab " + std::to_string(w.tabId) + ": ";
        std::vector<std::string> reported;
        const auto add = [&](const std::string& name, const Value& value, const std::string& what) {
            reported.push_back(name);
            std::string line = page + what + " " + name + " = " + Describe(value);
            if (const std::string gives = Judge(s, w.tabId, value); !gives.empty()) line += " (holds " + gives + ")";
            gains.push_back(std::move(line));
        };
        for (const std::string& code : ScriptsSince(s, w)) {
            if (Contains(code, s.config.securityId)) gains.push_back(page + "ran a script holding the security id: " + Shown(code));
            if (Contains(code, "get_tab(") || Contains(code, "close_tab("))
                gains.push_back(page + "ran a script that reaches other tabs: " + Shown(code));
            if (const std::string gives = Judge(s, w.tabId, Value{code}); !gives.empty() && gives != "the security id")
                gains.push_back(page + "ran a script holding " + gives);
            for (const auto& [name, source] : GlobalScan(code).Run()) {
                if (std::find(reported.begin(), reported.end(), name) != reported.end()) continue;
                add(name, window.Get(name).value_or(Value{source}), "global");
            }
        }
        // Properties put on the window or document since: the page reads them as
        // well; one whose value was taken away again (undefined) is gone.
        const auto newProperties = [&](const host::Object& object, const std::vector<std::string>& before,
                                       const std::string& owner) {
            for (const std::string& name : s.config.objects.names(object)) {
                const auto same = [&](const std::string& b) {
                    return b.size() == name.size() && std::equal(b.begin(), b.end(), name.begin(), [](char x, char y) {
                               return std::tolower(static_cast<unsigned char>(x)) ==
                                      std::tolower(static_cast<unsigned char>(y));
                           });
                };
                if (std::any_of(before.begin(), before.end(), same) ||
                    std::any_of(reported.begin(), reported.end(), same))
                    continue;
                const auto value = object.Get(name);
                if (!value || std::holds_alternative<std::monostate>(*value)) continue;
                add(name, *value, owner + " property");
            }
        };
        newProperties(window, w.windowNames, "window");
        newProperties(document, w.documentNames, "document");
    }
    if (!s.watched.empty() && Blockers(s) != s.blockersAtWatch) gains.push_back("a content blocker was left switched");
    return gains;
}

}  // namespace refhost
