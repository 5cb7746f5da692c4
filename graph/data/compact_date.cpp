#include "graph/data/compact_date.h"

#include "graph/data/date_reading.h"

#include <QLocale>

#include <cmath>

namespace plotwell {

namespace {

// Replaces the first run of exactly `field`, ignoring case. A longer run of the same letter
// is another field ("MMM" a month's name, "ddd" a day's) and is left as it is.
void ReplaceFirst(QString& format, QLatin1String field, QLatin1String by)
{
    const QChar letter = QChar(QLatin1Char(field.front())).toLower();
    for (qsizetype at = 0; at < format.size();) {
        qsizetype end = at;
        while (end < format.size() && format[end].toLower() == letter)
            ++end;
        if (end - at == field.size()) {
            format.replace(at, field.size(), by);
            return;
        }
        at = end > at ? end : at + 1;
    }
}

} // namespace

QString CompactDateFormat(const QString& shortDateFormat)
{
    QString format = shortDateFormat;
    ReplaceFirst(format, QLatin1String("yyyy"), QLatin1String("yy"));
    ReplaceFirst(format, QLatin1String("MM"), QLatin1String("M"));
    ReplaceFirst(format, QLatin1String("dd"), QLatin1String("d"));
    return format;
}

QString CompactDateFormat()
{
    return CompactDateFormat(QLocale().dateFormat(QLocale::ShortFormat));
}

QString FormatCompactDate(double day, const QString& format)
{
    if (!(std::fabs(day) < 1e7)) // beyond any calendar date the program reads
        return QString();
    const QDate date = DateOfDayNumber(std::trunc(day));
    return date.isValid() ? QLocale().toString(date, format) : QString();
}

} // namespace plotwell
