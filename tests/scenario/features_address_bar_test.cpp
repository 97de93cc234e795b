// The address-bar decorations on the reference host: the secure-page
// highlight, the progress bar (its control host stood in for by a window
// class of the test) and the combined Refresh/Stop button.
#include "core/host_contract.h"
#include "features_fixture.h"

namespace {

namespace c = tillwick::contract;
using tillwick::State;

class AddressBar : public features_test::FeatureOnHost {
protected:
    HWND Overlay() const { return State().HighlightOverlayWnd; }
    void ClickOverlayAt(int x) { host::SendMessageA(Overlay(), WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(x), 5)); }
};

// The lock opens the security dialog for clicks up to x 21; stopping frees the brush.
TEST_F(AddressBar, OnlyALowerCaseHttpsAddressIsPaintedInTheChosenColoursAndHasTheLock) {
    refhost::Host& h = StartWith({{"HighlightCombo", "1"}, {"HighlightComboBack", "255"}, {"HighlightComboText", "65280"}});
    for (const char* url :
         {"https://bank.example/", "HTTPS://bank.example/", "http://bank.example/", "https://bank.example/"}) {
        SCOPED_TRACE(url);
        Load(url, 400);
        const bool secure = std::string(url).starts_with("https");
        EXPECT_EQ(Visible(Overlay()), secure);
        const host::sim::EditPaint paint = host::sim::PaintEdit(h.AddressEdit());
        EXPECT_EQ(paint.colours.text, secure ? std::optional<COLORREF>(65280) : std::nullopt);
        EXPECT_EQ(paint.colours.back, secure ? std::optional<COLORREF>(255) : std::nullopt);
        EXPECT_EQ(paint.brush, secure ? std::optional<COLORREF>(255) : std::nullopt);
    }
    // The frame and its address box narrow: the overlay follows, 18 pixels short of the box's right end.
    RECT box{};
    host::GetClientRect(h.AddressCombo(), &box);
    host::SetWindowPos(h.AddressCombo(), nullptr, 0, 0, box.right - 100, box.bottom, SWP_NOMOVE | SWP_NOZORDER);
    const RECT frame = WindowRect(h.Frame());
    host::MoveWindow(h.Frame(), frame.left, frame.top, frame.right - frame.left - 100, frame.bottom - frame.top, TRUE);
    testsupport::PumpFor(400);
    RECT now{};
    host::GetClientRect(h.AddressCombo(), &now);
    POINT corner{WindowRect(Overlay()).right, 0};
    host::ScreenToClient(h.AddressCombo(), &corner);
    ASSERT_LT(now.right, box.right);
    EXPECT_EQ(corner.x, now.right - 18);
    ClickOverlayAt(22);
    EXPECT_TRUE(host::sim::SecurityInfoShown().empty());
    ClickOverlayAt(21);
    ASSERT_EQ(host::sim::SecurityInfoShown().size(), 1U);
    EXPECT_EQ(host::sim::SecurityInfoShown()[0].url, "https://bank.example/");
    EXPECT_EQ(host::sim::SecurityInfoShown()[0].owner, h.Frame());
    EXPECT_EQ(host::sim::LiveBrushCount(), 1);
    tillwick::StartHighlightCombo();  // a restart without a stop keeps one brush
    EXPECT_EQ(host::sim::LiveBrushCount(), 1);
    tillwick::StopHighlightCombo();
    EXPECT_EQ(host::sim::LiveBrushCount(), 0);
    EXPECT_FALSE(Visible(Overlay()));
}

// ---- the progress bar ------------------------------------------------------------------

// The control host's page: its document's window records ShowProgress.
std::vector<std::int32_t> g_shown;
host::Object ProgressDocument() {
    auto window = host::sim::MakeObject();
    window->SetMethod("ShowProgress", [](const std::vector<host::Value>& args) -> std::optional<host::Value> {
        g_shown.push_back(std::get<std::int32_t>(args.at(0)));
        return host::Value{};
    });
    auto document = host::sim::MakeObject();
    document->Set("parentWindow", host::Object(window));
    return host::Object(document);
}

