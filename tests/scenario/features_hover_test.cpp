// Tab hover activation and the tab preview on the reference host, and the
// preview's scripts: their exact text and what the copied markup keeps.
#include <regex>

#include "core/feature_hooks.h"
#include "features/tab_hover.h"
#include "features_fixture.h"

namespace {

using tillwick::State;
constexpr WPARAM kActivateBase = 0xC000;
const std::string kId = "{3A1F7C2E-5B6D-4E8F-9A0B-1C2D3E4F5A6B}";

class TabHover : public features_test::FeatureOnHost {
protected:
    void StartWith(std::vector<std::pair<std::string, std::string>> settings) {
        settings.insert(settings.end(), {{"TabHoverAction", "1"}, {"SecurityID", kId}, {"GlobalModifier", "Shift"}});
        Settings(settings);
        Start({"http://a.example/", "http://b.example/", "http://c.example/", "http://d.example/"});
        host->ActivateTab(0);
        testsupport::PumpFor(300);
        mark = LogMark();
    }
    // The mouse comes to rest on tab `index` of the tab bar (tabs are 96 pixels wide).
    void HoverTab(int index) {
        POINT at{index * 96 + 40, 10};
        host::ClientToScreen(host->TabBar(), &at);
        host::sim::SetCursorScreenPos(at.x, at.y);
        host::SendMessageA(host->TabBar(), WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(index * 96 + 40), 10));
    }
    long Activations() const {
        long n = 0;
        for (WPARAM cmd : FrameCommands(mark)) n += cmd >= kActivateBase && cmd < kActivateBase + 16;
        return n;
    }
    bool PreviewShown() const {
        const auto& log = host->PopupLog();
        return std::any_of(log.begin(), log.end(), [](const std::string& e) { return e.starts_with("show at"); });
    }
    std::size_t mark = 0;
};

TEST_F(TabHover, ShortHoverTimesAreRaisedTo100AndTheActiveTabNeverStartsTheTimer) {
    StartWith({{"HoverTime", "20"}});
    HoverTab(0);  // the active tab
    testsupport::PumpFor(1000);
    EXPECT_EQ(Activations(), 0);
    HoverTab(2);
    testsupport::PumpFor(99);
    EXPECT_EQ(Activations(), 0);
    testsupport::PumpFor(1);
    EXPECT_EQ(CommandCount(kActivateBase + 2, mark), 1);
}

// A click on the bar cancels the wait; moving to another tab starts it again for that tab.
TEST_F(TabHover, AClickCancelsTheWaitAndAnotherTabRestartsIt) {
    StartWith({{"HoverTime", "200"}});
    for (UINT click : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
        HoverTab(2);
        testsupport::PumpFor(150);
        LRESULT unused = 0;
        tillwick::TabHoverMessage(host->TabBar(), click, 0, 0, unused);
        testsupport::PumpFor(300);
        EXPECT_EQ(Activations(), 0) << click;
        HoverTab(1);  // leaves tab 2 so that coming back to it counts as a new hover
    }
    HoverTab(2);
    testsupport::PumpFor(150);
    HoverTab(3);
    testsupport::PumpFor(199);
    EXPECT_EQ(Activations(), 0);
    testsupport::PumpFor(1);
    EXPECT_EQ(FrameCommands(mark).back(), kActivateBase + 3);
}

TEST_F(TabHover, ANewTabsStartUpDuringAHoverKeepsTheHoveredTab) {
    StartWith({{"HoverTime", "200"}});
    HoverTab(2);
    testsupport::PumpFor(100);
    tillwick::StartTabHover();  // as the next tab's object does at its start-up
    testsupport::PumpFor(150);
    EXPECT_EQ(CommandCount(kActivateBase + 2, mark), 1);
    EXPECT_EQ(CommandCount(kActivateBase - 1, mark), 0) << "a command for tab -1";
}

TEST_F(TabHover, TheModifierKeyDoesTheOtherOfTheTwo) {
    struct Case {
        const char* activateSetting;
        bool shiftHeld;
        bool activates;
    };
    for (const Case& c : {Case{"1", false, true}, Case{"1", true, false}, Case{"0", false, false},
                          Case{"0", true, true}}) {
        SCOPED_TRACE(std::string(c.activateSetting) + (c.shiftHeld ? " shift" : ""));
        TearDown();
        SetUp();
        StartWith({{"TabHoverActivate", c.activateSetting}});
        host::sim::SetKeyDown(VK_SHIFT, c.shiftHeld);
        HoverTab(3);
        testsupport::PumpFor(350);
        host::sim::SetKeyDown(VK_SHIFT, false);
        EXPECT_EQ(Activations(), c.activates ? 1 : 0);
        EXPECT_EQ(PreviewShown(), !c.activates);
    }
}

