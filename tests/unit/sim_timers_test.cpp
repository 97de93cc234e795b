// Timers on the virtual clock: order, periods, 0 ms timers, and callbacks
// that kill, replace or create timers.
#include "unit/sim_test_util.h"

namespace {

using namespace simtest;

struct Firing {
    char tag;
    std::uint64_t at;
};
std::vector<Firing> firings;
UINT_PTR ids[4];

template <char Tag>
void CALLBACK Record(HWND, UINT, UINT_PTR, DWORD) {
    firings.push_back({Tag, host::sim::Now()});
}

void CALLBACK KillsItself(HWND, UINT, UINT_PTR id, DWORD) {
    firings.push_back({'k', host::sim::Now()});
    host::KillTimer(nullptr, id);
}

void CALLBACK StartsAnother(HWND, UINT, UINT_PTR id, DWORD) {
    firings.push_back({'s', host::sim::Now()});
    host::KillTimer(nullptr, id);
    ids[1] = host::SetTimer(nullptr, 0, 30, Record<'n'>);
}

void CALLBACK ReplacesItself(HWND, UINT, UINT_PTR id, DWORD) {
    firings.push_back({'r', host::sim::Now()});
    host::SetTimer(nullptr, id, 100, Record<'R'>);  // same id: new period, new procedure
}

std::string Tags() {
    std::string s;
    for (const auto& f : firings) s += f.tag;
    return s;
}

class SimTimers : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        firings.clear();
        for (auto& id : ids) id = 0;
    }
};

TEST_F(SimTimers, DueTimersFireInTimeOrderAndTiesInCreationOrder) {
    host::SetTimer(nullptr, 0, 50, Record<'b'>);
    host::SetTimer(nullptr, 0, 20, Record<'a'>);
    host::SetTimer(nullptr, 0, 50, Record<'c'>);
    host::sim::Advance(100);
    // a: 20 40 60 80 100; b and c: 50 100. At 100 all three are due: creation order.
    EXPECT_EQ(Tags(), "aabcaabac");
    EXPECT_EQ(firings[2].at, 50u);
    EXPECT_EQ(host::sim::Now(), 100u);
}

TEST_F(SimTimers, ZeroDelayTimersWaitForThePumpAndThenRepeatAtTheMinimum) {
    ids[0] = host::SetTimer(nullptr, 0, 0, Record<'z'>);
    EXPECT_TRUE(firings.empty());
    host::sim::RunPending();
    ASSERT_EQ(Tags(), "z");
    EXPECT_EQ(firings[0].at, 0u);
    host::sim::RunPending();  // not due again until 10 ms have passed
    EXPECT_EQ(Tags(), "z");
    host::sim::Advance(25);
    EXPECT_EQ(Tags(), "zzz");
}

TEST_F(SimTimers, KilledByItsOwnCallbackItNeverFiresAgain) {
    host::SetTimer(nullptr, 0, 10, KillsItself);
    host::SetTimer(nullptr, 0, 10, Record<'o'>);
    host::sim::Advance(50);
    EXPECT_EQ(Tags(), "kooooo");
    EXPECT_EQ(host::sim::LiveTimerCount(), 1);
}

TEST_F(SimTimers, TimersCreatedOrReplacedDuringAnAdvanceRunInTheSameAdvance) {
    host::SetTimer(nullptr, 0, 10, StartsAnother);
    ids[2] = host::SetTimer(nullptr, 0, 15, ReplacesItself);
    host::sim::Advance(130);
    // s at 10 starts n (due 40, 70, 100, 130); r at 15 turns into R (due 115).
    EXPECT_EQ(Tags(), "srnnnRn");
    EXPECT_EQ(firings[5].at, 115u);
    EXPECT_NE(ids[1], 0u);
    EXPECT_NE(ids[1], ids[2]);
}

LRESULT CALLBACK Window(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_USER) firings.push_back({'p', host::sim::Now()});
    if (m == WM_TIMER) firings.push_back({static_cast<char>('0' + w), host::sim::Now()});
    return host::DefWindowProcA(h, m, w, l);
}

void CALLBACK Posts(HWND, UINT, UINT_PTR, DWORD) {
    firings.push_back({'t', host::sim::Now()});
    host::PostMessageA(host::FindWindowA("SimTimerWindow", nullptr), WM_USER, 0, 0);
}

TEST_F(SimTimers, PostedMessagesGoBeforeTheNextTimer) {
    Register("SimTimerWindow", Window);
    HWND w = Make("SimTimerWindow", WS_POPUP);
    host::SetTimer(nullptr, 0, 10, Posts);
    host::SetTimer(nullptr, 0, 10, Record<'x'>);
    host::sim::Advance(10);
    // Both are due at 10; the message posted by the first is delivered before the second fires.
    EXPECT_EQ(Tags(), "tpx");

    // A window timer without a procedure arrives as WM_TIMER, logged as posted; it dies with its window.
    firings.clear();
    host::sim::ClearMessageLog();
    host::SetTimer(w, 3, 25, nullptr);
    host::sim::Advance(25);
    EXPECT_NE(Tags().find('3'), std::string::npos);
    const auto timers = Sequence(w, {WM_TIMER});
    ASSERT_EQ(timers.size(), 1u);
    const int before = host::sim::LiveTimerCount();
    host::DestroyWindow(w);
    EXPECT_EQ(host::sim::LiveTimerCount(), before - 1);
    EXPECT_FALSE(host::KillTimer(w, 3));
}

TEST_F(SimTimers, ThreadTimerIdsAreFreshAndAnUnknownIdIsNotReused) {
    const UINT_PTR a = host::SetTimer(nullptr, 0, 10, Record<'a'>);
    const UINT_PTR b = host::SetTimer(nullptr, 12345, 10, Record<'b'>);  // no such timer: a new id
    EXPECT_NE(a, 0u);
    EXPECT_NE(b, 12345u);
    EXPECT_NE(a, b);
    EXPECT_EQ(host::SetTimer(nullptr, a, 40, Record<'A'>), a);  // an existing one is replaced
    EXPECT_EQ(host::sim::LiveTimerCount(), 2);
    host::sim::Advance(40);
    EXPECT_EQ(Tags(), "bbbbA");  // at 40 the older timer goes first
}

}  // namespace
