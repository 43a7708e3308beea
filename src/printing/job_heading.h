#pragma once

#include "print_options.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace printing {

// The settings of the calculation whose plan is printed, as numbers written for the page.
struct JobFacts {
    QString bladeWidth;
    QString stubLength;
    QString reuseLength;
    int qualityLevel = 0;
    int qualityMost = 12;
    // How good the plan is; empty without a bound.
    QString proof;
};

// Which job a printout belongs to: the title and length unit of the job, and the plan's settings when a
// plan is printed.
struct JobHeading {
    QString title;
    QString unit;
    std::optional<JobFacts> facts;
};

// The job's facts as the pages write them, each in the window's words of the current language: the length
// unit, blade width, stub length, shortest remnant, quality level and the plan's proof line.
QStringList jobFactTexts(const JobHeading& heading);

// Puts the job under the page title and names the print job after it.
void setJobHeading(TPrintOptions& options, const JobHeading& heading);

} // namespace printing
