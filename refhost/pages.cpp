// The objects script sees in a tab: the browser (Navigate2, LocationURL), the
// page document (title, URL, readyState, location, parentWindow, body), the
// page window (name, open, location, the host's `external`), and the page
// load that raises the browser events to the tab's plugin step by step on the
// clock, updating status text, address bar, tab text and caption on the way.
#include <string>

#include "base/errors.h"
#include "refhost/host_impl.h"

namespace refhost {

namespace c = tillwick::contract;

namespace {

using host::Value;

struct UrlParts {
    std::string protocol, host, hostname, pathname;
};

UrlParts SplitUrl(std::string_view url) {
    UrlParts parts;
    auto colon = url.find(':');
    if (colon == std::string_view::npos) return parts;
    parts.protocol = std::string(url.substr(0, colon + 1));
    std::string_view rest = url.substr(colon + 1);
    if (rest.substr(0, 2) != "//") {
        parts.pathname = std::string(rest);
        return parts;
    }
    rest.remove_prefix(2);
    auto slash = rest.find('/');
    parts.host = std::string(rest.substr(0, slash));
    parts.pathname = slash == std::string_view::npos ? "/" : std::string(rest.substr(slash));
    auto port = parts.host.find(':');
    parts.hostname = parts.host.substr(0, port);
    if (parts.protocol == "file:") parts.hostname.clear();
    return parts;
}

std::optional<std::string> Text(const std::vector<Value>& args, std::size_t i) {
    if (i >= args.size()) return std::nullopt;
    if (auto* t = std::get_if<std::string>(&args[i])) return *t;
    return std::nullopt;
}

std::int32_t Number(const std::vector<Value>& args, std::size_t i) {
    if (i >= args.size()) return 0;
    if (auto* n = std::get_if<std::int32_t>(&args[i])) return *n;
    if (auto* d = std::get_if<double>(&args[i])) return static_cast<std::int32_t>(*d);
    return 0;
}

std::string TitleFor(const Host::State& s, std::string_view url) {
    if (s.config.titleOf) return s.config.titleOf(url);
    return std::string(url);
}

Tab* TabById(Host::State& s, int id) {
    int index = TabIndexById(s, id);
    return index < 0 ? nullptr : s.tabs[static_cast<std::size_t>(index)].get();
}

bool IsActive(const Host::State& s, const Tab& tab) {
    return s.active >= 0 && s.active < static_cast<int>(s.tabs.size()) &&
           s.tabs[static_cast<std::size_t>(s.active)].get() == &tab;
}

int TabByWindowName(Host::State& s, std::string_view name) {
    for (std::size_t i = 0; i < s.tabs.size(); ++i) {
        auto n = s.tabs[i]->window.GetText("name");
        if (n && *n == name) return static_cast<int>(i);
    }
    return -1;
}

// Opens a tab (or reuses the one of that window name) and loads url in it.
int OpenIn(Host::State& s, std::string_view url, std::string_view name, bool forceNew) {
    int index = (!forceNew && !name.empty()) ? TabByWindowName(s, name) : -1;
    if (index < 0) index = NewTab(s, name);
    if (index >= 0) StartLoad(s, *s.tabs[static_cast<std::size_t>(index)], url);
    return index;
}

// Sets the document of a tab for url: a new document object each time, as a
// browser makes one per navigation; the window object stays with the tab.
void MakeDocument(Host::State& s, Tab& tab, std::string_view url, std::string_view readyState,
                  std::string_view title) {
    const ObjectSeam& o = s.config.objects;
    const UrlParts parts = SplitUrl(url);
    host::Object location = o.create();
    o.set(location, "href", std::string(url));
    o.set(location, "protocol", parts.protocol);
    o.set(location, "host", parts.host);
    o.set(location, "hostname", parts.hostname);
    o.set(location, "pathname", parts.pathname);

    host::Object body = o.create();
    o.set(body, "innerHTML", std::string());
    o.set(body, "innerText", std::string());
    host::Object root = o.create();
    o.set(root, "innerHTML", s.config.markupOf ? s.config.markupOf(url) : std::string());
    RECT view{};
    host::GetClientRect(tab.page, &view);
    for (const char* side : {"clientWidth", "scrollWidth"}) o.set(root, side, static_cast<std::int32_t>(view.right));
    for (const char* side : {"clientHeight", "scrollHeight"}) o.set(root, side, static_cast<std::int32_t>(view.bottom));
    o.set(root, "scrollLeft", std::int32_t{0});
    o.set(root, "scrollTop", std::int32_t{0});

    host::Object document = o.create();
    o.set(document, "URL", std::string(url));
    o.set(document, "title", std::string(title));
    o.set(document, "readyState", std::string(readyState));
    o.set(document, "domain", parts.hostname);
    o.set(document, "location", location);
    o.set(document, "parentWindow", tab.window);
    o.set(document, "body", body);
    o.set(document, "documentElement", root);

    o.set(tab.window, "location", location);
    o.set(tab.window, "document", document);
    o.set(tab.browser, "Document", document);
    o.set(tab.browser, "LocationURL", std::string(url));
    o.set(tab.browser, "LocationName", std::string(title));
    tab.document = document;
    tab.location = location;
}

void SetReadyState(Host::State& s, Tab& tab, std::string_view state) {
    s.config.objects.set(tab.document, "readyState", std::string(state));
    s.config.objects.set(tab.browser, "ReadyState",
                         static_cast<std::int32_t>(state == "complete" ? 4 : state == "interactive" ? 3 : 1));
    s.config.objects.set(tab.browser, "Busy", state != "complete");
}

// Raises one browser event to the tab's plugin, only while the plugin holds
// this tab's browser. The plugin may close the tab from inside the event, so
// the caller looks the tab up again afterwards.
template <typename Event>
void Raise(Tab& tab, Event&& event) {
    if (!tab.plugin) return;
    tillwick::RunStep([&] {
        if (tab.plugin->AttachedBrowser() == tab.browser) event(*tab.plugin);
    });
}

void CALLBACK LoadTimerProc(HWND, UINT, UINT_PTR timerId, DWORD);

void ArmLoadTimer(Host::State& s, Tab& tab) {
    tab.loadTimer = host::SetTimer(nullptr, 0, s.config.loadStepMs, LoadTimerProc);
}

void AdvanceLoad(Host::State& s, int tabId) {
    Tab* tab = TabById(s, tabId);
    if (!tab || tab->loadStep == 0) return;
    const std::string url = tab->loadingUrl;
    switch (tab->loadStep) {
        case 1: {
            Raise(*tab, [](TabPlugin& p) { p.DownloadBegin(); });
            if (!(tab = TabById(s, tabId))) return;
            MakeDocument(s, *tab, url, "loading", "");
            tab->url = url;
            tab->title.clear();
            SetTabText(s, TabIndexById(s, tabId));
            tab->loadStep = 2;
            ArmLoadTimer(s, *tab);
            break;
        }
        case 2: {
            Raise(*tab, [](TabPlugin& p) { p.ProgressChange(50, 100); });
            if (!(tab = TabById(s, tabId))) return;
            tab->title = TitleFor(s, url);
            s.config.objects.set(tab->document, "title", tab->title);
            s.config.objects.set(tab->browser, "LocationName", tab->title);
            SetReadyState(s, *tab, "interactive");
            SetTabText(s, TabIndexById(s, tabId));
            if (IsActive(s, *tab)) UpdateCaption(s);
            tab->loadStep = 3;
            ArmLoadTimer(s, *tab);
            break;
        }
        default: {
            Raise(*tab, [](TabPlugin& p) { p.ProgressChange(100, 100); });
            if (!(tab = TabById(s, tabId))) return;
            Raise(*tab, [](TabPlugin& p) { p.DownloadComplete(); });
            if (!(tab = TabById(s, tabId))) return;
            SetReadyState(s, *tab, "complete");
            tab->loadStep = 0;
            if (IsActive(s, *tab)) {
                RefreshStatusParts(s);
                SetStatusText(s, "Done");
            }
            break;
        }
    }
}

void CALLBACK LoadTimerProc(HWND, UINT, UINT_PTR timerId, DWORD) {
    tillwick::RunStep([&] {
        host::KillTimer(nullptr, timerId);
        Host::State* s = Current();
        if (!s) return;
        for (const auto& tab : s->tabs) {
            if (tab->loadTimer != timerId) continue;
            tab->loadTimer = 0;
            AdvanceLoad(*s, tab->id);
            return;
        }
    });
}

}  // namespace

std::string HostNameOf(std::string_view url) { return SplitUrl(url).hostname; }

void MakeExternal(Host::State& s) {
    const ObjectSeam& o = s.config.objects;
    s.external = o.create();
    o.set(s.external, "tab_count", std::int32_t{0});
    o.setMethod(s.external, "get_tab", [](const std::vector<Value>& args) -> std::optional<Value> {
        Host::State* st = Current();
        if (!st || Text(args, 0) != st->config.securityId) return std::nullopt;
        const std::int32_t i = Number(args, 1);
        if (i < 0 || i >= static_cast<std::int32_t>(st->tabs.size())) return std::nullopt;
        return Value{st->tabs[static_cast<std::size_t>(i)]->window};
    });
    o.setMethod(s.external, "close_tab", [](const std::vector<Value>& args) -> std::optional<Value> {
        Host::State* st = Current();
        if (!st || Text(args, 0) != st->config.securityId) return std::nullopt;
        const std::int32_t i = Number(args, 1);
        if (i < 0 || i >= static_cast<std::int32_t>(st->tabs.size())) return std::nullopt;
        // Closed after the calling script has returned, not under its feet.
        host::PostMessageA(st->frame, ids::kMsgCloseTabById,
                           static_cast<WPARAM>(st->tabs[static_cast<std::size_t>(i)]->id), 0);
        return Value{};
    });
}

void UpdateExternal(Host::State& s) {
    if (s.external)
        s.config.objects.set(s.external, "tab_count", static_cast<std::int32_t>(s.tabs.size()));
}

void MakeTabObjects(Host::State& s, Tab& tab, std::string_view windowName) {
    const ObjectSeam& o = s.config.objects;
    const int id = tab.id;
    tab.site = o.create();
    o.set(tab.site, "name", std::string("site"));

    tab.window = o.create();
    o.set(tab.window, "name", std::string(windowName));
    o.set(tab.window, "closed", false);
    o.set(tab.window, "external", s.external);
    AnswerPopupScripts(s, tab);
    o.setMethod(tab.window, "open", [id](const std::vector<Value>& args) -> std::optional<Value> {
        Host::State* st = Current();
        if (!st) return std::nullopt;
        int index = OpenIn(*st, Text(args, 0).value_or("about:blank"), Text(args, 1).value_or(""),
                           false);
        if (index < 0) return std::nullopt;
        WatchOpenedPage(*st, id, index);
        return Value{st->tabs[static_cast<std::size_t>(index)]->window};
    });

    // A frameset page's frames (window.frames.item(k)): each reload is written down.
    const host::Object frames = o.create();
    o.setMethod(frames, "item", [](const std::vector<Value>& args) -> std::optional<Value> {
        Host::State* st = Current();
        const auto* k = args.empty() ? nullptr : std::get_if<std::int32_t>(&args[0]);
        if (!st || !k || *k < 0) return std::nullopt;
        const ObjectSeam& o = st->config.objects;
        const host::Object frame = o.create(), location = o.create();
        o.setMethod(location, "reload", [k = *k](const std::vector<Value>&) -> std::optional<Value> {
            if (Host::State* st = Current()) st->popupLog.push_back("reload frame " + std::to_string(k));
            return Value{};
        });
        o.set(frame, "location", location);
        return Value{frame};
    });
    o.set(tab.window, "frames", frames);

    // A page's own navigation (window.navigate): the same tab loads the address.
    o.setMethod(tab.window, "navigate", [id](const std::vector<Value>& args) -> std::optional<Value> {
        Host::State* st = Current();
        Tab* self = st ? TabById(*st, id) : nullptr;
        auto url = Text(args, 0);
        if (!self || !url) return std::nullopt;
        StartLoad(*st, *self, *url);
        return Value{};
    });

    tab.browser = o.create();
    o.set(tab.browser, "Busy", false);
    o.set(tab.browser, "ReadyState", std::int32_t{4});
    auto navigate = [id](const std::vector<Value>& args) -> std::optional<Value> {
        Host::State* st = Current();
        if (!st) return std::nullopt;
        auto url = Text(args, 0);
        if (!url) return std::nullopt;
        const std::int32_t flags = Number(args, 1);
        const std::string target = Text(args, 2).value_or("");
        constexpr std::int32_t kOpenInNewWindow = 1;
        if ((flags & kOpenInNewWindow) != 0 || !target.empty()) {
            if (OpenIn(*st, *url, target, (flags & kOpenInNewWindow) != 0) < 0) return std::nullopt;
        } else if (Tab* self = TabById(*st, id)) {
            StartLoad(*st, *self, *url);
        }
        return Value{};
    };
    o.setMethod(tab.browser, "Navigate2", navigate);
    o.setMethod(tab.browser, "Navigate", navigate);
    o.setMethod(tab.browser, "Stop", [id](const std::vector<Value>&) -> std::optional<Value> {
        Host::State* st = Current();
        if (Tab* self = st ? TabById(*st, id) : nullptr) StopLoad(*st, *self);
        return Value{};
    });
    o.setMethod(tab.browser, "Refresh", [id](const std::vector<Value>&) -> std::optional<Value> {
        Host::State* st = Current();
        if (Tab* self = st ? TabById(*st, id) : nullptr) StartLoad(*st, *self, self->url);
        return Value{};
    });

    MakeDocument(s, tab, "about:blank", "complete", "about:blank");
    tab.url = "about:blank";
    tab.title = "about:blank";
}

void StartLoad(Host::State& s, Tab& tab, std::string_view url) {
    const int id = tab.id;
    StopLoad(s, tab);
    tab.loadingUrl = std::string(url);
    tab.loadStep = 1;
    s.config.objects.set(tab.browser, "Busy", true);
    Raise(tab, [](TabPlugin& p) { p.BeforeNavigate2(); });
    Tab* self = TabById(s, id);
    // Closed, or sent elsewhere, from inside the event: that load is the one that runs.
    if (!self || self->loadStep != 1 || self->loadingUrl != url) return;
    if (IsActive(s, *self)) {
        SetAddressText(s, url);
        RefreshStatusParts(s);
        SetStatusText(s, "Opening " + std::string(url) + "...");
    }
    ArmLoadTimer(s, *self);
}

void StopLoad(Host::State& s, Tab& tab) {
    if (tab.loadTimer) host::KillTimer(nullptr, tab.loadTimer);
    tab.loadTimer = 0;
    if (tab.loadStep == 0) return;
    tab.loadStep = 0;
    if (tab.browser) s.config.objects.set(tab.browser, "Busy", false);
    if (IsActive(s, tab)) RefreshStatusParts(s);
}

void ReleaseTabObjects(Tab& tab) {
    tab.site = tab.browser = tab.window = tab.document = tab.location = host::Object();
}

}  // namespace refhost
