// The tab-closing script a page may run: "for every tab from the last to the
// first, fetch it with external.get_tab and close it with external.close_tab
// when its window name or its address names Tillwick". The host has no script
// engine of its own, so its page windows recognise that script and carry it
// out through the page object `external`, writing down each call it makes.
#include <string>

#include "refhost/host_impl.h"

namespace refhost {
namespace {

bool Names(std::string_view text) { return text.find("Tillwick") != std::string_view::npos; }

}  // namespace

bool AnswerTabClosingScript(Host::State& s, int callerIndex, std::string_view code) {
    constexpr std::string_view kGetTab = "external.get_tab('";
    const auto idAt = code.find(kGetTab);
    if (idAt == std::string_view::npos || code.find("external.close_tab(") == std::string_view::npos) return false;
    const auto idEnd = code.find('\'', idAt + kGetTab.size());
    if (idEnd == std::string_view::npos) return false;
    const std::string id(code.substr(idAt + kGetTab.size(), idEnd - idAt - kGetTab.size()));
    const std::string from = " from tab " + std::to_string(callerIndex);
    const auto count = static_cast<std::int32_t>(s.tabs.size());
    s.popupLog.push_back("tab_count " + std::to_string(count) + from);
    for (std::int32_t i = count - 1; i >= 0; --i) {
        const std::string call = "'" + id + "'," + std::to_string(i);
        s.popupLog.push_back("get_tab " + call + from);
        const auto got = s.external.Call("get_tab", {id, i});
        const host::Object* window = got ? std::get_if<host::Object>(&*got) : nullptr;
        if (!window) continue;  // a wrong id: script would stop at the null window
        const Tab* tab = nullptr;
        for (const auto& t : s.tabs)
            if (t->window == *window) tab = t.get();
        const std::string name = window->GetText("name").value_or("");
        const std::string url = tab ? tab->document.GetText("URL").value_or("") : "";
        if (!Names(name) && !Names(url)) continue;
        s.popupLog.push_back("close_tab " + call + from);
        s.external.Call("close_tab", {id, i});
    }
    return true;
}

}  // namespace refhost
