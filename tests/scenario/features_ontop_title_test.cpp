// Always on top and title hiding on the reference host: the hot key, the
// frame's style, rectangle and z-order, and the captions the host's own frame
// procedure is handed.
#include <variant>

#include "features_fixture.h"
#include "support/step_failures.h"

namespace {

using features_test::FeatureOnHost;

constexpr WPARAM kFullScreen = 0x804D;

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// ---- entering and leaving ------------------------------------------------------------------------

class OnTop : public FeatureOnHost {
protected:
    void SetUp() override {
        FeatureOnHost::SetUp();
        Settings({{"AlwaysOnTop", "1"}});
    }
    // The commands the frame received for the press.
    std::vector<WPARAM> PressHotKey() {
        const std::size_t mark = LogMark();
        EXPECT_TRUE(host::sim::PressHotKey(MOD_CONTROL, 'M'));
        testsupport::PumpFor(10);
        return FrameCommands(mark);
    }
    bool Topmost() const { return host::GetWindowLongA(host->Frame(), GWL_EXSTYLE) & WS_EX_TOPMOST; }
};

TEST_F(OnTop, RegistersTheMappedHotKeyForTheFrame) {
    struct Case {
        const char* modifier;  // nullptr: key not written
        const char* letter;
        UINT modifiers;
        UINT vk;
    };
    for (const Case& c : {Case{nullptr, nullptr, MOD_CONTROL, 'M'},  // no settings: Ctrl+M
                          Case{"Shift", "A", MOD_SHIFT, 'A'}, Case{"Ctrl", "Z", MOD_CONTROL, 'Z'}, Case{"Alt", "M", MOD_ALT, 'M'},
                          // Names and letters are compared exactly.
                          Case{"shift", "a", 0, 0}, Case{"CTRL", "AB", 0, 0}, Case{"alt", "1", 0, 0},
                          // An empty value reads as its default, as every setting does.
                          Case{"Alt", "", MOD_ALT, 'M'}}) {
        SCOPED_TRACE(std::string(c.modifier ? c.modifier : "-") + (c.letter ? c.letter : "-"));
        Renew();
        std::vector<std::pair<std::string, std::string>> settings{{"AlwaysOnTop", "1"}};
        if (c.modifier) settings.emplace_back("OnTopHotKeyMOD", c.modifier);
        if (c.letter) settings.emplace_back("OnTopHotKeyVK", c.letter);
        refhost::Host& h = StartWith(settings);
        const auto keys = host::sim::RegisteredHotKeys();
        ASSERT_EQ(keys.size(), 1u);
        EXPECT_EQ(keys[0].hwnd, h.Frame());
        EXPECT_EQ(keys[0].id, tillwick::kOnTopHotKeyId);
        EXPECT_EQ(keys[0].modifiers, c.modifiers);
        EXPECT_EQ(keys[0].vk, c.vk);
    }
}

// Entered from full screen, the mode leaves it first and comes back to it with the caption.
TEST_F(OnTop, HotKeyTwiceGivesBackTheFrameExactlyAndFullScreenIsLeftFirst) {
    refhost::Host& h = Start();
    host::ShowWindow(h.Frame(), SW_MAXIMIZE);
    const DWORD style = refhost_fixture::StyleOf(h.Frame());
    const RECT rect = WindowRect(h.Frame());
    ASSERT_TRUE(style & WS_MAXIMIZE);

    const std::size_t mark = HostMark();
    PressHotKey();
    const DWORD onTop = refhost_fixture::StyleOf(h.Frame());
    EXPECT_EQ(onTop & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    EXPECT_EQ(onTop & (WS_MAXIMIZE | WS_MAXIMIZEBOX), 0u);
    EXPECT_TRUE(Topmost());
    EXPECT_TRUE(SameRect(WindowRect(h.Frame()), RECT{112, 84, 512, 384}));
    EXPECT_TRUE(h.FullScreen());  // the host's bars are gone

    PressHotKey();
    EXPECT_EQ(refhost_fixture::StyleOf(h.Frame()), style);
    EXPECT_FALSE(Topmost());
    EXPECT_TRUE(SameRect(WindowRect(h.Frame()), rect));
    EXPECT_FALSE(h.FullScreen());
    // Both presses were ours alone: the host never saw WM_HOTKEY.
    EXPECT_TRUE(HostGot(WM_HOTKEY, mark).empty());
    EXPECT_EQ(HostGot(WM_NULL, mark).size(), 2u);

    h.Command(kFullScreen);
    ASSERT_EQ(refhost_fixture::StyleOf(h.Frame()) & WS_CAPTION, 0u);
    EXPECT_EQ(PressHotKey(), (std::vector<WPARAM>{kFullScreen, kFullScreen}));
    EXPECT_TRUE(Topmost());
    EXPECT_EQ(PressHotKey(), std::vector<WPARAM>{kFullScreen});
    EXPECT_EQ(refhost_fixture::StyleOf(h.Frame()), style);
    EXPECT_FALSE(h.FullScreen());
    // Closing the frame in the mode leaves it first and still closes.
    PressHotKey();
    const std::size_t closing = HostMark();
    h.Close();
    EXPECT_FALSE(h.Running());
    const auto& got = features_test::FrameRecorder::received;
    std::vector<UINT> seen;
    for (std::size_t i = closing; i < got.size(); ++i)
        if (got[i].msg == WM_CLOSE || (got[i].msg == WM_COMMAND && got[i].wParam == kFullScreen))
            seen.push_back(got[i].msg);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_COMMAND, WM_CLOSE}));
}

