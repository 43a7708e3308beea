// Calc's two engines on generated job classes: per class the jobs at the known optimum, at the bound and proven
// best, the bars (or the mean percent of the objective) above the bound, and median and longest times; first-fit
// decreasing and the bound of the relaxation alone beside them.
// Usage: bench_exact [class-name-filter] [quality] [--exact-alone] [--one-core]

#include "exact_jobs.h"

#include "exact/both_engines.h"
#include "exact/exact_engine.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <sys/resource.h>

namespace {

using Seconds = std::chrono::duration<double>;

struct JobClass {
    const char* name;
    std::function<std::vector<bench::ClassJob>()> jobs;
};

std::vector<bench::ClassJob> seeded(int count, const std::function<bench::ClassJob(uint32_t)>& make)
{
    std::vector<bench::ClassJob> jobs;
    for (int s = 1; s <= count; ++s)
        jobs.push_back(make(uint32_t(s)));
    return jobs;
}

std::vector<JobClass> classes()
{
    using namespace bench;
    return {
        {"uniform 120-1000 on 150",
         [] {
             std::vector<ClassJob> jobs;
             for (int n : {120, 250, 500, 1000})
                 for (uint32_t s = 1; s <= 5; ++s)
                     jobs.push_back(uniformJob(s * 7919 + uint32_t(n), n, 20, 100, 150));
             return jobs;
         }},
        {"triplets 60-501 on 1000",
         [] {
             std::vector<ClassJob> jobs;
             for (int t : {20, 40, 83, 167})
                 for (uint32_t s = 1; s <= 5; ++s)
                     jobs.push_back(tripletJob(s * 104729 + uint32_t(t), t));
             return jobs;
         }},
        {"hard 160-200 on 1000", [] { return seeded(10, [](uint32_t s) { return hardJob(s); }); }},
        {"one bar above the bound", [] { return oneAboveJobs(); }},
        {"scholl-like 1 (bars 100-150)",
         [] {
             std::vector<ClassJob> jobs;
             for (int n : {50, 100, 200, 500})
                 for (float bar : {100.0f, 120.0f, 150.0f})
                     jobs.push_back(uniformJob(uint32_t(n) * 31 + uint32_t(bar), n, n % 200 == 0 ? 1 : 20, 100, bar));
             return jobs;
         }},
        {"scholl-like 2 (bar 1000, wide)",
         [] {
             std::vector<ClassJob> jobs;
             for (int n : {50, 100, 200, 500})
                 for (uint32_t s = 1; s <= 2; ++s)
                     jobs.push_back(uniformJob(s * 1299709 + uint32_t(n), n, 100, 500, 1000));
             return jobs;
         }},
        {"long bars 100000, 200 pieces",
         [] { return seeded(6, [](uint32_t s) { return uniformJob(s * 15485863, 200, 20000, 35000, 100000); }); }},
        {"few large kinds on 100000", [] { return seeded(6, [](uint32_t s) { return fewKindsJob(s * 613); }); }},
        {"workshop, 2-5 stocks, costs",
         [] { return seeded(12, [](uint32_t s) { return workshopJob(s * 2741, s % 3 == 0); }); }},
        {"zero waste, blade 3 stub 10",
         [] {
             return seeded(8, [](uint32_t s) {
                 return zeroWasteJob(s * 3571, int(5 + s * 6), s % 2 ? 6000.0f : 12000.0f, 3, 10);
             });
         }},
        {"large (search benchmark)",
         [] {
             std::vector<ClassJob> jobs;
             for (const Job& job : {jobC(), jobD()}) {
                 ClassJob j;
                 j.job = job;
                 j.settings.bladeWidth = 3;
                 j.settings.stubLength = 10;
                 jobs.push_back(j);
             }
             return jobs;
         }},
    };
}

// One way of cutting a class: how many jobs reached what, how far above the bound, and how long it took.
struct Tally {
    int jobs = 0;
    int known = 0;     // jobs with a known optimum
    int atOptimum = 0; // of those, cut with the optimum
    int atBound = 0;
    int proven = 0;
    double excess = 0; // bars above the bound, or percent of the bound summed
    std::vector<double> times;

