#include "graph/compact_date.h"

#include "graph/date_reading.h"

#include <QLocale>

#include <cmath>

namespace plotwell {

namespace {

void replaceFirst(QString& format, QLatin1String field, QLatin1String by)
{
    const qsizetype at = format.indexOf(field, 0, Qt::CaseInsensitive);
    if (at >= 0)
        format.replace(at, field.size(), by);
}

} // namespace

QString CompactDateFormat(const QString& shortDateFormat)
{
    QString format = shortDateFormat;
    replaceFirst(format, QLatin1String("yyyy"), QLatin1String("yy"));
    replaceFirst(format, QLatin1String("MM"), QLatin1String("M"));
    replaceFirst(format, QLatin1String("dd"), QLatin1String("d"));
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
