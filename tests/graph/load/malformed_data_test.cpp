// Every malformed data file of the corpus through the real loader: the exact message the file's
// fault gives (or a correct load), never a crash or a hang.
#include "core/recording_sink.h"
#include "graph/load/data_file_loader.h"
#include "graph/data/plot_model.h"
#include "graph/load/point_parser.h"
#include "graph/data/status_texts.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>

#include <sys/stat.h>

using namespace plotwell;

namespace {

QString LineError(int line, const QString& parser = {})
{
    QString m = QStringLiteral("Error reading from line %1 of file \r\r%PATH%").arg(line);
    return parser.isEmpty() ? m : m + QStringLiteral("\r\r") + parser;
}

struct Expectation
{
    QStringList messages; // %PATH% stands for the file's path
    int series = 0;       // series left in the store
    bool prefix = false;  // the single message only starts with the text given
};

QStringList CorpusFiles(const QString& folder)
{
    return QDir(TestDataPath(folder)).entryList(QDir::Files, QDir::Name);
}

// Loads every file of the corpus folder and checks its messages and series against `expected`.
void CheckCorpus(const QString& folder, const QMap<QString, Expectation>& expected)
{
    const QDir dir(TestDataPath(folder));
    for (const QString& name : CorpusFiles(folder)) {
        ASSERT_TRUE(expected.contains(name)) << "no expectation for " << name.toStdString();
        const Expectation& e = expected[name];
        RecordingSink sink;
        PlotModel model(sink);
        const QString path = dir.filePath(name);
        LoadDataFile(model, path);
        QStringList messages = e.messages;
        messages.replaceInStrings(QStringLiteral("%PATH%"), path);
        if (e.prefix) {
            ASSERT_EQ(sink.Messages().size(), 1) << name.toStdString();
            EXPECT_TRUE(sink.Messages()[0].startsWith(messages[0])) << name.toStdString();
        } else {
            EXPECT_EQ(sink.Messages(), messages) << name.toStdString();
        }
        EXPECT_EQ(model.NumberOfSeries(), e.series) << name.toStdString();
        (void)StatusLineText(model);
    }
}

} // namespace

TEST(MalformedData, EveryCorpusFileGivesItsMessage)
{
    const QString nameWithNul = QStringLiteral("Error in input number: \"2") + QChar(0) + QStringLiteral("3\"");
    const QMap<QString, Expectation> expected = {
        {QStringLiteral("bom-cp1252.txt"), {{}, 2}},
        {QStringLiteral("bom-only.txt"), {{QStringLiteral("No points to plot")}}},
        {QStringLiteral("cr-only.txt"), {{LineError(3, QStringLiteral("Error in input number: \"x\""))}}},
        {QStringLiteral("empty.txt"), {{QStringLiteral("No points to plot")}}},
        {QStringLiteral("garbage.bin"), {{LineError(1, QStringLiteral("Error in input number: \""))}, 0, true}},
        {QStringLiteral("huge-exponent.txt"), {{LineError(1, QStringLiteral("Error in input number: \"1e999\""))}}},
        {QStringLiteral("impossible-date.txt"),
         {{LineError(1, QStringLiteral("Invalid X data for point at character position 2: \"2023-02-30\""))}}},
        {QStringLiteral("invalid-utf8.txt"), {{}, 2}},
        {QStringLiteral("mixed-kinds.txt"),
         {{QStringLiteral("Invalid input: Series 2\r\rAll series of points added must contain the same kind of points - "
                          "either (X,Y) data or just Y values.\r\rThis is because they cannot share the same X-axis."),
           LineError(2)}}},
        {QStringLiteral("nan.txt"), {{LineError(1, QStringLiteral("Error in input number: \"nan\""))}}},
        {QStringLiteral("nested-brackets.txt"),
         {{LineError(1, QStringLiteral("Closing bracket not found for point at character position 1."))}}},
        {QStringLiteral("nine-lines.txt"), {{QStringLiteral("Too many sets (columns) of data.  Max = 8."), LineError(9)}}},
        {QStringLiteral("nul.txt"), {{LineError(1, nameWithNul)}}},
        {QStringLiteral("only-separators.txt"), {{QStringLiteral("No points to plot")}, 1}},
        {QStringLiteral("short-names.txt"), {{LineError(1, QStringLiteral("Error in input number: \"\""))}}},
        {QStringLiteral("three-in-brackets.txt"),
         {{LineError(1, QStringLiteral("Invalid Y data for point at character position 11: \"4 5\""))}}},
        {QStringLiteral("truncated.txt"),
         {{LineError(1, QStringLiteral("Closing bracket not found for point at character position 8."))}}},
        {QStringLiteral("unclosed-bracket.txt"),
         {{LineError(1, QStringLiteral("Invalid X data for point at character position 9: \"(3\""))}}},
        {QStringLiteral("unclosed-quote.txt"), {{LineError(1, QStringLiteral("Error in input number: \"\"1\""))}}},
        {QStringLiteral("utf16be-odd.txt"), {{LineError(2, QStringLiteral("Error in input number: \"\uFFFD\""))}}},
        {QStringLiteral("utf16le.txt"), {{}, 2}},
    };

    const QStringList files = CorpusFiles(QStringLiteral("bad/data"));
    ASSERT_GE(files.size(), 12);
    CheckCorpus(QStringLiteral("bad/data"), expected);
}

