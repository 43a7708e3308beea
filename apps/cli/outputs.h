#pragma once

#include "cli/job.h"
#include "cli/options.h"
#include "cli/output.h"

#include "calculation/calculation_run.h"
#include "calculation/file_result.h"
#include "calculation/run_seams.h"

namespace cli {

// The output files named on the command line, checked before any file is read: an empty name or one that
// is not valid UTF-8 is a usage error.
calculation::FileResult checkOutputNames(const Options& options);
// An output file that is one of the job's input files is refused before anything is written: a typo must not
// cost the user a list.
calculation::FileResult checkOutputTargets(const Options& options, const Job& job);

// What a run shows, for the outputs.
struct RunResult {
    const calculation::CalculationRun& run;
    const calculation::Clock& clock;
    double seconds = 0;
};

// Writes the files the options name, then the layouts (or JSON) on standard output; the exit status.
int writeOutputs(const Options& options, const Job& job, const RunResult& result, Output& output);

} // namespace cli
