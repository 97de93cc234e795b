// What the main frame's subclass costs per message: a message through
// MainFrameProc with every feature off, and with every flag on for a message
// that no handler acts on, each against a bare call of the host's own frame
// procedure, in the same run. Prints the ratios, the heap allocations and the
// platform calls (key state, timers, messages, files) per message after the
// table: on that path the window procedure must make neither.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>
#include <string>

#include "bench_main.h"
#include "core/state.h"
#include "core/subclassing.h"
#include "host/host.h"
#include "host/sim/sim.h"

// ---- allocation counter -------------------------------------------------------------
namespace {
std::atomic<long long> g_allocations{0};
}

void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using tillwick::SharedState;
using tillwick::State;

// No feature handler acts on it.
constexpr UINT kProbe = WM_APP + 7;

LRESULT CALLBACK HostFrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kProbe) return static_cast<LRESULT>(wParam + static_cast<WPARAM>(lParam));
    return host::DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Kept in a volatile so the baseline is a real call, not an inlined expression.
WNDPROC volatile g_hostProc = &HostFrameProc;
HWND g_frame = nullptr;

void SetUpHost() {
    host::sim::Reset();
    tillwick::ResetState();
    WNDCLASSA wc{};
    wc.lpfnWndProc = &HostFrameProc;
    wc.lpszClassName = "BenchFrame";
    host::RegisterClassA(&wc);
    g_frame = host::CreateWindowExA(0, "BenchFrame", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                                    nullptr, nullptr, nullptr);
    State().MainFrameWnd = g_frame;
    tillwick::InstallSubclasses();
}

void SetAllFlags(bool on) {
    SharedState& s = State();
    for (bool* flag :
         {&s.LastTabExitOn, &s.PasteGoOn, &s.ShowInMenuOn, &s.StatusHtmlOn, &s.ShowGroupUrlOn,
          &s.OpenGroupConfirmOn, &s.OnTopDispatch, &s.HideTitleOn, &s.HideStatusBarOn, &s.HideTabBarOn,
          &s.HideLastTabOn, &s.TabHoverOn, &s.ToggleFilterOn, &s.HidePluginOn, &s.TabMenuOn,
          &s.TabPluginMenuOn, &s.TabOtherMenuOn, &s.PluginMenuOn, &s.ExtensionMenuOn, &s.OtherMenuOn,
          &s.SortSearchOn, &s.StatusBarInfoOn, &s.ZoneIconOn, &s.StatusStripClips, &s.DonorTabPending,
          &s.CustomProgressOn, &s.ProgressInAddressBar, &s.HighlightComboOn, &s.CombineButtonsOn})
        *flag = on;
    s.GlobalModifierKey = VK_SHIFT;  // the bypassable rows read the key
}

struct Counts {
    long long allocations = g_allocations.load();
    std::uint64_t platformCalls = host::sim::CountedCalls();
};

void ReportCounts(benchmark::State& state, const Counts& before) {
    const auto perMessage = [&](double n) { return n / static_cast<double>(state.iterations()); };
    state.counters["allocs_per_msg"] = perMessage(static_cast<double>(g_allocations.load() - before.allocations));
    state.counters["calls_per_msg"] =
        perMessage(static_cast<double>(host::sim::CountedCalls() - before.platformCalls));
}

void BM_HostProcBare(benchmark::State& state) {
    SetUpHost();
    LPARAM lParam = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(g_hostProc(g_frame, kProbe, 0, lParam));
    }
}
BENCHMARK(BM_HostProcBare);

// The host's procedure reached the way the hook passes messages on: CallWindowProcW
// with the value SetWindowLongPtrW gave back (on the sim, a handle of an ANSI procedure).
void BM_HostProcThroughCallWindowProc(benchmark::State& state) {
    SetUpHost();
    auto saved = reinterpret_cast<WNDPROC>(State().Subclassing.slot(tillwick::HookedWindow::MainFrame).savedProc);
    LPARAM lParam = 1;
    const Counts before;
    for (auto _ : state) {
        benchmark::DoNotOptimize(host::CallWindowProcW(saved, g_frame, kProbe, 0, lParam));
    }
    ReportCounts(state, before);
}
BENCHMARK(BM_HostProcThroughCallWindowProc);

// Every feature flag off, or every flag on, for a message that no handler
// acts on; and the caption request that postpones the tab-change timer.
void BM_MainFrameProc(benchmark::State& state, bool flagsOn, UINT msg) {
    SetUpHost();
    SetAllFlags(flagsOn);
    LPARAM lParam = 1;
    const Counts before;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tillwick::MainFrameProc(g_frame, msg, 0, lParam));
    }
    ReportCounts(state, before);
    SetAllFlags(false);
}
BENCHMARK_CAPTURE(BM_MainFrameProc, AllOff, false, kProbe);
BENCHMARK_CAPTURE(BM_MainFrameProc, AllOn, true, kProbe);
BENCHMARK_CAPTURE(BM_MainFrameProc, CaptionRequestAllOn, true, UINT{WM_GETTEXT});

// Prints the table as usual, then each run's time as a multiple of the bare call's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration) continue;
            double perIteration = run.GetAdjustedCPUTime();
            std::string name = run.benchmark_name();
            times_[name] = perIteration;
            auto allocs = run.counters.find("allocs_per_msg");
            if (allocs != run.counters.end()) allocations_[name] = allocs->second.value;
            auto calls = run.counters.find("calls_per_msg");
            if (calls != run.counters.end()) calls_[name] = calls->second.value;
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        auto base = times_.find("BM_HostProcBare");
        if (base == times_.end() || base->second <= 0) return;
        std::printf("\nRatio to a bare call of the host's procedure:\n");
        for (const auto& [name, time] : times_) {
            std::printf("  %-36s %6.2fx", name.c_str(), time / base->second);
            auto allocs = allocations_.find(name);
            if (allocs != allocations_.end()) std::printf("   heap allocations per message: %.3f", allocs->second);
            auto calls = calls_.find(name);
            if (calls != calls_.end()) std::printf("   platform calls per message: %.3f", calls->second);
            std::printf("\n");
        }
    }

private:
    std::map<std::string, double> times_;
    std::map<std::string, double> allocations_;
    std::map<std::string, double> calls_;
};

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks<RatioReporter>(argc, argv); }
