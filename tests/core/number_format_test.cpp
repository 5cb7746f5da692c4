#include "core/number_format.h"
#include "core/rounding.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

using namespace plotwell;

TEST(FormatGeneral, Table)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {2.5, "2.5"},
        {123, "123"},
        {-123, "-123"},
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {-0.00001, "-1E-5"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {999999999999999.0, "999999999999999"},
        {1.5e20, "1.5E20"},
        {0.1 + 0.2, "0.3"}, // 15 significant digits hide the binary noise
        {1.0 / 3.0, "0.333333333333333"},
        {-999999999, "-999999999"},
        {43831, "43831"},
        {0.001, "0.001"},
        {0.00123, "0.00123"},
        {1234.5678, "1234.5678"},
        {9.999999999999999e14, "1E15"}, // rounding to 15 digits carries into a new exponent
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatGeneral(c.value, QLatin1Char('.')), QString::fromLatin1(c.text)) << c.value;
}

TEST(FormatGeneral, UsesLocaleDecimalSeparator)
{
    ScopedLocale de(QStringLiteral("de_DE"));
    EXPECT_EQ(FormatGeneral(2.5), QStringLiteral("2,5"));
    EXPECT_EQ(FormatGeneral(1.5e-7), QStringLiteral("1,5E-7"));
    EXPECT_EQ(FormatCount(1234567), QStringLiteral("1.234.567"));
}

TEST(FormatCount, GroupsThousands)
{
    EXPECT_EQ(FormatCount(0), QStringLiteral("0"));
    EXPECT_EQ(FormatCount(999), QStringLiteral("999"));
    EXPECT_EQ(FormatCount(1234), QStringLiteral("1,234"));
}

TEST(Rounding, HalvesGoToEven)
{
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(2.51), 3);
    EXPECT_EQ(Round(1e300), std::numeric_limits<qint64>::max());
    EXPECT_DOUBLE_EQ(RoundTo(0.03125, 4), 0.0312);
    EXPECT_DOUBLE_EQ(RoundTo(0.0625, 3), 0.062);
    EXPECT_DOUBLE_EQ(RoundTo(5.123456, 4), 5.1235);
    EXPECT_DOUBLE_EQ(RoundTo(1e300, 4), 1e300);
}
