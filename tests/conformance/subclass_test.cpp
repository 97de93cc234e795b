// Subclass chains installed with SetWindowLongPtrW(GWLP_WNDPROC): order,
// removal, forwarding, and the captions that pass through them.
#include "conformance/conformance.h"

namespace {

using namespace conformance;

constexpr UINT kPing = WM_USER + 1;

// The window's own (ANSI) class procedure: tag 'O', answers kPing with wParam * 10.
LRESULT CALLBACK OriginalProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Log().push_back({hwnd, msg, wParam, lParam, 'O'});
    if (msg == kPing) return static_cast<LRESULT>(wParam * 10);
    return host::DefWindowProcA(hwnd, msg, wParam, lParam);
}

// What each layer replaced when it was installed.
WNDPROC previous[3];

// Each layer logs its tag, adds one to kPing's wParam and one to the answer.
template <int N>
LRESULT CALLBACK LayerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Log().push_back({hwnd, msg, wParam, lParam, static_cast<char>('A' + N)});
    if (msg == kPing) {
        return host::CallWindowProcW(previous[N], hwnd, msg, wParam + 1, lParam) + 1;
    }
    return host::CallWindowProcW(previous[N], hwnd, msg, wParam, lParam);
}

WNDPROC const kLayerProcs[3] = {LayerProc<0>, LayerProc<1>, LayerProc<2>};

LONG_PTR AsLong(WNDPROC proc) { return reinterpret_cast<LONG_PTR>(proc); }

class ConformanceSubclass : public Fixture {
protected:
    void SetUp() override {
        for (auto& p : previous) p = nullptr;
        ASSERT_NE(hwnd, nullptr);
    }

    // Installs the first `count` layers, A first.
    void Install(int count) {
        for (int n = 0; n < count; ++n) {
            previous[n] = reinterpret_cast<WNDPROC>(
                host::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, AsLong(kLayerProcs[n])));
            ASSERT_NE(previous[n], nullptr);
        }
    }
    // What a layer does to take itself out: put back what it replaced.
    LONG_PTR Restore(int n) {
        return host::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, AsLong(previous[n]));
    }
    // Who saw a kPing carrying `value`, and its answer.
    std::pair<std::string, LRESULT> Ping(WPARAM value = 1) {
        Log().clear();
        LRESULT answer = host::SendMessageA(hwnd, kPing, value, 0);
        return {WhoSaw(kPing), answer};
    }

    HWND hwnd = Create(EnsureClass("TwConfSubclassed", OriginalProc), WS_POPUP, nullptr, 0, 0, 100, 100, "Start");
};

TEST_F(ConformanceSubclass, NewestLayerRunsFirstAndForwardsDownToTheOriginal) {
    Install(3);
    EXPECT_EQ(host::GetWindowLongPtrW(hwnd, GWLP_WNDPROC), AsLong(kLayerProcs[2]));

    // Three layers each added one to wParam on the way down and to the answer on the way up.
    EXPECT_EQ(Ping(1), (std::pair<std::string, LRESULT>{"CBAO", (1 + 3) * 10 + 3}));
    ASSERT_EQ(Log().size(), 4u);
    EXPECT_EQ(Log()[3].wParam, 4u);
}

TEST_F(ConformanceSubclass, RemovingInReverseOrderPeelsOneLayerAtATime) {
    Install(3);
    EXPECT_EQ(Restore(2), AsLong(kLayerProcs[2]));
    EXPECT_EQ(host::GetWindowLongPtrW(hwnd, GWLP_WNDPROC), AsLong(kLayerProcs[1]));
    EXPECT_EQ(Ping().first, "BAO");
    EXPECT_EQ(Restore(1), AsLong(kLayerProcs[1]));
    EXPECT_EQ(Ping().first, "AO");
    EXPECT_EQ(Restore(0), AsLong(kLayerProcs[0]));
    EXPECT_EQ(Ping(2), (std::pair<std::string, LRESULT>{"O", 20}));
}

TEST_F(ConformanceSubclass, RemovingAMiddleLayerCutsOutTheLayersAboveIt) {
    Install(3);
    // B puts back A while C is on top: C's link is simply overwritten.
    EXPECT_EQ(Restore(1), AsLong(kLayerProcs[2]));
    EXPECT_EQ(Ping().first, "AO");
    // C removing itself later brings B back, the one C had replaced.
    EXPECT_EQ(Restore(2), AsLong(kLayerProcs[0]));
    EXPECT_EQ(Ping().first, "BAO");
}

