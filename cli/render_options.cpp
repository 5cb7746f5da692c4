#include "cli/render_options.h"

#include "graph/plot_model.h"

#include <QFile>
#include <QRegularExpression>
#include <QSize>

#include <sys/stat.h>

#include <cmath>

namespace plotwell {

namespace {

std::optional<int> intArgument(const QString& text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<double> realArgument(const QString& text, double low, double high)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !(value >= low && value <= high))
        return std::nullopt;
    return value;
}

std::optional<Tgraphtype> graphTypeArgument(const QString& text)
{
    static const struct {
        const char* name;
        Tgraphtype type;
    } types[] = {{"line", gtline}, {"curve", gtcurve}, {"bar", gtbar}, {"stacked", gtstacked}, {"pie", gtpie}};
    for (const auto& t : types)
        if (text == QLatin1String(t.name))
            return t.type;
    return std::nullopt;
}

// The largest side of the surface: far beyond any screen, small enough for an image.
constexpr int kMaxSide = 30000;

// The most device pixels a picture may have: some 400 MB of image, drawn and then copied.
constexpr qint64 kMaxDevicePixels = 100'000'000;

} // namespace

QString RenderUsage()
{
    return QStringLiteral("usage: plotwell-render [OPTIONS] DATAFILE\n"
                          "  DATAFILE       a data file, or - to read the data from standard input\n"
                          "  --summary      print one summary line per displayed series\n"
                          "  --hide N       uncheck Display Series box N (1 to 8); repeatable\n"
                          "  -o FILE.png    draw the graph into a PNG file (nothing is drawn without it)\n"
                          "  --size WxH     the plotting surface's size in pixels (default 600x400)\n"
                          "  --scale F      device pixels per pixel, 1 to 4 (default 1)\n"
                          "  --type T       line, curve, bar, stacked or pie (default line)\n"
                          "  --smoothing N  curve smoothing, 1 to 6 (default 3)\n"
                          "  --line-width N line width, 1 to 30 (default 2)\n"
                          "  --no-points    do not mark the points\n"
                          "  --area         fill the area under lines and curves\n"
                          "  --no-hgrid     no horizontal grid lines\n"
                          "  --no-vgrid     no vertical grid lines\n"
                          "  --no-legend    no legend\n"
                          "  --no-floating-axis  keep the X axis at the bottom over negative values\n"
                          "  --title TEXT   the graph title (default: from the file name)\n"
                          "  --xlabel TEXT  the X axis label (default Datum)\n"
                          "  --ylabel TEXT  the Y axis label (default Value)\n"
                          "  --help         show this text\n");
}

