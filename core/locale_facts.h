#pragma once
// Locale facts, always read from the default QLocale (the system's unless a test sets another).

#include <QChar>
#include <QString>

namespace plotwell {

QChar DecimalSeparator();
QChar ThousandSeparator();

// The short date format with four-digit years, so dates written with it read back unchanged
// (Qt's en_US "M/d/yy" becomes "M/d/yyyy").
QString ShortDateFormat();

// The character between the day, month and year fields of the short date format.
QChar DateSeparator();

} // namespace plotwell
