// The status-bar information line, its click menu, the zone icon and the WHOIS
// lookup on the reference host, with name resolution and the registries'
// answers played by the sim.
#include <cstring>

#include "features_fixture.h"
#include "host/sim/statusinfo.h"
#include "statusinfo/statusinfo_state.h"

namespace {

using host::sim::HttpRequests;

class StatusInfo : public features_test::FeatureOnHost {
protected:
    HWND Bar() const { return host->StatusBar(); }
    std::string BarText() const { return host::sim::WindowText(Bar()); }
    void HostText(const char* text) { host::SendMessageA(Bar(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }
    // The bar is hooked by a later plugin object's start-up, so a second tab opens.
    void StartInfo(features_test::Values settings) {
        settings.push_back({"StatusBarInfo", "1"});
        Settings(settings);
        host::sim::SetHostAddresses("example.com", {{true, "2001:db8::7"}, {false, "192.0.2.7"}});
        host::sim::PutFile(features_test::kPluginFolder + "\\Languages\\Language0000.ini", "[CountryCode]\r\nDE=Germany\r\n");
        Start({"about:blank"});
        host->OpenTab("http://example.com/");
        testsupport::PumpFor(1000);
    }
    // A left click in the status bar at x; the menu answers `answer`.
    std::size_t Click(int x, UINT answer = 0) {
        if (answer != 0) host::sim::QueueMenuAnswer(answer);
        const std::size_t before = host::sim::TrackedMenus().size();
        host::SendMessageA(Bar(), WM_LBUTTONDOWN, 1, MAKELPARAM(x, 5));
        return host::sim::TrackedMenus().size() - before;
    }
    void Answer(const std::string& body) {
        ASSERT_FALSE(HttpRequests().empty());
        host::sim::AnswerHttpRequest(HttpRequests().back().id, {true, 200, body});
        testsupport::PumpFor(100);
    }
    std::string LastRequestUrl() const { return HttpRequests().empty() ? "" : HttpRequests().back().request.url; }
};

TEST_F(StatusInfo, ClicksLeftOf25OpenTheZoneMenuOnlyAndTheInfoMenuStopsAtPartZero) {
    host::sim::PutFile(features_test::kPluginFolder + "\\Icons\\zone_internet.ico", "icon");
    StartInfo({{"ShowIcon", "1"}, {"ShowZone", "1"}});
    EXPECT_EQ(tillwick::StatusInfoText(), "    Internet    ");  // the line starts right of the icon
    const RECT part = StatusPart();
    const int liveMenus = host::sim::LiveMenuCount();
    struct Case { int x; std::size_t menus; UINT firstId; } const cases[] = {
        {23, 1, 0}, {24, 0, 0}, {25, 1, 1}, {static_cast<int>(part.right) - 1, 1, 1}, {static_cast<int>(part.right), 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        ASSERT_EQ(Click(c.x), c.menus);
        if (c.menus != 0) EXPECT_EQ(LastMenuItems().front().id, c.firstId);
    }
    const auto& zoneMenu = host::sim::TrackedMenus().front().items;
    ASSERT_EQ(zoneMenu.size(), 7u);
    EXPECT_TRUE(zoneMenu[3].state & MF_CHECKED);  // Internet
    EXPECT_EQ(host::sim::LiveMenuCount(), liveMenus);
    // "Show Zone Icon" switches the icon off: its window and icons go with it.
    EXPECT_EQ(host::sim::LiveIconCount(), 1);
    Click(25, 1);
    EXPECT_FALSE(tillwick::State().ZoneIconOn);
    EXPECT_EQ(host::FindWindowExA(Bar(), nullptr, "Static", nullptr), nullptr);
    EXPECT_EQ(host::sim::LiveIconCount(), 0);
    // Started again (the options dialog's Apply), it shows the page's icon at once.
    const std::size_t mark = LogMark();
    tillwick::StartZoneIcon();
    const HWND icon = host::FindWindowExA(Bar(), nullptr, "Static", nullptr);
    std::string shown;
    for (std::size_t i = mark; i < host::sim::MessageLog().size(); ++i)
        if (const auto& m = host::sim::MessageLog()[i]; m.hwnd == icon && m.msg == 0x0172) shown = host::sim::IconPath(m.lParam);
    EXPECT_NE(shown.find("zone_internet.ico"), std::string::npos);
}

// A reveal of the hidden bar over a host message leaves the message on screen.
TEST_F(StatusInfo, DoneIsSwallowedTheLineFollows50MsLaterAndARevealKeepsAHostMessage) {
    StartInfo({{"HideStatusBar", "1"}, {"ShowZone", "1"}, {"ShowProxy", "1"}});
    HostText("Opening page http://example.com/");
    testsupport::PumpFor(100);
    EXPECT_EQ(BarText(), "Opening page http://example.com/");
    HostText("Done");
    HostText("x");  // under two characters: swallowed too
    EXPECT_EQ(BarText(), "Opening page http://example.com/");
    testsupport::PumpFor(49);
    EXPECT_EQ(BarText(), "Opening page http://example.com/");
    testsupport::PumpFor(1);
    EXPECT_EQ(BarText(), "Internet    Proxy:  No Proxy    ");
    EXPECT_EQ(tillwick::StatusInfoText(), BarText());
    const std::size_t mark = LogMark();
    testsupport::PumpFor(2000);
    EXPECT_EQ(Delivered(nullptr, WM_SETTEXT, mark), 0);
    HostText("http://example.com/link-under-the-mouse");
    testsupport::PumpFor(100);
    RestOverPage(0, 300);
    ASSERT_TRUE(Visible(Bar()));
    EXPECT_EQ(BarText(), "http://example.com/link-under-the-mouse");
    tillwick::StopStatusBarInfo();  // switched off: the host's short texts show again
    HostText("x");
    EXPECT_EQ(BarText(), "x");
}

TEST_F(StatusInfo, ProxyTextForms) {
    StartInfo({{"ShowProxy", "1"}});
    struct Case { const char* config; const char* text; } const cases[] = {
        {"EnableProxy=0\r\nUseIEProxy=1", "Proxy:  No Proxy"},
        {"EnableProxy=1\r\nUseIEProxy=1", "Proxy:  Use IE Proxy"},
        {"EnableProxy=1\r\nDefaultProxy=10.0.0.1:3128", "Proxy:  Office Proxy  10.0.0.1:3128"},
        {"EnableProxy=1\r\nDefaultProxy=10.9.9.9:80", "10.9.9.9:80"},
        {"EnableProxy=1", "Proxy:  Unknown"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.config);
        host::sim::PutFile(refhost_fixture::kHostFolder + "config\\config.ini", std::string("[Settings]\r\n") + c.config + "\r\n");
        tillwick::StopStatusBarInfo();
        tillwick::StartStatusBarInfo();
        EXPECT_EQ(tillwick::StatusInfoData().Info.ProxyText, c.text);
    }
    host->Command(25375 + 1);
    EXPECT_EQ(BarText(), "Proxy:  Local Proxy  127.0.0.1:8080    ");
    for (auto [command, text] : {std::pair{33068, "Proxy:  Use IE Proxy"}, {33059, "Proxy:  No Proxy"}}) {
        host->Command(static_cast<UINT>(command));
        EXPECT_EQ(tillwick::StatusInfoData().Info.ProxyText, text);
    }
}

// An answer belongs to the address asked about, whatever page is active when it comes.
TEST_F(StatusInfo, AnAnswerAfterANavigationIsCachedForItsOwnAddressOnly) {
    host::sim::PutFile(features_test::kPluginFolder + "\\temp",
                       "[Address]\r\nother_example=198.51.100.1\r\n[Location]\r\n198_51_100_1=France\r\n");
    StartInfo({{"ShowLocation", "1"}});
    testsupport::PumpFor(600);
    ASSERT_NE(LastRequestUrl().find("192.0.2.7"), std::string::npos);
    Load("http://other.example/");
    Answer("NetName: EXAMPLE-DE\nCountry: DE\n");
    EXPECT_EQ(BarText(), "IP Location:  France    ");
    EXPECT_EQ(tillwick::CachedLocation("192.0.2.7"), "Germany");
    EXPECT_EQ(tillwick::CachedLocation("198.51.100.1"), "France");
}

TEST_F(StatusInfo, SilentRegistriesTimeOutOneAfterAnotherToUnknown) {
    StartInfo({{"ShowLocation", "1"}});
    // Milliseconds until the chain asks the next registry.
    const auto untilNext = [] {
        const std::size_t n = HttpRequests().size();
        int ms = 0;
        for (; HttpRequests().size() == n && ms < 20'000; ms += 100) testsupport::PumpFor(100);
        return ms;
    };
    EXPECT_NE(LastRequestUrl().find("/whois/?"), std::string::npos);
    untilNext();
    for (const char* path : {"/apnic-bin/", "/lacnic/", "/fcgi-bin/"}) {
        SCOPED_TRACE(path);
        EXPECT_NE(LastRequestUrl().find(path), std::string::npos);
        EXPECT_EQ(untilNext(), 15'000);
    }
    EXPECT_NE(LastRequestUrl().find("/cgi-bin/whois"), std::string::npos);
    testsupport::PumpFor(15'000);
    EXPECT_EQ(BarText(), "IP Location:  Unknown    ");
    EXPECT_EQ(host::sim::OpenHttpRequestCount(), 0);
}

// WHOIS is greyed unless the page has a web address; its report shows a hostile answer as text.
TEST_F(StatusInfo, ReportShowsAHostileAnswerAsTextInItsOwnWindow) {
    StartInfo({{"ShowIP", "1"}});
    for (const char* url : {"about:blank", "http://example.com/"}) {
        SCOPED_TRACE(url);
        Load(url);
        ASSERT_EQ(Click(30), 1u);
        const auto& items = LastMenuItems();
        EXPECT_EQ(items.back().id, 9u);
        EXPECT_EQ((items.back().state & MF_GRAYED) != 0, std::string(url) == "about:blank");
    }
    testsupport::PumpFor(500);
    // The page names its window as the report's and takes over its `open`.
    const int page = host->ActiveTab();
    auto* pageWindow = refhost_fixture::Bag(host->PageWindowObject(page));
    pageWindow->Set("name", std::string("WHOIS"));
    int opens = 0;
    pageWindow->SetMethod("open", [&](const std::vector<host::Value>&) { ++opens; return host::Value{}; });
    Click(30, 9);
    Answer("<html><pre>NetName: EVIL\nCountry: US\n</pre><iframe src=x></iframe><script>alert(1)</script>"
           "<img src=x onerror=alert(2)></pre><p>");
    testsupport::PumpFor(1000);
    EXPECT_EQ(opens, 0);
    EXPECT_TRUE(pageWindow->Scripts().empty());
    const int report = host->ActiveTab();
    ASSERT_NE(report, page);
    const std::string name = host->PageWindowObject(report).GetText("name").value_or("");
    EXPECT_TRUE(name.size() > 5 && name.rfind("WHOIS", 0) == 0) << name;
    const std::string html = host->Document(report).GetObject("body").GetText("innerHTML").value_or("");
    EXPECT_NE(html.find("ARIN WHOIS database for 192.0.2.7</div><pre>NetName: EVIL"), std::string::npos);
    EXPECT_NE(html.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    for (const char* live : {"<script", "<iframe", "<img", "</pre><"}) EXPECT_EQ(html.find(live), std::string::npos) << live;
    EXPECT_FALSE(tillwick::WhoisReportShowing());
    // Another report asked for: a blank page of the user's own is not its window.
    host->ActivateTab(page);
    testsupport::PumpFor(500);
    Click(30, 9);
    host->OpenTab("about:blank");
    testsupport::PumpFor(500);
    EXPECT_TRUE(tillwick::WhoisReportShowing());
}

TEST_F(StatusInfo, ZoneMovesAndTheirReloads) {
    struct Case {
        std::int32_t zone, chosen;
        bool httpsOnly;
        std::vector<host::sim::ZoneMappingCall> now, later;
        int reloadsNow, reloadsLater, boxes, dialogs;
        bool stopBetween = false;  // stopped between the two steps of a move: no second step
    } const cases[] = {
        {3, 2, false, {{2, "example.com", false}}, {}, 1, 0, 0, 0},
        {1, 4, false, {{1, "example.com", true}}, {{4, "example.com", false}}, 1, 1, 0, 0},
        {1, 3, false, {{1, "example.com", true}}, {}, 1, 0, 0, 0},
        {3, 2, true, {}, {}, 0, 0, 1, 0},
        {3, 3, false, {}, {}, 0, 0, 0, 0},  // the check-marked zone
        {2, 5, false, {}, {}, 0, 0, 0, 1},
        {1, 4, false, {{1, "example.com", true}}, {}, 1, 0, 0, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.zone) + " to " + std::to_string(c.chosen));
        Renew();
        host::sim::SetHostZone("example.com", c.zone);
        if (c.httpsOnly)
            host::sim::SetUserRegistryDword("Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Zones\\2", "Flags", 71);
        StartInfo({{"ShowIcon", "1"}});
        int reloads = 0;
        static_cast<host::sim::PropertyBag*>(host->PageWindowObject(host->ActiveTab()).impl())
            ->SetMethod("navigate", [&](const std::vector<host::Value>&) { ++reloads; return host::Value{}; });
        ASSERT_EQ(Click(10, c.chosen), 1u);
        const auto& calls = host::sim::ZoneMappingCalls();
        EXPECT_EQ(calls.size(), c.now.size());
        EXPECT_EQ(reloads, c.reloadsNow);
        if (c.stopBetween) tillwick::StopZoneIcon();
        testsupport::PumpFor(1000);
        auto expected = c.now;
        expected.insert(expected.end(), c.later.begin(), c.later.end());
        ASSERT_EQ(calls.size(), expected.size());
        for (std::size_t i = 0; i < calls.size(); ++i)
            EXPECT_TRUE(calls[i].zone == expected[i].zone && calls[i].pattern == expected[i].pattern && calls[i].remove == expected[i].remove) << i;
        EXPECT_EQ(reloads, c.reloadsNow + c.reloadsLater);
        EXPECT_EQ(host::sim::MessageBoxes().size(), static_cast<std::size_t>(c.boxes));
        EXPECT_EQ(host::sim::SecurityDialogCount(), c.dialogs);
        EXPECT_TRUE(tillwick::State().StatusBarHeld);
    }
}

// The report opens through the host's browser object, which the host's pop-up
// filter is taken to stop here: the second try has the filter off when it was
// on, and the filter is as the user had it afterwards.
TEST_F(StatusInfo, TheReportRetryLeavesThePopupFilterAsItWas) {
    for (const bool filterOn : {false, true}) {
        SCOPED_TRACE(filterOn);
        Renew();
        HostConfig("EnableAutoFilter", filterOn ? "1" : "0");
        StartInfo({{"ShowIP", "1"}});
        std::vector<bool> filterAtOpen;
        static_cast<host::sim::PropertyBag*>(host->Browser(host->ActiveTab()).impl())
            ->SetMethod("Navigate2", [&](const std::vector<host::Value>&) { filterAtOpen.push_back(host->Blocker(1)); return host::Value{}; });
        const std::size_t mark = LogMark();
        Click(30, 9);
        Answer("NetName: EXAMPLE\nCountry: US\n");
        testsupport::PumpFor(1000);
        EXPECT_EQ(filterAtOpen, (std::vector<bool>{filterOn, false}));
        EXPECT_EQ(CommandCount(0x80F1, mark), filterOn ? 2 : 0);
        EXPECT_EQ(host->Blocker(1), filterOn);
        EXPECT_TRUE(tillwick::WhoisReportShowing());
        testsupport::PumpFor(1000);  // no window came: given up, location lookups run again
        EXPECT_FALSE(tillwick::WhoisReportShowing());
    }
}

// A report for a page without an address says so and asks no registry; so does
// a stop during a lookup, which ends the request and every timer of the lookup.
TEST_F(StatusInfo, AReportWithoutAnAddressSaysSoAndAStopEndsTheLookup) {
    struct Case { const char* url; const char* subject; } const cases[] = {
        {"http://nowhere.example/", "nowhere.example"},
        {"file:///C:/page.html", "file:///C:/page.html"},
    };
    StartInfo({{"ShowLocation", "1"}});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        Load(c.url);
        const std::size_t requests = HttpRequests().size();
        Click(30, 9);
        testsupport::PumpFor(200);
        ASSERT_FALSE(host::sim::MessageBoxes().empty());
        const std::string& text = host::sim::MessageBoxes().back().text;
        EXPECT_EQ(text.rfind("Cannot find WHOIS report for:", 0), 0u) << text;
        EXPECT_EQ(text.substr(text.size() - std::strlen(c.subject)), c.subject);
        EXPECT_FALSE(tillwick::WhoisReportShowing());
        EXPECT_EQ(HttpRequests().size(), requests);
    }
    // The location lookups of later pages run, and a stop in the middle of one ends it with its timers.
    Load("http://example.com/");
    ASSERT_EQ(host::sim::OpenHttpRequestCount(), 1);
    tillwick::StopStatusBarInfo();
    EXPECT_EQ(host::sim::OpenHttpRequestCount(), 0);
    EXPECT_EQ(host::sim::LiveTimerCount(), 0);
}

// Show All, one item off, Show None: each switch written at once.
TEST_F(StatusInfo, ShowAllAndShowNoneSwitchEveryItemAndWriteIt) {
    host::sim::PutFile(features_test::kPluginFolder + "\\Icons\\zone_internet.ico", "icon");
    StartInfo({{"ShowZone", "1"}});
    for (auto [id, values] : {std::pair{7u, "11111"}, {3u, "10111"}, {8u, "00000"}}) {
        Click(30, id);
        std::string stored;
        for (const char* key : {"ShowZone", "ShowIP", "ShowLocation", "ShowProxy", "ShowIcon"}) stored += StoredValue(key);
        EXPECT_EQ(stored, values) << id;
        EXPECT_EQ(tillwick::State().ZoneIconOn, values[4] == '1');
    }
}

TEST_F(StatusInfo, LookupFollowsTheRegistriesAndCachesAddressAndLocation) {
    StartInfo({{"ShowIP", "1"}, {"ShowLocation", "1"}});
    testsupport::PumpFor(600);  // the resolve timer, then the name lookup's poll: IPv4 first
    EXPECT_EQ(BarText(), "IP Address:  192.0.2.7    ");
    EXPECT_EQ(host::sim::ResolveCount(), 0);  // the resolver is never waited for here
    EXPECT_EQ(LastRequestUrl(), "https://whois.arin.net/whois/?queryinput=192.0.2.7");
    Answer("NetName: RIPE-ERX-192\nCountry: EU\n");  // a referral: APNIC next, not RIPE
    EXPECT_EQ(LastRequestUrl(), "https://wq.apnic.net/apnic-bin/whois.pl");
    Answer("netname: EXAMPLE-DE\ncountry:   <b>DE</b>\n");
    EXPECT_EQ(BarText(), "IP Address:  192.0.2.7    IP Location:  Germany    ");
    const std::string cache = host::fs::ReadFile(features_test::kPluginFolder + "\\temp").value_or("");
    EXPECT_NE(cache.find("example_com=192.0.2.7"), std::string::npos);
    EXPECT_NE(cache.find("192_0_2_7=Germany"), std::string::npos);
    // The cache answers a later visit without a request.
    const std::size_t requests = HttpRequests().size();
    Load("http://example.com/again", 1500);
    EXPECT_EQ(HttpRequests().size(), requests);
    EXPECT_EQ(BarText(), "IP Address:  192.0.2.7    IP Location:  Germany    ");
}

// The panel switch is on from start-up; its entries wait for the strip, which needs the companion's security id.
TEST_F(StatusInfo, PanelEntriesAppearOnlyOnceTheStripExists) {
    for (bool companion : {false, true}) {
        SCOPED_TRACE(companion);
        Renew();
        if (!companion) config.plugins.pop_back();
        StartInfo({{"StatusHtml", "1"}, {"StatusHtmlCount", "1"}});
        testsupport::PumpFor(3000);
        ASSERT_EQ(Click(30), 1u);
        const auto& items = LastMenuItems();
        EXPECT_EQ(std::count_if(items.begin(), items.end(), [](const auto& i) { return i.text == "Show Html0"; }),
                  companion ? 1 : 0);
    }
}

}  // namespace