TEST(MalformedData, TenMegabyteLineWithAFaultAtTheEnd)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("long.txt"));
    QByteArray line = QByteArray("12.5 ").repeated(2 * 1024 * 1024);
    line += "(1, 2)";
    WriteFile(path, line);
    RecordingSink sink;
    PlotModel model(sink);
    LoadDataFile(model, path);
    // A bracketed point after bare values is fine; the series takes its X from the point.
    EXPECT_TRUE(sink.Messages().isEmpty());
    ASSERT_EQ(model.NumberOfSeries(), 1);
    EXPECT_EQ(model.AllSeries()[0].size(), 2u * 1024 * 1024 + 1);
    EXPECT_FALSE(model.AllSeriesInfo(1).xydata);
}

TEST(MalformedData, FaultAfterTwentyMegabytesNamesItsCharacter)
{
    // The memory behind the parse is let go of as a long line is read; the position of a
    // fault at its end still counts every character before it.
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("points.txt"));
    const qsizetype points = 3'000'000;
    WriteFile(path, QByteArray("(1, 2) ").repeated(points) + "(3\n");
    RecordingSink sink;
    PlotModel model(sink);
    LoadDataFile(model, path);
    EXPECT_EQ(sink.Messages(), QStringList{LineError(1).replace(QStringLiteral("%PATH%"), path) +
                                           QStringLiteral("\r\rClosing bracket not found for point at character "
                                                          "position %1.")
                                               .arg(7 * points + 1)});
}

TEST(MalformedData, OnlyRegularFilesAreRead)
{
    // A pipe would block the load for ever and a device would be read until memory runs out.
    QTemporaryDir tmp;
    const QString fifo = tmp.filePath(QStringLiteral("pipe.txt"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString link = tmp.filePath(QStringLiteral("zero.txt"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), link));
    for (const QString& path : {fifo, QStringLiteral("/dev/zero"), link}) {
        RecordingSink sink;
        PlotModel model(sink);
        LoadDataFile(model, path);
        EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("Cannot open file:\r\r") + path +
                                               QStringLiteral("\r\rnot a regular file")});
        EXPECT_EQ(model.NumberOfSeries(), 0);
    }
}

TEST(MalformedData, FileCutShortWhileLoading)
{
    // An editor saving over the file while it loads: the rest is a read error, not a crash.
    // The lines are parsed while the file is read ahead by a few small blocks, so the
    // second line is not read whole when the first is in the store.
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("saved.txt"));
    const QByteArray line = QByteArray("1.25 ").repeated(400000) + "\n";
    WriteFile(path, line + line + line + line);
    RecordingSink sink;
    PlotModel model(sink);
    bool cut = false;
    QObject::connect(&model, &PlotModel::changed, [&](PlotModel::Change what) {
        if (what == PlotModel::Change::SeriesBoxes && model.NumberOfSeries() == 1 && !cut)
            cut = QFile::resize(path, 100);
    });
    DataFileLoader loader(model);
    loader.SetThreads(LineThreads{1, 64 << 10});
    loader.SetFileName(path);
    ASSERT_TRUE(cut);
    // One message, about the file rather than one of its lines, with the reason.
    EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("Error reading data file:\r\r") + path +
                                           QStringLiteral("\r\rthe file became shorter while it was read")});
    EXPECT_EQ(model.NumberOfSeries(), 0);
    EXPECT_EQ(model.FileName(), path);
}

