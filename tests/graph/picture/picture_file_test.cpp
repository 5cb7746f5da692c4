// Pictures out: the format a name chooses, the size of a vector picture of much data, and
// writing the bytes whole or not at all.
#include "core/recording_sink.h"
#include "graph/data/plot_model.h"
#include "graph/picture/picture_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdint>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <unistd.h>

using namespace plotwell;

TEST(PictureFormat, ByNameAndExtensionInAnyCase)
{
    const struct {
        const char* path;
        std::optional<PictureFormat> format;
    } cases[] = {
        {"a.png", PictureFormat::Png}, {"a.SVG", PictureFormat::Svg}, {"/x.y/a.Pdf", PictureFormat::Pdf},
        {"a.svg.png", PictureFormat::Png}, {"a", std::nullopt}, {"/x.svg/a", std::nullopt},
        {".svg", std::nullopt}, {"a.gif", std::nullopt}, {"a.", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PictureFormatOfPath(QString::fromLatin1(c.path)), c.format) << c.path;
    EXPECT_EQ(PictureFormatNamed(QStringLiteral("pDf")), PictureFormat::Pdf);
    EXPECT_EQ(PictureFormatNamed(QStringLiteral("jpeg")), std::nullopt);
}

// 8 series of 1,000,000 points, the benchmark's random walks: the vector picture is reduced to
// the picture's pixel columns, as the bitmap is, so it stays a few megabytes.
TEST(VectorPicture, ManyPointsMakeASmallSvg)
{
    RecordingSink sink;
    PlotModel model(sink);
    // bench/gendata.cpp's generator: the series take turns at one sequence, in hundredths.
    std::uint64_t state = 0x2545F4914F6CDD1DULL;
    for (int n = 1; n <= 8; ++n) {
        model.AddSeries();
        long long level = 10000 + 1000 * (n - 1);
        for (int i = 0; i < 1000000; ++i) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            level += static_cast<long long>(static_cast<std::uint32_t>(state >> 33) % 201) - 100;
            model.AddPoint(n, nullvalue, static_cast<double>(level) / 100);
        }
    }
    model.SetOption(&PlotOptions::lineWidth, 2); // as the window and plotwell-render draw
    for (const bool points : {false, true}) {
        SCOPED_TRACE(points ? "markers" : "lines");
        model.SetOption(&PlotOptions::showPoints, points);
        const VectorPicture svg = DrawVectorPicture(model, PictureFormat::Svg, QSize(600, 400), DrawRequest{});
        EXPECT_TRUE(svg.drawing.foundData);
        EXPECT_GT(svg.bytes.size(), 10000);
        EXPECT_LE(svg.bytes.size(), 3 * 1024 * 1024);
    }
}

// The SVG writer leaves clipping out, so a view's lines and markers are cut to the plot area
// before they reach it: nothing of the series lies left of the Y axis or above the plot.
TEST(VectorPicture, AViewKeepsItsSeriesInsideThePlotArea)
{
    RecordingSink sink;
    PlotModel model(sink);
    model.AddSeries();
    for (int i = 0; i < 400; ++i)
        model.AddPoint(1, nullvalue, (i % 7) * 10.0);
    model.SetOption(&PlotOptions::lineWidth, 3);
    model.SetOption(&PlotOptions::showLegend, false); // red text outside the plot
    DrawRequest request;
    request.view.x = ViewSpan{100, 160};
    request.view.y = ViewSpan{10, 40};
    const VectorPicture svg = DrawVectorPicture(model, PictureFormat::Svg, QSize(600, 400), request);
    ASSERT_FALSE(svg.bytes.isEmpty());
    QImage picture(600, 400, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    QSvgRenderer(svg.bytes).render(&painter);
    painter.end();
    const PlotGeometry& g = svg.drawing.geometry;
    int outside = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 600; ++x) {
            const bool inPlot = x >= g.cornerx - 1 && x <= g.cornerx + g.xwid + 1 && y >= g.bottomy - g.ywid - 1 &&
                                y <= g.bottomy + 1;
            const QRgb p = picture.pixel(x, y);
            // Series 1 is red.
            if (!inPlot && qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80)
                ++outside;
        }
    EXPECT_EQ(outside, 0);
}

// A failed write leaves no new file and an old one as it was, and says why.
TEST(WriteWholeFile, FailuresLeaveTheOldFile)
{
    QTemporaryDir dir;
    const QByteArray old = "old picture";
    const QString existing = dir.filePath(QStringLiteral("old.svg"));
    WriteFile(existing, old);
    QString error;
    EXPECT_TRUE(WriteWholeFile("new picture", existing, &error));
    EXPECT_EQ(ReadFile(existing), QByteArray("new picture"));

    WriteFile(existing, old);
    {
        ScopedFileSizeLimit limit(4096);
        EXPECT_FALSE(WriteWholeFile(QByteArray(100000, 'x'), existing, &error));
    }
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadFile(existing), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.svg")});

    error.clear();
    EXPECT_FALSE(WriteWholeFile("x", dir.filePath(QStringLiteral("no/such/a.png")), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(WriteWholeFile("x", dir.path(), &error));
    EXPECT_EQ(error, QStringLiteral("it is a folder"));

    if (QFileInfo::exists(QStringLiteral("/dev/full"))) {
        error.clear();
        EXPECT_FALSE(WriteWholeFile("x", QStringLiteral("/dev/full"), &error));
        EXPECT_FALSE(error.isEmpty());
    }
    // Root writes into any folder.
    if (geteuid() != 0) {
        const QString locked = dir.filePath(QStringLiteral("locked"));
        QDir().mkdir(locked);
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
        error.clear();
        EXPECT_FALSE(WriteWholeFile("x", locked + QStringLiteral("/a.pdf"), &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(QDir(locked).isEmpty());
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}
