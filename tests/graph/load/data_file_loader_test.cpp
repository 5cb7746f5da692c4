#include "core/recording_sink.h"
#include "graph/load/data_file_loader.h"
#include "graph/data/plot_model.h"
#include "graph/load/point_parser.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

using namespace plotwell;

namespace {

struct LoaderFixture : ::testing::Test
{
    QTemporaryDir dir;
    RecordingSink sink;
    PlotModel model{sink};

    QString write(const QString& name, const QByteArray& bytes)
    {
        WriteFile(dir.filePath(name), bytes);
        return dir.filePath(name);
    }
    QString lineError(int line, const QString& path, const QString& parser = {})
    {
        QString m = QStringLiteral("Error reading from line %1 of file \r\r").arg(line) + path;
        return parser.isEmpty() ? m : m + QStringLiteral("\r\r") + parser;
    }
};

// `text` as UTF-16 with its byte-order mark.
QByteArray Utf16(const char16_t* text, bool littleEndian)
{
    QByteArray bytes = littleEndian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (const char16_t* c = text; *c; ++c) {
        const char low = static_cast<char>(*c & 0xFF);
        const char high = static_cast<char>(*c >> 8);
        bytes += littleEndian ? low : high;
        bytes += littleEndian ? high : low;
    }
    return bytes;
}

} // namespace

TEST_F(LoaderFixture, LoadsSeriesNamesAndTitle)
{
    const QString path = write(QStringLiteral("example points 1 - simple series.txt"),
                               "; monthly sales\n120, 135, 150, 160 ;Shop A\n\n  100 90 115 140 ;Shop B\t \n");
    LoadDataFile(model, path);
    EXPECT_TRUE(sink.Messages().isEmpty()) << sink.Messages().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(model.NumberOfSeries(), 2);
    EXPECT_EQ(model.GetSeriesName(1), QStringLiteral("Shop A"));
    EXPECT_EQ(model.GetSeriesName(2), QStringLiteral("Shop B"));
    EXPECT_EQ(model.Title(), QStringLiteral("Example Points 1 - Simple Series"));
    EXPECT_EQ(model.FileName(), path);
}

TEST_F(LoaderFixture, FaultyLinesAreNamedByTheirCountedNumber)
{
    const QString invalidKind = QStringLiteral("Invalid input: Series 2\r\rAll series of points added must contain the "
                                               "same kind of points - either (X,Y) data or just Y values.\r\rThis is "
                                               "because they cannot share the same X-axis.");
    const QByteArray nine = QByteArray("1 2\n").repeated(9);
    const struct {
        const char* name;
        QByteArray bytes;
        QStringList (*expected)(LoaderFixture&, const QString& path, const QString& kind);
    } cases[] = {
        {"blank.txt", "1 2 3\n\n1 2 x\n",
         [](LoaderFixture& f, const QString& p, const QString&) {
             return QStringList{f.lineError(2, p, QStringLiteral("Error in input number: \"x\""))};
         }},
        {"comment.txt", "; header\n1 2 x\n",
         [](LoaderFixture& f, const QString& p, const QString&) {
             return QStringList{f.lineError(2, p, QStringLiteral("Error in input number: \"x\""))};
         }},
        {"nine.txt", nine,
         [](LoaderFixture& f, const QString& p, const QString&) {
             return QStringList{QStringLiteral("Too many sets (columns) of data.  Max = 8."), f.lineError(9, p)};
         }},
        {"kinds.txt", "1 2 3\n(1, 2)\n",
         [](LoaderFixture& f, const QString& p, const QString& kind) { return QStringList{kind, f.lineError(2, p)}; }},
        {"cr-only.txt", "1 2\r3 4\r(5\r",
         [](LoaderFixture& f, const QString& p, const QString&) {
             return QStringList{f.lineError(
                 3, p, QStringLiteral("Closing bracket not found for point at character position 1."))};
         }},
        {"nul.txt", QByteArray("1 2\n3\0004\n", 9),
         [](LoaderFixture& f, const QString& p, const QString&) {
             return QStringList{f.lineError(2, p, QStringLiteral("Error in input number: \"3") + QChar(0) +
                                                      QStringLiteral("4\""))};
         }},
    };
    for (const auto& c : cases) {
        sink.Clear();
        ASSERT_TRUE(AddSeriesFromString(model, QStringLiteral("7 8"), false)); // something to lose
        const QString path = write(QString::fromLatin1(c.name), c.bytes);
        LoadDataFile(model, path);
        EXPECT_EQ(sink.Messages(), c.expected(*this, path, invalidKind)) << c.name;
        EXPECT_EQ(model.NumberOfSeries(), 0) << c.name;
        // Kept, so that the file can be mended and opened again.
        EXPECT_EQ(model.FileName(), path) << c.name;
        EXPECT_EQ(model.Title(), QString()) << c.name;
    }
}