TEST(MalformedData, StatisticsOfHugeAndTinyValues)
{
    // Every finite value gives a finite average and a deviation that is neither NAN nor
    // negative; ordinary data keeps its figures.
    const struct {
        const char* data;
        const char* status;
    } cases[] = {
        {"1e308 1e308 1e308", " 3 pts    Min: 1E308    Max: 1E308    Avg: 1E308    Std Dev: 0"},
        {"1e39 1e39 1e39", " 3 pts    Min: 1E39    Max: 1E39    Avg: 1E39    Std Dev: 0"},
        {"-1e308 -1e308 1e308", " 3 pts    Min: -1E308    Max: 1E308    Avg: -3.33333333333333E307    Std Dev: 1.15470053837925E308"},
        {"1e20 -1e20 3e20", " 3 pts    Min: -1E20    Max: 3E20    Avg: 1E20    Std Dev: 2E20"},
        {"1.7976931348623157e308 -1.7976931348623157e308",
         " 2 pts    Min: -1.79769313486232E308    Max: 1.79769313486232E308    Avg: 0    Std Dev: 1.79769313486232E308"},
        {"1e-320 3e-320", " 2 pts    Min: 9.99988867182683E-321    Max: 2.99996660154805E-320    Avg: 0    Std Dev: 0"},
        {"2 4 4 4 5 5 7 9", " 8 pts    Min: 2    Max: 9    Avg: 5    Std Dev: 2.138"},
        {"0.1 0.2 0.3", " 3 pts    Min: 0.1    Max: 0.3    Avg: 0.2    Std Dev: 0.1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data);
        RecordingSink sink;
        PlotModel model(sink);
        ASSERT_TRUE(AddSeriesFromString(model, QString::fromLatin1(c.data), true));
        EXPECT_EQ(StatusLineText(model), QString::fromLatin1(c.status));
        const SeriesSummary s = model.GetSeriesSummary(1);
        EXPECT_TRUE(std::isfinite(s.average));
        EXPECT_TRUE(s.standarddeviation >= 0 && std::isfinite(s.standarddeviation));
        EXPECT_EQ(s.average, model.Average());
    }
}

TEST(MalformedData, EveryColumnCorpusFileGivesItsMessage)
{
    const auto rowError = [](int row, int column, const char* detail) {
        return QStringLiteral("Error reading from row %1, column %2: ").arg(row).arg(column) + QString::fromUtf8(detail) +
               QStringLiteral("\r\r%PATH%");
    };
    const QString noPoints = QStringLiteral("No points to plot");
    const QMap<QString, Expectation> expected = {
        {QStringLiteral("bom-only.csv"), {{noPoints}}},
        {QStringLiteral("dates-down.csv"), {{}, 1}},
        {QStringLiteral("empty.csv"), {{noPoints}}},
        {QStringLiteral("fewer-names.csv"), {{}, 2}},
        {QStringLiteral("garbage.csv"), {{QStringLiteral("Error reading from row ")}, 0, true}},
        {QStringLiteral("header-only.csv"), {{noPoints}}},
        // 1e999 is no number: the first row names the columns.
        {QStringLiteral("huge.csv"), {{}, 2}},
        {QStringLiteral("lone-x.csv"), {{}, 1}},
        {QStringLiteral("more-names.csv"), {{}, 2}},
        {QStringLiteral("nul.csv"), {{noPoints}}},
        {QStringLiteral("only-separators.csv"), {{noPoints}, 4}},
        {QStringLiteral("open-quote.csv"), {{rowError(2, 2, "the closing quote is missing.")}}},
        {QStringLiteral("ragged.csv"), {{}, 3}},
        {QStringLiteral("separator-in-quotes.csv"), {{rowError(2, 2, "\"2;5\" is not a number.")}}},
        {QStringLiteral("tabs-only-row.tsv"), {{}, 2}},
        {QStringLiteral("thousands.csv"), {{rowError(2, 1, "\"1.234,5\" is not a number.")}}},
    };
    ASSERT_EQ(CorpusFiles(QStringLiteral("bad/columns")).size(), expected.size());
    CheckCorpus(QStringLiteral("bad/columns"), expected);
}
