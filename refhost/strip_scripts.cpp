// The tab-closing script a page may run: "for every tab from the last to the
// first, fetch it with external.get_tab and close it with external.close_tab
// when its window name is the one given (oWin.name=='...')". The host has no
// script engine of its own, so its page windows recognise that script and
// carry it out through the page object `external`, writing down each call.
#include <algorithm>
#include <optional>
#include <string>

#include "host/text.h"
#include "refhost/host_impl.h"

namespace refhost {
namespace {

// The value of the string literal between `open` and the next quote after it.
std::optional<std::string> Quoted(std::string_view code, std::string_view open) {
    const auto at = code.find(open);
    if (at == std::string_view::npos) return std::nullopt;
    const auto end = code.find('\'', at + open.size());
    if (end == std::string_view::npos) return std::nullopt;
    return ScriptStringValue(code.substr(at + open.size(), end - at - open.size()));
}

std::optional<unsigned> HexValue(std::string_view digits) {
    unsigned value = 0;
    for (char c : digits) {
        const auto d = static_cast<unsigned char>(c);
        if (d >= '0' && d <= '9') value = value * 16 + (d - '0');
        else if (d >= 'a' && d <= 'f') value = value * 16 + (d - 'a' + 10);
        else if (d >= 'A' && d <= 'F') value = value * 16 + (d - 'A' + 10);
        else return std::nullopt;
    }
    return value;
}

}  // namespace

std::string ScriptStringValue(std::string_view literal) {
    std::u16string wide;
    std::size_t plain = 0;  // start of the run of unescaped text not yet taken
    for (std::size_t i = 0; i + 1 < literal.size(); ++i) {
        if (literal[i] != '\\') continue;
        wide += host::AnsiToWide(literal.substr(plain, i - plain));
        const char kind = literal[++i];
        const std::size_t digits = kind == 'u' ? 4 : kind == 'x' ? 2 : 0;
        const bool room = literal.size() - i - 1 >= digits;
        const auto value = digits != 0 && room ? HexValue(literal.substr(i + 1, digits)) : std::nullopt;
        if (value) {
            wide += static_cast<char16_t>(*value);
            i += digits;
        } else {
            wide += kind == 'n' ? u'\n' : kind == 'r' ? u'\r' : static_cast<char16_t>(static_cast<unsigned char>(kind));
        }
        plain = i + 1;
    }
    wide += host::AnsiToWide(literal.substr(std::min(plain, literal.size())));
    return host::WideToAnsi(wide);
}

bool AnswerTabClosingScript(Host::State& s, int callerIndex, std::string_view code) {
    const auto id = Quoted(code, "external.get_tab('");
    const auto wanted = Quoted(code, "oWin.name=='");
    if (!id || !wanted || code.find("external.close_tab(") == std::string_view::npos) return false;
    const std::string from = " from tab " + std::to_string(callerIndex);
    const auto count = static_cast<std::int32_t>(s.tabs.size());
    s.popupLog.push_back("tab_count " + std::to_string(count) + from);
    for (std::int32_t i = count - 1; i >= 0; --i) {
        const std::string call = "'" + *id + "'," + std::to_string(i);
        s.popupLog.push_back("get_tab " + call + from);
        const auto got = s.external.Call("get_tab", {*id, i});
        const host::Object* window = got ? std::get_if<host::Object>(&*got) : nullptr;
        if (!window) continue;  // a wrong id: script would stop at the null window
        if (window->GetText("name").value_or("") != *wanted) continue;
        s.popupLog.push_back("close_tab " + call + from);
        s.external.Call("close_tab", {*id, i});
    }
    return true;
}

}  // namespace refhost
