// Words through the number and date readings, in locales with different date forms.
#include "graph/data/date_reading.h"
#include "graph/data/number_reading.h"

#include <QLocale>

#include <cstddef>
#include <cstdint>

using namespace plotwell;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto* text = reinterpret_cast<const char*>(data);
    (void)ReadNumber(text, size);
    double plain = 0;
    (void)ReadPlainNumberPrefix(text, size, plain);
    const QString word = QString::fromUtf8(text, static_cast<qsizetype>(size));
    static const QLocale locales[] = {QLocale(QStringLiteral("en_US")), QLocale(QStringLiteral("de_DE")),
                                      QLocale(QStringLiteral("ja_JP"))};
    for (const QLocale& locale : locales) {
        QLocale::setDefault(locale);
        if (const auto day = ParseDate(word))
            (void)FormatShortDate(*day);
    }
    (void)ParseCompactDate(word);
    return 0;
}
