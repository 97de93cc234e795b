// Page loads as a browser does them: the four browser events to the tab's
// plugin in order, status text, progress part, address bar and tab text
// along the way; and the script objects of a page.
#include "core/host_contract.h"
#include "support/refhost_fixture.h"

namespace {

namespace c = tillwick::contract;
using namespace refhost_fixture;

int ProgressPartWidth(HWND statusBar) {
    RECT r{};
    host::SendMessageA(statusBar, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&r));
    return r.right - r.left;
}

std::string TabText(HWND tabBar, int index) {
    char text[256] = {};
    TCITEMA item{.mask = TCIF_TEXT, .pszText = text, .cchTextMax = sizeof text};
    host::SendMessageA(tabBar, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return text;
}

class RefHostPages : public HostTest {};

TEST_F(RefHostPages, LoadRaisesTheFourEventsInOrderAndEndsWithDone) {
    config.titleOf = [](std::string_view) { return std::string("Example Domain"); };
    auto& h = Start(1);
    const std::string url = "http://www.example.com/index.html";
    h.LoadPage(url);

    EXPECT_TRUE(h.Loading(0));
    EXPECT_EQ(TextOf(h.StatusBar()), "Opening " + url + "...");
    EXPECT_GT(ProgressPartWidth(h.StatusBar()), 80);
    EXPECT_LT(ProgressPartWidth(h.StatusBar()), 90);
    EXPECT_EQ(TextOf(h.AddressEdit()), url);

    testsupport::PumpFor(refhost::kLoadSteps * 100 + 50);
    EXPECT_FALSE(h.Loading(0));
    EXPECT_EQ(LogOf(1), (std::vector<std::string>{"SetSite", "BeforeNavigate2", "DownloadBegin",
                                                  "ProgressChange 50/100", "ProgressChange 100/100",
                                                  "DownloadComplete"}));
    EXPECT_EQ(TextOf(h.StatusBar()), "Done");
    const int idle = ProgressPartWidth(h.StatusBar());
    EXPECT_TRUE(idle <= 80 || idle >= 90) << idle;
    EXPECT_EQ(TabText(h.TabBar(), 0), "Example Domain");

    host::Object doc = h.Document(0);
    EXPECT_EQ(doc.GetText("readyState"), "complete");
    EXPECT_EQ(doc.GetObject("location").GetText("protocol"), "http:");
    EXPECT_TRUE(h.Browser(0).GetObject("Document") == doc);
}

TEST_F(RefHostPages, EventsGoOnlyToThePluginHoldingThatTabsBrowser) {
    auto& h = Start(2);
    static_cast<RecordingPlugin*>(h.Plugin(1))->Detach();
    h.LoadPage("http://a.example.com/");
    h.ActivateTab(0);
    h.LoadPage("http://b.example.com/");
    testsupport::PumpFor(1000);
    EXPECT_EQ(LogOf(2), (std::vector<std::string>{"SetSite"}));
    EXPECT_EQ(LogOf(1).size(), 6u);
    // The background tab finished too: its own text, while the caption keeps the active tab's.
    EXPECT_EQ(TabText(h.TabBar(), 1), "http://a.example.com/");
    EXPECT_EQ(TextOf(h.Frame()), "http://b.example.com/ - Maxthon");
}

TEST_F(RefHostPages, PageScriptsAreRecordedAndExternalReachesTabsWithTheSecurityId) {
    auto& h = Start(2);
    host::Object window = h.PageWindowObject(0);
    ASSERT_TRUE(window.ExecScript("var a=1"));
    ASSERT_TRUE(window.ExecScript("eval(sScript)"));
    EXPECT_EQ(ScriptsRun(window), (std::vector<std::string>{"var a=1", "eval(sScript)"}));

    host::Object external = window.GetObject("external");
    ASSERT_TRUE(external);
    EXPECT_EQ(external.Get("tab_count"), host::Value{std::int32_t{2}});
    EXPECT_FALSE(external.Call("get_tab", {std::string("wrong"), std::int32_t{1}}));
    EXPECT_FALSE(external.Call("close_tab", {std::string("wrong"), std::int32_t{1}}));

    ASSERT_TRUE(external.Call("close_tab", {h.SecurityId(), std::int32_t{1}}));
    testsupport::PumpFor(0);
    EXPECT_EQ(external.Get("tab_count"), host::Value{std::int32_t{1}});
}

}  // namespace
