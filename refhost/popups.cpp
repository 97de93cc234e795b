// The page windows' pop-ups, as far as the host can answer for its engine:
// a page window's execScript recognises the few statements that create,
// fill, show and hide an HTML pop-up (createPopup) and that fetch another
// tab through `external.get_tab`, keeps the page's `oTPisOK` answer the way
// the engine would, and writes down what was asked for.
#include <string>

#include "refhost/host_impl.h"

namespace refhost {
namespace {

using host::Value;

bool Has(std::string_view code, std::string_view part) { return code.find(part) != std::string_view::npos; }

// The text between `open` and the next `close` after it, or nullopt.
std::optional<std::string> Between(std::string_view code, std::string_view open, std::string_view close) {
    auto from = code.find(open);
    if (from == std::string_view::npos) return std::nullopt;
    from += open.size();
    auto to = code.find(close, from);
    if (to == std::string_view::npos) return std::nullopt;
    return std::string(code.substr(from, to - from));
}

void Record(std::string entry) {
    if (Host::State* s = Current()) s->popupLog.push_back(std::move(entry));
}

}  // namespace

void AnswerPopupScripts(Host::State& s, Tab& tab) {
    const ObjectSeam& o = s.config.objects;
    const int id = tab.id;
    o.setMethod(tab.window, "execScript", [id](const std::vector<Value>& args) -> std::optional<Value> {
        Host::State* st = Current();
        const auto* code = args.empty() ? nullptr : std::get_if<std::string>(&args[0]);
        if (!st || !code) return Value{};
        st->pageScripts[id].push_back(*code);  // kept by a window that outlives its tab too
        const int index = TabIndexById(*st, id);
        if (index < 0) return Value{};
        Tab& self = *st->tabs[static_cast<std::size_t>(index)];
        const std::string where = "tab " + std::to_string(index);
        auto ok = [&](bool value) { st->config.objects.set(self.window, "oTPisOK", std::int32_t{value ? 1 : 0}); };
        if (Has(*code, "createPopup()")) {
            self.hasPopup = true;
            ok(true);
            Record("createPopup " + where);
        } else if (Has(*code, "oTPisOK=0;")) {
            ok(self.hasPopup);  // a write or show(0,0,0,0) works while the pop-up exists
        } else if (AnswerTabClosingScript(*st, index, *code)) {
        } else if (auto wanted = Between(*code, "external.get_tab(", ")")) {
            Record("get_tab " + ScriptStringValue(*wanted) + " from " + where);
        } else if (auto shown = Between(*code, "oTPpopup.show(", ",nTop")) {
            Record("show at x " + *shown + " from " + where);
        } else if (Has(*code, "oTPpopup.hide()")) {
            Record("hide " + where);
        }
        return Value{};
    });
}

const std::vector<std::string>& Host::PopupLog() const { return state_->popupLog; }

}  // namespace refhost
