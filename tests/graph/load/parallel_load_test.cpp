// The file loader parses the lines of a series file on several threads, piece by piece as
// the blocks arrive. Whatever the threads and the block size, the store, its figures and the
// messages are those of parsing the file's lines whole, one after the other.

#include "core/recording_sink.h"
#include "graph/data/plot_model.h"
#include "graph/data/status_texts.h"
#include "graph/load/data_file_loader.h"
#include "graph/load/load_progress.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <cstring>
#include <random>
#include <vector>

using namespace plotwell;

namespace {

// Everything a load leaves that a reader of the store or the user sees.
QString Outcome(const PlotModel& model, const RecordingSink& sink)
{
    QString out = QStringLiteral("messages: ") + sink.Messages().join(QStringLiteral(" | "));
    out += QStringLiteral("\ntitle: ") + model.Title() + QStringLiteral("\ninput error: ") + model.InputError();
    out += QStringLiteral("\nstatus: ") + StatusLineText(model);
    for (int n = 1; n <= model.NumberOfSeries(); ++n) {
        const PointList& points = model.AllSeries()[static_cast<std::size_t>(n - 1)];
        // The points' exact bits, folded: a single changed value shows.
        quint64 hash = 1469598103934665603ULL;
        for (std::size_t k = 0; k < points.size(); ++k) {
            const double xy[2] = {points[k].x, points[k].y};
            quint64 bits[2];
            std::memcpy(bits, xy, sizeof bits);
            hash = (hash ^ bits[0]) * 1099511628211ULL;
            hash = (hash ^ bits[1]) * 1099511628211ULL;
        }
        const SeriesInfo& info = model.AllSeriesInfo(n);
        out += QStringLiteral("\nseries %1: %2 points %3 name \"%4\" xy %5 dates %6 box %7")
                   .arg(n)
                   .arg(points.size())
                   .arg(hash, 16, 16, QLatin1Char('0'))
                   .arg(model.GetSeriesName(n))
                   .arg(info.xydata)
                   .arg(info.isdates)
                   .arg(model.SeriesBox(n).visible);
    }
    return out;
}

QString FromFile(const QString& path, const LineThreads& threads)
{
    RecordingSink sink;
    PlotModel model(sink);
    DataFileLoader loader(model);
    loader.SetThreads(threads);
    loader.SetFileName(path);
    EXPECT_EQ(model.FileName(), path);
    return Outcome(model, sink);
}

// The lines parsed whole, one after the other: the reference.
QString Serial(const QString& path)
{
    return FromFile(path, LineThreads{kNoThreads});
}

// Threads and blocks: words, points, names and characters cut at every kind of place.
// Blocks of 100,000 bytes and more: a second thread parses the middle of a long line's
// blocks.
const LineThreads kThreadings[] = {{1, 1}, {2, 7}, {3, 61}, {2, 4096}, {2, 100000}, {0, std::size_t(1) << 20}};

void ExpectSameAsSerial(const QString& path, const QByteArray& bytes, const char* what)
{
    const QString serial = Serial(path);
    for (const LineThreads& threads : kThreadings) {
        if (threads.blockBytes * 10000 < static_cast<std::size_t>(bytes.size()))
            continue; // a read call per byte is slow on big files
        EXPECT_EQ(FromFile(path, threads), serial)
            << what << " with " << threads.threads << " threads, blocks of " << threads.blockBytes;
    }
}

QByteArray Values(int count, double start, const char* separator = " ")
{
    QByteArray line;
    for (int k = 0; k < count; ++k)
        line += QByteArray::number(start + k * 0.37 - (k % 7) * 1.5, 'g', 9) + separator;
    return line;
}

} // namespace

