// The panel strip on the reference host: a borrowed tab's view adopted into
// the status bar, the pages written into it, the strip kept at the bar's
// right end, and the menu and progress paths into it.

#include "scenario/features_fixture.h"
#include "settings/settings_catalogue.h"
#include "statushtml/status_html_state.h"

namespace {

using namespace features_test;
using tillwick::PanelField;
using tillwick::State;

class StatusHtmlOnHost : public FeatureOnHost {
protected:
    // Panel 0 a page on disk (80 wide), panel 1 missing (25 wide), separator 3.
    static void WritePanels(bool on) {
        host::sim::PutFile(kPluginFolder + "\\Addons\\a.html", "<html>\n<body>A</body></html>");
        host::sim::PutFile(kPluginFolder + "\\settings.ini",
                           "[General]\r\nStatusHtml=" + std::string(on ? "1" : "0") +
                               "\r\nStatusHtmlCount=2\r\nStatusHtmlSepWidth=3\r\n"
                               "[StatusHtml]\r\nUse0=1\r\nPath0=" + kPluginFolder +
                               "\\Addons\\a.html\r\nUse1=1\r\nPath1=C:\\gone.html\r\nWidth1=25\r\n");
    }
    refhost::Host& StartWithPanels(bool on = true) {
        WritePanels(on);
        refhost::Host& h = Start();
        testsupport::PumpFor(3000);
        return h;
    }
    // How often `script` was run in the strip's window.
    static long Runs(const std::string& script) {
        const auto all = refhost_fixture::ScriptsRun(tillwick::StatusHtmlData().StripDocument.GetObject("parentWindow"));
        return std::count(all.begin(), all.end(), script);
    }
    static RECT StripRect() {
        WINDOWPLACEMENT wp{.length = sizeof(WINDOWPLACEMENT)};
        host::GetWindowPlacement(tillwick::StatusHtmlData().Strip, &wp);
        return wp.rcNormalPosition;
    }
};

TEST_F(StatusHtmlOnHost, TheDonorTabsViewBecomesTheStripAndTheTabIsClosed) {
    refhost::Host& h = StartWithPanels();
    const auto& m = tillwick::StatusHtmlData();
    ASSERT_NE(m.Strip, nullptr);
    EXPECT_EQ(host::GetParent(m.Strip), h.StatusBar());
    EXPECT_EQ(host::GetParent(m.DonorView), m.Strip);
    EXPECT_TRUE(Visible(m.Strip));
    EXPECT_EQ(h.TabCount(), 1);
    const std::string closed = "close_tab '" + h.SecurityId() + "',1 from tab ";
    EXPECT_TRUE(std::any_of(h.PopupLog().begin(), h.PopupLog().end(),
                            [&](const std::string& e) { return e.rfind(closed, 0) == 0; }));
    EXPECT_FALSE(State().DonorTabPending);
    EXPECT_FALSE(host::fs::FileExists(kPluginFolder + "\\Tillwick.html"));
    // Separator 6 plus panel 0; the missing panel takes no room and gets an empty frame.
    const RECT part = StatusPart(), strip = StripRect();
    EXPECT_EQ(strip.right - strip.left, 86);
    EXPECT_EQ(strip.right, part.right - 2);
    EXPECT_EQ(strip.bottom - strip.top, 20);
    EXPECT_GT(Runs("frames[1].document.write(sHtml)"), 0);
    EXPECT_GT(Runs("frames[2].document.write('')"), 0);
    EXPECT_EQ(tillwick::StatusHtmlData().StripDocument.GetObject("parentWindow").GetText("name"), "");
    // The pages handed to the strip's script do not stay in its window.
    EXPECT_EQ(tillwick::StatusHtmlData().StripDocument.GetObject("parentWindow").Get("sHtml"), host::Value{});
    // Every panel in use hears of the frame's commands, with their id, and of tab changes.
    h.Command(0x80F0);
    testsupport::PumpFor(0);
    EXPECT_GT(Runs("try{frames[2].Command_CallBack(33008)} catch(e){}"), 0);
    const long changes = Runs("try{frames[1].Page_Change()} catch(e){}");
    h.OpenTab("http://example.org/");
    testsupport::PumpFor(1000);
    EXPECT_GT(Runs("try{frames[1].Page_Change()} catch(e){}"), changes);
}

TEST_F(StatusHtmlOnHost, OnlyTheTabThePluginOpenedIsAdoptedAndClosed) {
    WritePanels(true);
    host = std::make_unique<refhost::Host>(std::move(config));
    ASSERT_TRUE(host->Start());
    host->OpenTab("http://search.example/?q=Tillwick");
    host->OpenTab("http://evil.example/");
    const host::Object named = host->PageWindowObject(1);
    named.Put("name", std::string("Tillwick"));  // a page that poses as the donor
    testsupport::PumpFor(4000);
    EXPECT_EQ(host->TabCount(), 2);
    const auto& m = tillwick::StatusHtmlData();
    EXPECT_FALSE(m.StripDocument.GetObject("parentWindow") == named);
    EXPECT_EQ(host::GetParent(m.DonorView), m.Strip);
    EXPECT_TRUE(Visible(m.Strip));
}

TEST_F(StatusHtmlOnHost, TheStripFollowsTheBarsRightEdgeProgressEdgesCheckItAndOutOfRangeSettingsAreHeld) {
    refhost::Host& h = StartWithPanels();
    RECT frame = WindowRect(h.Frame());
    host::MoveWindow(h.Frame(), frame.left, frame.top, frame.right - frame.left - 200, frame.bottom - frame.top, TRUE);
    testsupport::PumpFor(50);
    EXPECT_NE(StripRect().right, StatusPart().right - 2);
    struct Case { std::int32_t progress, max; bool checks; };
    for (const Case& c : {Case{50, 100, false}, Case{0, 0, true}}) {
        tillwick::StatusHtmlProgress(c.progress, c.max);
        testsupport::PumpFor(150);
        EXPECT_EQ(StripRect().right == StatusPart().right - 2, c.checks) << c.progress << "/" << c.max;
    }
    for (const Case& c : {Case{1, 100, true}, Case{99, 100, true}, Case{2, 100, false}, Case{98, 100, false}}) {
        tillwick::StatusHtmlProgress(c.progress, c.max);
        EXPECT_EQ(tillwick::StatusHtmlData().WidthTimer != 0, c.checks) << c.progress;
        testsupport::PumpFor(150);
    }
    // Hand-edited numbers far out of range: only so many records are looked at,
    // and the strip's arithmetic stays within its 16-bit geometry.
    tillwick::WriteSettingValue(tillwick::Setting::StatusHtmlCount, "300");
    tillwick::WriteSettingValue(tillwick::Setting::StatusHtmlHeight, "2147483647");
    for (int i : {0, 1}) {
        tillwick::WritePanelSetting(PanelField::Path, i, kPluginFolder + "\\Addons\\a.html");
        tillwick::WritePanelSetting(PanelField::Width, i, "2000000000");
    }
    std::int32_t showAll = 1;
    tillwick::StatusHtmlMenuCommand(showAll);  // rebuilds and places the strip
    EXPECT_EQ(tillwick::StoredPanelSetting(PanelField::Use, 99), "1");
    EXPECT_EQ(tillwick::StoredPanelSetting(PanelField::Use, 100), "");
    const RECT strip = StripRect();
    EXPECT_EQ(strip.right - strip.left, INT16_MAX);
    EXPECT_EQ(strip.bottom - strip.top, INT16_MAX);
}

TEST_F(StatusHtmlOnHost, MenuChoicesToggleShowAllOrOpenTheEditorAndStopLeavesNoTimer) {
    StartWithPanels();
    struct Case { std::int32_t n; const char* use0; const char* use1; };
    for (const Case& c : {Case{10, "0", "1"}, Case{0, "0", "0"}, Case{11, "0", "1"}, Case{1, "1", "1"}}) {
        std::int32_t n = c.n;
        tillwick::StatusHtmlMenuCommand(n);
        EXPECT_EQ(tillwick::PanelSetting(PanelField::Use, 0) + tillwick::PanelSetting(PanelField::Use, 1),
                  std::string(c.use0) + c.use1) << c.n;
    }
    const RECT shown = StripRect();
    std::int32_t editor = 12;
    tillwick::StatusHtmlMenuCommand(editor);
    EXPECT_TRUE(tillwick::StatusHtmlData().Editor != nullptr);
    EXPECT_EQ(StripRect().top, shown.top);  // the editor leaves the strip where it is
    tillwick::StopStatusHtml();
    EXPECT_EQ(StripRect().top, 40);
    EXPECT_FALSE(State().StatusHtmlOn);
    host.reset();
    EXPECT_EQ(host::sim::LiveTimerCount(), 0);
    EXPECT_EQ(host::sim::LiveWindowCount(), 0);
}


TEST_F(StatusHtmlOnHost, AStopBeforeTheViewWasAdoptedLetsTheNextStartAdoptIt) {
    StartWithPanels(false);
    tillwick::StartStatusHtml();
    testsupport::PumpFor(250);  // the donor tab is asked for, its view not yet adopted
    ASSERT_TRUE(State().DonorTabPending);
    tillwick::StopStatusHtml();
    EXPECT_FALSE(State().DonorTabPending);  // the tab bar paints again
    testsupport::PumpFor(1000);
    EXPECT_EQ(tillwick::StatusHtmlData().DonorView, nullptr);
    tillwick::StartStatusHtml();
    testsupport::PumpFor(1000);
    EXPECT_EQ(host::GetParent(tillwick::StatusHtmlData().DonorView), tillwick::StatusHtmlData().Strip);
    EXPECT_TRUE(Visible(tillwick::StatusHtmlData().Strip));
}

}  // namespace
