// Column files through the real loader: separators, the decimal comma, the header and X rules
// and their overrides, gaps, faults naming their row and column, columns left out.
#include "core/recording_sink.h"
#include "core/number_format.h"
#include "graph/data/plot_model.h"
#include "graph/load/data_file_loader.h"
#include "graph/load/load_progress.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace plotwell;

namespace {

// Each series as "name: x:y x:y ..." ("xy" before the points when they carry their own X,
// "_" for a gap), one series a line.
QString Describe(const PlotModel& model)
{
    QStringList lines;
    for (int n = 1; n <= model.NumberOfSeries(); ++n) {
        QString line = model.GetSeriesName(n) + QLatin1Char(':');
        if (model.AllSeriesInfo(n).xydata)
            line += QStringLiteral(" xy");
        for (const DataPoint& p : model.AllSeries()[static_cast<std::size_t>(n - 1)])
            line += QLatin1Char(' ') + FormatGeneral(p.x) + QLatin1Char(':') +
                    (IsNullPoint(p) ? QStringLiteral("_") : FormatGeneral(p.y));
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

struct ColumnCase
{
    const char* name; // of the file: its ending chooses the layout
    QByteArray bytes;
    LoadOptions options;
    const char* series;  // Describe() of the store, or the message (%PATH% for the file's path)
    const char* notice = "";
};

void Check(const ColumnCase& c)
{
    SCOPED_TRACE(c.name);
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromUtf8(c.name));
    WriteFile(path, c.bytes);
    RecordingSink sink;
    PlotModel model(sink);
    LoadDataFile(model, path, c.options);
    const QString got = sink.Messages().isEmpty() ? Describe(model) : sink.Messages().join(QStringLiteral("|"));
    EXPECT_EQ(got, QString::fromUtf8(c.series).replace(QStringLiteral("%PATH%"), path));
    EXPECT_EQ(model.LoadNotice(), QString::fromUtf8(c.notice));
}

constexpr LoadOptions kByName{};
constexpr LoadOptions kColumns{DataLayout::Columns, XColumnRule::Auto};
constexpr LoadOptions kXAlways{DataLayout::ByName, XColumnRule::Always};
constexpr LoadOptions kXNever{DataLayout::ByName, XColumnRule::Never};

} // namespace

TEST(ColumnFiles, SeparatorsAndTheDecimalComma)
{
    const ColumnCase cases[] = {
        {"comma.csv", "Time,Temp,Hum\n1,20.5,40\n2,21,\n3,22.5,45\n", kByName,
         "Temp: xy 1:20.5 2:21 3:22.5\nHum: xy 1:40 2:_ 3:45"},
        {"semicolon.csv", "A;B\n1;2,5\n2;-3,75e1\n", kByName, "B: xy 1:2.5 2:-37.5"},
        // A tab wins over the commas of its decimal numbers; a leading tab is an empty field.
        {"tab.tsv", "x\ty\tz\n1\t\t3,5\n2\t5\t6\n\t7\t8\n", kXNever,
         "x: 1:1 2:2 3:_\ny: 1:_ 2:5 3:7\nz: 1:3.5 2:6 3:8"},
        {"blanks.csv", "1 2  3\n4 5 6\n", kByName, ": xy 1:2 4:5\n: xy 1:3 4:6"},
        // Quotes keep separators and doubled quotes in a field; the second row chooses ";".
        {"quoted.csv", "\"Name, \"\"full\"\"\";\"b\"\n1;\"2,5\"\n", kXNever,
         "Name, \"full\": 1:1\nb: 1:2.5"},
        // With commas between fields a comma is no decimal separator: 1,234 is two numbers.
        {"thousands.csv", "1,234\n2,345\n", kByName, ": xy 1:234 2:345"},
        {"thousands-semicolon.csv", "1.234,5;2\n2.345,6;3\n", kByName,
         "Error reading from row 2, column 1: \"2.345,6\" is not a number.\r\r%PATH%"},
        {"UPPER.CSV", "1,2\n2,3\n", kByName, ": xy 1:2 2:3"},
        {"lines.csv", "1,2,3\n", LoadOptions{DataLayout::Lines, XColumnRule::Auto}, ": 1:1 2:2 3:3"},
        {"columns.txt", "1,2,3\n", kColumns, ": 1:1\n: 1:2\n: 1:3"},
        {"plain.txt", "1,2,3\n", kByName, ": 1:1 2:2 3:3"},
    };
    for (const ColumnCase& c : cases)
        Check(c);
}

TEST(ColumnFiles, HeaderXColumnAndGaps)
{
    const ColumnCase cases[] = {
        // Decreasing first column: every column is a series of bare values.
        {"down.csv", "3,1\n2,5\n", kByName, ": 1:3 2:2\n: 1:1 2:5"},
        {"down-forced.csv", "3,1\n2,5\n", kXAlways, ": xy 2:5 3:1"},
        {"up-refused.csv", "1,5\n2,6\n", kXNever, ": 1:1 2:2\n: 1:5 2:6"},
        // A gap in the first column: not a run of numbers; forced, its row is a gap.
        {"x-gap.csv", "1,5\n,6\n3,7\n", kByName, ": 1:1 2:_ 3:3\n: 1:5 2:6 3:7"},
        {"x-gap-forced.csv", "1,5\n,6\n3,7\n", kXAlways, ": xy 1:5 1:_ 3:7"},
        // Dates are X in any order; the points go in X order.
        {"dates.csv", "Day,Rain\n2020-01-03,5\n1/1/2020,7\n", kByName, "Rain: xy 43831:7 43833:5"},
        {"not-a-date.csv", "2020-01-01,1\nsoon,2\n", kByName,
         "Error reading from row 2, column 1: \"soon\" is not a date, as the rows before it are.\r\r%PATH%"},
        {"dates-refused.csv", "2020-01-01,1\n", kXNever,
         "Error reading from row 1, column 1: \"2020-01-01\" is not a number.\r\r%PATH%"},
        {"one-column.csv", "Level\n5\n6\n4\n", kByName, "Level: 1:5 2:6 3:4"},
        {"lone-x.csv", "5\n6\n", kXAlways, "No points to plot"},
        {"header-only.csv", "a,b,c\n", kByName, "No points to plot"},
        // Header: a number-only first row is data; names are trimmed and cut at 60 characters.
        {"names.csv",
         QByteArray("x, ") + QByteArray(70, 'n') + " ,\n1,2,3\n", kByName,
         "x: 1:1\nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn: 1:2\n: 1:3"},
        // Ragged rows: fewer fields are gaps at the end, more make a column with gaps before.
        {"ragged.csv", "a,b,c\n1,2\n2,3,4,5\n", kByName, "b: xy 1:2 2:3\nc: xy 1:_ 2:4\n: xy 1:_ 2:5"},
        {"all-gaps.csv", "1,,4\n2,,5\n", kByName, ": xy 1:_ 2:_\n: xy 1:4 2:5"},
    };
    for (const ColumnCase& c : cases)
        Check(c);
}

TEST(ColumnFiles, FaultsNameTheirRowAndColumn)
{
    const ColumnCase cases[] = {
        {"bad-number.csv", "a,b,c\n1,2,3\n2,x,4\n", kByName,
         "Error reading from row 3, column 2: \"x\" is not a number.\r\r%PATH%"},
        // Blank lines are not counted, as in the line layout.
        {"bad-later.tsv", "1\t2\n\n\n2\t3\t4\t5e\n", kByName,
         "Error reading from row 2, column 4: \"5e\" is not a number.\r\r%PATH%"},
        {"open-quote.csv", "1,2\n3,\"4\n", kByName,
         "Error reading from row 2, column 2: the closing quote is missing.\r\r%PATH%"},
        {"open-quote-first.csv", "\"a,b\n", kByName,
         "Error reading from row 1, column 1: the closing quote is missing.\r\r%PATH%"},
        {"utf8-name.csv", "x,b\xC3\xA4r\n1,\xC3\xA4\n", kByName,
         "Error reading from row 2, column 2: \"\xC3\xA4\" is not a number.\r\r%PATH%"},
    };
    for (const ColumnCase& c : cases)
        Check(c);
}

TEST(ColumnFiles, TextEncodingsAndLineEnds)
{
    QByteArray utf16("\xFF\xFE");
    for (const char c : QByteArray("T;V\r\n1;2,5\r\n2;3\r\n"))
        utf16 += c, utf16 += '\0';
    const ColumnCase cases[] = {
        {"bom-crlf.csv", "\xEF\xBB\xBFZeit;Wert\r\n1;2,5\r\n2;3\r\n", kByName, "Wert: xy 1:2.5 2:3"},
        {"cp1252.csv", "x,Temp \xB0" "C\n1,5\n2,6\n", kByName, "Temp \xC2\xB0" "C: xy 1:5 2:6"},
        {"only-gaps.csv", "a,b\n,\n,\n", kByName, "No points to plot"},
        {"utf16.csv", utf16, kByName, "V: xy 1:2.5 2:3"},
        {"cr-only.csv", "a,b\r1,2\r2,3\r", kByName, "b: xy 1:2 2:3"},
    };
    for (const ColumnCase& c : cases)
        Check(c);
}

TEST(ColumnFiles, MoreThanEightSeriesDrawTheFirstEight)
{
    QByteArray nine = "1,2,3,4,5,6,7,8,9\n";
    QByteArray twelve = "0,1,2,3,4,5,6,7,8,9,10,11\n1,1,2,3,4,5,6,7,8,9,10,11\n";
    QByteArray wide;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 10000; ++col)
            wide += QByteArray::number(row + col) + (col + 1 < 10000 ? "," : "\n");
    }
    const ColumnCase cases[] = {
        {"nine.csv", nine, kXNever, ": 1:1\n: 1:2\n: 1:3\n: 1:4\n: 1:5\n: 1:6\n: 1:7\n: 1:8",
         "Column 9 was left out: at most 8 series are drawn."},
        {"twelve.csv", twelve, kByName,
         ": xy 0:1 1:1\n: xy 0:2 1:2\n: xy 0:3 1:3\n: xy 0:4 1:4\n: xy 0:5 1:5\n: xy 0:6 1:6\n: xy 0:7 1:7\n"
         ": xy 0:8 1:8",
         "Columns 10 to 12 were left out: at most 8 series are drawn."},
        {"wide.csv", wide, kByName,
         ": xy 0:1 1:2 2:3\n: xy 0:2 1:3 2:4\n: xy 0:3 1:4 2:5\n: xy 0:4 1:5 2:6\n: xy 0:5 1:6 2:7\n"
         ": xy 0:6 1:7 2:8\n: xy 0:7 1:8 2:9\n: xy 0:8 1:9 2:10",
         "Columns 10 to 10000 were left out: at most 8 series are drawn."},
    };
    for (const ColumnCase& c : cases)
        Check(c);
}