TEST_F(LoaderFixture, NothingToPlot)
{
    for (const char* bytes : {"", "; only a comment\n\n   \n", " \t\r\n", ",,,\n"}) {
        sink.Clear();
        const QString path = write(QStringLiteral("empty.txt"), bytes);
        LoadDataFile(model, path);
        EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("No points to plot")}) << bytes;
        EXPECT_EQ(model.FileName(), path);
        EXPECT_EQ(model.Title(), QString());
    }
}

TEST_F(LoaderFixture, MissingFileKeepsTheLoadedGraphAndAFolderIsNoRegularFile)
{
    const QString good = write(QStringLiteral("good.txt"), "1 2 3\n");
    LoadDataFile(model, good);
    ASSERT_EQ(model.NumberOfSeries(), 1);
    const QString missing = dir.filePath(QStringLiteral("missing.txt"));
    LoadDataFile(model, missing);
    EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("File not found:\r\r") + missing});
    EXPECT_EQ(model.NumberOfSeries(), 1);
    EXPECT_EQ(model.Title(), QStringLiteral("Good"));
    EXPECT_EQ(model.FileName(), good);

    // A folder is there, but is no data file: said as for pipes and devices, and not kept.
    sink.Clear();
    LoadDataFile(model, dir.path());
    EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("Cannot open file:\r\r") + dir.path() +
                                           QStringLiteral("\r\rnot a regular file")});
    EXPECT_EQ(model.NumberOfSeries(), 0);
    EXPECT_EQ(model.FileName(), QString());
}

TEST_F(LoaderFixture, UnreadableFileLeavesTheStoreEmpty)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root can open any file";
    const QString path = write(QStringLiteral("locked.txt"), "1 2 3\n");
    QFile::setPermissions(path, QFileDevice::Permissions());
    LoadDataFile(model, path);
    ASSERT_EQ(sink.Messages().size(), 1);
    EXPECT_TRUE(sink.Messages()[0].startsWith(QStringLiteral("Cannot open file:\r\r") + path + QStringLiteral("\r\r")));
    EXPECT_EQ(model.NumberOfSeries(), 0);
    EXPECT_EQ(model.FileName(), path); // the permissions can be mended and the file opened again
}

TEST_F(LoaderFixture, EncodingsOfNames)
{
    const struct {
        const char* name;
        QByteArray bytes;
        QString series;
    } cases[] = {
        {"bom.txt", "\xEF\xBB\xBF" "1 2 ;Caf\xC3\xA9 \xE2\x82\xAC\n", QStringLiteral("Caf\u00e9 \u20ac")},
        {"utf8.txt", "1 2 ;\xE6\x97\xA5\xE6\x9C\xAC\n", QStringLiteral("\u65e5\u672c")},
        {"cp1252.txt", "1 2 ;Caf\xE9 \x80\n", QStringLiteral("Caf\u00e9 \u20ac")},
        // A UTF-8 mark before text that is not UTF-8 is dropped; the rest is Windows-1252.
        {"bom-cp1252.txt", "\xEF\xBB\xBF" "1 2 ;Caf\xE9 \x80\n", QStringLiteral("Caf\u00e9 \u20ac")},
        {"utf16le.txt", Utf16(u"1 2 ;C\u00e9\u20ac\U0001F600\r\n3 4", true), QStringLiteral("C\u00e9\u20ac\U0001F600")},
        {"utf16be.txt", Utf16(u"1 2 ;C\u00e9\u20ac\n", false), QStringLiteral("C\u00e9\u20ac")},
    };
    for (const auto& c : cases) {
        sink.Clear();
        LoadDataFile(model, write(QString::fromLatin1(c.name), c.bytes));
        EXPECT_TRUE(sink.Messages().isEmpty()) << c.name;
        EXPECT_EQ(model.GetSeriesName(1), c.series) << c.name;
    }
}

TEST_F(LoaderFixture, Utf16FaultsReadAsTheirUtf8Forms)
{
    // Positions in the parser's messages count characters, whatever the file's encoding.
    const char16_t* text = u"(1, 2) (\u00e9\u00e9, 3)\n";
    LoadDataFile(model, write(QStringLiteral("bad.txt"), QString::fromUtf16(text).toUtf8()));
    const QStringList expected = sink.Messages();
    ASSERT_EQ(expected.size(), 1);
    sink.Clear();
    LoadDataFile(model, write(QStringLiteral("bad.txt"), Utf16(text, true)));
    EXPECT_EQ(sink.Messages(), expected);
}

TEST_F(LoaderFixture, LongLinesAndManyLines)
{
    QByteArray line;
    for (int i = 0; i < 200000; ++i)
        line += QByteArray::number(i % 97) + (i % 3 ? " " : ", ");
    LoadDataFile(model, write(QStringLiteral("long.txt"), line + "\n" + line));
    EXPECT_TRUE(sink.Messages().isEmpty());
    ASSERT_EQ(model.NumberOfSeries(), 2);
    EXPECT_EQ(model.AllSeries()[1].size(), 200000u);
    EXPECT_EQ(model.AllSeries()[1][199999].x, 200000);
}

