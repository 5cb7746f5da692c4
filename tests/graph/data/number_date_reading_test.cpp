#include "graph/data/date_reading.h"
#include "graph/data/number_reading.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

using namespace plotwell;

TEST(NumberReading, SyntaxAndValues)
{
    const struct {
        const char* word;
        bool ok;
        double value;
    } cases[] = {
        {"5", true, 5},       {"-5", true, -5},       {"+5", true, 5},      {"  5", true, 5},
        {"5.", true, 5},      {".5", true, 0.5},      {"1.5e3", true, 1500}, {"1.5E-3", true, 0.0015},
        {".", true, 0},       {"E5", true, 0},        {"-.", true, 0},      {"1e+2", true, 100},
        {"  -2.5e1", true, -25}, {"5.e1", true, 50},   {"1e-400", true, 0},  {"0.0e999", true, 0},
        {"5 ", false, 0},     {"1,5", false, 0},      {"1.2.3", false, 0},  {"$5", false, 0},
        {"5a", false, 0},     {"-", false, 0},        {"", false, 0},       {"+", false, 0},
        {"  ", false, 0},     {"1e", false, 0},       {"1e+", false, 0},    {"inf", false, 0},
        {"nan", false, 0},    {"-inf", false, 0},     {"0x10", false, 0},   {"1e400", false, 0},
        {"-1e999", false, 0}, {"1 2", false, 0},      {"--5", false, 0},    {"\t5", false, 0},
    };
    for (const auto& c : cases) {
        const auto v = ReadNumber(QString::fromLatin1(c.word));
        ASSERT_EQ(v.has_value(), c.ok) << '"' << c.word << '"';
        if (c.ok) {
            EXPECT_DOUBLE_EQ(*v, c.value) << c.word;
        }
    }
}

TEST(NumberReading, IgnoresTheLocaleDecimalSeparator)
{
    ScopedLocale de(QStringLiteral("de_DE"));
    EXPECT_EQ(ReadNumber(QStringLiteral("1.5")), 1.5);
    EXPECT_FALSE(IsNumber(QStringLiteral("1,5")));
}

TEST(DateReading, DayNumbers)
{
    EXPECT_EQ(DayNumber(QDate(1899, 12, 30)), 0);
    EXPECT_EQ(DayNumber(QDate(2020, 1, 1)), 43831);
    EXPECT_EQ(DateOfDayNumber(43861), QDate(2020, 1, 31));
}

TEST(DateReading, LocaleDashedAndCompactForms)
{
    const struct {
        const char* locale;
        const char* text;
        QDate date; // invalid: not a date
    } cases[] = {
        {"en_US", "2020-1-5", QDate(2020, 1, 5)},
        {"en_US", "2020-01-05", QDate(2020, 1, 5)},
        {"en_US", "20200105", QDate(2020, 1, 5)},
        {"en_US", "2020-10-5", QDate(2020, 10, 5)},
        {"en_US", " 20200105\t", QDate(2020, 1, 5)},
        {"en_US", "2021-02-29", QDate()},
        {"en_US", "20201301", QDate()},
        {"en_US", "12345678", QDate()},
        {"en_US", "20200230", QDate()},
        {"en_US", "1/31/2020", QDate(2020, 1, 31)},
        {"en_US", "1/31/20", QDate(2020, 1, 31)},
        {"en_US", "31/12/2020", QDate()},
        {"en_US", "31-12-2020", QDate()},
        {"en_US", "1", QDate()},
        {"en_US", "", QDate()},
        {"en_GB", "31/12/2020", QDate(2020, 12, 31)},
        {"en_GB", "31-12-2020", QDate(2020, 12, 31)},
        {"en_GB", "2020-1-5", QDate(2020, 1, 5)},
        {"de_DE", "31.12.2020", QDate(2020, 12, 31)},
        {"de_DE", "31-12-2020", QDate(2020, 12, 31)},
        {"de_DE", "1.5", QDate()},
        {"de_DE", "30.02.2020", QDate()},
    };
    for (const auto& c : cases) {
        ScopedLocale locale(QString::fromLatin1(c.locale));
        const auto day = ParseDate(QString::fromLatin1(c.text));
        ASSERT_EQ(day.has_value(), c.date.isValid()) << c.locale << ' ' << c.text;
        if (day) {
            EXPECT_EQ(DateOfDayNumber(*day), c.date) << c.locale << ' ' << c.text;
        }
    }
}

TEST(DateReading, ShortDateTextReadsBack)
{
    for (const char* name : {"en_US", "en_GB", "de_DE", "fr_FR", "ja_JP"}) {
        ScopedLocale locale(QString::fromLatin1(name));
        const QString text = FormatShortDate(43861);
        const auto day = ParseDate(text);
        ASSERT_TRUE(day.has_value()) << name << ' ' << text.toStdString();
        EXPECT_EQ(*day, 43861) << name;
    }
}

TEST(NumberReading, PlainFormsMatchTheLibraryReading)
{
    // The exact shortcut for plain decimals must agree bit for bit with a correctly rounded
    // reading; std::from_chars is the oracle.
    std::uint64_t state = 12345;
    auto next = [&] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return state >> 33;
    };
    for (int i = 0; i < 200000; ++i) {
        std::string text = (next() % 4 == 0) ? "-" : "";
        const int intDigits = static_cast<int>(next() % 9);
        const int fracDigits = static_cast<int>(next() % 9);
        for (int k = 0; k < intDigits; ++k)
            text += static_cast<char>('0' + next() % 10);
        if (fracDigits || intDigits == 0)
            text += '.';
        for (int k = 0; k < fracDigits || (intDigits == 0 && k == 0); ++k)
            text += static_cast<char>('0' + next() % 10);
        double expected = 0;
        const auto r = std::from_chars(text.data(), text.data() + text.size(), expected);
        ASSERT_EQ(r.ptr, text.data() + text.size()) << text;
        // Leading spaces, as after the comma of a point, read the same.
        const std::string word = std::string(next() % 3, ' ') + text;
        const auto value = ReadNumber(word.data(), word.size());
        ASSERT_TRUE(value.has_value()) << word;
        ASSERT_EQ(*value, expected) << word;
    }
}
