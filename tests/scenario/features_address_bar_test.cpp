// The address-bar decorations on the reference host: the secure-page
// highlight, the progress bar (its control host stood in for by a window
// class of the test) and the combined Refresh/Stop button.
#include "core/host_contract.h"
#include "core/plugin_registry.h"
#include "features/address_bar.h"
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
    Settings({{"HighlightCombo", "1"}, {"HighlightComboBack", "255"}, {"HighlightComboText", "65280"}});
    refhost::Host& h = Start();
    struct Case {
        const char* url;
        bool secure;
    };
    for (const Case& k : {Case{"https://bank.example/", true}, Case{"HTTPS://bank.example/", false},
                          Case{"http://bank.example/", false}}) {
        SCOPED_TRACE(k.url);
        h.LoadPage(k.url);
        testsupport::PumpFor(400);
        EXPECT_EQ(Visible(Overlay()), k.secure);
        const host::sim::EditPaint paint = host::sim::PaintEdit(h.AddressEdit());
        EXPECT_EQ(paint.colours.text, k.secure ? std::optional<COLORREF>(65280) : std::nullopt);
        EXPECT_EQ(paint.colours.back, k.secure ? std::optional<COLORREF>(255) : std::nullopt);
        EXPECT_EQ(paint.brush, k.secure ? std::optional<COLORREF>(255) : std::nullopt);
    }
    h.LoadPage("https://bank.example/");
    testsupport::PumpFor(400);
    ClickOverlayAt(22);
    EXPECT_TRUE(host::sim::SecurityInfoShown().empty());
    ClickOverlayAt(21);
    ASSERT_EQ(host::sim::SecurityInfoShown().size(), 1U);
    EXPECT_EQ(host::sim::SecurityInfoShown()[0].url, "https://bank.example/");
    EXPECT_EQ(host::sim::SecurityInfoShown()[0].owner, h.Frame());
    EXPECT_EQ(host::sim::LiveBrushCount(), 1);
    tillwick::StopHighlightCombo();
    EXPECT_EQ(host::sim::LiveBrushCount(), 0);
    EXPECT_FALSE(Visible(Overlay()));
}

// ---- the progress bar ------------------------------------------------------------------

// The control host: a page window inside, whose document's window records ShowProgress.
std::vector<std::int32_t>& Shown() {
    static std::vector<std::int32_t> shown;
    return shown;
}
LRESULT CALLBACK ProgressPageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == host::RegisterWindowMessageA("WM_HTML_GETOBJECT")) {
        auto window = host::sim::MakeObject();
        window->SetMethod("ShowProgress", [](const std::vector<host::Value>& args) -> std::optional<host::Value> {
            Shown().push_back(std::get<std::int32_t>(args.at(0)));
            return host::Value{};
        });
        auto document = host::sim::MakeObject();
        document->Set("parentWindow", host::Object(window));
        return host::sim::LresultFromObject(host::Object(document));
    }
    return host::DefWindowProcA(hwnd, msg, wParam, lParam);
}
LRESULT CALLBACK AtlAxWinProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CREATE) {
        HWND page = host::CreateWindowExA(0, "Internet Explorer_Server", "", WS_CHILD | WS_VISIBLE, 0, 0, 80, 16, hwnd,
                                          nullptr, nullptr, nullptr);
        host::SetWindowLongPtrW(page, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ProgressPageProc));
    }
    return host::DefWindowProcA(hwnd, msg, wParam, lParam);
}

class ProgressBar : public AddressBar {
protected:
    void StartBar(const char* inAddressBar) {
        Shown().clear();
        WNDCLASSA wc{};
        wc.lpfnWndProc = &AtlAxWinProc;
        wc.lpszClassName = "AtlAxWin";
        host::RegisterClassA(&wc);
        Settings({{"CustomProgress", "1"}, {"AddressProgress", inAddressBar}});
        Start();
    }
    HWND Container() const { return State().ProgressWnd; }
    RECT PartZero() const {
        RECT part{};
        host::SendMessageA(host->StatusBar(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part));
        return part;
    }
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
    EXPECT_TRUE(Visible(Container()));
    testsupport::PumpFor(1);
    EXPECT_FALSE(Visible(Container()));
    EXPECT_EQ(WindowRect(host->AddressEdit()).right, editRight);
    tillwick::ProgressBarChange(INT32_MAX, 1);  // far past its maximum a load is complete, not negative
    EXPECT_EQ(Shown(), (std::vector<std::int32_t>{50, 100}));
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
        EXPECT_EQ(corner.x, PartZero().right - panels - 1) << panels;
    }
}

TEST_F(ProgressBar, WithoutAControlHostTheBarStaysOffAndTheReportSaysSo) {
    host::sim::SetAtlAvailable(false);
    StartBar("1");
    EXPECT_FALSE(State().CustomProgressOn);
    EXPECT_NE(State().DiagnosticsText.find("Cannot show the progress bar"), std::string::npos);
    tillwick::BuildDiagnostics();  // as the options dialog does whenever it shows the report
    EXPECT_NE(State().DiagnosticsText.find("Cannot show the progress bar"), std::string::npos);
    EXPECT_FALSE(host::fs::FileExists(features_test::kPluginFolder + "\\temp3"));
    const int windows = host::sim::LiveWindowCount();
    host->LoadPage("http://example.org/");
    testsupport::PumpFor(500);
    EXPECT_EQ(host::sim::LiveWindowCount(), windows);
}

// ---- the combined button ----------------------------------------------------------------

TEST_F(AddressBar, RefreshAndStopShareOnePlaceOnlyWhenTheyAreNeighbours) {
    for (int between : {0, 1}) {
        SCOPED_TRACE(between);
        TearDown();
        SetUp();
        config.buttonsBetweenRefreshAndStop = between;
        Settings({{"CombineButtons", "1"}});
        refhost::Host& h = Start();
        auto hidden = [&](UINT id) { return host::SendMessageA(h.ButtonsToolbar(), TB_ISBUTTONHIDDEN, id, 0) != 0; };
        auto idealWidth = [&] {
            REBARBANDINFOA band{};
            band.cbSize = sizeof(band);
            band.fMask = RBBIM_IDEALSIZE;
            host::SendMessageA(h.Rebar(), RB_GETBANDINFOA,
                               static_cast<WPARAM>(host::SendMessageA(h.Rebar(), RB_IDTOINDEX, c::kMainButtonsBandId, 0)),
                               reinterpret_cast<LPARAM>(&band));
            return static_cast<int>(band.cxIdeal);
        };
        const int combinedWidth = idealWidth();
        EXPECT_EQ(State().CombineButtonsOn, between == 0);
        const bool reported = State().DiagnosticsText.find(
                                  "Cannot combine Refresh and Stop button:\r\nThe Stop button and Refresh button are "
                                  "not next to each other.\r\n") != std::string::npos;
        EXPECT_EQ(reported, between != 0);
        if (between != 0) continue;
        h.LoadPage("http://example.org/");  // loading: 0x800A shows
        EXPECT_TRUE(hidden(c::kCmdStop));
        EXPECT_FALSE(hidden(c::kCmdRefresh));
        testsupport::PumpFor(500);  // loaded: 0x800B shows
        EXPECT_FALSE(hidden(c::kCmdStop));
        EXPECT_TRUE(hidden(c::kCmdRefresh));
        tillwick::StopCombineButtons();
        EXPECT_FALSE(hidden(c::kCmdStop) || hidden(c::kCmdRefresh));
        EXPECT_EQ(idealWidth(), combinedWidth + 23);  // the band gets the hidden button's width back
    }
}

}  // namespace
