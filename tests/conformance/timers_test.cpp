// Thread timers (no window, id chosen by the system): they fire only from
// the message loop, repeat until killed, and one killed by its own callback
// does not fire again.
#include "conformance/conformance.h"

namespace {

using namespace conformance;

struct Fired {
    int count = 0;
    HWND hwnd = reinterpret_cast<HWND>(1);
    UINT msg = 0;
    UINT_PTR id = 0;
};
Fired fired[2];

template <int N>
void CALLBACK CountingTimer(HWND hwnd, UINT msg, UINT_PTR id, DWORD) {
    ++fired[N].count;
    fired[N].hwnd = hwnd;
    fired[N].msg = msg;
    fired[N].id = id;
}

void CALLBACK SelfKillingTimer(HWND, UINT, UINT_PTR id, DWORD) {
    ++fired[0].count;
    host::KillTimer(nullptr, id);
}

class ConformanceTimers : public Fixture {
protected:
    void SetUp() override { for (auto& f : fired) f = {}; }
    // The test's timers are killed when it ends, however it ends.
    void TearDown() override {
        for (UINT_PTR id : started) host::KillTimer(nullptr, id);
        Fixture::TearDown();
    }
    // A thread timer; the system must give it an id.
    UINT_PTR Start(UINT ms, TIMERPROC proc) {
        started.push_back(host::SetTimer(nullptr, 0, ms, proc));
        EXPECT_NE(started.back(), 0u);
        return started.back();
    }
    std::vector<UINT_PTR> started;
};

TEST_F(ConformanceTimers, ThreadTimerFiresFromThePumpWithItsOwnId) {
    const UINT_PTR timer = Start(10, CountingTimer<0>);
    EXPECT_EQ(fired[0].count, 0);  // never from inside SetTimer

    testsupport::PumpFor(200);
    EXPECT_GE(fired[0].count, 2);  // it repeats
    EXPECT_EQ(fired[0].hwnd, nullptr);
    EXPECT_EQ(fired[0].msg, WM_TIMER);
    EXPECT_EQ(fired[0].id, timer);

    EXPECT_TRUE(host::KillTimer(nullptr, timer));
    const int before = fired[0].count;
    testsupport::PumpFor(100);
    EXPECT_EQ(fired[0].count, before);
    EXPECT_FALSE(host::KillTimer(nullptr, timer));
}

TEST_F(ConformanceTimers, ZeroDelayTimerWaitsForThePump) {
    Start(0, CountingTimer<0>);
    EXPECT_EQ(fired[0].count, 0);
    testsupport::PumpFor(100);
    EXPECT_GE(fired[0].count, 1);
}

TEST_F(ConformanceTimers, TimerKilledByItsOwnCallbackFiresOnce) {
    Start(10, SelfKillingTimer);
    testsupport::PumpFor(200);
    EXPECT_EQ(fired[0].count, 1);
}

TEST_F(ConformanceTimers, TwoTimersHaveDistinctIdsAndSeparateLives) {
    const UINT_PTR fast = Start(10, CountingTimer<0>);
    const UINT_PTR slow = Start(30, CountingTimer<1>);
    EXPECT_NE(fast, slow);

    testsupport::PumpFor(200);
    EXPECT_EQ(fired[0].id, fast);
    EXPECT_EQ(fired[1].id, slow);
    EXPECT_GT(fired[0].count, fired[1].count);

    host::KillTimer(nullptr, fast);
    const int fastBefore = fired[0].count, slowBefore = fired[1].count;
    testsupport::PumpFor(200);
    EXPECT_EQ(fired[0].count, fastBefore);
    EXPECT_GT(fired[1].count, slowBefore);
}

}  // namespace
