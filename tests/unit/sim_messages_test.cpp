// Sending, posting and the message log.
#include "unit/sim_test_util.h"

namespace {

using namespace simtest;

constexpr UINT kPing = WM_USER + 1;
constexpr UINT kPong = WM_USER + 2;
constexpr UINT kNote = WM_USER + 3;

HWND peer = nullptr;
std::vector<std::string> trace;

// A pings B; B pongs back to A while A's ping is still being handled.
LRESULT CALLBACK PingPong(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
    case kPing: {
        trace.push_back("ping " + std::to_string(w));
        const LRESULT back = host::SendMessageA(peer, kPong, w + 1, reinterpret_cast<LPARAM>(h));
        trace.push_back("ping done");
        return back * 2;
    }
    case kPong: {
        trace.push_back("pong " + std::to_string(w));
        if (w < 3) return host::SendMessageA(reinterpret_cast<HWND>(l), kPing, w + 1, 0) + 1;
        host::PostMessageA(h, kNote, w, 0);
        return 1;
    }
    case kNote:
        trace.push_back("note " + std::to_string(w));
        return 0;
    default:
        return host::DefWindowProcA(h, m, w, l);
    }
}

class SimMessages : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        trace.clear();
        Register("SimPingPong", PingPong);
        a = Make("SimPingPong", WS_POPUP);
        b = Make("SimPingPong", WS_POPUP);
        host::sim::ClearMessageLog();
    }
    HWND a = nullptr, b = nullptr;
};

TEST_F(SimMessages, SendsNestAcrossWindowsAndUnwindWithTheirResults) {
    peer = b;
    // ping 0 (A) -> pong 1 (B) -> ping 2 (A) -> pong 3 (B) answers 1 and posts a note.
    EXPECT_EQ(host::SendMessageA(a, kPing, 0, 0), ((1 * 2) + 1) * 2);
    EXPECT_EQ(trace, (std::vector<std::string>{"ping 0", "pong 1", "ping 2", "pong 3", "ping done", "ping done"}));

    // The log lists deliveries in the order they began, nested ones included.
    std::vector<std::pair<HWND, UINT>> order;
    for (const auto& m : host::sim::MessageLog()) order.emplace_back(m.hwnd, m.msg);
    EXPECT_EQ(order, (std::vector<std::pair<HWND, UINT>>{{a, kPing}, {b, kPong}, {a, kPing}, {b, kPong}}));

    host::sim::RunPending();
    EXPECT_EQ(trace.back(), "note 3");
    EXPECT_TRUE(host::sim::MessageLog().back().posted);
    EXPECT_FALSE(host::sim::MessageLog().front().posted);
}

TEST_F(SimMessages, TheSimsOwnMessagesAreLoggedToo) {
    host::SetWindowTextA(a, "title");
    host::ShowWindow(a, SW_SHOWNA);
    ASSERT_FALSE(host::sim::MessageLog().empty());
    EXPECT_EQ(host::sim::MessageLog()[0].msg, WM_SETTEXT);
    EXPECT_EQ(Sequence(a, {WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}),
              (std::vector<UINT>{WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}));
}

LRESULT CALLBACK Endless(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == kPing) return 1 + host::SendMessageA(h, kPing, w, l);
    return host::DefWindowProcA(h, m, w, l);
}

TEST_F(SimMessages, RunawayRecursionIsCutOffInsteadOfOverflowingTheStack) {
    Register("SimEndless", Endless);
    HWND w = Make("SimEndless", WS_POPUP);
    const LRESULT depth = host::SendMessageA(w, kPing, 0, 0);
    EXPECT_GT(depth, 100);
    EXPECT_LT(depth, 100000);
}

TEST_F(SimMessages, RegisteredMessageNumbersOutliveAReset) {
    const UINT first = host::RegisterWindowMessageA("SimTest.Stable");
    host::RegisterWindowMessageA("SimTest.Other");
    host::sim::Reset();
    EXPECT_EQ(host::RegisterWindowMessageA("simtest.stable"), first);
    EXPECT_EQ(host::RegisterWindowMessageA(""), 0u);
}

}  // namespace