TEST_F(ConformanceSubclass, CaptionCallsTravelThroughTheChainAsMessages) {
    Install(1);
    Log().clear();
    EXPECT_TRUE(host::SetWindowTextA(hwnd, "Renamed"));
    EXPECT_EQ(TextOf(hwnd), "Renamed");
    EXPECT_EQ(WhoSaw(WM_SETTEXT), "AO");
    EXPECT_EQ(WhoSaw(WM_GETTEXT), "AO");
}

// A Unicode subclass of an ANSI window: caption texts reach it as UTF-16 and
// reach the ANSI procedure below it as ANSI again.
std::u16string wideSeen;
std::string ansiSeen;
bool swallowSetText = false;
const char16_t* answerGetText = nullptr;

LRESULT CALLBACK AnsiCaptionProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETTEXT && lParam) ansiSeen = reinterpret_cast<const char*>(lParam);
    return host::DefWindowProcA(hwnd, msg, wParam, lParam);
}

WNDPROC captionPrevious = nullptr;

LRESULT CALLBACK WideCaptionProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETTEXT && lParam) {
        wideSeen = reinterpret_cast<const char16_t*>(lParam);
        if (swallowSetText) return TRUE;
    }
    if (msg == WM_GETTEXT && answerGetText && wParam > 0) {
        auto* out = reinterpret_cast<char16_t*>(lParam);
        std::u16string_view text = answerGetText;
        std::size_t n = text.size() < wParam - 1 ? text.size() : wParam - 1;
        text.copy(out, n);
        out[n] = u'\0';
        return static_cast<LRESULT>(n);
    }
    return host::CallWindowProcW(captionPrevious, hwnd, msg, wParam, lParam);
}

class ConformanceSubclassCaption : public Fixture {
protected:
    void SetUp() override {
        wideSeen.clear();
        ansiSeen.clear();
        swallowSetText = false;
        answerGetText = nullptr;
        hwnd = Create(EnsureClass("TwConfCaption", AnsiCaptionProc), WS_POPUP, nullptr, 0, 0, 100, 100, "Start");
        ASSERT_NE(hwnd, nullptr);
        captionPrevious = reinterpret_cast<WNDPROC>(
            host::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, AsLong(WideCaptionProc)));
    }
    HWND hwnd = nullptr;
};

TEST_F(ConformanceSubclassCaption, UnicodeSubclassGetsUtf16AndTheAnsiProcedureAnsi) {
    EXPECT_TRUE(host::SetWindowTextA(hwnd, "Caf\xE9 title"));
    EXPECT_EQ(wideSeen, u"Caf\u00E9 title");
    EXPECT_EQ(ansiSeen, "Caf\xE9 title");
    EXPECT_EQ(TextOf(hwnd), "Caf\xE9 title");

    // The ANSI procedure below is handed out as a handle, not its address: a
    // Unicode caller reaching it through CallWindowProcW gets UTF-16 back.
    EXPECT_NE(captionPrevious, &AnsiCaptionProc);
    char16_t wide[16] = {};
    EXPECT_EQ(host::CallWindowProcW(captionPrevious, hwnd, WM_GETTEXT, 16, Ptr(wide)), 10);
    EXPECT_EQ(std::u16string(wide), u"Caf\u00E9 title");
}

TEST_F(ConformanceSubclassCaption, PuttingBackTheHandleMakesTheWindowAnsiAgain) {
    const auto handle = AsLong(captionPrevious);
    EXPECT_EQ(host::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, handle), AsLong(WideCaptionProc));
    EXPECT_EQ(host::GetWindowLongPtrW(hwnd, GWLP_WNDPROC), handle);
    // A Unicode sender now reaches the ANSI procedure directly, converted once.
    host::SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"wide"));
    EXPECT_EQ(ansiSeen, "wide");
    EXPECT_TRUE(wideSeen.empty());
}

TEST_F(ConformanceSubclassCaption, SwallowedSetTextLeavesTheCaption) {
    swallowSetText = true;
    EXPECT_TRUE(host::SetWindowTextA(hwnd, "Hidden"));
    EXPECT_EQ(wideSeen, u"Hidden");
    EXPECT_EQ(ansiSeen, "");
    EXPECT_EQ(TextOf(hwnd), "Start");
}

TEST_F(ConformanceSubclassCaption, AnsweredGetTextIsWhatGetWindowTextReturns) {
    answerGetText = u"Shown instead";
    EXPECT_EQ(TextOf(hwnd), "Shown instead");
    char small[6] = {};
    EXPECT_EQ(host::GetWindowTextA(hwnd, small, 6), 5);
    EXPECT_STREQ(small, "Shown");
}

}  // namespace
