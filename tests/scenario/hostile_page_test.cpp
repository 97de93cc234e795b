// Each plugin action with a hostile web page active: the page, which reads
// every global, property and script the plugin leaves in it, gains nothing
// (no security id, no other tab's window or markup, no blocker switched).
#include "features_fixture.h"
#include "host/sim/statusinfo.h"

namespace {

const std::string kId = "{3A1F7C2E-5B6D-4E8F-9A0B-1C2D3E4F5A6B}";

// Every action runs once the plugin has started, with the hostile tab active; the
// watch begins before the plugin's start-up.
struct Action {
    const char* name;
    std::vector<std::pair<std::string, std::string>> settings;
    std::function<void(refhost::Host&)> run;
};

class HostilePage : public features_test::FeatureOnHost {};

TEST_F(HostilePage, GainsNothingFromAnyPluginAction) {
    const Action actions[] = {
        {"the panels start", {{"StatusHtml", "1"}}, [](refhost::Host&) { testsupport::PumpFor(1000); }},
        {"a hover preview",
         {{"TabHoverAction", "1"}, {"TabHoverActivate", "0"}, {"SecurityID", kId}},
         [this](refhost::Host& h) {
             HoverTab(2);
             testsupport::PumpFor(1000);
             host::SendMessageA(h.TabBar(), WM_MOUSELEAVE, 0, 0);
         }},
        {"Paste and Go",
         {{"PasteGo", "1"}},
         [](refhost::Host& h) {
             host::sim::SetClipboardText("http://paste.example/");
             host::sim::QueueMenuAnswer(7);
             host::SendMessageA(h.AddressEdit(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(h.AddressEdit()), 0);
             testsupport::PumpFor(1000);
         }},
        {"a plugin launch",
         {{"PluginMenu", "1"}, {"PluginInclude", "^Delta$"}, {"SecurityID", kId}},
         [](refhost::Host& h) {
             // The host's contract runs a script plugin in the page: its own call may
             // carry the id, escaped, but nothing may be left there to hold it.
             host::sim::PutFile(h.HostFolder() + "Plugin\\d\\main.htm", "<script>go(%max_security_id);</script>");
             host::sim::QueueMenuAnswer(9001);
             h.RightClickPage(refhost::PageMenuKind::Default);
             testsupport::PumpFor(1000);
             EXPECT_FALSE(refhost_fixture::Bag(h.PageWindowObject(0))->Scripts().empty());  // it ran there
         }},
        {"a WHOIS report",
         {{"StatusBarInfo", "1"}, {"ShowIP", "1"}},
         [](refhost::Host& h) {
             host::sim::QueueMenuAnswer(9);
             host::SendMessageA(h.StatusBar(), WM_LBUTTONDOWN, 1, MAKELPARAM(30, 5));
             testsupport::PumpFor(1000);
             ASSERT_FALSE(host::sim::HttpRequests().empty());
             host::sim::AnswerHttpRequest(host::sim::HttpRequests().back().id, {true, 200, "NetName: EVIL\nCountry: US\n"});
             testsupport::PumpFor(3000);
             EXPECT_EQ(h.TabCount(), 4);  // the report's window
         }},
    };
    for (const Action& action : actions) {
        SCOPED_TRACE(action.name);
        Renew();
        Settings(action.settings);
        features_test::RegisterControlHost([] { return host::Object(host::sim::MakeObject()); });
        // A script plugin for the launch; the other actions leave it alone.
        config.plugins.push_back({.folder = "d", .name = "Delta", .type = "", .moduleType = "script", .fileName = "main.htm"});
        host::sim::SetHostAddresses("evil.example", {{false, "192.0.2.66"}});
        config.markupOf = [](std::string_view url) { return "<p>the page of " + std::string(url) + "</p>"; };
        host = std::make_unique<refhost::Host>(std::move(config));
        ASSERT_TRUE(host->Start());
        for (const char* url : {"http://evil.example/", "https://bank.example/", "https://mail.example/"})
            host->OpenTab(url);
        host->ActivateTab(0);
        host->WatchPage(0);
        testsupport::PumpFor(1000);
        host->ActivateTab(0);  // the plugin's start-up may have chosen another
        testsupport::PumpFor(1000);
        action.run(*host);
        EXPECT_EQ(host->PageGains(), std::vector<std::string>{});
    }
}

}  // namespace
