#include "cut_job.h"

#include "plan_scoring.h"
#include "rpcut.h"

#include <algorithm>

namespace optimizer {

CutJob makeCutJob(std::vector<strPart> parts, std::vector<strStock> stocks, const CutSettings& settings)
{
    CutJob job;
    job.parts = std::move(parts);
    job.stocks = std::move(stocks);
    job.settings = settings;
    job.fit = FitRule(job.parts, job.stocks, settings.bladeWidth, settings.stubLength);
    job.maxStockLength = job.stocks.empty() ? 0.0f : job.stocks.front().length;
    job.scale = scaleFor(job.maxStockLength);
    const auto priorities = std::count_if(job.stocks.begin(), job.stocks.end(), [](auto& s) { return s.priority; });
    job.preferPriority = size_t(priorities) != job.stocks.size();
    return job;
}

void fillCut(rpCut& cut, const CutJob& job)
{
    cut.maxStockLength = job.maxStockLength;
    cut.stockCount = int32_t(job.stocks.size());
    cut.partCount = int32_t(job.parts.size());
    cut.stocks = job.stocks;
    cut.parts = job.parts;
    cut.preferPriority = job.preferPriority;
    cut.scale = job.scale;
    cut.setFitRule(job.fit);
}

} // namespace optimizer
