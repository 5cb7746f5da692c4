// plotwell-render as outside callers see it: stdout, stderr and exit status per locale.
#include "cli/render_options.h"
#include "cli/stderr_sink.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace plotwell;

namespace {

struct RunResult
{
    int exitCode = -1;
    QString out;
    QString err;
};

RunResult Render(const QStringList& args, const QString& locale = QStringLiteral("en_US.UTF-8"))
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), locale);
    env.insert(QStringLiteral("LANG"), locale);
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(PLOTWELL_RENDER), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return RunResult{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

struct CliFixture : ::testing::Test
{
    QTemporaryDir dir;
    QString write(const QString& name, const QByteArray& bytes)
    {
        WriteFile(dir.filePath(name), bytes);
        return dir.filePath(name);
    }
};

} // namespace

TEST_F(CliFixture, StatusAndSummaryPerLocale)
{
    const QString path = write(QStringLiteral("shops.txt"),
                               "; monthly sales\n120, 135, 150, 160 ;Shop A\n\n100 90 115 140 ;Shop B\n");
    const struct {
        const char* locale;
        const char* out;
    } cases[] = {
        {"en_US.UTF-8", " 8 pts    Min: 90    Max: 160    Avg: 126.25    Std Dev: 24.312\n"
                        "Series 1:     4 pts    Min: 120    Max: 160    Avg: 141.25    Std Dev: 17.5\n"
                        "Series 2:     4 pts    Min: 90    Max: 140    Avg: 111.25    Std Dev: 21.747\n"},
        {"en_GB.UTF-8", " 8 pts    Min: 90    Max: 160    Avg: 126.25    Std Dev: 24.312\n"
                        "Series 1:     4 pts    Min: 120    Max: 160    Avg: 141.25    Std Dev: 17.5\n"
                        "Series 2:     4 pts    Min: 90    Max: 140    Avg: 111.25    Std Dev: 21.747\n"},
        {"de_DE.UTF-8", " 8 pts    Min: 90    Max: 160    Avg: 126,25    Std Dev: 24,312\n"
                        "Series 1:     4 pts    Min: 120    Max: 160    Avg: 141,25    Std Dev: 17,5\n"
                        "Series 2:     4 pts    Min: 90    Max: 140    Avg: 111,25    Std Dev: 21,747\n"},
    };
    for (const auto& c : cases) {
        const RunResult r = Render({QStringLiteral("--summary"), path}, QString::fromLatin1(c.locale));
        EXPECT_EQ(r.exitCode, 0) << c.locale;
        EXPECT_EQ(r.out, QString::fromLatin1(c.out)) << c.locale;
        EXPECT_EQ(r.err, QString()) << c.locale;
    }
}

TEST_F(CliFixture, DatesFollowTheLocale)
{
    const QString us = write(QStringLiteral("us.txt"), "(1/31/2020, 1000) (2/29/2020, 2500.5)\n");
    const QString de = write(QStringLiteral("de.txt"), "(31.01.2020, 1000) (29.02.2020, 2500.5)\n");
    EXPECT_EQ(Render({us}).out, QStringLiteral(" 2 pts    Min: 1000    Max: 2500.5    Avg: 1750.25    Std Dev: 1061.014\n"));
    EXPECT_EQ(Render({de}, QStringLiteral("de_DE.UTF-8")).out,
              QStringLiteral(" 2 pts    Min: 1000    Max: 2500,5    Avg: 1750,25    Std Dev: 1061,014\n"));
    const RunResult wrong = Render({de}); // not a date in en_US, and not a number either
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_TRUE(wrong.err.contains(QStringLiteral("Invalid X data for point at character position 2: \"31.01.2020\"")))
        << wrong.err.toStdString();
}

TEST_F(CliFixture, HiddenSeriesAndThousands)
{
    QByteArray big;
    for (int i = 0; i < 1500; ++i)
        big += "2 ";
    const QString path = write(QStringLiteral("three.txt"), "1 2 3\n" + big + "\n10 20\n");
    const RunResult r = Render({QStringLiteral("--hide"), QStringLiteral("2"), QStringLiteral("--summary"), path});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QStringLiteral(" 5 pts    Min: 1    Max: 20    Avg: 7.2    Std Dev: 7.981\n"
                                    "Series 1:     3 pts    Min: 1    Max: 3    Avg: 2    Std Dev: 1\n"
                                    "Series 3:     2 pts    Min: 10    Max: 20    Avg: 15    Std Dev: 7.071\n"));
    EXPECT_TRUE(Render({path}, QStringLiteral("de_DE.UTF-8")).out.startsWith(QStringLiteral(" 1.505 pts")));
    const QString lone = write(QStringLiteral("lone.txt"), "4 5\n");
    EXPECT_EQ(Render({QStringLiteral("--hide"), QStringLiteral("1"), lone}).out.left(6), QStringLiteral(" 2 pts"));
}