std::optional<RenderOptions> ParseRenderArguments(const QStringList& args, QString& error)
{
    RenderOptions options;
    bool onlyFiles = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("%1 needs a value").arg(arg);
                return std::nullopt;
            }
            return args[++i];
        };
        // An option with a checked value: false (and `error` set) when it is missing or bad.
        const auto checked = [&](auto parse, auto& field, const QString& expected) {
            const auto text = value();
            if (!text)
                return false;
            const auto parsed = parse(*text);
            if (!parsed) {
                error = QStringLiteral("%1 takes %2").arg(arg, expected);
                return false;
            }
            field = *parsed;
            return true;
        };
        const auto text = [&](std::optional<QString>& field) {
            field = value();
            return field.has_value();
        };
        bool ok = true;
        if (onlyFiles || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            if (!options.dataFile.isEmpty()) {
                error = QStringLiteral("only one DATAFILE may be given");
                return std::nullopt;
            }
            options.dataFile = arg;
        } else if (arg == QLatin1String("--")) {
            onlyFiles = true;
        } else if (arg == QLatin1String("--summary")) {
            options.summary = true;
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            options.help = true;
        } else if (arg == QLatin1String("--hide")) {
            const auto n = value();
            if (!n)
                return std::nullopt;
            const auto number = intArgument(*n, 1, 8);
            if (!number) {
                error = QStringLiteral("--hide takes a series number from 1 to 8");
                return std::nullopt;
            }
            options.hidden.append(*number);
        } else if (arg == QLatin1String("-o")) {
            const auto path = value();
            ok = path.has_value() && !path->isEmpty();
            if (ok)
                options.output = *path;
            else if (path)
                error = QStringLiteral("-o needs a file name");
        } else if (arg == QLatin1String("--size")) {
            const auto parse = [](const QString& s) -> std::optional<QSize> {
                static const QRegularExpression form(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
                const auto match = form.match(s);
                if (!match.hasMatch())
                    return std::nullopt;
                const int w = match.captured(1).toInt();
                const int h = match.captured(2).toInt();
                if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide)
                    return std::nullopt;
                return QSize(w, h);
            };
            QSize size;
            ok = checked(parse, size, QStringLiteral("WIDTHxHEIGHT, each from 1 to %1").arg(kMaxSide));
            options.width = size.width();
            options.height = size.height();
        } else if (arg == QLatin1String("--scale")) {
            ok = checked([](const QString& s) { return realArgument(s, 1, 4); }, options.scale,
                         QStringLiteral("a number from 1 to 4"));
        } else if (arg == QLatin1String("--type")) {
            ok = checked(graphTypeArgument, options.graphType, QStringLiteral("line, curve, bar, stacked or pie"));
        } else if (arg == QLatin1String("--smoothing")) {
            ok = checked([](const QString& s) { return intArgument(s, 1, 6); }, options.smoothing,
                         QStringLiteral("a level from 1 to 6"));
        } else if (arg == QLatin1String("--line-width")) {
            ok = checked([](const QString& s) { return intArgument(s, 1, 30); }, options.lineWidth,
                         QStringLiteral("a width from 1 to 30"));
        } else if (arg == QLatin1String("--no-points")) {
            options.showPoints = false;
        } else if (arg == QLatin1String("--area")) {
            options.drawArea = true;
        } else if (arg == QLatin1String("--no-hgrid")) {
            options.horzGridLines = false;
        } else if (arg == QLatin1String("--no-vgrid")) {
            options.vertGridLines = false;
        } else if (arg == QLatin1String("--no-legend")) {
            options.showLegend = false;
        } else if (arg == QLatin1String("--no-floating-axis")) {
            options.floatingXAxis = false;
        } else if (arg == QLatin1String("--title")) {
            ok = text(options.title);
        } else if (arg == QLatin1String("--xlabel")) {
            ok = text(options.xLabel);
        } else if (arg == QLatin1String("--ylabel")) {
            ok = text(options.yLabel);
        } else {
            error = QStringLiteral("unknown option %1").arg(arg);
            return std::nullopt;
        }
        if (!ok)
            return std::nullopt;
    }
    if (options.dataFile.isEmpty() && !options.help) {
        error = QStringLiteral("no DATAFILE given");
        return std::nullopt;
    }
    if (!options.output.isEmpty()) {
        const QSize device = DevicePictureSize(options);
        if (qint64(device.width()) * device.height() > kMaxDevicePixels) {
            error = QStringLiteral("--size and --scale make a picture of %1 x %2 pixels; the limit is %3 pixels")
                        .arg(device.width())
                        .arg(device.height())
                        .arg(kMaxDevicePixels);
            return std::nullopt;
        }
    }
    return options;
}

QSize DevicePictureSize(const RenderOptions& options)
{
    return QSize(static_cast<int>(std::lround(options.width * options.scale)),
                 static_cast<int>(std::lround(options.height * options.scale)));
}

QString OutputProblem(const RenderOptions& options)
{
    if (options.output.isEmpty() || options.dataFile == QLatin1String("-"))
        return {};
    // The same file under another name, through a link or a hard link, is still the data.
    struct stat data {};
    struct stat output {};
    if (::stat(QFile::encodeName(options.dataFile).constData(), &data) != 0 ||
        ::stat(QFile::encodeName(options.output).constData(), &output) != 0)
        return {};
    if (data.st_dev == output.st_dev && data.st_ino == output.st_ino)
        return QStringLiteral("-o names the data file %1").arg(options.dataFile);
    return {};
}

void ApplyDrawingOptions(const RenderOptions& options, PlotModel& model)
{
    PlotOptions o = model.Options();
    o.LineWidth = options.lineWidth;
    o.smoothing = options.smoothing;
    o.ShowPoints = options.showPoints;
    o.DrawArea = options.drawArea;
    o.HorzGridLines = options.horzGridLines;
    o.VertGridLines = options.vertGridLines;
    o.ShowLegend = options.showLegend;
    o.FloatingXAxis = options.floatingXAxis;
    if (options.xLabel)
        o.XLabel = *options.xLabel;
    if (options.yLabel)
        o.YLabel = *options.yLabel;
    model.SetOptions(o);
    if (options.title)
        model.SetTitle(*options.title);
    model.SetGraphType(options.graphType);
}

} // namespace plotwell
