#include "bench_jobs.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

void runJob(benchmark::State& state, const bench::Job& job)
{
    optimizer::CutSettings settings;
    settings.qualityLevel = int32_t(state.range(0));
    settings.bladeWidth = 3;
    settings.stubLength = 10;
    int32_t bars = 0;
    float ratio = 0;
    int32_t generations = 0;
    for (auto _ : state) {
        optimizer::RandomSource random(12345);
        auto cut = bench::fillCut(job, settings, random);
        if (cut->runSearch() != 0) {
            state.SkipWithError("no layout");
            return;
        }
        const optimizer::strGroup plan = cut->takeResult(0);
        bars = 0;
        for (const auto& pattern : plan.patterns)
            bars += pattern.times;
        ratio = plan.ratio;
        generations = cut->generation;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["bars"] = bars;
    state.counters["ratio"] = ratio;
    state.counters["generations"] = generations;
    state.counters["peakMB"] = double(usage.ru_maxrss) / 1024.0;
}

void BM_A_20kinds_200pieces(benchmark::State& state)
{
    runJob(state, bench::jobA());
}
void BM_B_120pieces_bar150(benchmark::State& state)
{
    runJob(state, bench::jobB());
}
void BM_C_500kinds_5000pieces(benchmark::State& state)
{
    runJob(state, bench::jobC());
}
void BM_D_1024kinds_10000pieces(benchmark::State& state)
{
    runJob(state, bench::jobD());
}

} // namespace

#define BARVIK_LEVELS ->Arg(1)->Arg(5)->Arg(12)->Unit(benchmark::kMillisecond)->UseRealTime()
BENCHMARK(BM_A_20kinds_200pieces) BARVIK_LEVELS->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_B_120pieces_bar150) BARVIK_LEVELS->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_C_500kinds_5000pieces) BARVIK_LEVELS->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_D_1024kinds_10000pieces) BARVIK_LEVELS->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
