// Sent messages re-enter procedures at once; posted ones wait for the pump,
// in order. Registered message numbers are stable per name.
#include "conformance/conformance.h"

namespace {

using namespace conformance;

constexpr UINT kOuter = WM_USER + 10;
constexpr UINT kInner = WM_USER + 11;
constexpr UINT kPosted = WM_USER + 12;
constexpr UINT kCountdown = WM_USER + 13;
constexpr UINT kEcho = WM_USER + 14;

LRESULT CALLBACK MessagingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case kOuter: {
        Log().push_back({hwnd, msg, wParam, lParam, '('});
        host::PostMessageA(hwnd, kPosted, 99, 0);
        LRESULT inner = host::SendMessageA(hwnd, kInner, 0, 0);
        Log().push_back({hwnd, msg, wParam, lParam, ')'});
        return inner + 1;
    }
    case kInner:
        Log().push_back({hwnd, msg, wParam, lParam, 'i'});
        return 20;
    case kPosted:
        Log().push_back({hwnd, msg, wParam, lParam, 'p'});
        return 0;
    case kCountdown:
        // Recurses through SendMessage until the count reaches zero.
        return wParam == 0 ? 0 : 1 + host::SendMessageA(hwnd, kCountdown, wParam - 1, 0);
    case kEcho:
        Log().push_back({hwnd, msg, wParam, lParam, 'e'});
        return static_cast<LRESULT>(wParam + static_cast<WPARAM>(lParam));
    default:
        return host::DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

class ConformanceMessages : public Fixture {
protected:
    void SetUp() override { ASSERT_NE(hwnd, nullptr); }
    std::string Tags() const {
        std::string tags;
        for (const auto& s : Log()) tags += s.who;
        return tags;
    }
    HWND hwnd = Create(EnsureClass("TwConfMessaging", MessagingProc), WS_POPUP, nullptr, 0, 0, 50, 50);
};

TEST_F(ConformanceMessages, SendNestsInsideTheSenderAndPostWaitsForThePump) {
    EXPECT_EQ(host::SendMessageA(hwnd, kOuter, 0, 0), 21);
    EXPECT_EQ(Tags(), "(i)");  // the posted message is not delivered yet
    testsupport::PumpFor(20);
    EXPECT_EQ(Tags(), "(i)p");
    EXPECT_EQ(Log().back().wParam, 99u);
}

TEST_F(ConformanceMessages, RecursiveSendsUnwindWithTheirResults) {
    EXPECT_EQ(host::SendMessageA(hwnd, kCountdown, 25, 0), 25);
}

TEST_F(ConformanceMessages, PostedMessagesArriveInPostingOrderAfterLaterSends) {
    HWND other = Create("TwConfMessaging", WS_POPUP, nullptr, 0, 0, 50, 50);
    ASSERT_NE(other, nullptr);
    // The thread has one queue: the order holds across its windows.
    EXPECT_TRUE(host::PostMessageA(hwnd, kPosted, 1, 0));
    EXPECT_TRUE(host::PostMessageA(other, kPosted, 2, 0));
    EXPECT_TRUE(host::PostMessageA(hwnd, kPosted, 3, 0));
    host::SendMessageA(hwnd, kInner, 0, 0);
    EXPECT_EQ(Tags(), "i");
    testsupport::PumpFor(20);
    ASSERT_EQ(Tags(), "ippp");
    EXPECT_EQ((std::vector<WPARAM>{Log()[1].wParam, Log()[2].wParam, Log()[3].wParam}), (std::vector<WPARAM>{1, 2, 3}));
    EXPECT_EQ(Log()[2].hwnd, other);
}

TEST_F(ConformanceMessages, SystemMessagesCarryingPointersCannotBePosted) {
    EXPECT_FALSE(host::PostMessageA(hwnd, WM_SETTEXT, 0, Ptr("posted")));
    // A private message's lParam is only a number to the system.
    EXPECT_TRUE(host::PostMessageA(hwnd, kPosted, 4, Ptr("x")));
    // No window: a message for the thread, which no procedure sees.
    EXPECT_TRUE(host::PostMessageA(nullptr, kPosted, 5, 0));
    testsupport::PumpFor(20);
    EXPECT_EQ(TextOf(hwnd), "");
    ASSERT_EQ(Tags(), "p");
    EXPECT_EQ(Log()[0].wParam, 4u);
}

TEST_F(ConformanceMessages, MessagesToAGoneWindowFailOrAreDropped) {
    EXPECT_TRUE(host::PostMessageA(hwnd, kPosted, 1, 0));
    host::DestroyWindow(hwnd);
    testsupport::PumpFor(20);
    EXPECT_EQ(Tags(), "");
    EXPECT_FALSE(host::PostMessageA(hwnd, kPosted, 2, 0));
    EXPECT_EQ(host::SendMessageA(hwnd, kEcho, 1, 2), 0);
    DWORD_PTR result = 77;
    EXPECT_EQ(host::SendMessageTimeoutA(hwnd, kEcho, 1, 2, SMTO_ABORTIFHUNG, 100, &result), 0);
}

TEST_F(ConformanceMessages, EverySendFlavourReachesTheProcedureWithItsParameters) {
    EXPECT_EQ(host::SendMessageA(hwnd, kEcho, 3, 4), 7);
    EXPECT_EQ(host::SendMessageW(hwnd, kEcho, 5, 6), 11);
    DWORD_PTR result = 0;
    EXPECT_NE(host::SendMessageTimeoutA(hwnd, kEcho, 7, 8, SMTO_ABORTIFHUNG, 1000, &result), 0);
    EXPECT_EQ(result, 15u);
    EXPECT_EQ(Tags(), "eee");
}

TEST_F(ConformanceMessages, RegisteredMessagesAreStablePerNameWhateverTheCase) {
    UINT html = host::RegisterWindowMessageA("WM_HTML_GETOBJECT");
    EXPECT_GE(html, 0xC000u);
    EXPECT_LE(html, 0xFFFFu);
    EXPECT_EQ(host::RegisterWindowMessageA("WM_HTML_GETOBJECT"), html);
    EXPECT_EQ(host::RegisterWindowMessageA("wm_html_getobject"), html);

    UINT own = host::RegisterWindowMessageA("TwConf.Message");
    EXPECT_GE(own, 0xC000u);
    EXPECT_NE(own, html);
    EXPECT_EQ(host::RegisterWindowMessageA("TwConf.Message"), own);
}

}  // namespace