TEST_F(TabHover, ThePreviewCopiesTheHoveredTabIntoAnotherPagesPopupAndClosesOnLeaving) {
    StartWith({{"TabHoverActivate", "0"}});
    HoverTab(3);
    testsupport::PumpFor(350);
    const std::vector<std::string> expected{"createPopup tab 0", "get_tab '" + kId + "',3 from tab 0"};
    ASSERT_GE(host->PopupLog().size(), 3U);
    EXPECT_EQ(std::vector<std::string>(host->PopupLog().begin(), host->PopupLog().begin() + 2), expected);
    const auto scripts = refhost_fixture::ScriptsRun(host->PageWindowObject(0));
    const auto copy = std::find_if(scripts.begin(), scripts.end(), [](auto& s) { return s.starts_with("var oWin"); });
    ASSERT_NE(copy, scripts.end());
    EXPECT_TRUE(copy->starts_with("var oWin=external.get_tab('" + kId + "',3);var oHTML=oWin.document;"));
    EXPECT_EQ(copy->find("nScrollLeft"), std::string::npos);
    host::SendMessageA(host->TabBar(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(host->PopupLog().back(), "hide tab 0");
}

TEST_F(TabHover, NoPreviewWithoutASecurityIdOrTheCompanionOrOnlySecureAndFilePages) {
    for (int k : {0, 1, 2}) {  // no security id, no companion, only secure and file pages
        TearDown();
        SetUp();
        Settings({{"TabHoverAction", "1"}, {"TabHoverActivate", "0"}, {"SecurityID", kId}});
        Start(k == 2 ? std::vector<std::string>{"https://a.example/", "file:///C:/b.html", "https://c.example/"}
                     : std::vector<std::string>{"http://a.example/", "http://b.example/"});
        if (k == 0) State().SecurityId.clear();  // as if the companion never wrote it
        if (k == 1) State().CompanionCommandId = 0;
        host->ActivateTab(0);
        HoverTab(1);
        testsupport::PumpFor(500);
        EXPECT_TRUE(host->PopupLog().empty());
    }
}

TEST(TabPreviewScripts, NumbersAndTheSecurityIdGoInAsTheyShould) {
    EXPECT_EQ(tillwick::ZoomText(50.0F), "50");
    EXPECT_EQ(tillwick::ZoomText(37.5F), "37.5");
    const std::string show = tillwick::PreviewShowScript("50", POINT{500, 700});
    EXPECT_EQ(show, "try{   nWidth=(50/100)*nWidth;   nHeight=(50/100)*nHeight;   var nTop= 718;   "
                    "if(nTop+nHeight>screen.height) nTop=682-nHeight;   oTPpopup.show(500,nTop,nWidth,nHeight);} "
                    "catch(e){}");
    // A quote in the id cannot end the string it sits in.
    EXPECT_TRUE(tillwick::PreviewCopyScript("a'b\\c", 1, "50", false).starts_with(R"(var oWin=external.get_tab('a\'b\\c',1);)"));
    const std::string scrolled = tillwick::PreviewCopyScript(kId, 0, "50", true);
    EXPECT_NE(scrolled.find("document.body.scrollTop='+nScrollTop+'\\',0)<\\/script>';"), std::string::npos);
}

// The copy goes through the script-tag rename and then every rule, as the page's engine would run them.
std::string Defuse(std::string markup) {
    markup = std::regex_replace(markup, std::regex("<script[^>]*>", std::regex::icase), "<script language=max>");
    for (const tillwick::MarkupRule& rule : tillwick::PreviewMarkupRules())
        markup = std::regex_replace(markup, std::regex(std::string(rule.pattern), std::regex::icase | std::regex::ECMAScript),
                                    std::string(rule.replacement));
    return markup;
}

TEST(TabPreviewScripts, NothingInTheCopiedPageCanRunScript) {
    const char* hostile[] = {
        "<img src=x onerror=alert(1)>",
        "<body onload=\"steal()\">",
        "<svg/onload=alert(1)>",
        "<div ONMOUSEOVER = 'x()'>",
        "<a href=\"javascript:alert(1)\">",
        "<a href='JaVa\tScRiPt:alert(1)'>",
        "<iframe src=vbscript:msgbox(1)>",
        "<div style=\"width:expression(alert(1))\">",
        "<div style=\"behavior:url(evil.htc)\">",
        "<object classid=clsid:1234></object><embed src=x.swf>",
        "<script src=evil.js></script><SCRIPT language=vbscript>x</SCRIPT>",
    };
    const std::regex stillLive(R"(\bon\w+\s*=|(java|vb)\s*script\s*:|expression\s*\(|behavior\s*:|<\s*(object|embed|applet)\b|<script(?! language=max>))",
                               std::regex::icase);
    for (const char* page : hostile) {
        const std::string copy = Defuse(page);
        EXPECT_FALSE(std::regex_search(copy, stillLive)) << page << " -> " << copy;
    }
    // Ordinary markup keeps its look.
    const std::string plain = "<p class=button title=\"Online\" style=\"color:red\">Once more, on = off</p>";
    EXPECT_EQ(Defuse(plain), plain);
}

}  // namespace
