#include "graph/data/plot_mapping.h"
#include "graph/data/point_list.h"
#include "graph/data/series_types.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

using namespace plotwell;

namespace {

std::uint64_t Bits(double v)
{
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

// Every way of reading the list gives the points of `expected`, bit for bit (-0 and NaN too).
void ExpectPoints(const PointList& points, const std::vector<DataPoint>& expected, const std::string& what)
{
    ASSERT_EQ(points.size(), expected.size()) << what;
    std::size_t i = 0;
    for (const DataPoint& p : points) {
        const DataPoint& e = expected[i];
        const DataPoint at = points[i];
        ASSERT_TRUE(Bits(p.x) == Bits(e.x) && Bits(p.y) == Bits(e.y)) << what << " point " << i << ": " << p.x << ","
                                                                        << p.y << " for " << e.x << "," << e.y;
        ASSERT_TRUE(Bits(at.x) == Bits(e.x) && Bits(at.y) == Bits(e.y)) << what << " [" << i << "]";
        ASSERT_TRUE(Bits(points.X(i)) == Bits(e.x) && Bits(points.Y(i)) == Bits(e.y)) << what << " X/Y " << i;
        ++i;
    }
}

std::vector<DataPoint> BareValues(std::size_t n)
{
    std::vector<DataPoint> points;
    for (std::size_t i = 0; i < n; ++i)
        points.push_back(DataPoint{i + 1.0, i % 7 == 3 ? nullvalue : std::sin(0.01 * static_cast<double>(i))});
    return points;
}

// The system's setting for transparent huge pages: "always", "madvise" or "never" (empty when unknown).
std::string HugePageMode()
{
    QFile file(QStringLiteral("/sys/kernel/mm/transparent_hugepage/enabled"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = file.readAll();
    const qsizetype open = text.indexOf('[');
    const qsizetype close = text.indexOf(']', open);
    return open < 0 || close < 0 ? std::string() : text.mid(open + 1, close - open - 1).toStdString();
}

// Whether the kernel would back the mapping holding `address` with huge pages (nothing where
// it does not tell).
std::optional<bool> HugePageEligible(const void* address)
{
    QFile file(QStringLiteral("/proc/self/smaps"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    bool inside = false;
    for (QByteArray line = file.readLine(); !line.isEmpty(); line = file.readLine()) {
        const qsizetype dash = line.indexOf('-');
        const qsizetype space = line.indexOf(' ');
        if (dash > 0 && space > dash && !line.left(space).endsWith(':')) { // "from-to perms ..."
            bool ok1 = false;
            bool ok2 = false;
            const auto from = line.left(dash).toULongLong(&ok1, 16);
            const auto to = line.mid(dash + 1, space - dash - 1).toULongLong(&ok2, 16);
            inside = ok1 && ok2 && at >= from && at < to;
        } else if (inside && line.startsWith("THPeligible:")) {
            return line.trimmed().endsWith('1');
        }
    }
    return std::nullopt;
}

} // namespace

TEST(PointList, BareValuesStayYAlone)
{
    for (const std::size_t n : {std::size_t(0), std::size_t(1), std::size_t(5), std::size_t(1000), std::size_t(300000)}) {
        const std::vector<DataPoint> expected = BareValues(n);
        PointList grown; // without a reservation
        PointList reserved;
        reserved.reserve(n);
        for (const DataPoint& p : expected) {
            grown.push_back(p);
            reserved.push_back(p);
        }
        const std::string what = std::to_string(n) + " points";
        EXPECT_TRUE(grown.IsCompact()) << what;
        EXPECT_EQ(grown.BytesPerPoint(), sizeof(double)) << what;
        ExpectPoints(grown, expected, what);
        EXPECT_TRUE(grown == reserved) << what;
        // Growth by doubling holds at most twice the points; a reservation about them, to a page.
        EXPECT_LE(grown.MemoryBytes(), std::max<std::size_t>(2 * n, 1) * sizeof(double)) << what;
        EXPECT_LE(reserved.MemoryBytes(), n * sizeof(double) + 4096) << what;
        grown.shrink_to_fit();
        EXPECT_LE(grown.MemoryBytes(), n * sizeof(double) + 4096) << what;
        ExpectPoints(grown, expected, what + " shrunk");
    }
}

// The first point whose X is not its position turns the list into pairs, wherever it comes and
// whichever way it is written, and every point before it keeps its place and value.
TEST(PointList, ThePointThatNeedsItsXKeepsEveryPoint)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct
    {
        const char* name;
        std::size_t at;
        DataPoint point;
        bool set; // written over an existing point rather than appended
    } cases[] = {
        {"first point at 0", 0, {0, 4}, false},
        {"X between positions", 700, {700.5, 4}, false},
        {"X one short", 999, {999, 4}, false},
        {"NaN X", 3000, {nan, 4}, false},
        {"a position skipped", 10, {12, 4}, false},
        {"a gap with an X", 20, {-7, nullvalue}, false},
        {"rewritten in the middle", 500, {1e300, -1}, true},
        {"rewritten at the end", 4999, {-3, 2}, true},
    };
    for (const auto& c : cases) {
        std::vector<DataPoint> expected = BareValues(5000);
        PointList points;
        if (c.set) {
            for (const DataPoint& p : expected)
                points.push_back(p);
            ASSERT_TRUE(points.IsCompact());
            points.SetPoint(c.at, c.point);
            expected[c.at] = c.point;
        } else {
            expected.resize(c.at);
            for (const DataPoint& p : expected)
                points.push_back(p);
            points.push_back(c.point);
            expected.push_back(c.point);
            for (std::size_t i = expected.size(); i < 5000; ++i) { // later bare values keep their X
                points.push_back(DataPoint{i + 1.0, 1});
                expected.push_back(DataPoint{i + 1.0, 1});
            }
        }
        EXPECT_FALSE(points.IsCompact()) << c.name;
        EXPECT_EQ(points.BytesPerPoint(), sizeof(DataPoint)) << c.name;
        ExpectPoints(points, expected, c.name);
        PointList copy = points;
        ExpectPoints(copy, expected, std::string(c.name) + " copied");
        EXPECT_TRUE(copy == points) << c.name;
    }
}

TEST(PointList, WritesInPlaceKeepTheLayoutTheyCan)
{
    PointList points{{1, 10}, {2, 20}, {3, 30}};
    EXPECT_TRUE(points.IsCompact());
    points.SetPoint(1, DataPoint{2, 25}); // its own position: still Y alone
    points.SetY(2, nullvalue);
    EXPECT_TRUE(points.IsCompact());
    EXPECT_TRUE(IsNullPoint(points[2]));
    EXPECT_TRUE((points == PointList{{1, 10}, {2, 25}, {3, nullvalue}}));
    EXPECT_FALSE((points == PointList{{1, 10}, {2, 25}}));
    EXPECT_FALSE((points == PointList{{1, 10}, {2.5, 25}, {3, nullvalue}}));

    points.clear(); // compact again, so bare values after it take 8 bytes
    EXPECT_TRUE(points.empty());
    points.push_back(DataPoint{5, 1});
    EXPECT_FALSE(points.IsCompact());
    points.clear();
    points.push_back(DataPoint{1, 1});
    EXPECT_TRUE(points.IsCompact());

    PointList moved = std::move(points);
    EXPECT_TRUE(points.empty()); // NOLINT(bugprone-use-after-move): a moved-from list is empty
    EXPECT_EQ(moved.size(), 1u);
    PointList().swap(moved);
    EXPECT_TRUE(moved.empty());
    EXPECT_EQ(moved.MemoryBytes(), 0u);
}

TEST(PointList, SortsByXStablyWithinTheRangeAsked)
{
    PointList points{{3, 1}, {1, 2}, {3, 3}, {2, 4}, {1, 5}, {0, 6}};
    EXPECT_TRUE(points.SortByX(0, 5)); // the last point stays out
    EXPECT_TRUE((points == PointList{{1, 2}, {1, 5}, {2, 4}, {3, 1}, {3, 3}, {0, 6}}));
    EXPECT_FALSE(points.SortByX(0, 5)); // in order now
    EXPECT_TRUE(points.SortByX(0, 6));
    EXPECT_EQ(points[0].y, 6);

    PointList bare{{1, 9}, {2, 8}, {3, 7}};
    EXPECT_FALSE(bare.SortByX(0, 3));
    EXPECT_TRUE(bare.IsCompact());
}

// Readers through iterators and standard algorithms see the same in both layouts.
TEST(PointList, IteratorsServeTheStandardAlgorithms)
{
    PointList compact;
    PointList pairs{{0.5, 0}};
    for (int i = 1; i <= 100; ++i) {
        compact.push_back(DataPoint{static_cast<double>(i), static_cast<double>(-i)});
        pairs.push_back(DataPoint{static_cast<double>(i), static_cast<double>(-i)});
    }
    const auto byX = [](const DataPoint& p, double v) { return p.x < v; };
    for (const double v : {-1.0, 1.0, 37.0, 37.5, 100.0, 101.0}) {
        const auto c = std::lower_bound(compact.begin(), compact.end(), v, byX);
        const auto p = std::lower_bound(pairs.begin(), pairs.end(), v, byX);
        EXPECT_EQ(static_cast<double>(c - compact.begin()), std::max(0.0, std::ceil(v) - 1)) << v;
        EXPECT_EQ(static_cast<double>(p - pairs.begin()), v <= 0.5 ? 0 : std::min(101.0, std::ceil(v))) << v;
    }
    EXPECT_EQ(std::count_if(compact.begin(), compact.end(), [](const DataPoint& p) { return p.y < -50; }), 50);
    EXPECT_EQ((compact.begin() + 10)->y, -11);
    EXPECT_EQ(compact.end()[-1].x, 100);
    EXPECT_EQ(compact.back().x, 100);
    EXPECT_EQ(pairs.front().x, 0.5);
}

// The compact path of the mapping gives each point's own Column and Row, as the pairs path does,
// from any first point and for any count (the two-at-a-time steps and the one left over).
TEST(PointList, MappingCompactPointsGivesEachPointsPixel)
{
    const PlotMapping map(PlotArea{60, 370, 480, 290}, AxisScale(1, 2001), AxisScale(-2, 2));
    PointList compact;
    PointList pairs{{-5, 0}};
    QRandomGenerator random(3);
    for (int i = 1; i <= 2000; ++i) {
        const double y = random.bounded(9) == 0 ? nullvalue : random.generateDouble() * 4 - 2;
        compact.push_back(DataPoint{static_cast<double>(i), y});
        pairs.push_back(DataPoint{static_cast<double>(i), y});
    }
    for (const std::size_t first : {0, 1, 2, 999, 1998}) {
        for (const std::size_t count : {0, 1, 2, 3, 1000}) {
            const std::size_t n = std::min(count, compact.size() - first);
            std::vector<int> columns(n), rows(n), pairColumns(n), pairRows(n);
            map.MapPoints(compact, first, n, columns.data(), rows.data());
            map.MapPoints(pairs, first + 1, n, pairColumns.data(), pairRows.data());
            for (std::size_t i = 0; i < n; ++i) {
                const DataPoint p = compact[first + i];
                ASSERT_EQ(columns[i], map.Column(p.x)) << first << "+" << i;
                ASSERT_EQ(rows[i], map.Row(p.y)) << first << "+" << i;
                ASSERT_EQ(pairColumns[i], columns[i]) << first << "+" << i;
                ASSERT_EQ(pairRows[i], rows[i]) << first << "+" << i;
            }
        }
    }
}

TEST(PointList, BigListsStartOnAHugePageAndAskForThem)
{
    PointList points;
    points.reserve(1 << 20); // 8 MiB
    for (int i = 1; i <= (1 << 20); ++i)
        points.push_back(DataPoint{static_cast<double>(i), 1});
    ASSERT_TRUE(points.IsCompact());
#if defined(__linux__)
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(points.Storage()) % kHugePageBytes, 0u);
    const std::string mode = HugePageMode();
    const std::optional<bool> eligible = HugePageEligible(points.Storage());
    if ((mode == "madvise" || mode == "always") && eligible) {
        EXPECT_TRUE(*eligible) << mode;
    }
#endif
    PointList small{{1, 1}, {2, 2}};
    EXPECT_EQ(small.MemoryBytes(), 2 * sizeof(double)); // the heap's, exactly as asked
}

// Past a few MiB a list grows and shrinks by moving its pages, not by copying them into a
// second block (which held the old and the new copy at once: twice the memory of a long
// line): every point must come through the moves, in both layouts.
TEST(PointList, BigListsKeepEveryPointAsTheyGrowAndShrink)
{
    constexpr std::size_t kCount = 3'000'000; // 24 MiB of Y alone, grown from nothing
    PointList points;
    for (std::size_t i = 0; i < kCount; ++i)
        points.push_back(DataPoint{static_cast<double>(i + 1), static_cast<double>(i % 977)});
    ASSERT_TRUE(points.IsCompact());
    points.shrink_to_fit();
    EXPECT_LT(points.MemoryBytes(), kCount * sizeof(double) + 4096);
    points.push_back(DataPoint{0.5, -1}); // into pairs
    points.reserve(kCount * 2);
    points.shrink_to_fit();
    ASSERT_EQ(points.size(), kCount + 1);
    for (std::size_t i = 0; i < kCount; ++i) {
        ASSERT_EQ(points[i].x, static_cast<double>(i + 1)) << i;
        ASSERT_EQ(points[i].y, static_cast<double>(i % 977)) << i;
    }
    EXPECT_EQ(points.back().x, 0.5);
    EXPECT_EQ(points.back().y, -1);
}
