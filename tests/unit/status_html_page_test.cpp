// The strip's pages as text: the frameset's columns and widths, each panel
// page's base line, background and security id, and hostile text from the
// settings or the add-on pages that must stay text.
#include <gtest/gtest.h>

#include "statushtml/status_html_page.h"

namespace {

using namespace tillwick;

bool Has(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

TEST(StatusHtmlPage, SeparatorWidthIsClampedToSixToTenButZeroAndBelowStay) {
    for (auto [in, out] : {std::pair{3, 6}, {1, 6}, {5, 6}, {6, 6}, {10, 10}, {11, 10}, {12, 10}, {0, 0}, {-4, -4}})
        EXPECT_EQ(ClampSeparatorWidth(in), out) << in;
}

TEST(StatusHtmlPage, FramesetGivesMissingPanelsNoRoomAndCountsTheRest) {
    const std::vector<StatusHtmlPanel> panels{{true, "C:\\gone.html", "80", "Mail", "0"},
                                              {true, "C:\\here.html", "25", "Rank", "0"},
                                              {false, "C:\\off.html", "40", "Off", "0"}};
    const FramesetPage page = BuildFramesetPage(panels, {false, true, true}, 8);
    EXPECT_EQ(page.cols, "8,0,25,0,*");
    EXPECT_EQ(page.totalWidth, 33);
    EXPECT_EQ(page.html,
              "<html><frameset cols='8,0,25,0,*' frameborder='NO' border='0' framespacing='0'>"
              "<frame scrolling='NO'><frame name='Mail' scrolling='NO'><frame name='Rank' scrolling='NO'>"
              "<frame name='Off' scrolling='NO'><frame scrolling='NO'></frameset></html>");
}

TEST(StatusHtmlPage, HostileNamesAndWidthsStayInsideTheirAttributes) {
    const std::vector<StatusHtmlPanel> panels{{true, "x", "25' onload='alert(1)", "a' onload='alert(2)", "0"},
                                              {true, "x", "30", "</frameset><script>alert(3)</script>", "0"}};
    const FramesetPage page = BuildFramesetPage(panels, {true, true}, 6);
    EXPECT_EQ(page.cols, "6,0,30,*");
    for (const char* injected : {"onload='", "<script>"}) EXPECT_FALSE(Has(page.html, injected)) << page.html;
    EXPECT_TRUE(Has(page.html, "name='a&#39; onload=&#39;alert(2)'")) << page.html;
}

TEST(StatusHtmlPage, PanelPagesGetTheirBaseLineBackgroundAndSecurityId) {
    const std::string style = " style=\"background:url('file:///C:/P/temp1'); margin-top:3px\"";
    for (const auto& [in, expected] : std::vector<std::pair<std::string, std::string>>{
             {"<p>no head</p>", "<base href='file:///C:/A/p.html'>\r\n<p>no head</p>"},
             {"<HEAD><title>t</title></HEAD>", "<head>\r\n<base href=\"file:///C:/A/p.html\"><title>t</title></HEAD>"},
             {"<html>\n <b>\n<body>x<body>", "<base href='file:///C:/A/p.html'>\r\n<html>\n <b>\n<body" + style + ">x<body>"},
             {"<html><body>one line</body>", "<base href='file:///C:/A/p.html'>\r\n<html><body>one line</body>"},
             {"<SCRIPT src=x max.src></SCRIPT><script max.src></script>",
              "<base href='file:///C:/A/p.html'>\r\n<script>max_security_id='ID'</script><script max.src></script>"},
             {"<script max.src>x</script>\n<script max.src></script>\n <i\n>\n<body>",
              "<base href='file:///C:/A/p.html'>\r\n<script max.src>x</script>\n<script>max_security_id='ID'</script>"
              "\n <i\n>\n<body" + style + ">"},
         })
        EXPECT_EQ(PreparePanelPage(in, "C:\\A\\p.html", "3", "ID", "C:\\P\\temp1"), expected) << in;
}

TEST(StatusHtmlPage, HostilePathsOffsetsAndIdsCannotLeaveTheirContext) {
    const std::string page = PreparePanelPage("<head>\n<body><script max.src></script>",
                                              "C:\\a'\"><script>alert(1)</script>&.html", "0\" onload=\"alert(2)",
                                              "x'</script><script>alert(3)//", "C:\\it's (\"here\")\\temp1");
    for (const char* injected : {"<script>alert", "onload"}) EXPECT_FALSE(Has(page, injected)) << page;
    EXPECT_TRUE(Has(page, "href=\"file:///C:/a%27%22%3E%3Cscript%3Ealert%281%29%3C/script%3E%26.html\">")) << page;
    EXPECT_TRUE(Has(page, "url('file:///C:/it%27s%20%28%22here%22%29/temp1'); margin-top:0px\"")) << page;
    EXPECT_TRUE(Has(page, "max_security_id='x\\u0027\\u003C\\u002Fscript\\u003E")) << page;
    EXPECT_EQ(PanelUrl("http://a.b/'x"), "http://a.b/'x");  // web panels keep their address; attributes escape it
    const std::string script = CloseTabsScript("a'b</script>", "n'x");
    EXPECT_TRUE(Has(script, "external.get_tab('a\\u0027b\\u003C\\u002Fscript\\u003E',i)")) << script;
    EXPECT_TRUE(Has(script, "oWin.name=='n\\u0027x'){external.close_tab('a\\u0027b\\u003C\\u002Fscript\\u003E',i)}}})()} catch(e){}"))
        << script;
    EXPECT_NE(NewDonorName(), NewDonorName());
}

}  // namespace