class ProgressBar : public AddressBar {
protected:
    void StartBar(const char* inAddressBar, const char* on = "1") {
        g_shown.clear();
        features_test::RegisterControlHost(&ProgressDocument);
        StartWith({{"CustomProgress", on}, {"AddressProgress", inAddressBar}});
    }
    HWND Container() const { return State().ProgressWnd; }
};

TEST_F(ProgressBar, ShowsTheRoundedPercentageHidesAfter50msAndIgnoresAnEmptyMaximum) {
    StartBar("1");
    const std::string page = features_test::kPluginFolder + "\\temp3";
    EXPECT_FALSE(host::fs::FileExists(page));  // loaded by the view, then deleted
    const LONG editRight = WindowRect(host->AddressEdit()).right;
    tillwick::ProgressBarChange(1, 2);
    EXPECT_TRUE(Visible(Container()));
    EXPECT_EQ(WindowRect(host->AddressEdit()).right, editRight - 82);
    tillwick::ProgressBarChange(0, 0);
    tillwick::ProgressBarChange(-1, 100);
    testsupport::PumpFor(49);
    ExpectShownInOneMs(Container(), false);
    EXPECT_EQ(WindowRect(host->AddressEdit()).right, editRight);
    EXPECT_EQ(g_shown, std::vector<std::int32_t>{50});
    tillwick::ProgressBarChange(1, 2);
    tillwick::ProgressBarChange(2, 2);  // exactly full: 100, then gone
    EXPECT_EQ(g_shown.back(), 100);
    testsupport::PumpFor(50);
    EXPECT_FALSE(Visible(Container()));
    g_shown.clear();
    tillwick::ProgressBarChange(INT32_MAX, 1);  // far past its maximum a load is complete, not negative
    EXPECT_EQ(g_shown, std::vector<std::int32_t>{100});
    testsupport::PumpFor(50);
    EXPECT_FALSE(Visible(Container()));
    // Another tab activated, or the tab closed: gone at once.
    for (auto [wnd, msg, command] : {std::tuple{host->MdiClient(), WM_MDIACTIVATE, 0}, {host->Frame(), WM_COMMAND, 0x8008}}) {
        tillwick::ProgressBarChange(1, 2);
        LRESULT unused = 0;
        tillwick::ProgressBarMessage(wnd, static_cast<UINT>(msg), static_cast<WPARAM>(command), 0, unused);
        EXPECT_FALSE(Visible(Container())) << msg;
    }
}

// Stopped before its windows are made (50 ms) or before the view has its page (150 ms).
TEST_F(ProgressBar, AStopBeforeThePageIsAttachedLeavesNoPageFileAndTheNextStartShows) {
    for (UINT stopAfter : {50u, 150u}) {
        SCOPED_TRACE(stopAfter);
        Renew();
        StartBar("1", "0");
        const int windows = host::sim::LiveWindowCount();
        tillwick::StartProgressBar();
        testsupport::PumpFor(stopAfter);
        tillwick::StopProgressBar();
        testsupport::PumpFor(1000);
        EXPECT_FALSE(host::fs::FileExists(features_test::kPluginFolder + "\\temp3"));
        EXPECT_LE(host::sim::LiveWindowCount(), windows + 2);  // the two bar hosts stay for the next start, not the view
        tillwick::StartProgressBar();
        testsupport::PumpFor(1000);
        tillwick::ProgressBarChange(1, 2);
        EXPECT_TRUE(Visible(Container()));
        EXPECT_EQ(g_shown, std::vector<std::int32_t>{50});
    }
}