// Bare values (and columns without an X column) are stored as their Y alone; points with X
// of their own take both, and a series that stops matching its positions takes both from then.
TEST_F(LoaderFixture, BareValuesTakeEightBytesAPoint)
{
    QByteArray bare;
    QByteArray pairs;
    QByteArray rows;
    QByteArray rowsWithX;
    QByteArray rowsNumbered; // an X column of the row numbers: as good as none
    for (int i = 0; i < 100000; ++i) {
        bare += QByteArray::number(i % 89) + (i % 5 ? " " : " , ");
        pairs += "(" + QByteArray::number(i * 2) + "," + QByteArray::number(i % 89) + ") ";
        rows += QByteArray::number(i % 89) + ";" + QByteArray::number(i % 13) + "\n";
        rowsWithX += QByteArray::number(i * 2) + ";" + QByteArray::number(i % 13) + "\n";
        rowsNumbered += QByteArray::number(i + 1) + ";" + QByteArray::number(i % 13) + "\n";
    }
    const struct
    {
        const char* name;
        QByteArray text;
        std::size_t bytesPerPoint;
    } cases[] = {
        {"bare.txt", bare + "\n" + bare, 8},
        {"pairs.txt", pairs, 16},
        {"mixed.txt", bare + "(3,4)", 16},
        {"columns.csv", rows, 8},
        {"columns-x.csv", "x;y\n" + rowsWithX, 16},
        {"columns-numbered.csv", rowsNumbered, 8},
    };
    for (const auto& c : cases) {
        LoadDataFile(model, write(QString::fromLatin1(c.name), c.text));
        ASSERT_TRUE(sink.Messages().isEmpty()) << c.name << sink.Messages().join(u'|').toStdString();
        ASSERT_GE(model.NumberOfSeries(), 1) << c.name;
        for (const PointList& points : model.AllSeries()) {
            ASSERT_GT(points.size(), 90000u) << c.name;
            EXPECT_EQ(points.BytesPerPoint(), c.bytesPerPoint) << c.name;
            // Reserved by an estimate and trimmed past a quarter more: never a doubling's room.
            EXPECT_LE(points.MemoryBytes(), points.size() * c.bytesPerPoint * 5 / 4 + 4096) << c.name;
        }
    }
}

TEST_F(LoaderFixture, BigFilesReadInPiecesLoseNothing)
{
    // Files are read a few megabytes at a time; a character cut by a piece's end must still
    // decode as UTF-8, and a long line read in pieces keeps every value and its fault.
    QByteArray lines = QByteArray("1 ").repeated((qsizetype(kReadProgressStep) - 4) / 2) + " ;x";
    lines += "\xC3\xA9\n"; // the two bytes of an e with acute accent on either side of the cut
    ASSERT_EQ(lines.indexOf("\xA9"), qsizetype(kReadProgressStep));
    LoadDataFile(model, write(QStringLiteral("names.txt"), lines));
    EXPECT_TRUE(sink.Messages().isEmpty());
    EXPECT_EQ(model.GetSeriesName(1), QStringLiteral("x\u00e9"));

    sink.Clear();
    const qsizetype values = 2 * qsizetype(kReadProgressStep) / 4 + 1000;
    QByteArray line;
    line.reserve(values * 4 + 8);
    for (qsizetype i = 0; i < values; ++i)
        line += "1.5 ";
    const QString path = write(QStringLiteral("long.txt"), line + "\xC3\xA9\n");
    LoadDataFile(model, path);
    EXPECT_EQ(sink.Messages(), QStringList{lineError(1, path, QStringLiteral("Error in input number: \"\u00e9\""))});
    LoadDataFile(model, write(QStringLiteral("long2.txt"), line + "7\n"));
    ASSERT_EQ(model.NumberOfSeries(), 1);
    EXPECT_EQ(model.AllSeries()[0].size(), std::size_t(values + 1));
    EXPECT_EQ(model.AllSeries()[0].back().y, 7);
}

TEST(TitleFromFileName, Table)
{
    const struct {
        const char* path;
        const char* title;
    } cases[] = {
        {"example points 1 - simple series.txt", "Example Points 1 - Simple Series"},
        {"/data/SALES_2021.CSV", "Sales_2021"},
        {"C:\\data\\o'brien (north).txt", "O'Brien (North)"},
        {"archive.tar.gz", "Archive.Tar"},
        {"noext", "Noext"},
        {"  spaced name  .txt", "Spaced Name"},
        {"x:[a]{b}\"c\".txt", "[A]{B}\"C\""},
        {"caf\xC3\x89.txt", "Caf\xC3\x89"}, // only A to Z change case
    };
    for (const auto& c : cases)
        EXPECT_EQ(TitleFromFileName(QString::fromUtf8(c.path)), QString::fromUtf8(c.title)) << c.path;
}
