// plotwell-render -o: the picture it writes and the options that shape it.
#include "cli/render_options.h"
#include "core/recording_sink.h"
#include "graph/data/plot_model.h"
#include "graph/draw/canvas.h"
#include "graph/draw/renderer.h"
#include "graph/load/data_file_loader.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

struct DrawRun
{
    int exitCode = -1;
    QString out;
    QString err;
    QByteArray outBytes;
};

struct CliDraw : ::testing::Test
{
    QTemporaryDir dir;

    QString write(const QString& name, const QByteArray& bytes)
    {
        WriteFile(dir.filePath(name), bytes);
        return dir.filePath(name);
    }

    // `limits`: shell commands run before the tool starts (ulimit ...).
    DrawRun render(const QStringList& args, const QByteArray& input = {}, const QString& limits = {})
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb")); // the tool must not care
        p.setProcessEnvironment(env);
        if (limits.isEmpty())
            p.start(QStringLiteral(PLOTWELL_RENDER), args);
        else
            p.start(QStringLiteral("/bin/sh"), QStringList{QStringLiteral("-c"), limits + QStringLiteral("; exec \"$0\" \"$@\""),
                                                           QStringLiteral(PLOTWELL_RENDER)} +
                                                   args);
        EXPECT_TRUE(p.waitForStarted(60000));
        p.write(input);
        p.closeWriteChannel();
        EXPECT_TRUE(p.waitForFinished(60000));
        const QByteArray out = p.readAllStandardOutput();
        return DrawRun{p.exitCode(), QString::fromUtf8(out), QString::fromUtf8(p.readAllStandardError()), out};
    }

    QString png(const char* name = "out.png") { return dir.filePath(QString::fromLatin1(name)); }
};

QRgb Rgb(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

// The share of pixels two pictures of one size have alike; 0 for different sizes.
double SameShare(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull())
        return 0;
    qint64 same = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            same += Rgb(a, x, y) == Rgb(b, x, y);
    return static_cast<double>(same) / (qint64(a.width()) * a.height());
}

// An SVG or PDF as others show it: through rsvg-convert, or pdftoppm at 96 dots per inch. The
// SVG asks for crisp edges; PDF has no such request, so pdftoppm is told not to smooth (with its
// smoothing the edges of wide lines and texts differ, some 1 to 2 % of the pixels).
QImage Rasterised(const QString& file, const QByteArray& magic, const QString& stem)
{
    if (magic == "<?xml")
        QProcess::execute(QStringLiteral("rsvg-convert"), {QStringLiteral("-o"), stem + QStringLiteral(".png"), file});
    else
        QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-aa"),
                                                       QStringLiteral("no"), QStringLiteral("-aaVector"), QStringLiteral("no"),
                                                       QStringLiteral("-png"), QStringLiteral("-singlefile"), file, stem});
    return QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

QString PdfText(const QString& file)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
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
        ASSERT_EQ(Rgb(image, 60, y), 0u) << y;
    for (int x = 60; x <= 539; ++x)
        ASSERT_EQ(Rgb(image, x, 370), 0u) << x;
    EXPECT_EQ(Rgb(image, 540, 370), 0xFFFFF8u); // right of the axis' end
    EXPECT_EQ(Rgb(image, 540, 369), 0x808080u); // the first dot of a vertical grid line
    EXPECT_EQ(Rgb(image, 540, 371), 0u);         // the tick, two pixels for line width 2
    EXPECT_EQ(Rgb(image, 540, 372), 0u);
    EXPECT_EQ(Rgb(image, 5, 5), 0xFFFFF8u);      // the ivory background
    EXPECT_EQ(Rgb(image, 140, 82), 0xFF0000u);   // the series line in red
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
    EXPECT_EQ(Rgb(sharp, 120, 400), 0u);
    EXPECT_EQ(Rgb(sharp, 121, 400), 0u);
    EXPECT_NE(Rgb(sharp, 123, 400), 0u);

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
            grey += Rgb(bare, x, y) == 0x808080u;
            ink += y < 60 && Rgb(bare, x, y) != 0xFFFFF8u;
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

