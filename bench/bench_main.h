// The main of a benchmark program whose reporter prints its ratios at the end.
#pragma once

#include <benchmark/benchmark.h>

template <class Reporter>
int RunBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
