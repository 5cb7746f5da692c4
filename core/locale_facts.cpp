#include "core/locale_facts.h"

#include <QLocale>

namespace plotwell {

QChar DecimalSeparator()
{
    const QString s = QLocale().decimalPoint();
    return s.isEmpty() ? QLatin1Char('.') : s.front();
}

QChar ThousandSeparator()
{
    const QString s = QLocale().groupSeparator();
    return s.isEmpty() ? QLatin1Char(',') : s.front();
}

QString ShortDateFormat()
{
    QString f = QLocale().dateFormat(QLocale::ShortFormat);
    const qsizetype y = f.indexOf(QLatin1Char('y'));
    if (y >= 0) {
        qsizetype end = y;
        while (end < f.size() && f[end] == QLatin1Char('y'))
            ++end;
        if (end - y < 4)
            f.replace(y, end - y, QStringLiteral("yyyy"));
    }
    return f;
}

QChar DateSeparator()
{
    const QString f = QLocale().dateFormat(QLocale::ShortFormat);
    // The first character after the first field that is neither a field letter nor a space.
    bool inField = false;
    for (const QChar c : f) {
        const bool field = c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y');
        if (field)
            inField = true;
        else if (inField && c != QLatin1Char(' ') && c != QLatin1Char('\''))
            return c;
    }
    return QLatin1Char('/');
}

} // namespace plotwell
