#include "job_heading.h"

#include "localization/translate.h"

namespace printing {

using localization::translate;

namespace {

// A caption of the window and its value; a caption that ends in a full-width colon needs no blank.
QString labelled(const QString& caption, const QString& value)
{
    if (caption.endsWith(QChar(0xFF1A)))
        return caption + value;
    return caption + u' ' + value;
}

} // namespace

QStringList jobFactTexts(const JobHeading& heading)
{
    QStringList texts;
    if (!heading.unit.trimmed().isEmpty())
        texts << labelled(translate("Length Unit:"), heading.unit.trimmed());
    if (!heading.facts)
        return texts;
    const JobFacts& facts = *heading.facts;
    texts << labelled(translate("Blade Width:"), facts.bladeWidth)
          << labelled(translate("Stub Length:"), facts.stubLength)
          << labelled(translate("Rpt Use Len:"), facts.reuseLength);
    if (facts.qualityLevel > 0)
        texts << translate("Quality level: %1 / %2").arg(facts.qualityLevel).arg(facts.qualityMost);
    if (!facts.proof.isEmpty())
        texts << facts.proof;
    return texts;
}

void setJobHeading(TPrintOptions& options, const JobHeading& heading)
{
    options.jobName = heading.title.trimmed();
    options.jobFacts = jobFactTexts(heading);
    options.jobTitle = options.jobName;
}

} // namespace printing
