// How soon Calc's run answers Stop: on large and hard jobs, with both engines, the exact engine alone and the
// genetic search alone, Stop is pressed at several moments of the run; per job and engines the median and longest
// time from the press until the search has returned (both engines' threads ended), the processor time the engines
// spent in that while, and how long the run then takes to show its plan; "early" counts the runs that ended before
// the press. The goal is 0.2 s from the press to the plan shown, on a loaded 2-core machine.
// Usage: bench_stop [job-name-filter] [repeats]

#include "exact_jobs.h"

#include "calculation/calculation_run.h"
#include "calculation/grids.h"

#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

struct StopJob {
    const char* name;
    std::function<bench::ClassJob()> make;
};

std::vector<StopJob> jobs()
{
    using namespace bench;
    return {
        {"big: 1024 kinds, 100000 pieces",
         [] {
             ClassJob job;
             job.job = makeJob(55, 1024, 100000, 50, 2900, {12000, 10000, 8000, 7000, 6000, 5000, 4000, 3000});
             job.settings.bladeWidth = 3;
             job.settings.stubLength = 10;
             return job;
         }},
        {"long bars 100000, 200 pieces", [] { return uniformJob(15485863, 200, 20000, 35000, 100000); }},
        {"hard 200 pieces on 1000", [] { return hardJob(3); }},
        {"big, cost optimization",
         [] {
             ClassJob job;
             job.job = makeJob(56, 1024, 100000, 50, 2900, {12000, 10000, 8000, 7000, 6000, 5000, 4000, 3000});
             for (size_t j = 0; j < job.job.stocks.size(); ++j)
                 job.job.stocks[j].cost = job.job.stocks[j].length / 1000 * float(90 + 7 * j) / 10;
             job.settings.bladeWidth = 3;
             job.settings.stubLength = 10;
             job.settings.costOptimization = true;
             return job;
         }},
        {"1024 kinds on bars of 100000",
         [] {
             ClassJob job;
             job.job = makeJob(57, 1024, 20000, 500, 29000, {100000, 60000});
             return job;
         }},
        {"large: 1024 kinds, 10000 pieces",
         [] {
             ClassJob job;
             job.job = jobD();
             job.settings.bladeWidth = 3;
             job.settings.stubLength = 10;
             return job;
         }},
    };
}

// The Stop button's request, as the window's relay passes it to the search.
class StopButton final : public optimizer::SearchObserver {
public:
    bool stopRequested() override { return pressed.load(std::memory_order_relaxed); }
    std::atomic<bool> pressed = false;
};

class NoMessages final : public calculation::MessageSink {
public:
    void showMessage(const QString& text, calculation::MessageIcon) override { last = text; }
    QString last;
};

struct Grids {
    std::unique_ptr<calculation::GridModel> parts{calculation::createPartsGrid()};
    std::unique_ptr<calculation::GridModel> stocks{calculation::createStocksGrid()};
    std::unique_ptr<calculation::GridModel> layout{calculation::createLayoutGrid()};

    explicit Grids(const bench::Job& job)
    {
        const int first = calculation::GridModel::kFirstDataRow;
        parts->setRows(first + int(job.parts.size()));
        for (size_t i = 0; i < job.parts.size(); ++i) {
            const int row = first + int(i);
            parts->setCell(0, row, QString::fromStdString(job.parts[i].label));
            parts->setCell(1, row, QString::number(double(job.parts[i].length)));
            parts->setCell(2, row, QString::number(job.parts[i].qty));
        }
        stocks->setRows(first + int(job.stocks.size()));
        for (size_t j = 0; j < job.stocks.size(); ++j) {
            const int row = first + int(j);
            stocks->setCell(0, row, QString::fromStdString(job.stocks[j].label));
            stocks->setCell(1, row, QString::number(double(job.stocks[j].length)));
            stocks->setCell(2, row, QString::number(job.stocks[j].qty));
            stocks->setCell(3, row, QString::number(double(job.stocks[j].cost)));
        }
    }
};