    void add(double excessValue, bool at, bool optimum, bool knownOptimum, bool provenBest, double seconds)
    {
        ++jobs;
        known += knownOptimum ? 1 : 0;
        atOptimum += optimum ? 1 : 0;
        atBound += at ? 1 : 0;
        proven += provenBest ? 1 : 0;
        excess += excessValue;
        times.push_back(seconds);
    }
    double median()
    {
        if (times.empty())
            return 0;
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }
    double longest() const { return times.empty() ? 0 : *std::max_element(times.begin(), times.end()); }
};

double planCost(const exact::ExactJob& job, const optimizer::strGroup& plan)
{
    double cost = 0;
    for (const auto& pattern : plan.patterns)
        cost += double(pattern.times) * job.barCost(pattern.stock);
    return cost;
}

int64_t planBars(const optimizer::strGroup& plan)
{
    int64_t bars = 0;
    for (const auto& pattern : plan.patterns)
        bars += pattern.times;
    return bars;
}

} // namespace

int main(int argc, char** argv)
{
    const char* filter = argc > 1 ? argv[1] : "";
    const int quality = argc > 2 ? std::atoi(argv[2]) : 5;
    bool exactAlone = false;
    bool oneCore = false; // the exact engine without its second worker
    for (int a = 3; a < argc; ++a) {
        exactAlone = exactAlone || std::strcmp(argv[a], "--exact-alone") == 0;
        oneCore = oneCore || std::strcmp(argv[a], "--one-core") == 0;
    }
    std::printf("quality %d, exact budget %.2f s%s; calc = both engines as Calc runs them\n\n", quality,
                exact::ExactEngine::budgetFor(quality), oneCore ? ", one core for the exact engine" : "");
    std::printf("%-30s %4s | %-44s |%s %-13s | %s\n", "class", "jobs", "calc: opt/known bound proven excess med max s",
                exactAlone ? " exact: bound proven med max s |" : "", "FFD: bound/ex", "LP bound med max s");
    for (JobClass& jobClass : classes()) {
        if (!std::strstr(jobClass.name, filter))
            continue;
        Tally calc;
        Tally alone;
        Tally ffd;
        std::vector<double> lpTimes;
        bool barsMeasure = true;
        for (bench::ClassJob& classJob : jobClass.jobs()) {
            optimizer::CutSettings settings = classJob.settings;
            settings.qualityLevel = quality;
            const optimizer::CutJob cutJob = optimizer::makeCutJob(classJob.job.parts, classJob.job.stocks, settings);
            const double budget = exact::ExactEngine::budgetFor(quality);
            exact::ExactSettings exactSettings;
            exactSettings.seconds = budget;
            exactSettings.secondCore = !oneCore;

            // 1 - the bound of the relaxation alone
            auto start = std::chrono::steady_clock::now();
            exact::ExactEngine boundOnly(cutJob, {budget});
            const std::optional<double> lp = boundOnly.lowerBound();
            lpTimes.push_back(Seconds(std::chrono::steady_clock::now() - start).count());

            // 2 - Calc: both engines
            start = std::chrono::steady_clock::now();
            optimizer::RandomSource random(12345);
            auto cut = bench::fillCut(classJob.job, settings, random);
            exact::ExactEngine engine(cutJob, exactSettings);
            const exact::EnginesResult both = exact::runBothEngines(cut.get(), &engine, cutJob, nullptr, 20 * quality);
            const double calcSeconds = Seconds(std::chrono::steady_clock::now() - start).count();

            // 3 - the exact engine alone
            exact::ExactOutcome aloneOutcome;
            double aloneSeconds = 0;
            if (exactAlone) {
                start = std::chrono::steady_clock::now();
                exact::ExactEngine single(cutJob, exactSettings);
                aloneOutcome = single.run();
                aloneSeconds = Seconds(std::chrono::steady_clock::now() - start).count();
            }

            const exact::ExactJob& job = engine.job();
            barsMeasure = barsMeasure && job.barsMeasure();
            // The strongest bound any run found: the relaxation's, or what a run proved beyond it.
            double bound = lp.value_or(0.0);
            for (const exact::ExactOutcome* outcome :
                 {&both.outcome, static_cast<const exact::ExactOutcome*>(&aloneOutcome)})
                if (outcome->boundKnown)
                    bound = std::max(bound, outcome->bound);
            exact::Heuristics heuristics(job);
            const exact::Rest whole = exact::Rest::wholeJob(job);
            const std::optional<exact::Layout> ffdLayout = heuristics.firstFitDecreasing(whole.demand, whole.bars);
            const double ffdCost = ffdLayout ? ffdLayout->cost(job) : 1e300;

            auto measure = [&](double cost) {
                if (job.barsMeasure())
                    return std::round((cost - bound) / job.barCost(0));
                return 100.0 * (cost - bound) / bound;
            };
            auto record = [&](Tally& tally, const optimizer::strGroup* plan, bool provenBest, double seconds) {
                const bool planned = plan && plan->patternCount > 0;
                const double cost = planned ? planCost(job, *plan) : 1e300;
                const bool atOptimum = planned && classJob.knownBars >= 0 && planBars(*plan) == classJob.knownBars;
                tally.add(planned ? std::max(0.0, measure(cost)) : 999, cost <= bound + 1e-9 * bound, atOptimum,
                          classJob.knownBars >= 0, provenBest, seconds);
            };
            record(calc, &both.plan, both.outcome.optimal, calcSeconds);
            if (std::getenv("BENCH_VERBOSE")) {
                int64_t pieces = 0;
                for (const auto& part : classJob.job.parts)
                    pieces += part.qty;
                std::printf("  job %zu: %lld pieces, relaxation %.6g, bound %.6g, plan %.6g (%lld bars), %s, %.3f s\n",
                            calc.times.size(), (long long)pieces, lp.value_or(-1.0), bound, planCost(job, both.plan),
                            (long long)planBars(both.plan), both.outcome.optimal ? "proven" : "open", calcSeconds);
            }
            if (exactAlone && std::getenv("BENCH_VERBOSE"))
                std::printf("  alone %zu: plan %.6g, %s, %.3f s\n", calc.times.size(),
                            aloneOutcome.status == exact::ExactOutcome::Status::Plan ? aloneOutcome.objective : -1.0,
                            aloneOutcome.optimal ? "proven" : "open", aloneSeconds);
            if (exactAlone)
                record(alone, aloneOutcome.status == exact::ExactOutcome::Status::Plan ? &aloneOutcome.plan : nullptr,
                       aloneOutcome.optimal, aloneSeconds);
            ffd.add(ffdLayout ? std::max(0.0, measure(ffdCost)) : 999, ffdCost <= bound + 1e-9 * bound, false, false,
                    false, 0);
        }
        auto excessText = [&](const Tally& t) {
            static char text[2][32];
            static int next = 0;
            char* out = text[next++ % 2];
            if (barsMeasure)
                std::snprintf(out, 32, "%.0f", t.excess);
            else
                std::snprintf(out, 32, "%.2f%%", t.excess / std::max(1, t.jobs));
            return out;
        };
        char known[16] = "-";
        if (calc.known > 0)
            std::snprintf(known, sizeof known, "%d/%d", calc.atOptimum, calc.known);
        std::printf("%-30s %4d | %7s %5d %6d %6s %6.3f %6.2f |", jobClass.name, calc.jobs, known, calc.atBound,
                    calc.proven, excessText(calc), calc.median(), calc.longest());
        if (exactAlone)
            std::printf(" %5d %6d %6.3f %6.2f |", alone.atBound, alone.proven, alone.median(), alone.longest());
        std::sort(lpTimes.begin(), lpTimes.end());
        std::printf(" %3d/%-9s | %.4f %.3f\n", ffd.atBound, excessText(ffd), lpTimes[lpTimes.size() / 2],
                    lpTimes.back());
        std::fflush(stdout);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("\npeak memory %.1f MB; excess: bars above the bound in all where one stock length and no cost, else "
                "the mean %% above the bound\n",
                double(usage.ru_maxrss) / 1024.0);
    return 0;
}
