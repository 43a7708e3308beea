#pragma once

#include <QDateTime>
#include <QPageLayout>
#include <QString>
#include <QStringList>

namespace printing {

// The options of one grid printer. Lengths are screen pixels; on paper they grow with the device's
// resolution.
struct TPrintOptions {
    QString PageTitle;
    int PageTitleMargin = 0;
    int MarginLeft = 0;
    int MarginTop = 0;
    int MarginRight = 0;
    int MarginBottom = 0;
    int Leftpadding = 0;
    QString PageFooter = QStringLiteral("print date: date|page");
    QString DateFormat = QStringLiteral("yyyy-mm-dd");
    QString TimeFormat = QStringLiteral("hh:nn am/pm");
    int HeaderSize = 14;
    int FooterSize = 8;
    QString Logo;
    // The job under the page title: its title, and its facts (unit, settings, how good the plan is) written
    // one after the other and broken into lines between facts.
    QString jobName;
    QStringList jobFacts;
    bool borders = false;
    int PreviewPage = 1;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QString jobTitle;
    int copies = 0;
};

// A date and time written with a picture in the program's own letters: y year, m month (minutes right
// after an hour), d day, h hour, n minute, s second, "am/pm" or "a/p" for a 12-hour clock; text in quotes
// and other characters are copied.
QString formatDateTime(const QString& picture, const QDateTime& when);

// The page label of the footer: "page: " and the page number within its band, with "-" and the band
// number when the table is printed in more than one band.
QString pageLabel(int pageInBand, int band, int bandCount);

// One part of the footer with the last "date", "time" and "page" replaced (case matters).
QString expandFooterPart(const QString& part, const QString& date, const QString& time, const QString& page);

// The footer text split at its vertical bars into left, middle and right part; missing parts are empty.
QStringList footerParts(const QString& footer);

} // namespace printing