// SVG and PDF are the PNG's drawing: shown by other programs, at least 99 % of the pixels agree,
// and the texts are text.
TEST_F(CliDraw, EveryFormatIsTheSamePicture)
{
    const QString data = write(QStringLiteral("Sales.txt"), "5 9 7 3 8 ;Alpha\n2 4 6 8 3 ;Beta\n");
    const struct {
        const char* name; // of the picture
        QStringList format;
        QByteArray magic;
    } outputs[] = {
        {"out.svg", {}, "<?xml"},
        {"OUT.Svg", {}, "<?xml"},
        {"out.pdf", {}, "%PDF-"},
        {"OUT.PDF", {}, "%PDF-"},
        {"out.png.svg", {}, "<?xml"},
        {"vector.png", {QStringLiteral("--format"), QStringLiteral("svg")}, "<?xml"},
        {"page.svg", {QStringLiteral("--format"), QStringLiteral("PDF")}, "%PDF-"},
        {"bitmap.svg", {QStringLiteral("--format"), QStringLiteral("png")}, "\x89PNG"},
        {"no-extension", {}, "\x89PNG"},
    };
    for (const char* type : {"line", "bar", "pie"}) {
        const QStringList common{QStringLiteral("--type"), QString::fromLatin1(type), data};
        ASSERT_EQ(render(QStringList{QStringLiteral("-o"), png()} + common).exitCode, 0);
        const QImage bitmap = QImage(png()).convertToFormat(QImage::Format_RGB32);
        for (const auto& o : outputs) {
            SCOPED_TRACE(std::string(type) + " " + o.name);
            const QString file = dir.filePath(QString::fromLatin1(o.name));
            const DrawRun r = render(QStringList{QStringLiteral("-o"), file} + o.format + common);
            ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
            const QByteArray bytes = ReadFile(file);
            ASSERT_TRUE(bytes.startsWith(o.magic)) << bytes.left(20).toStdString();
            if (o.magic == "\x89PNG") {
                EXPECT_EQ(QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32), bitmap);
                continue;
            }
            EXPECT_GE(SameShare(Rasterised(file, o.magic, file + QStringLiteral("-shown")), bitmap), 0.99);
            if (o.magic == "<?xml") {
                EXPECT_TRUE(bytes.contains(R"(width="600px" height="400px")"));
                EXPECT_TRUE(bytes.contains(R"(shape-rendering="crispEdges")"));
                EXPECT_TRUE(bytes.contains(">Sales<")) << "texts as text";
            } else {
                const QString text = PdfText(file);
                EXPECT_TRUE(text.contains(QStringLiteral("Sales"))) << text.toStdString();
            }
        }
    }
}

// -o - sends the picture down standard output, PNG unless --format says otherwise; the status
// line goes to standard error then.
TEST_F(CliDraw, PictureOnStandardOutput)
{
    const QString data = write(QStringLiteral("d.txt"), "40 40 30 10\n");
    ASSERT_EQ(render({QStringLiteral("-o"), png(), data}).exitCode, 0);
    const struct {
        QStringList format;
        QByteArray magic;
    } cases[] = {{{}, "\x89PNG"}, {{QStringLiteral("--format"), QStringLiteral("svg")}, "<?xml"},
                 {{QStringLiteral("--format"), QStringLiteral("pdf")}, "%PDF-"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.magic.toStdString());
        const DrawRun r = render(QStringList{QStringLiteral("-o"), QStringLiteral("-"), QStringLiteral("--summary")} + c.format +
                                 QStringList{data});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_TRUE(r.outBytes.startsWith(c.magic));
        EXPECT_EQ(r.err, QStringLiteral(" 4 pts    Min: 10    Max: 40    Avg: 30    Std Dev: 14.142\n"
                                        "Series 1:     4 pts    Min: 10    Max: 40    Avg: 30    Std Dev: 14.142\n"));
        if (c.format.isEmpty()) {
            EXPECT_EQ(r.outBytes, ReadFile(png()));
        }
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("-"))));
    const DrawRun bad = render({QStringLiteral("-o"), QStringLiteral("-"), QStringLiteral("--format"), QStringLiteral("gif"), data});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.startsWith(QStringLiteral("plotwell-render: --format takes png, svg or pdf\n"))) << bad.err.toStdString();
    EXPECT_TRUE(bad.outBytes.isEmpty());
}

