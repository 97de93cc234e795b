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
};

TEST_F(ConformanceTimers, ThreadTimerFiresFromThePumpWithItsOwnId) {
    ThreadTimer timer(host::SetTimer(nullptr, 0, 10, CountingTimer<0>));
    ASSERT_NE(timer.id(), 0u);
    EXPECT_EQ(fired[0].count, 0);  // never from inside SetTimer

    testsupport::PumpFor(200);
    EXPECT_GE(fired[0].count, 2);  // it repeats
    EXPECT_EQ(fired[0].hwnd, nullptr);
    EXPECT_EQ(fired[0].msg, WM_TIMER);
    EXPECT_EQ(fired[0].id, timer.id());

    EXPECT_TRUE(host::KillTimer(nullptr, timer.id()));
    const int before = fired[0].count;
    testsupport::PumpFor(100);
    EXPECT_EQ(fired[0].count, before);
    EXPECT_FALSE(host::KillTimer(nullptr, timer.id()));
}

TEST_F(ConformanceTimers, ZeroDelayTimerWaitsForThePump) {
    ThreadTimer timer(host::SetTimer(nullptr, 0, 0, CountingTimer<0>));
    ASSERT_NE(timer.id(), 0u);
    EXPECT_EQ(fired[0].count, 0);
    testsupport::PumpFor(100);
    EXPECT_GE(fired[0].count, 1);
}

TEST_F(ConformanceTimers, TimerKilledByItsOwnCallbackFiresOnce) {
    ThreadTimer timer(host::SetTimer(nullptr, 0, 10, SelfKillingTimer));
    ASSERT_NE(timer.id(), 0u);
    testsupport::PumpFor(200);
    EXPECT_EQ(fired[0].count, 1);
}

TEST_F(ConformanceTimers, TwoTimersHaveDistinctIdsAndSeparateLives) {
    ThreadTimer fast(host::SetTimer(nullptr, 0, 10, CountingTimer<0>));
    ThreadTimer slow(host::SetTimer(nullptr, 0, 30, CountingTimer<1>));
    ASSERT_NE(fast.id(), 0u);
    ASSERT_NE(slow.id(), 0u);
    EXPECT_NE(fast.id(), slow.id());

    testsupport::PumpFor(200);
    EXPECT_EQ(fired[0].id, fast.id());
    EXPECT_EQ(fired[1].id, slow.id());
    EXPECT_GT(fired[0].count, fired[1].count);

    host::KillTimer(nullptr, fast.id());
    const int fastBefore = fired[0].count, slowBefore = fired[1].count;
    testsupport::PumpFor(200);
    EXPECT_EQ(fired[0].count, fastBefore);
    EXPECT_GT(fired[1].count, slowBefore);
}

}  // namespace