struct Figures {
    std::vector<double> stop;   // Stop to the search's return, ms
    std::vector<double> cpu;    // the processor time the engines spent in it (this thread sleeps), ms
    std::vector<double> finish; // the run's showing of its plan, ms
    int endedFirst = 0;         // runs that ended before the press

    static double median(std::vector<double> values)
    {
        if (values.empty())
            return 0;
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    }
    static double longest(const std::vector<double>& values)
    {
        return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
    }
};

double processSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + 1e-9 * double(now.tv_nsec);
}

// One run: Calc, Stop after `delay` seconds.
void measure(const bench::ClassJob& job, bool genetic, bool exact, double delay, Figures& figures)
{
    Grids grids(job.job);
    optimizer::strGroupArg lastRun;
    NoMessages messages;
    calculation::Clock clock;
    calculation::CalculationRun run({*grids.parts, *grids.stocks, *grids.layout}, lastRun, messages, clock);
    calculation::CalcControls controls;
    controls.bladeWidth = QString::number(double(job.settings.bladeWidth));
    controls.stubLength = QString::number(double(job.settings.stubLength));
    controls.qualityLevel = 12;
    controls.costOptimization = job.settings.costOptimization;
    controls.changeOptimization = job.settings.changeOptimization;
    controls.geneticSearch = genetic;
    controls.exactSearch = exact;
    optimizer::RandomSource random(uint32_t(delay * 1000) + 7);
    if (!run.prepare(controls, random)) {
        std::printf("  refused: %s\n", qPrintable(messages.last));
        return;
    }
    StopButton button;
    Clock::time_point ended;
    std::atomic<bool> done = false;
    std::thread search([&] {
        run.search(&button);
        ended = Clock::now();
        done = true;
    });
    const Clock::time_point press = Clock::now() + std::chrono::duration_cast<Clock::duration>(Seconds(delay));
    while (!done && Clock::now() < press)
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    const Clock::time_point pressed = Clock::now();
    const double cpuAtPress = processSeconds();
    button.pressed = true;
    search.join();
    if (ended < pressed) {
        ++figures.endedFirst;
        return;
    }
    figures.stop.push_back(std::chrono::duration<double, std::milli>(ended - pressed).count());
    figures.cpu.push_back(1000 * (processSeconds() - cpuAtPress));
    const Clock::time_point start = Clock::now();
    run.finish();
    figures.finish.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
}

double loadAverage()
{
    double load = -1;
    if (FILE* file = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(file, "%lf", &load) != 1)
            load = -1;
        std::fclose(file);
    }
    return load;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const char* filter = argc > 1 ? argv[1] : "";
    const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 2;
    const double delays[] = {0.05, 0.15, 0.3, 0.6, 1.0, 1.7, 2.5, 4.0, 6.0, 9.0};
    struct Engines {
        const char* name;
        bool genetic;
        bool exact;
    };
    const Engines engines[] = {{"both", true, true}, {"exact alone", false, true}, {"genetic alone", true, false}};
    std::printf("load average at start %.2f; Stop at %zu moments x %d; times in ms\n", loadAverage(), std::size(delays),
                repeats);
    std::printf("%-32s %-13s %8s %8s %7s %7s %8s %8s %5s\n", "job", "engines", "stop med", "stop max", "cpu med",
                "cpu max", "show med", "show max", "early");
    for (const StopJob& stopJob : jobs()) {
        if (!std::strstr(stopJob.name, filter))
            continue;
        const bench::ClassJob job = stopJob.make();
        for (const Engines& engine : engines) {
            Figures figures;
            for (int r = 0; r < repeats; ++r)
                for (double delay : delays)
                    measure(job, engine.genetic, engine.exact, delay, figures);
            std::printf("%-32s %-13s %8.1f %8.1f %7.1f %7.1f %8.1f %8.1f %5d\n", stopJob.name, engine.name,
                        Figures::median(figures.stop), Figures::longest(figures.stop), Figures::median(figures.cpu),
                        Figures::longest(figures.cpu), Figures::median(figures.finish),
                        Figures::longest(figures.finish), figures.endedFirst);
            std::fflush(stdout);
        }
    }
    std::printf("load average at end %.2f\n", loadAverage());
    return 0;
}
