// Tab hover activation and the tab preview on the reference host, and what
// the preview's copy of a page keeps.
#include <regex>

#include "features/tab_hover_state.h"
#include "features_fixture.h"

namespace {

using tillwick::State;
constexpr WPARAM kActivateBase = 0xC000;
const std::string kId = "{3A1F7C2E-5B6D-4E8F-9A0B-1C2D3E4F5A6B}";

class TabHover : public features_test::FeatureOnHost {
protected:
    void StartWith(features_test::Values settings) {
        written.clear();
        auto bag = host::sim::MakeObject();
        bag->Set("body", host::Object(host::sim::MakeObject()));
        bag->SetMethod("write", [](const std::vector<host::Value>& args) -> std::optional<host::Value> {
            written.push_back(std::get<std::string>(args.at(0)));
            return host::Value{};
        });
        bag->SetMethod("close", [](const std::vector<host::Value>&) { return std::optional<host::Value>{host::Value{}}; });
        // One view, one document.
        features_test::RegisterControlHost([document = host::Object(bag)] { return document; });
        config.markupOf = [](std::string_view url) {
            return "<p onclick=go()>the page of " + std::string(url) + "</p><script>steal()</script>";
        };
        settings.insert(settings.end(), {{"TabHoverAction", "1"}, {"SecurityID", kId}, {"GlobalModifier", "Shift"}});
        Settings(settings);
        Start({"http://a.example/", "http://b.example/", "http://c.example/", "http://d.example/"});
        host->ActivateTab(0);
        testsupport::PumpFor(300);
        mark = LogMark();
    }
    // The mouse rests on tab `index` for `ms`.
    void Rest(int index, int ms) {
        HoverTab(index);
        testsupport::PumpFor(ms);
    }
    long Activations() const {
        const auto commands = FrameCommands(mark);
        return std::ranges::count_if(commands, [](WPARAM c) { return c >= kActivateBase && c < kActivateBase + 16; });
    }
    static inline std::vector<std::string> written;  // what the preview's document was given
    static bool PreviewShown() { return tillwick::TabHoverData().PreviewWnd && Visible(tillwick::TabHoverData().PreviewWnd); }
    std::size_t mark = 0;
};

// The wait is at least 100 ms and never starts for the active tab; a click on the bar
// cancels it, another tab restarts it, and a new tab's start-up keeps the hovered tab.
TEST_F(TabHover, TheWaitIsForAnotherTabOnlyAndAClickCancelsIt) {
    StartWith({{"HoverTime", "20"}});
    Rest(0, 1000);  // the active tab
    EXPECT_EQ(Activations(), 0);
    Rest(2, 99);
    EXPECT_EQ(Activations(), 0);
    testsupport::PumpFor(1);
    EXPECT_EQ(CommandCount(kActivateBase + 2, mark), 1);
    for (UINT click : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
        HoverTab(1);  // leaves tab 3 so that coming back to it counts as a new hover
        Rest(3, 50);
        LRESULT unused = 0;
        tillwick::TabHoverMessage(host->TabBar(), click, 0, 0, unused);
        testsupport::PumpFor(300);
        EXPECT_EQ(Activations(), 1) << click;
    }
    Rest(1, 50);
    Rest(3, 99);
    EXPECT_EQ(Activations(), 1);
    testsupport::PumpFor(1);
    EXPECT_EQ(FrameCommands(mark).back(), kActivateBase + 3);
    Rest(1, 50);
    tillwick::StartTabHover();  // as the next tab's object does at its start-up
    testsupport::PumpFor(75);
    EXPECT_EQ(CommandCount(kActivateBase + 1, mark), 1);
    EXPECT_EQ(CommandCount(kActivateBase - 1, mark), 0) << "a command for tab -1";
}

// The modifier key makes the hover do the other of the two; the preview needs
// the security id, the companion and a page-view control.
TEST_F(TabHover, TheModifierKeyDoesTheOtherOfTheTwoAndThePreviewNeedsItsParts) {
    enum Missing { kNone, kSecurityId, kCompanion, kPageView };
    struct Case {
        const char* activateSetting;
        bool shiftHeld;
        Missing missing;
        bool activates, previews;
    };
    for (const Case& c : {Case{"1", false, kNone, true, false}, Case{"1", true, kNone, false, true},
                          Case{"0", false, kNone, false, true}, Case{"0", true, kNone, true, false},
                          Case{"0", false, kSecurityId, false, false}, Case{"0", false, kCompanion, false, false},
                          Case{"0", false, kPageView, false, false}}) {
        SCOPED_TRACE(std::string(c.activateSetting) + (c.shiftHeld ? " shift " : " ") + std::to_string(c.missing));
        Renew();
        host::sim::SetAtlAvailable(c.missing != kPageView);
        StartWith({{"TabHoverActivate", c.activateSetting}});
        if (c.missing == kSecurityId) State().SecurityId.clear();  // as if the companion never wrote it
        if (c.missing == kCompanion) State().CompanionCommandId = 0;
        host::sim::SetKeyDown(VK_SHIFT, c.shiftHeld);
        Rest(3, 350);
        host::sim::SetKeyDown(VK_SHIFT, false);
        EXPECT_EQ(Activations(), c.activates ? 1 : 0);
        EXPECT_EQ(PreviewShown(), c.previews);
        EXPECT_EQ(written.empty(), !c.previews);
    }
}

TEST_F(TabHover, ThePreviewShowsACleanCopyOfTheHoveredTabInItsOwnWindowAndClosesOnLeaving) {
    StartWith({{"TabHoverActivate", "0"}});
    HoverTab(3);
    POINT cursor{};
    host::GetCursorPos(&cursor);
    testsupport::PumpFor(350);
    ASSERT_TRUE(PreviewShown());
    const RECT shown = WindowRect(tillwick::TabHoverData().PreviewWnd);
    EXPECT_EQ(shown.left, cursor.x);
    EXPECT_EQ(shown.bottom, cursor.y - 18);  // too low on the screen to open below the cursor
    ASSERT_FALSE(written.empty());
    EXPECT_NE(written.back().find("<p>the page of http://d.example/</p>"), std::string::npos) << written.back();
    EXPECT_EQ(written.back().find("script"), std::string::npos) << written.back();
    EXPECT_TRUE(host->PopupLog().empty());  // no script ran in any page
    host::SendMessageA(host->TabBar(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(PreviewShown());
    EXPECT_EQ(written.back(), "");
    tillwick::StopTabHover();
    EXPECT_EQ(tillwick::TabHoverData().PreviewWnd, nullptr);
}

TEST(TabPreview, ZoomAndPlaceFollowTheSettingAndTheScreensBottom) {
    EXPECT_EQ(tillwick::ZoomText(50.0F), "50");
    EXPECT_EQ(tillwick::ZoomText(37.5F), "37.5");
    const RECT below = tillwick::PreviewRect(SIZE{404, 304}, 50.0F, POINT{500, 700}, 1024);
    EXPECT_EQ(below.left, 500);
    EXPECT_EQ(below.top, 718);
    EXPECT_EQ(below.right - below.left, 202);
    const RECT above = tillwick::PreviewRect(SIZE{404, 304}, 50.0F, POINT{500, 900}, 1024);
    EXPECT_EQ(above.bottom, 882);
}

TEST(TabPreview, NothingInTheCopiedPageCanRunScriptOrLoadAnotherDocument) {
    const char* hostile[] = {
        "<img src=x onerror=alert(1)>",
        "<body onload=\"steal()\">",
        "<svg/onload=alert(1)>",
        "<div ONMOUSEOVER = 'x()'>",
        "<a href=\"javascript:alert(1)\">",
        "<img src='JaVa\tScRiPt:alert(1)'><img src=\"&#106;avascript:x\"><img src=vbscript:x>",
        "<iframe src=http://x/></iframe><frameset><frame src=x>",
        "<div style=\"width:expression(alert(1))\"><p style='x:e\\78pression(1)'><p style=\"behavior:url(a.htc)\">",
        "<p style=\"background:url(javascript:x)\"><p style='-moz-binding:url(x)'>",
        "<object classid=clsid:1234></object><embed src=x.swf><applet code=x>",
        "<script src=evil.js></script><SCRIPT language=vbscript>x</SCRIPT><scr<script>ipt>x",
        "<link rel=stylesheet href=evil.css><style>p{x:expression(1)}</style><meta http-equiv=refresh content=0>",
        "<form action=http://x/><input name=q><button>go</button></form><base href=http://evil/>",
        "<img src=\"data:image/svg+xml,<svg onload=x>\"><img src=\"x\" src=\"javascript:x\">",
        "<p style=\"background:url(http://tracker.example/a.png)\"><script>steal()</script>",
    };
    const std::regex live(R"(<\s*(script|iframe|frame|object|embed|applet|link|meta|style|form|input|button|base|svg)|\son\w+\s*=|(java|vb)\s*script|expression|behavior|binding|url\(|href|steal)",
                          std::regex::icase);
    for (const char* page : hostile) {
        const std::string copy = tillwick::CleanPreviewMarkup(page, true);
        EXPECT_FALSE(std::regex_search(copy, live)) << page << " -> " << copy;
    }
    // Ordinary markup keeps its look, in one canonical form; text is never rewritten.
    EXPECT_EQ(tillwick::CleanPreviewMarkup("<P class=button title='On &amp; off' style=\"color:red\">one=two, on = off</P>"
                                           "<img src=a.png><img src=https://x/b.png alt=\"&quot;\"><!-- c --><br/>",
                                           true),
              "<p class=\"button\" title=\"On &amp; off\" style=\"color:red\">one=two, on = off</p>"
              "<img src=\"a.png\"><img src=\"https://x/b.png\" alt=\"&quot;\"><br>");
    EXPECT_EQ(tillwick::CleanPreviewMarkup("<img src=a.png>", false), "<img>");  // no web base to resolve it
    const std::string page = tillwick::PreviewPage("", "http://a.example/\"><script>x()</script>", "50");
    EXPECT_TRUE(page.starts_with("<html><head><base href=\"http://a.example/&quot;&gt;&lt;script&gt;x()&lt;/script&gt;\">"))
        << page;
    EXPECT_EQ(tillwick::PreviewPage("", "file:///C:/a.html", "50").find("<base"), std::string::npos);
}

}  // namespace