TEST_F(CliFixture, MessagesOnStderrOneLineEach)
{
    const QString bad = write(QStringLiteral("bad.txt"), "1 2 3\n(1, 2)\n");
    const RunResult r = Render({bad});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, QStringLiteral("0 points\n"));
    EXPECT_EQ(r.err, QStringLiteral("Invalid input: Series 2\\r\\rAll series of points added must contain the same kind "
                                    "of points - either (X,Y) data or just Y values.\\r\\rThis is because they cannot "
                                    "share the same X-axis.\nError reading from line 2 of file \\r\\r") +
                         bad + QStringLiteral("\n"));

    const RunResult missing = Render({dir.filePath(QStringLiteral("nope.txt"))});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, QStringLiteral("File not found:\\r\\r") + dir.filePath(QStringLiteral("nope.txt")) +
                               QStringLiteral("\n"));

    const RunResult empty = Render({write(QStringLiteral("empty.txt"), "; nothing\n")});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.err, QStringLiteral("No points to plot\n"));

    // A pie asked for on the command line says once why negative series are missing.
    const RunResult pie = Render({QStringLiteral("--type"), QStringLiteral("pie"), QStringLiteral("-o"),
                                  dir.filePath(QStringLiteral("pie.png")),
                                  write(QStringLiteral("negative.txt"), "1 2 3\n4 -5 6\n-1 7 8\n")});
    EXPECT_EQ(pie.exitCode, 0);
    EXPECT_EQ(pie.err, QStringLiteral("Cannot draw a pie graph when some of the data is negative.\n"));
    EXPECT_TRUE(pie.out.startsWith(QStringLiteral(" 9 pts"))) << pie.out.toStdString();
}

TEST_F(CliFixture, ColumnFilesAndTheirOptions)
{
    // Eleven columns after X: three left out, said once on stderr.
    QByteArray wide = "t,a,b,c,d,e,f,g,h,i,j,k\n";
    for (int row = 1; row <= 3; ++row)
        wide += QByteArray::number(row) + QByteArray(",5").repeated(11) + "\n";
    const QString csv = write(QStringLiteral("wide.csv"), wide);
    RunResult r = Render({csv});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral(" 24 pts"))) << r.out.toStdString();
    EXPECT_EQ(r.err, QStringLiteral("plotwell-render: Columns 10 to 12 were left out: at most 8 series are drawn.\n"));

    // The first column as a series too: nine series, four left out.
    r = Render({QStringLiteral("--no-x-column"), csv});
    EXPECT_TRUE(r.out.startsWith(QStringLiteral(" 24 pts    Min: 1"))) << r.out.toStdString();
    EXPECT_EQ(r.err, QStringLiteral("plotwell-render: Columns 9 to 12 were left out: at most 8 series are drawn.\n"));

    // --layout overrides the name, for standard input too.
    const QString txt = write(QStringLiteral("columns.txt"), "5,1\n4,2\n");
    EXPECT_TRUE(Render({QStringLiteral("--layout"), QStringLiteral("columns"), QStringLiteral("--summary"), txt})
                    .out.contains(QStringLiteral("Series 2:     2 pts")));
    EXPECT_TRUE(Render({QStringLiteral("--layout"), QStringLiteral("columns"), QStringLiteral("--x-column"),
                        QStringLiteral("--summary"), txt})
                    .out.startsWith(QStringLiteral(" 2 pts    Min: 1    Max: 2")));
    EXPECT_TRUE(Render({QStringLiteral("--layout"), QStringLiteral("lines"), QStringLiteral("--summary"), csv})
                    .err.startsWith(QStringLiteral("Error reading from line 1")));
    QProcess p;
    p.start(QStringLiteral(PLOTWELL_RENDER), {QStringLiteral("--layout"), QStringLiteral("columns"), QStringLiteral("-")});
    p.write("a;b\n1;2,5\n2;3,5\n");
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()),
              QStringLiteral(" 2 pts    Min: 2.5    Max: 3.5    Avg: 3    Std Dev: 0.707\n"));
}

TEST(CliArguments, BadCommandLinesExitWithTwo)
{
    for (const QStringList& args : {QStringList{}, QStringList{QStringLiteral("--hide"), QStringLiteral("9"), QStringLiteral("f")},
                                    QStringList{QStringLiteral("--hide")}, QStringList{QStringLiteral("--bogus"), QStringLiteral("f")},
                                    QStringList{QStringLiteral("a"), QStringLiteral("b")}}) {
        const RunResult r = Render(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("usage: plotwell-render"))) << r.err.toStdString();
        EXPECT_EQ(r.out, QString());
    }
}

TEST(StderrSink, EscapesLineBreaks)
{
    EXPECT_EQ(StderrSink::Escape(QStringLiteral("a\r\rb\nc")), QByteArray("a\\r\\rb\\nc"));
}