TEST(ParallelLoad, SameStoreFiguresAndMessagesAsOneLineAfterTheOther)
{
    const QByteArray many = Values(3000, -40);
    const QByteArray cp1252Name = "1 2 3 ;Caf\xE9\n";
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"bare values, names, comments, blank lines and both line ends",
         "; monthly\r\n120, 135, 150 ;Shop A\r\n\r\n  100 90 115 140 ;Shop B\t \n;end\n7,,8, ,9\n"},
        {"points, dates and unsorted X", "(3, 4) (1, 2) (2, 9)\n(2020-01-31, 5) (2020-02-29, 7)\n"},
        {"8 tiny lines", "1\n2\n3\n4\n5\n6\n7\n8\n"},
        {"a ninth line", "1\n2\n3\n4\n5\n6\n7\n8\n9 10\n11\n"},
        {"first error early, the others fine", many + "\n1 2 x3 4\n" + many + "\n" + many + "\n"},
        {"first error late, a later one too",
         many + "\n" + many + "\n" + many + "\n" + many + "\n" + many + "\n" + many + " (1, 2\n" + many + " q\n"},
        {"an error far into a long line", many + many + "1e999 " + many + "\n"},
        {"a point that does not close", "(1, 2) (3, 4) (5, 6 7 8 9 10\n"},
        {"a comma inside a point", "(1, 2, 3) (4, 5)\n"},
        {"mixed kinds", "1 2 3\n(1, 2)\n"},
        {"only separators", ",,,\n, ,\n"},
        {"a semicolon at the end, and in the middle", "1 2 ;\n3 4 ;a\n5 ; 6 7\n"},
        {"spaces and controls at the ends", "  1 2 3 \t \t \t \x01 \r\n\t 4 5\x02\x03 \n"},
        {"a name longer than sixty characters", "1 2 ;" + QByteArray("\xC3\xA9\xF0\x9F\x98\x80 x").repeated(40) + "\n"},
        {"UTF-8 words in a message", "1 2 \xC3\xA9t\xC3\xA9 3\n"},
        {"a byte-order mark", "\xEF\xBB\xBF" "1 2 3 ;\xC3\xA9\n"},
        {"not UTF-8 in a late line, an error after it", "1 2\n3 4 ;\xC3\xA9\n" + cp1252Name + "5 6 \xE9x\n"},
        {"not UTF-8 after the first error", "1 x2\n" + cp1252Name},
        {"a character cut at a block end", Values(50, 1) + ";" + QByteArray("\xE2\x82\xAC").repeated(30) + "\n"},
        {"nothing to plot", "; only a comment\n\n"},
        {"no line end at the end", "1 2 3\n4 5 6"},
        {"one long line", Values(200000, 0.5) + ";long"},
        {"an error in the middle of a long line", Values(100000, 1) + "1e999 " + Values(100000, 2) + "\n1\n"},
        {"a control byte in the middle of a long line", Values(100000, 1) + "\t " + Values(100000, 2) + "\n"},
        {"a point in a long line of bare values", Values(100000, 1) + "(1, 2) " + Values(100000, 2) + "\n"},
        {"nulls in a long line", Values(60000, 1, ", ") + ",, ," + Values(60000, 2, ",") + "\n"},
        {"a point that does not close after a long run of values", Values(200000, 3) + "(1, 2) (3\n"},
        {"a name after a long run of values", Values(200000, 4) + "; \xC3\xA9t\xC3\xA9 \n" + Values(200000, 5) + "\n"},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const QString path = dir.filePath(QStringLiteral("data.txt"));
        WriteFile(path, c.bytes);
        ExpectSameAsSerial(path, c.bytes, c.what);
    }
}

TEST(ParallelLoad, MalformedCorpusAsOneLineAfterTheOther)
{
    const QDir corpus(TestDataPath(QStringLiteral("bad/data")));
    for (const QString& name : corpus.entryList(QDir::Files, QDir::Name)) {
        QFile file(corpus.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        ExpectSameAsSerial(file.fileName(), file.readAll(), qPrintable(name));
    }
}

TEST(ParallelLoad, CancelStopsTheThreadsWithinABlock)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.txt"));
    const QByteArray line = Values(100000, 2) + "\n";
    WriteFile(path, line.repeated(8));
    for (const bool early : {true, false}) {
        RecordingSink sink;
        PlotModel model(sink);
        LoadProgress progress;
        if (early)
            progress.Cancel();
        // Cancelled as the first series goes into the store: the next block read hears it.
        QObject::connect(&model, &PlotModel::changed, [&] {
            if (model.NumberOfSeries() == 1)
                progress.Cancel();
        });
        DataFileLoader loader(model, &progress);
        loader.SetThreads(LineThreads{2, 4096});
        EXPECT_THROW(loader.SetFileName(path), LoadCancelled) << early;
        EXPECT_LE(model.NumberOfSeries(), 1) << early;
    }
}

TEST(ParallelLoad, ProgressGrowsToTheWholeFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.txt"));
    const QByteArray bytes = Values(20000, 3) + "\n" + Values(20000, 4) + "\n";
    WriteFile(path, bytes);
    RecordingSink sink;
    PlotModel model(sink);
    LoadProgress progress;
    std::vector<int> seen;
    QObject::connect(&model, &PlotModel::changed, [&] { seen.push_back(progress.Percent()); });
    DataFileLoader loader(model, &progress);
    loader.SetThreads(LineThreads{2, 1000});
    ASSERT_TRUE(loader.SetFileName(path));
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_GT(seen.back(), 0);
    EXPECT_EQ(progress.Percent(), 100);
    EXPECT_EQ(model.NumberOfPoints(), 40000);
}

TEST(ParallelLoad, RandomTextsAsOneLineAfterTheOther)
{
    // Files pieced together from the words and bytes that matter to the parser, cut into
    // blocks of every small size.
    const char* const pieces[] = {"1", "-2.5", "3e4", " ", "  ", ",", ", ", ",,", ";", "; name", "(1, 2)", "(3 4)",
                                  "(2020-01-31, 5)", "(", ")", "x", "\t", "\r\n", "\n", "\n;c\n", "\xC3\xA9",
                                  "\xE9", "\xE2\x82", "\xAC", "1e999", "\x01", "12345678901234567890"};
    std::mt19937 random(20261210);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("random.txt"));
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes;
        const int count = static_cast<int>(random() % 60);
        for (int k = 0; k < count; ++k)
            bytes += pieces[random() % std::size(pieces)];
        WriteFile(path, bytes);
        const LineThreads threads{static_cast<int>(1 + random() % 3), 1 + random() % 24};
        EXPECT_EQ(FromFile(path, threads), Serial(path))
            << bytes.toHex().toStdString() << " with " << threads.threads << " threads, blocks of "
            << threads.blockBytes;
    }
}
