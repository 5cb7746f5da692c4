#pragma once
// Reading dates as day numbers (days since 30 December 1899): the locale's short date
// format, the same with dashes, and the compact year-month-day form.

#include <QDate>
#include <QString>

#include <optional>

namespace plotwell {

// Day number of a calendar date, and back.
double DayNumber(const QDate& date);
QDate DateOfDayNumber(double day);

// Trims the text, then tries the locale form, the dashed form and the compact form in turn.
std::optional<double> ParseDate(const QString& text);

// "2020-1-5", "2020-01-05" and "20200105" all give 5 January 2020; never raises.
std::optional<double> ParseCompactDate(const QString& text);

// A date in the default locale's short date format, four-digit years.
QString FormatShortDate(double day);

} // namespace plotwell
