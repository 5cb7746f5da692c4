// Tick values from the ends of an axis, and the forms of their labels.
#include "graph/draw/tick_labels.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <cmath>
#include <limits>

using namespace plotwell;

namespace {

QString Texts(const std::vector<TickLabel>& labels)
{
    QStringList list;
    for (const TickLabel& l : labels)
        list << l.text;
    return list.join(QLatin1Char(' '));
}

} // namespace

TEST(TickLabels, StepsFollowFromTheEnds)
{
    const struct {
        double low, high;
        const char* labels;
    } cases[] = {
        {0, 100, "0 10 20 30 40 50 60 70 80 90 100"},
        {0, 35, "0 5 10 15 20 25 30 35"},
        {0, 16, "0 5 10 15"},
        {0, 15, "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15"},
        {0.123, 0.456, "0.17 0.22 0.27 0.32 0.37 0.42"}, // half steps start at lo
        {-10, 30, "-10 -5 0 5 10 15 20 25 30"},
        {1, 4, "1 1.5 2 2.5 3 3.5 4"},
        {20000000, 30000000, "20000000 21000000 22000000 23000000 24000000 25000000 26000000 27000000 "
                             "28000000 29000000 30000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Texts(TickLabels(4, c.low, c.high)), QString::fromLatin1(c.labels)) << c.low << " " << c.high;
    EXPECT_TRUE(TickLabels(4, 5, 5).empty());
    EXPECT_TRUE(TickLabels(4, 6, 5).empty());
    EXPECT_TRUE(TickLabels(4, 0, std::numeric_limits<double>::infinity()).empty());
    EXPECT_TRUE(TickLabels(4, std::nan(""), 1).empty());

    // The value is read back from the text in the locale's form.
    ScopedLocale german(QStringLiteral("de_DE"));
    const auto labels = TickLabels(4, 1, 4);
    EXPECT_EQ(labels[1].text, QStringLiteral("1,5"));
    EXPECT_EQ(labels[1].value, 1.5);
}

TEST(TickLabels, EveryFiniteRangeEndsWithAFewOrderedLabels)
{
    const double ranges[][2] = {
        {1e300, 2e300}, {-1e308, 1e308}, {1e17, 1e17 + 16}, {9007199254740992.0, 9007199254740994.0},
        {1e-300, 2e-300}, {5, 5.00001}, {0.000001, 0.000002}, {-4.9e-324, 4.9e-324}, {123456789.123, 123456789.124},
    };
    for (const auto& r : ranges) {
        const auto labels = TickLabels(4, r[0], r[1]);
        EXPECT_GE(labels.size(), 2u) << r[0] << " " << r[1];
        EXPECT_LE(labels.size(), 64u) << r[0] << " " << r[1];
        for (std::size_t i = 0; i < labels.size(); ++i) {
            EXPECT_TRUE(std::isfinite(labels[i].value));
            if (i > 0) {
                EXPECT_LE(labels[i - 1].value, labels[i].value) << r[0] << " " << r[1];
            }
        }
    }
    // Close values still get round steps between them.
    EXPECT_EQ(Texts(TickLabels(4, 0.000001, 0.000002)).left(11), QStringLiteral("1E-6 1.2E-6"));
}

TEST(TickLabels, LargeValuesInTheExponentForm)
{
    EXPECT_EQ(FormatTickExponent(12345678), QStringLiteral("1.23 e07"));
    EXPECT_EQ(FormatTickExponent(20000000), QStringLiteral("2.00 e07"));
    EXPECT_EQ(FormatTickExponent(-150000000), QStringLiteral("-1.50 e08"));
    EXPECT_EQ(FormatTickExponent(9.999e20), QStringLiteral("1.00 e21"));
    EXPECT_EQ(FormatTickExponent(3e150), QStringLiteral("3.00 e150"));
    ScopedLocale german(QStringLiteral("de_DE"));
    EXPECT_EQ(FormatTickExponent(20000000), QStringLiteral("2,00 e07"));
}
