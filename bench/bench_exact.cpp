// The exact engine against the genetic search on generated job classes: jobs at the proven optimum or at the
// bound, bars (or objective) above the bound, and times, for the genetic search alone, the exact engine alone
// and Calc with both; first-fit decreasing beside them. Usage: bench_exact [class-name-filter] [quality]

#include "exact_jobs.h"

#include "exact/exact_engine.h"
#include "exact/plan_choice.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <sys/resource.h>

namespace {

using Seconds = std::chrono::duration<double>;

struct JobClass {
    const char* name;
    std::function<std::vector<bench::ClassJob>()> jobs;
};

std::vector<JobClass> classes()
{
    using namespace bench;
    return {
        {"uniform 20-100 on 150",
         [] {
             std::vector<ClassJob> jobs;
             for (int n : {120, 250, 500, 1000})
                 for (uint32_t s = 1; s <= 5; ++s)
                     jobs.push_back(uniformJob(s * 7919 + uint32_t(n), n, 20, 100, 150));
             return jobs;
         }},
        {"triplets on 1000",
         [] {
             std::vector<ClassJob> jobs;
             for (int t : {20, 40, 83, 167})
                 for (uint32_t s = 1; s <= 3; ++s)
                     jobs.push_back(tripletJob(s * 104729 + uint32_t(t), t));
             return jobs;
         }},
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
        {"scholl-like 3 (bar 100000)",
         [] {
             std::vector<ClassJob> jobs;
             for (uint32_t s = 1; s <= 3; ++s)
                 jobs.push_back(uniformJob(s * 15485863, 200, 20000, 35000, 100000));
             return jobs;
         }},
        {"few large kinds on 100000",
         [] {
             std::vector<ClassJob> jobs;
             for (uint32_t s = 1; s <= 6; ++s)
                 jobs.push_back(fewKindsJob(s * 613));
             return jobs;
         }},
        {"workshop, several stocks",
         [] {
             std::vector<ClassJob> jobs;
             for (uint32_t s = 1; s <= 12; ++s)
                 jobs.push_back(workshopJob(s * 2741, s % 3 == 0));
             return jobs;
         }},
        {"zero waste, blade 3 stub 10",
         [] {
             std::vector<ClassJob> jobs;
             for (uint32_t s = 1; s <= 8; ++s)
                 jobs.push_back(zeroWasteJob(s * 3571, int(5 + s * 6), s % 2 ? 6000.0f : 12000.0f, 3, 10));
             return jobs;
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

struct Tally {
    int atBound = 0;
    int jobs = 0;
    double excess = 0; // bars above the bound (bars measure) or percent of the bound otherwise
    double maxExcess = 0;
    int worseThanFfd = 0;
    std::vector<double> times;

    void add(double excessValue, bool at, double seconds, bool worse)
    {
        ++jobs;
        atBound += at ? 1 : 0;
        excess += excessValue;
        maxExcess = std::max(maxExcess, excessValue);
        worseThanFfd += worse ? 1 : 0;
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

} // namespace

int main(int argc, char** argv)
{
    const char* filter = argc > 1 ? argv[1] : "";
    const int quality = argc > 2 ? std::atoi(argv[2]) : 5;
    std::printf("quality %d, exact budget %.2f s\n\n", quality, exact::ExactEngine::budgetFor(quality));
    std::printf("%-30s %4s | %-28s | %-28s | %-28s | %-14s | %s\n", "class", "jobs", "genetic: at/excess/max/med/max s",
                "exact: at/excess/max/med/max s", "both: at/excess/max/med/max s", "FFD: at/excess", "LP med s");
    for (JobClass& jobClass : classes()) {
        if (!std::strstr(jobClass.name, filter))
            continue;
        Tally genetic;
        Tally exactTally;
        Tally both;
        Tally ffd;
        std::vector<double> lpTimes;
        bool barsMeasure = true;
        for (bench::ClassJob& classJob : jobClass.jobs()) {
            optimizer::CutSettings settings = classJob.settings;
            settings.qualityLevel = quality;
            const auto& parts = classJob.job.parts;
            const auto& stocks = classJob.job.stocks;

            // The bound alone
            auto start = std::chrono::steady_clock::now();
            const optimizer::CutJob cutJob = optimizer::makeCutJob(parts, stocks, settings);
            exact::ExactEngine boundOnly(cutJob, {});
            const std::optional<double> lp = boundOnly.lowerBound();
            lpTimes.push_back(Seconds(std::chrono::steady_clock::now() - start).count());

            start = std::chrono::steady_clock::now();
            exact::ExactEngine engine(cutJob, {exact::ExactEngine::budgetFor(quality)});
            const exact::ExactOutcome outcome = engine.run();
            const double exactSeconds = Seconds(std::chrono::steady_clock::now() - start).count();

            start = std::chrono::steady_clock::now();
            optimizer::RandomSource random(12345);
            auto cut = bench::fillCut(classJob.job, settings, random);
            optimizer::strGroup geneticPlan;
            if (cut->runSearch() == 0)
                geneticPlan = cut->takeResult(0);
            const double geneticSeconds = Seconds(std::chrono::steady_clock::now() - start).count();

            const exact::ExactJob& job = engine.job();
            barsMeasure = barsMeasure && job.barsMeasure();
            // The stronger of the relaxation and what the run proved (bar counts of each kind, filled bars).
            const double bound = std::max(lp.value_or(0.0), outcome.boundKnown ? outcome.bound : 0.0);
            exact::Heuristics heuristics(job);
            std::vector<int32_t> demand;
            std::vector<int64_t> bars;
            for (int32_t i = 0; i < job.items(); ++i)
                demand.push_back(job.demand(i));
            for (int32_t j = 0; j < job.stocks(); ++j)
                bars.push_back(job.stockQty(j));
            const std::optional<exact::Layout> ffdLayout = heuristics.firstFitDecreasing(demand, bars);
            const double ffdCost = ffdLayout ? ffdLayout->cost(job) : 1e300;

            auto measure = [&](double cost) {
                if (job.barsMeasure())
                    return std::round((cost - bound) / job.barCost(0));
                return 100.0 * (cost - bound) / bound;
            };
            auto record = [&](Tally& tally, const optimizer::strGroup* plan, double seconds) {
                const double cost = plan && plan->patternCount > 0 ? planCost(job, *plan) : 1e300;
                const bool at = cost <= bound + 1e-9 * bound;
                tally.add(plan && plan->patternCount > 0 ? std::max(0.0, measure(cost)) : 999, at, seconds,
                          cost > ffdCost + 1e-9 * ffdCost);
            };
            const optimizer::strGroup* exactPlan =
                outcome.status == exact::ExactOutcome::Status::Plan ? &outcome.plan : nullptr;
            record(genetic, &geneticPlan, geneticSeconds);
            record(exactTally, exactPlan, exactSeconds);
            const bool exactWins = exactPlan && exact::secondIsBetter(geneticPlan, *exactPlan, stocks, settings);
            record(both, exactWins ? exactPlan : &geneticPlan, std::max(exactSeconds, geneticSeconds));
            ffd.add(ffdLayout ? std::max(0.0, measure(ffdCost)) : 999, ffdCost <= bound + 1e-9 * bound, 0, false);
        }
        auto cell = [&](Tally& t) {
            static char text[4][64];
            static int next = 0;
            char* out = text[next++ % 4];
            const double excess = barsMeasure ? t.excess : t.excess / std::max(1, t.jobs);
            std::snprintf(out, 64, "%2d/%-6.*f %4.*f %6.3f %6.2f", t.atBound, barsMeasure ? 0 : 2, excess,
                          barsMeasure ? 0 : 2, t.maxExcess, t.median(), t.longest());
            return out;
        };
        std::sort(lpTimes.begin(), lpTimes.end());
        std::printf("%-30s %4d | %-28s | %-28s | %-28s | %2d/%-8.*f | %.4f  worse than FFD: g%d e%d b%d\n",
                    jobClass.name, genetic.jobs, cell(genetic), cell(exactTally), cell(both), ffd.atBound,
                    barsMeasure ? 0 : 2, barsMeasure ? ffd.excess : ffd.excess / std::max(1, ffd.jobs),
                    lpTimes[lpTimes.size() / 2], genetic.worseThanFfd, exactTally.worseThanFfd, both.worseThanFfd);
        std::fflush(stdout);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("\npeak memory %.1f MB; excess: bars above the bound in all where one stock length and no cost, else "
                "the mean %% above the bound\n",
                double(usage.ru_maxrss) / 1024.0);
    return 0;
}
