// Each plugin action with a hostile web page active: the page, which reads
// every global, property and script the plugin leaves in it, gains nothing
// (no security id, no other tab's window or markup, no blocker switched).
#include <functional>

#include "features_fixture.h"

namespace {

const std::string kId = "{3A1F7C2E-5B6D-4E8F-9A0B-1C2D3E4F5A6B}";

// Every action starts with the host's tabs just opened, the hostile one active,
// and runs the clock itself: the watch begins before the plugin's start-up.
struct Action {
    const char* name;
    std::vector<std::pair<std::string, std::string>> settings;
    std::function<void(refhost::Host&)> run;
};

// The mouse comes to rest on tab `index` of the tab bar (tabs are 96 pixels wide).
void HoverTab(refhost::Host& h, int index) {
    POINT at{index * 96 + 40, 10};
    host::ClientToScreen(h.TabBar(), &at);
    host::sim::SetCursorScreenPos(at.x, at.y);
    host::SendMessageA(h.TabBar(), WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(index * 96 + 40), 10));
}

class HostilePage : public features_test::FeatureOnHost {};

TEST_F(HostilePage, GainsNothingFromAnyPluginAction) {
    const Action actions[] = {
        {"the panels start", {{"StatusHtml", "1"}}, [](refhost::Host&) { testsupport::PumpFor(3000); }},
        {"a hover preview",
         {{"TabHoverAction", "1"}, {"TabHoverActivate", "0"}, {"SecurityID", kId}},
         [](refhost::Host& h) {
             testsupport::PumpFor(1000);
             h.ActivateTab(0);  // the plugin's start-up chose another
             HoverTab(h, 2);
             testsupport::PumpFor(1000);
             host::SendMessageA(h.TabBar(), WM_MOUSELEAVE, 0, 0);
         }},
        {"Paste and Go",
         {{"PasteGo", "1"}},
         [](refhost::Host& h) {
             testsupport::PumpFor(1000);
             host::sim::SetClipboardText("http://paste.example/");
             host::sim::QueueMenuAnswer(7);
             host::SendMessageA(h.AddressEdit(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(h.AddressEdit()), 0);
             testsupport::PumpFor(1000);
         }},
    };
    for (const Action& action : actions) {
        SCOPED_TRACE(action.name);
        TearDown();
        SetUp();
        Settings(action.settings);
        features_test::RegisterControlHost([] { return host::Object(host::sim::MakeObject()); });
        config.markupOf = [](std::string_view url) { return "<p>the page of " + std::string(url) + "</p>"; };
        host = std::make_unique<refhost::Host>(std::move(config));
        ASSERT_TRUE(host->Start());
        for (const char* url : {"http://evil.example/", "https://bank.example/", "https://mail.example/"})
            host->OpenTab(url);
        host->ActivateTab(0);
        host->WatchPage(0);
        action.run(*host);
        EXPECT_EQ(host->PageGains(), std::vector<std::string>{});
    }
}

}  // namespace
