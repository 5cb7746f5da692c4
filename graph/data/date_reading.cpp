#include "graph/data/date_reading.h"

#include "core/locale_facts.h"

#include <QLocale>

#include <array>
#include <cmath>

namespace plotwell {

namespace {

const QDate kDayZero(1899, 12, 30);

bool IsTrimmable(QChar c)
{
    return c.unicode() <= 32;
}

QString TrimControl(const QString& text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && IsTrimmable(text[from]))
        ++from;
    while (to > from && IsTrimmable(text[to - 1]))
        --to;
    return text.mid(from, to - from);
}

std::optional<int> ReadDigits(const QString& text, int maxDigits)
{
    if (text.isEmpty() || text.size() > maxDigits)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

std::optional<double> ValidDate(int year, int month, int day)
{
    if (year < 1 || year > 9999)
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return DayNumber(date);
}

// The order of the day, month and year fields in the locale's short date format.
struct FieldOrder
{
    int day = 0;
    int month = 1;
    int year = 2;
};

FieldOrder LocaleFieldOrder()
{
    const QString f = QLocale().dateFormat(QLocale::ShortFormat);
    std::array<std::pair<qsizetype, char>, 3> pos = {{
        {f.indexOf(QLatin1Char('d')), 'd'},
        {f.indexOf(QLatin1Char('M')), 'M'},
        {f.indexOf(QLatin1Char('y')), 'y'},
    }};
    for (auto& p : pos)
        if (p.first < 0)
            p.first = f.size();
    std::sort(pos.begin(), pos.end());
    FieldOrder order;
    for (int i = 0; i < 3; ++i) {
        if (pos[static_cast<std::size_t>(i)].second == 'd')
            order.day = i;
        else if (pos[static_cast<std::size_t>(i)].second == 'M')
            order.month = i;
        else
            order.year = i;
    }
    return order;
}

// The locale form: numeric day, month and year in the short format's order, separated by the
// locale's date separator. Two-digit years fall in 1950..2049.
std::optional<double> ParseLocaleDate(const QString& text)
{
    const QStringList parts = text.split(DateSeparator());
    if (parts.size() != 3)
        return std::nullopt;
    const FieldOrder order = LocaleFieldOrder();
    const auto day = ReadDigits(parts[order.day].trimmed(), 2);
    const auto month = ReadDigits(parts[order.month].trimmed(), 2);
    const QString yearText = parts[order.year].trimmed();
    auto year = ReadDigits(yearText, 4);
    if (!day || !month || !year)
        return std::nullopt;
    if (yearText.size() <= 2)
        *year += *year < 50 ? 2000 : 1900;
    return ValidDate(*year, *month, *day);
}

} // namespace

double DayNumber(const QDate& date)
{
    return static_cast<double>(kDayZero.daysTo(date));
}

QDate DateOfDayNumber(double day)
{
    return kDayZero.addDays(static_cast<qint64>(std::floor(day)));
}

std::optional<double> ParseDate(const QString& text)
{
    const QString trimmed = TrimControl(text);
    if (auto d = ParseLocaleDate(trimmed))
        return d;
    const qsizetype dash = trimmed.indexOf(QLatin1Char('-'));
    if (trimmed.size() > 5 && dash > 0 && trimmed.count(QLatin1Char('-')) == 2) {
        QString dashed = trimmed;
        dashed.replace(QLatin1Char('-'), DateSeparator());
        if (auto d = ParseLocaleDate(dashed))
            return d;
    }
    return ParseCompactDate(trimmed);
}

std::optional<double> ParseCompactDate(const QString& text)
{
    QString s = text;
    qsizetype pos = 0;
    while (pos < s.size()) {
        if (s[pos] != QLatin1Char('-')) {
            ++pos;
            continue;
        }
        s.remove(pos, 1);
        const bool oneBetween = pos + 1 < s.size() && s[pos + 1] == QLatin1Char('-');
        const bool oneAfter = pos == s.size() - 1;
        if (oneBetween || oneAfter)
            s.insert(pos, QLatin1Char('0'));
    }
    if (s.size() != 8)
        return std::nullopt;
    const auto year = ReadDigits(s.mid(0, 4), 4);
    const auto month = ReadDigits(s.mid(4, 2), 2);
    const auto day = ReadDigits(s.mid(6, 2), 2);
    if (!year || !month || !day || *month > 12 || *day > 31)
        return std::nullopt;
    return ValidDate(*year, *month, *day);
}

QString FormatShortDate(double day)
{
    return QLocale().toString(DateOfDayNumber(day), ShortDateFormat());
}

} // namespace plotwell
