#pragma once
// The compact date form of the X axis labels: the short date format with two-digit years and
// no leading zeros (dd/MM/yyyy becomes d/M/yy).

#include <QString>

namespace plotwell {

// Replaces, ignoring case and only at the first occurrence, the four-letter year by two
// letters, the two-letter month by one and the two-letter day by one.
QString CompactDateFormat(const QString& shortDateFormat);

// The compact format of the default locale's short date format.
QString CompactDateFormat();

// The whole day of a day number in the given format (fractions dropped).
QString FormatCompactDate(double day, const QString& format);

} // namespace plotwell
