#include "print_options.h"

#include "localization/translate.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace printing {

namespace {

int runLength(const QString& text, int from)
{
    int end = from;
    while (end < text.size() && text[end].toLower() == text[from].toLower())
        ++end;
    return end - from;
}

QString twelveHourMarker(const QString& picture, int at, int hour, int* length)
{
    const bool afternoon = hour >= 12;
    for (const QString& marker : {QStringLiteral("am/pm"), QStringLiteral("a/p")}) {
        if (picture.mid(at, marker.size()).compare(marker, Qt::CaseInsensitive) == 0) {
            *length = int(marker.size());
            const QString chosen = marker.size() == 5 ? (afternoon ? QStringLiteral("pm") : QStringLiteral("am"))
                                                      : (afternoon ? QStringLiteral("p") : QStringLiteral("a"));
            // The marker's case is the written case.
            return picture[at].isUpper() ? chosen.toUpper() : chosen;
        }
    }
    return {};
}

bool hasTwelveHourMarker(const QString& picture)
{
    return picture.contains(QLatin1String("am/pm"), Qt::CaseInsensitive) ||
           picture.contains(QLatin1String("a/p"), Qt::CaseInsensitive);
}

QString number(int value, int digits)
{
    return QString::number(value).rightJustified(digits, QLatin1Char('0'));
}

} // namespace

QString formatDateTime(const QString& picture, const QDateTime& when)
{
    const QDate date = when.date();
    const QTime time = when.time();
    const bool twelveHours = hasTwelveHourMarker(picture);
    QString text;
    bool afterHour = false;
    for (int at = 0; at < picture.size();) {
        const QChar c = picture[at].toLower();
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const int close = int(picture.indexOf(picture[at], at + 1));
            const int end = close < 0 ? int(picture.size()) : close;
            text += picture.mid(at + 1, end - at - 1);
            at = end + 1;
            continue;
        }
        int length = 0;
        const QString marker = c == QLatin1Char('a') ? twelveHourMarker(picture, at, time.hour(), &length) : QString();
        if (!marker.isEmpty()) {
            text += marker;
            at += length;
            continue;
        }
        const int run = runLength(picture, at);
        const int digits = std::min(run, 2);
        bool wasHour = false;
        if (c == QLatin1Char('y'))
            text += run >= 3 ? number(date.year(), 4) : number(date.year() % 100, 2);
        else if (c == QLatin1Char('m'))
            text += afterHour ? number(time.minute(), digits) : number(date.month(), digits);
        else if (c == QLatin1Char('d'))
            text += number(date.day(), digits);
        else if (c == QLatin1Char('h')) {
            const int hour = twelveHours ? (time.hour() + 11) % 12 + 1 : time.hour();
            text += number(hour, digits);
            wasHour = true;
        } else if (c == QLatin1Char('n'))
            text += number(time.minute(), digits);
        else if (c == QLatin1Char('s'))
            text += number(time.second(), digits);
        else {
            text += picture.mid(at, run);
            at += run;
            continue;
        }
        afterHour = wasHour;
        at += run;
    }
    return text;
}

QString pageLabel(int pageInBand, int band, int bandCount)
{
    QString label = localization::translate("page: ") + QString::number(pageInBand);
    if (bandCount > 1 || band > 1)
        label += QLatin1Char('-') + QString::number(band);
    return label;
}

QString expandFooterPart(const QString& part, const QString& date, const QString& time, const QString& page)
{
    // Positions are taken in the text as written, so that a replacement never creates a placeholder.
    struct Placeholder {
        qsizetype at;
        QString word;
        const QString* value;
    };
    std::array<Placeholder, 3> found{{{part.lastIndexOf(QLatin1String("date")), QStringLiteral("date"), &date},
                                      {part.lastIndexOf(QLatin1String("time")), QStringLiteral("time"), &time},
                                      {part.lastIndexOf(QLatin1String("page")), QStringLiteral("page"), &page}}};
    std::sort(found.begin(), found.end(), [](const Placeholder& a, const Placeholder& b) { return a.at > b.at; });
    QString text = part;
    for (const Placeholder& placeholder : found)
        if (placeholder.at >= 0)
            text.replace(placeholder.at, placeholder.word.size(), *placeholder.value);
    return text;
}

QStringList footerParts(const QString& footer)
{
    QStringList parts = footer.split(QLatin1Char('|'));
    while (parts.size() < 3)
        parts.append(QString());
    return parts.mid(0, 3);
}

} // namespace printing
