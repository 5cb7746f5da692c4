#include "core/number_format.h"

#include "core/locale_facts.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace plotwell {

QString FormatGeneral(double value)
{
    return FormatGeneral(value, DecimalSeparator());
}

QString FormatGeneral(double value, QChar decimalSeparator)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0)
        return QStringLiteral("0");

    // 15 significant digits in scientific form: d.dddddddddddddde[+-]x
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    const std::string text(buf, res.ptr);
    const bool negative = text[0] == '-';
    const std::size_t start = negative ? 1 : 0;
    const std::size_t epos = text.find('e');
    std::string digits;
    for (std::size_t i = start; i < epos; ++i)
        if (text[i] != '.')
            digits += text[i];
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    const int exp10 = std::atoi(text.c_str() + epos + 1); // value = d.ddd x 10^exp10
    const int e = exp10 + 1;                              // value = 0.dddd x 10^e

    QString out;
    if (negative)
        out += QLatin1Char('-');
    const auto digitsAt = [&](std::size_t from, std::size_t to) {
        return QString::fromLatin1(digits.data() + from, static_cast<qsizetype>(to - from));
    };
    if (e >= -3 && e <= 15) {
        if (e <= 0) {
            out += QLatin1Char('0');
            out += decimalSeparator;
            out += QString(-e, QLatin1Char('0'));
            out += digitsAt(0, digits.size());
        } else if (static_cast<std::size_t>(e) >= digits.size()) {
            out += digitsAt(0, digits.size());
            out += QString(e - static_cast<int>(digits.size()), QLatin1Char('0'));
        } else {
            out += digitsAt(0, static_cast<std::size_t>(e));
            out += decimalSeparator;
            out += digitsAt(static_cast<std::size_t>(e), digits.size());
        }
    } else {
        out += QLatin1Char(digits[0]);
        if (digits.size() > 1) {
            out += decimalSeparator;
            out += digitsAt(1, digits.size());
        }
        out += QLatin1Char('E');
        out += QString::number(exp10);
    }
    return out;
}

QString FormatCount(qint64 value)
{
    return QLocale().toString(value);
}

} // namespace plotwell