TEST_F(OnTop, APlacementThatIsNotANumberTakesItsDefault) {
    Settings({{"AlwaysOnTop", "1"}, {"OnTopLeft", "left"}, {"OnTopTop", "50"}, {"OnTopWidth", "640"},
              {"OnTopHeight", "12px"}});
    refhost::Host& h = Start();
    PressHotKey();
    EXPECT_TRUE(SameRect(WindowRect(h.Frame()), RECT{112, 50, 752, 350}));
    EXPECT_TRUE(Topmost());
    PressHotKey();  // the mode was entered whole, so the key leaves it
    EXPECT_FALSE(Topmost());
    EXPECT_FALSE(h.FullScreen());
}

// ---- title hiding -------------------------------------------------------------------------

// A page document that, like the browser's, makes the host set its caption
// again when a script assigns its title (the reference host's documents are
// plain property bags).
class TitleEchoBag : public host::sim::PropertyBag {
public:
    static inline HWND frame = nullptr;
    bool Put(std::string_view name, const host::Value& value) override {
        const bool done = PropertyBag::Put(name, value);
        const auto* title = std::get_if<std::string>(&value);
        if (done && name == "title" && title && frame)
            host::SetWindowTextA(frame, (*title + " - Maxthon").c_str());
        return done;
    }
};

class HideTitle : public FeatureOnHost {
protected:
    void SetUp() override {
        FeatureOnHost::SetUp();
        TitleEchoBag::frame = nullptr;
        config.objects.create = [] { return host::Object(std::make_shared<TitleEchoBag>()); };
        config.titleOf = [](std::string_view url) {
            return url.find("music") != std::string_view::npos ? std::string("Best MuSiC videos")
                   : url.find("game") != std::string_view::npos ? std::string("Game night")
                                                                 : std::string("Weather");
        };
    }
    std::string Caption() const { return host::sim::WindowText(host->Frame()); }
};

// Started later (as the options dialog does), the caption is judged by the page's title.
TEST_F(HideTitle, OnlyMatchingCaptionsAreReplacedWhateverTheirCase) {
    Settings({{"HideTitle", "0"}, {"HideKeyTitle", "1"}, {"Title", "Quiet Tab"}});
    refhost::Host& h = Start({"http://music.example/", "http://weather.example/"});
    TitleEchoBag::frame = h.Frame();
    tillwick::StartHideTitle();
    EXPECT_EQ(Caption(), "Weather - Maxthon");  // the active page does not match
    tillwick::StopHideTitle();
    h.ActivateTab(0);
    testsupport::PumpFor(300);  // the tab tracking settles on the music page
    ASSERT_EQ(Caption(), "Best MuSiC videos - Maxthon");
    tillwick::StartHideTitle();
    EXPECT_EQ(Caption(), "Quiet Tab");  // the active page is the music one
    h.ActivateTab(1);
    EXPECT_EQ(Caption(), "Weather - Maxthon");
    h.LoadPage("http://game.example/");
    testsupport::PumpFor(1000);
    EXPECT_EQ(Caption(), "Quiet Tab");
}

TEST_F(HideTitle, AnInvalidPatternLetsTheHostsCaptionThrough) {
    testsupport::ExpectFailedSteps();  // the invalid pattern
    Settings({{"HideTitle", "1"}, {"HideKeyTitle", "1"}, {"TitleToHide", "music|(game"}});
    refhost::Host& h = Start({"http://weather.example/"});
    TitleEchoBag::frame = h.Frame();
    h.LoadPage("http://music.example/");
    testsupport::PumpFor(1000);
    EXPECT_EQ(Caption(), "Best MuSiC videos - Maxthon");
    EXPECT_EQ(host::sim::SwallowedExceptionCount(), 0);
    EXPECT_TRUE(h.Running());
}

// The host's full-screen commands, from the menu and from the keyboard: the
// mode is left first, then the host carries out its own command.
TEST_F(OnTop, TheHostsFullScreenCommandsArePassedOnAfterLeaving) {
    for (WPARAM command : {WPARAM{0x804D}, WPARAM{0x1809A}}) {
        SCOPED_TRACE(command);
        Renew();
        refhost::Host& h = Start();
        PressHotKey();
        const std::size_t mark = HostMark();
        h.Command(command);
        const auto got = HostGot(WM_COMMAND, mark);
        ASSERT_EQ(got.size(), 2u);
        EXPECT_EQ(got[0].wParam, kFullScreen);  // ours: back to the normal layout
        EXPECT_EQ(got[1].wParam, command);      // then the host's own, unchanged
        EXPECT_FALSE(Topmost());
        EXPECT_TRUE(h.FullScreen());  // what the user asked for
        EXPECT_TRUE(refhost_fixture::StyleOf(h.Frame()) & WS_MAXIMIZEBOX);
        PressHotKey();  // and the hot key enters the mode afresh
        EXPECT_TRUE(Topmost());
    }
}

TEST_F(HideTitle, EveryCaptionChangeIsReplacedUntilStopped) {
    Settings({{"HideTitle", "1"}, {"Title", "Quiet Tab"}});
    refhost::Host& h = Start({"http://music.example/", "http://weather.example/"});
    TitleEchoBag::frame = h.Frame();
    EXPECT_EQ(Caption(), "Quiet Tab");
    const std::size_t mark = HostMark();
    h.ActivateTab(0);
    h.LoadPage("http://game.example/");
    testsupport::PumpFor(1000);
    const auto handed = HostGot(WM_SETTEXT, mark);  // what the host's own procedure was given
    ASSERT_FALSE(handed.empty());
    for (const auto& caption : handed) EXPECT_EQ(caption.text, "Quiet Tab");
    EXPECT_EQ(Caption(), "Quiet Tab");
    tillwick::StopHideTitle();  // the host's caption at once
    EXPECT_EQ(Caption(), "Game night - Maxthon");
}

}  // namespace