TEST_F(ProgressBar, WithoutAControlHostTheBarStaysOffAndTheReportSaysSo) {
    host::sim::SetAtlAvailable(false);
    host::sim::PutFile(features_test::kPluginFolder + "\\Languages\\Language0000.ini", "[Language]\r\n131=Kein Balken.\r\n");
    StartBar("1");
    EXPECT_FALSE(State().CustomProgressOn);
    EXPECT_NE(State().DiagnosticsText.find("Kein Balken.\r\n"), std::string::npos);
    tillwick::BuildDiagnostics();  // as the options dialog does whenever it shows the report
    EXPECT_NE(State().DiagnosticsText.find("Kein Balken.\r\n"), std::string::npos);
    EXPECT_FALSE(host::fs::FileExists(features_test::kPluginFolder + "\\temp3"));
    const int windows = host::sim::LiveWindowCount();
    Load("http://example.org/", 500);
    EXPECT_EQ(host::sim::LiveWindowCount(), windows);
}

// ---- the combined button ----------------------------------------------------------------

TEST_F(AddressBar, RefreshAndStopShareOnePlaceOnlyWhenTheyAreNeighbours) {
    for (int between : {0, 1}) {
        SCOPED_TRACE(between);
        Renew();
        config.buttonsBetweenRefreshAndStop = between;
        refhost::Host& h = StartWith({{"CombineButtons", "1"}});
        auto hidden = [&](UINT id) { return host::SendMessageA(h.ButtonsToolbar(), TB_ISBUTTONHIDDEN, id, 0) != 0; };
        const int combinedWidth = BandWidth(c::kMainButtonsBandId);
        EXPECT_EQ(State().CombineButtonsOn, between == 0);
        const bool reported = State().DiagnosticsText.find(
                                  "Cannot combine Refresh and Stop button:\r\nThe Stop button and Refresh button are "
                                  "not next to each other.\r\n") != std::string::npos;
        EXPECT_EQ(reported, between != 0);
        if (between != 0) continue;
        EXPECT_TRUE(hidden(0x800A));  // the host's Stop, on a page that is complete
        h.LoadPage("http://example.org/");  // loading: Stop shows, and it is the host's Stop
        EXPECT_FALSE(hidden(0x800A));
        EXPECT_TRUE(hidden(0x800B));
        h.PressToolbarButton(h.ButtonsToolbar(), 0x800A);
        EXPECT_FALSE(h.Loading(h.ActiveTab()));
        EXPECT_TRUE(hidden(0x800A));
        EXPECT_FALSE(hidden(0x800B));
        tillwick::StopCombineButtons();
        EXPECT_FALSE(hidden(c::kCmdStop) || hidden(c::kCmdRefresh));
        EXPECT_EQ(BandWidth(c::kMainButtonsBandId), combinedWidth + 23);  // the band gets the hidden button's width back
        tillwick::StartCombineButtons();  // started again, it takes the same room
        EXPECT_EQ(BandWidth(c::kMainButtonsBandId), combinedWidth);
        tillwick::StopCombineButtons();
        // A missing button is named by its role.
        for (auto [missing, reason] : {std::pair{0x800B, "Cannot find Refresh button."}, {0x800A, "Cannot find Stop button."}}) {
            host::SendMessageA(h.ButtonsToolbar(), TB_DELETEBUTTON,
                               static_cast<WPARAM>(host::SendMessageA(h.ButtonsToolbar(), TB_COMMANDTOINDEX, missing, 0)), 0);
            State().DiagnosticsText.clear();
            EXPECT_FALSE(tillwick::FindRefreshStop());
            EXPECT_EQ(State().DiagnosticsText, std::string("Cannot combine Refresh and Stop button:\r\n") + reason + "\r\n");
        }
    }
}

TEST_F(ProgressBar, InTheStatusBarItEndsOnePixelLeftOfThePanels) {
    StartBar("0");
    for (std::int32_t panels : {0, 120}) {
        State().StatusHtmlOn = panels > 0;
        State().StatusHtmlTotalWidth = panels;
        tillwick::ProgressBarChange(1, 100);  // near the start of a load it is placed afresh
        RECT box = WindowRect(Container());
        POINT corner{box.right, box.top};
        host::ScreenToClient(host->StatusBar(), &corner);
        EXPECT_EQ(corner.x, StatusPart().right - panels - 1) << panels;
    }
}

}  // namespace