TEST_F(CliDraw, FailedRunsLeaveTheOldPicture)
{
    // A picture only follows a run that succeeds; the old one stays as it was, and no cut
    // picture or temporary file is left behind.
    const QByteArray old = "the old picture";
    const QString good = write(QStringLiteral("good.txt"), "1 2 3\n");
    const struct {
        const char* name;
        QStringList data;
        QString limits;
        QString err;
    } cases[] = {
        {"missing file", {dir.filePath(QStringLiteral("nope.txt"))}, {},
         QStringLiteral("File not found:\\r\\r") + dir.filePath(QStringLiteral("nope.txt")) + u'\n'},
        {"bad line", {write(QStringLiteral("bad.txt"), "1 2 x\n")}, {}, {}},
        {"no data line", {write(QStringLiteral("empty.txt"), "; nothing\n")}, {}, QStringLiteral("No points to plot\n")},
        {"every series hidden",
         {QStringLiteral("--hide"), QStringLiteral("1"), QStringLiteral("--hide"), QStringLiteral("2"),
          write(QStringLiteral("two.txt"), "1 2\n3 4\n")},
         {},
         QStringLiteral("plotwell-render: nothing to plot\n")},
        {"a folder that does not exist", {QStringLiteral("-o"), dir.filePath(QStringLiteral("no/such/%1")), good}, {},
         QStringLiteral("plotwell-render: cannot write ") + dir.filePath(QStringLiteral("no/such/%1: "))},
        {"full disk", {good}, QStringLiteral("ulimit -f 2; trap '' XFSZ"), QStringLiteral("plotwell-render: cannot write %2: ")},
    };
    // Each format: a picture cut short by a full disk must not replace the old one either.
    for (const char* name : {"out.png", "out.svg", "out.pdf"}) {
        const QString target = dir.filePath(QString::fromLatin1(name));
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " " + name);
            WriteFile(target, old);
            const QStringList before = QDir(dir.path()).entryList(QDir::Files);
            QStringList args{QStringLiteral("-o"), target};
            for (const QString& arg : c.data)
                args << QString(arg).replace(QStringLiteral("%1"), QString::fromLatin1(name));
            const DrawRun r = render(args, {}, c.limits);
            EXPECT_EQ(r.exitCode, 1);
            const QString err = QString(c.err).replace(QStringLiteral("%1"), QString::fromLatin1(name)).replace(QStringLiteral("%2"), target);
            if (!err.isEmpty()) {
                EXPECT_TRUE(r.err.startsWith(err)) << r.err.toStdString();
            }
            EXPECT_EQ(ReadFile(target), old);
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), before);
        }
    }
}

TEST_F(CliDraw, FullDevice)
{
    // Root could replace the device by a picture should the tool ever rename over it.
    if (geteuid() == 0 || !QFileInfo(QStringLiteral("/dev/full")).exists())
        GTEST_SKIP() << "run as root, or no /dev/full";
    const DrawRun r = render({QStringLiteral("-o"), QStringLiteral("/dev/full"), write(QStringLiteral("d.txt"), "1 2 3\n")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("plotwell-render: cannot write /dev/full: "))) << r.err.toStdString();
}

TEST_F(CliDraw, PictureThatDoesNotFitInMemory)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer needs more address space than the limit leaves";
#else
    const DrawRun r = render({QStringLiteral("-o"), png(), QStringLiteral("--size"), QStringLiteral("10000x10000"),
                              write(QStringLiteral("d.txt"), "1 2 3\n")},
                             {}, QStringLiteral("ulimit -v 400000"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, QStringLiteral("plotwell-render: not enough memory for a 10000 x 10000 picture\n"));
    EXPECT_FALSE(QFile::exists(png()));
#endif
}

