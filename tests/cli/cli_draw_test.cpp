// plotwell-render -o: the picture it writes and the options that shape it.
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct DrawRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

struct CliDraw : ::testing::Test
{
    QTemporaryDir dir;

    QString write(const QString& name, const QByteArray& bytes)
    {
        WriteFile(dir.filePath(name), bytes);
        return dir.filePath(name);
    }

    DrawRun render(const QStringList& args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb")); // the tool must not care
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(PLOTWELL_RENDER), args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return DrawRun{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }

    QString png(const char* name = "out.png") { return dir.filePath(QString::fromLatin1(name)); }
};

QRgb rgb(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

} // namespace

TEST_F(CliDraw, WritesTheControlsPictureAndTheSameStatusLine)
{
    const QString data = write(QStringLiteral("rise.txt"), "40 40 30 10\n");
    const DrawRun plain = render({data});
    EXPECT_FALSE(QFile::exists(png())); // nothing is drawn without -o
    const DrawRun drawn = render({QStringLiteral("-o"), png(), QStringLiteral("--no-points"), data});
    EXPECT_EQ(drawn.exitCode, 0);
    EXPECT_EQ(drawn.err, QString());
    EXPECT_EQ(drawn.out, plain.out);
    EXPECT_EQ(drawn.out, QStringLiteral(" 4 pts    Min: 10    Max: 40    Avg: 30    Std Dev: 14.142\n"));

    const QImage image(png());
    ASSERT_EQ(image.size(), QSize(600, 400));
    for (int y = 83; y <= 370; ++y)
        ASSERT_EQ(rgb(image, 60, y), 0u) << y;
    for (int x = 60; x <= 539; ++x)
        ASSERT_EQ(rgb(image, x, 370), 0u) << x;
    EXPECT_EQ(rgb(image, 540, 370), 0xFFFFF8u); // right of the axis' end
    EXPECT_EQ(rgb(image, 540, 369), 0x808080u); // the first dot of a vertical grid line
    EXPECT_EQ(rgb(image, 540, 371), 0u);         // the tick, two pixels for line width 2
    EXPECT_EQ(rgb(image, 540, 372), 0u);
    EXPECT_EQ(rgb(image, 5, 5), 0xFFFFF8u);      // the ivory background
    EXPECT_EQ(rgb(image, 140, 82), 0xFF0000u);   // the series line in red
}

TEST_F(CliDraw, OptionsShapeThePicture)
{
    const QString data = write(QStringLiteral("two.txt"), "1 2 3 ;Alpha\n3 2 1 ;Beta\n");
    ASSERT_EQ(render({QStringLiteral("-o"), png("small.png"), QStringLiteral("--size"), QStringLiteral("300x200"), data}).exitCode, 0);
    EXPECT_EQ(QImage(png("small.png")).size(), QSize(300, 200));

    // Twice the device pixels, at the same logical positions: the Y axis fills device
    // columns 120 and 121.
    ASSERT_EQ(render({QStringLiteral("-o"), png("sharp.png"), QStringLiteral("--scale"), QStringLiteral("2"),
                      QStringLiteral("--no-hgrid"), data})
                  .exitCode,
              0);
    const QImage sharp(png("sharp.png"));
    ASSERT_EQ(sharp.size(), QSize(1200, 800));
    EXPECT_EQ(rgb(sharp, 120, 400), 0u);
    EXPECT_EQ(rgb(sharp, 121, 400), 0u);
    EXPECT_NE(rgb(sharp, 123, 400), 0u);

    // The legend goes with --no-legend, the grid with --no-hgrid/--no-vgrid, and a title
    // and labels can be given.
    ASSERT_EQ(render({QStringLiteral("-o"), png("bare.png"), QStringLiteral("--no-legend"), QStringLiteral("--no-hgrid"),
                      QStringLiteral("--no-vgrid"), QStringLiteral("--title"), QString(), QStringLiteral("--xlabel"),
                      QString(), QStringLiteral("--ylabel"), QString(), data})
                  .exitCode,
              0);
    const QImage bare(png("bare.png"));
    int grey = 0;
    int ink = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 600; ++x) {
            grey += rgb(bare, x, y) == 0x808080u;
            ink += y < 60 && rgb(bare, x, y) != 0xFFFFF8u;
        }
    EXPECT_EQ(grey, 0);
    EXPECT_EQ(ink, 0); // no title, no legend
}

TEST_F(CliDraw, BadDrawingOptionsExitWithTwo)
{
    const QString data = write(QStringLiteral("d.txt"), "1 2 3\n");
    const QStringList bad[] = {
        {QStringLiteral("-o")},
        {QStringLiteral("--size"), QStringLiteral("0x400")},
        {QStringLiteral("--size"), QStringLiteral("600*400")},
        {QStringLiteral("--scale"), QStringLiteral("5")},
        {QStringLiteral("--type"), QStringLiteral("donut")},
        {QStringLiteral("--smoothing"), QStringLiteral("7")},
        {QStringLiteral("--line-width"), QStringLiteral("0")},
        {QStringLiteral("--title")},
    };
    for (const QStringList& args : bad) {
        const DrawRun r = render(args + QStringList{data});
        EXPECT_EQ(r.exitCode, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("usage: plotwell-render"))) << r.err.toStdString();
    }
}

TEST_F(CliDraw, EmptyDataAndUnwritableFiles)
{
    // Nothing to plot: the background is written, the exit status says so.
    const DrawRun empty = render({QStringLiteral("-o"), png(), write(QStringLiteral("e.txt"), "; nothing\n")});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.out, QStringLiteral("0 points\n"));
    EXPECT_EQ(QImage(png()).pixel(300, 200) & 0xFFFFFF, 0xFFFFF8u);

    const QString nowhere = dir.filePath(QStringLiteral("no/such/folder/out.png"));
    const DrawRun r = render({QStringLiteral("-o"), nowhere, write(QStringLiteral("d.txt"), "1 2 3\n")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, QStringLiteral("plotwell-render: cannot write ") + nowhere + QStringLiteral("\n"));
}
