// Preparing a 1 MB add-on page for its panel (on the UI thread, at every
// build of the strip): an ordinary page and the shapes that once made the
// preparation quadratic, each against a plain copy of the same megabyte in
// the same run. The goal: every shape well under 50 ms.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "bench_main.h"
#include "statushtml/status_html_page.h"

namespace {

constexpr std::size_t kPageBytes = 1 << 20;

std::string Repeated(std::string_view unit, std::string_view tail = "") {
    std::string page;
    while (page.size() + unit.size() + tail.size() <= kPageBytes) page += unit;
    return page + std::string(tail);
}

void BM_CopyBaseline(benchmark::State& state) {
    const std::string page = Repeated("<p>Mail: 3 new</p>\r\n");
    for (auto _ : state) {
        std::string copy = page;
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_CopyBaseline)->Unit(benchmark::kMillisecond);

void BM_Prepare(benchmark::State& state, std::string page) {
    for (auto _ : state)
        benchmark::DoNotOptimize(
            tillwick::PreparePanelPage(page, "C:\\Addons\\a.html", "2", "{ID}", "C:\\Plugin\\temp1"));
}
BENCHMARK_CAPTURE(BM_Prepare, OrdinaryPage, Repeated("<p>Mail: 3 new</p>\r\n", "<body>\n<body>"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Prepare, TagsAfterLineBreaks, Repeated("<a>\n"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Prepare, UnclosedScriptTags, Repeated("<script ", ">"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Prepare, UnclosedTagsAfterLineBreaks, Repeated("\n<", ">"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Prepare, ScriptMarkersWithoutClose, Repeated("<script max.src>"))
    ->Unit(benchmark::kMillisecond);

// The table as usual, then each preparation's time in milliseconds and as a multiple of the copy's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration) times_[run.benchmark_name()] = run.GetAdjustedCPUTime();
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto base = times_.find("BM_CopyBaseline");
        if (base == times_.end() || base->second <= 0) return;
        std::printf("\nA 1 MB add-on prepared (CPU ms, and as a multiple of copying it):\n");
        for (const auto& [name, ms] : times_)
            std::printf("  %-44s %8.2f ms %8.1fx\n", name.c_str(), ms, ms / base->second);
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks<RatioReporter>(argc, argv); }
