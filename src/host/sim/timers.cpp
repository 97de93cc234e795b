// Timers on the virtual clock and the message loop that Advance/RunPending
// run: posted messages and paints first at every step, then the earliest
// due timer (ties in creation order), until nothing is due.
#include <algorithm>
#include <climits>

#include "host/sim/sim_internal.h"

namespace host::sim::detail {

namespace {

// Windows raises shorter periods to USER_TIMER_MINIMUM; the sim does so for
// repeats too, so a 0 ms timer that is never killed cannot spin the clock.
constexpr UINT kMinimumPeriod = 10;
constexpr UINT kMaximumPeriod = 0x7FFFFFFF;

UINT Period(UINT elapse) { return std::clamp(elapse, kMinimumPeriod, kMaximumPeriod); }

Timer* FindTimer(HWND hwnd, UINT_PTR id) {
    for (auto& t : S().timers) {
        if (t.hwnd == hwnd && t.id == id) return &t;
    }
    return nullptr;
}

// The due timer that fires next, or none.
std::optional<std::size_t> NextDue(std::uint64_t limit) {
    std::optional<std::size_t> best;
    const auto& timers = S().timers;
    for (std::size_t i = 0; i < timers.size(); ++i) {
        if (timers[i].due > limit) continue;
        if (!best || timers[i].due < timers[*best].due ||
            (timers[i].due == timers[*best].due && timers[i].seq < timers[*best].seq))
            best = i;
    }
    return best;
}

void Fire(std::size_t index) {
    State& s = S();
    Timer& t = s.timers[index];
    t.due = s.now + Period(t.elapse);
    const Timer fired = t;  // the callback may kill or replace it
    if (fired.proc) {
        try {
            fired.proc(fired.hwnd, WM_TIMER, fired.id, static_cast<DWORD>(s.now));
        } catch (...) {
            NoteSwallowedException();
        }
    } else if (Window* w = Find(fired.hwnd)) {
        Deliver(fired.hwnd, WM_TIMER, fired.id, 0, w->unicode, true);
    }
}

void RunUntil(std::uint64_t target) {
    State& s = S();
    // Callbacks that keep arming 0 ms timers would never let the clock move;
    // after this many firings at one instant the pump gives up.
    constexpr int kMaxFiringsAtOneInstant = 100000;
    int firingsNow = 0;
    std::uint64_t instant = s.now;
    for (;;) {
        PumpPostedAndPaint();
        const auto next = NextDue(target);
        if (!next) break;
        s.now = std::max(s.now, s.timers[*next].due);
        if (s.now != instant) {
            instant = s.now;
            firingsNow = 0;
        }
        if (++firingsNow > kMaxFiringsAtOneInstant) break;
        Fire(*next);
    }
    s.now = std::max(s.now, target);
}

}  // namespace

void FireDueTimers() {
    for (int budget = 100000; budget > 0; --budget) {
        const auto next = NextDue(S().now);
        if (!next) return;
        Fire(*next);
    }
}

void KillWindowTimers(HWND hwnd) {
    auto& timers = S().timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(), [hwnd](const Timer& t) { return t.hwnd == hwnd; }),
                 timers.end());
}

}  // namespace host::sim::detail

namespace host {

using namespace sim::detail;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
    CountCall();
    State& s = S();
    if (hwnd && !Find(hwnd)) return 0;  // ERROR_INVALID_WINDOW_HANDLE
    Timer* existing = nullptr;
    if (hwnd || id) existing = FindTimer(hwnd, id);
    if (!hwnd && !existing) id = NewTimerId();  // a thread timer gets an id of its own
    const std::uint64_t due = s.now + (elapseMs == 0 ? 0 : Period(elapseMs));
    if (existing) {
        // Setting a timer again restarts it with the new period and procedure.
        existing->elapse = elapseMs;
        existing->proc = proc;
        existing->due = due;
        existing->seq = ++s.timerSeq;
    } else {
        Timer t;
        t.hwnd = hwnd;
        t.id = id;
        t.elapse = elapseMs;
        t.proc = proc;
        t.due = due;
        t.seq = ++s.timerSeq;
        s.timers.push_back(t);
    }
    return (hwnd && id == 0) ? 1 : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    CountCall();
    auto& timers = S().timers;
    auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == timers.end()) return FALSE;
    timers.erase(it);
    return TRUE;
}

// The sim is one module: its thread timers and hot keys are the process's.
// Windows are not counted here, since every window of the process would be.
Footprint ModuleFootprint() noexcept {
    const auto& st = S();
    const auto threadTimers =
        std::count_if(st.timers.begin(), st.timers.end(), [](const Timer& t) { return t.hwnd == nullptr; });
    return Footprint{static_cast<int>(threadTimers), static_cast<int>(st.hotKeys.size()), 0};
}

void PinModule() noexcept { S().modulePinned = true; }

}  // namespace host

namespace host::sim {

bool ModulePinned() { return detail::S().modulePinned; }

void Advance(std::uint32_t ms) { detail::RunUntil(detail::S().now + ms); }

void RunPending() { detail::RunUntil(detail::S().now); }

int LiveTimerCount() { return static_cast<int>(detail::S().timers.size()); }

}  // namespace host::sim