TEST(ColumnFiles, ManyRowsLoadAsOneSeriesWithTheTitleOfTheFile)
{
    QByteArray rows;
    for (int k = 0; k < 200000; ++k)
        rows += QByteArray::number(k % 97) + '\n';
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("logger output.csv"));
    WriteFile(path, rows);
    RecordingSink sink;
    PlotModel model(sink);
    LoadDataFile(model, path);
    EXPECT_TRUE(sink.Messages().isEmpty());
    ASSERT_EQ(model.NumberOfSeries(), 1);
    EXPECT_EQ(model.AllSeries()[0].size(), 200000u);
    EXPECT_EQ(model.AllSeries()[0][199999].y, 199999 % 97);
    EXPECT_EQ(model.Title(), QStringLiteral("Logger Output"));
}

TEST(ColumnFiles, ProgressIsReportedAndACancelIsHeardWithinABlock)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.csv"));
    WriteFile(path, QByteArray("1.25,2.5,3.75\n").repeated(1'500'000)); // 21 MB, several blocks
    RecordingSink sink;
    PlotModel model(sink);
    LoadProgress progress;
    progress.Cancel(); // as if Cancel were pressed at once: heard at the first block read
    DataFileLoader loader(model, &progress);
    EXPECT_THROW(loader.SetFileName(path), LoadCancelled);
    EXPECT_GT(progress.Percent(), 0);
    EXPECT_LT(progress.Percent(), 50);
    EXPECT_TRUE(sink.Messages().isEmpty());

    LoadProgress whole;
    DataFileLoader(model, &whole).SetFileName(path);
    EXPECT_EQ(whole.Percent(), 100);
    EXPECT_EQ(model.NumberOfPoints(), 4'500'000); // the first column repeats: three series
}

TEST(ColumnFiles, ALeadingTabAtTheEndOfABlockStillEndsAnEmptyField)
{
    // The reader fills its buffer 4 MiB at a time: the tab that starts a row is its last byte.
    QByteArray text = "a\tb\tc   \n" + QByteArray("1\t2\t3\n").repeated(699049);
    ASSERT_EQ(text.size(), (4 << 20) - 1);
    text += "\t5\t6\n9\t9\t9\n";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("edge.tsv"));
    WriteFile(path, text);
    RecordingSink sink;
    PlotModel model(sink);
    LoadDataFile(model, path);
    ASSERT_TRUE(sink.Messages().isEmpty()) << sink.Messages().join(u'|').toStdString();
    ASSERT_EQ(model.NumberOfSeries(), 3);
    const PointList& a = model.AllSeries()[0];
    const PointList& b = model.AllSeries()[1];
    ASSERT_EQ(a.size(), 699051u);
    EXPECT_TRUE(IsNullPoint(a[699049]));
    EXPECT_EQ(b[699049].y, 5);
    EXPECT_EQ(a[699050].y, 9);
}