TEST_F(CliDraw, OutputOnTheDataFileOrTooLargeIsABadCommandLine)
{
    const QByteArray bytes = "1 2 3\n";
    const QString data = write(QStringLiteral("d.txt"), bytes);
    const QString link = dir.filePath(QStringLiteral("link.txt"));
    ASSERT_TRUE(QFile::link(data, link));
    const QString hard = dir.filePath(QStringLiteral("hard.txt"));
    ASSERT_EQ(::link(QFile::encodeName(data).constData(), QFile::encodeName(hard).constData()), 0);
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{QStringLiteral("-o"), data, data}, QStringLiteral("-o names the data file ") + data},
        {{QStringLiteral("-o"), dir.path() + QStringLiteral("/./d.txt"), data}, QStringLiteral("-o names the data file ") + data},
        {{QStringLiteral("-o"), link, data}, QStringLiteral("-o names the data file ") + data},
        {{QStringLiteral("-o"), data, link}, QStringLiteral("-o names the data file ") + link},
        {{QStringLiteral("-o"), hard, data}, QStringLiteral("-o names the data file ") + data},
        {{QStringLiteral("-o"), QString(), data}, QStringLiteral("-o needs a file name")},
        {{QStringLiteral("-o"), png(), QStringLiteral("--size"), QStringLiteral("10001x10000"), data},
         QStringLiteral("--size and --scale make a picture of 10001 x 10000 pixels; the limit is 100000000 pixels")},
        {{QStringLiteral("-o"), png(), QStringLiteral("--size"), QStringLiteral("5001x5000"), QStringLiteral("--scale"),
          QStringLiteral("2"), data},
         QStringLiteral("--size and --scale make a picture of 10002 x 10000 pixels; the limit is 100000000 pixels")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const DrawRun r = render(c.args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("plotwell-render: ") + c.message + u'\n')) << r.err.toStdString();
        EXPECT_EQ(ReadFile(data), bytes);
        EXPECT_FALSE(QFile::exists(png()));
    }
    // Exactly at the limit is allowed: the surface may be that large.
    const DrawRun atLimit = render({QStringLiteral("-o"), png(), QStringLiteral("--size"), QStringLiteral("5000x5000"),
                                    QStringLiteral("--scale"), QStringLiteral("2"), QStringLiteral("--no-points"), data});
    EXPECT_EQ(atLimit.exitCode, 0) << atLimit.err.toStdString();
    EXPECT_EQ(QImageReader(png()).size(), QSize(10000, 10000));
}

TEST_F(CliDraw, DataFromStandardInput)
{
    const DrawRun r = render({QStringLiteral("--summary"), QStringLiteral("-o"), png(), QStringLiteral("-")}, "40 40 30 10\n");
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral(" 4 pts    Min: 10    Max: 40    Avg: 30    Std Dev: 14.142\n"
                                    "Series 1:     4 pts    Min: 10    Max: 40    Avg: 30    Std Dev: 14.142\n"));
    const QImage image(png());
    ASSERT_EQ(image.size(), QSize(600, 400));
    // No title unless --title gives one: the band above the plot is background.
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 600; x += 3)
            ASSERT_EQ(Rgb(image, x, y), 0xFFFFF8u) << x << "," << y;

    const DrawRun bad = render({QStringLiteral("-")}, "1 2\n1 x\n");
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.err, QStringLiteral("Error reading from line 2 of file \\r\\r-\\r\\rError in input number: \"x\"\n"));
}

namespace {

// The picture the renderer draws in process for the same command line: the oracle of a view.
QImage DrawnInProcess(const QStringList& args, const QString& data)
{
    QString error;
    const std::optional<plotwell::RenderOptions> options = plotwell::ParseRenderArguments(args + QStringList{data}, error);
    EXPECT_TRUE(options) << error.toStdString();
    plotwell::RecordingSink sink;
    plotwell::PlotModel model(sink);
    plotwell::LoadDataFile(model, data);
    const std::optional<plotwell::PlotView> view = plotwell::ViewOfOptions(*options, model, error);
    EXPECT_TRUE(view) << error.toStdString();
    plotwell::ApplyDrawingOptions(*options, model);
    plotwell::Canvas canvas;
    canvas.SetSize(options->width, options->height);
    plotwell::DrawRequest request;
    request.view = view.value_or(plotwell::PlotView{});
    plotwell::DrawGraph(model, canvas, request);
    return canvas.Image().convertToFormat(QImage::Format_RGB32);
}

} // namespace

// --x-range and --y-range draw the view the window shows, and the status line covers it.
TEST_F(CliDraw, RangesDrawAViewAndItsStatusLine)
{
    QByteArray values;
    for (int i = 1; i <= 200; ++i)
        values += QByteArray::number((i * 37) % 101) + ' ';
    const QString data = write(QStringLiteral("values.txt"), values + '\n');
    const QString dates = write(QStringLiteral("dates.txt"), "(2021-11-19, 5) (2021-11-25, 7) (2021-11-29, 3)\n");
    // The status line of a file that holds only the points inside: its figures after "In view: ".
    const auto inView = [&](const QByteArray& points) {
        return QStringLiteral("In view: ") + render({write(QStringLiteral("inside.txt"), points + '\n')}).out;
    };
    QByteArray inside;
    for (int i = 21; i <= 60; ++i)
        inside += QByteArray::number((i * 37) % 101) + ' ';
    struct Case
    {
        const char* name;
        QStringList range;
        QString file;
        QString status;
    } const cases[] = {
        {"both ends", {QStringLiteral("--x-range"), QStringLiteral("20.5:60.25")}, data, inView(inside)},
        {"an open end", {QStringLiteral("--x-range"), QStringLiteral(":3")}, data, inView("37 74 10")},
        {"Y alone, the whole X", {QStringLiteral("--y-range=-10:50")}, data, render({data}).out},
        {"dates", {QStringLiteral("--x-range"), QStringLiteral("2021-11-20:")}, dates,
         inView("(2021-11-25, 7) (2021-11-29, 3)")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DrawRun run = render(QStringList{QStringLiteral("-o"), png()} + c.range + QStringList{c.file});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, c.status);
        EXPECT_EQ(QImage(png()).convertToFormat(QImage::Format_RGB32), DrawnInProcess(c.range, c.file));
    }
}

// A range that is empty, reversed, outside the data or not a range is a bad command line.
TEST_F(CliDraw, BadRangesExitTwoNamingTheOption)
{
    const QString data = write(QStringLiteral("ten.txt"), "1 5 3 8 2 9 4 7 6 10\n");
    struct Case
    {
        QStringList args;
        const char* message;
    } const cases[] = {
        {{QStringLiteral("--x-range"), QStringLiteral("6:3")}, "--x-range 6:3 is reversed"},
        {{QStringLiteral("--x-range"), QStringLiteral("3:3")}, "--x-range 3:3 is empty"},
        {{QStringLiteral("--x-range"), QStringLiteral("20:30")}, "--x-range 20:30 lies outside the data"},
        {{QStringLiteral("--y-range"), QStringLiteral("20:30")}, "--y-range 20:30 lies outside the data"},
        {{QStringLiteral("--y-range"), QStringLiteral("20:")}, "--y-range 20: is reversed"}, // to the data's largest Y
        {{QStringLiteral("--x-range"), QStringLiteral("a:3")}, "--x-range a:3 (a is not a number)"},
        {{QStringLiteral("--x-range"), QStringLiteral("1e999:")}, "--x-range 1e999: (1e999 is not a number)"},
        {{QStringLiteral("--y-range"), QStringLiteral("5")}, "--y-range takes A:B (either end may be left out)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const DrawRun run = render(c.args + QStringList{data});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("plotwell-render: ") + QString::fromLatin1(c.message) + QLatin1Char('\n')))
            << run.err.toStdString();
        EXPECT_EQ(run.out, QString());
    }
}
