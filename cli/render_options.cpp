#include "cli/render_options.h"

#include "graph/data/date_reading.h"
#include "graph/data/graph_types.h"
#include "graph/data/plot_model.h"
#include "graph/data/value_range.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFile>
#include <QRegularExpression>
#include <QSize>

#include <sys/stat.h>

#include <cmath>

namespace plotwell {

namespace {

std::optional<int> IntArgument(const QString& text, OptionRange range)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || !range.Contains(value))
        return std::nullopt;
    return value;
}

constexpr OptionRange kSeriesNumberRange{1, maxseries};

// "1 to 30"
QString RangeText(OptionRange range)
{
    return QStringLiteral("%1 to %2").arg(range.low).arg(range.high);
}

std::optional<double> RealArgument(const QString& text, double low, double high)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !(value >= low && value <= high))
        return std::nullopt;
    return value;
}

// The largest side of the surface: far beyond any screen, small enough for an image.
constexpr int kMaxSide = 30000;

// The most device pixels a picture may have: some 400 MB of image, drawn and then copied.
constexpr qint64 kMaxDevicePixels = 100'000'000;

// The one description of the command line: the parse and the help text both come from it.
struct RenderCommandLine
{
    QCommandLineParser parser;
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption summary{QStringLiteral("summary"),
                                     QStringLiteral("After the status line, one summary line per displayed series.")};
    const QCommandLineOption hide{QStringLiteral("hide"),
                                  QStringLiteral("Uncheck Display Series box N (%1); repeatable. A lone series is "
                                                 "always displayed.")
                                      .arg(RangeText(kSeriesNumberRange)),
                                  QStringLiteral("N")};
    const QCommandLineOption output{QStringLiteral("o"),
                                    QStringLiteral("Draw the graph into FILE (nothing is drawn without it): PNG, SVG or PDF by "
                                                   "the extension (any case), PNG for another; - writes the "
                                                   "picture to standard output and the status line to standard "
                                                   "error."),
                                    QStringLiteral("FILE")};
    const QCommandLineOption format{QStringLiteral("format"),
                                    QStringLiteral("The picture's format whatever FILE is called: png, svg or pdf. "
                                                   "SVG and PDF are vectors of the surface's size in pixels "
                                                   "(--scale is for PNG)."),
                                    QStringLiteral("F")};
    const QCommandLineOption size{QStringLiteral("size"),
                                  QStringLiteral("The plotting surface's size in pixels (default 600x400)."),
                                  QStringLiteral("WxH")};
    const QCommandLineOption scale{QStringLiteral("scale"), QStringLiteral("Device pixels per pixel, 1 to 4 (default 1)."),
                                   QStringLiteral("F")};
    const QCommandLineOption type{QStringLiteral("type"),
                                  GraphTypeNameList() + QStringLiteral(" (default line)."), QStringLiteral("T")};
    const QCommandLineOption smoothing{
        QStringLiteral("smoothing"), QStringLiteral("Curve smoothing, %1 (default 3).").arg(RangeText(kSmoothingRange)),
        QStringLiteral("N")};
    const QCommandLineOption lineWidth{
        QStringLiteral("line-width"), QStringLiteral("Line width, %1 (default 2).").arg(RangeText(kLineWidthRange)),
        QStringLiteral("N")};
    const QCommandLineOption noPoints{QStringLiteral("no-points"), QStringLiteral("Do not mark the points.")};
    const QCommandLineOption area{QStringLiteral("area"), QStringLiteral("Fill the area under lines and curves.")};
    const QCommandLineOption noHGrid{QStringLiteral("no-hgrid"), QStringLiteral("No horizontal grid lines.")};
    const QCommandLineOption noVGrid{QStringLiteral("no-vgrid"), QStringLiteral("No vertical grid lines.")};
    const QCommandLineOption noLegend{QStringLiteral("no-legend"), QStringLiteral("No legend.")};
    const QCommandLineOption noFloatingAxis{QStringLiteral("no-floating-axis"),
                                            QStringLiteral("Keep the X axis at the bottom over negative values.")};
    const QCommandLineOption title{QStringLiteral("title"),
                                   QStringLiteral("The graph title (default: from the file name)."), QStringLiteral("TEXT")};
    const QCommandLineOption xLabel{QStringLiteral("xlabel"), QStringLiteral("The X axis label (default Datum)."),
                                    QStringLiteral("TEXT")};
    const QCommandLineOption yLabel{QStringLiteral("ylabel"), QStringLiteral("The Y axis label (default Value)."),
                                    QStringLiteral("TEXT")};
    const QCommandLineOption layout{
        QStringLiteral("layout"),
        QStringLiteral("lines (one series per line) or columns (one series per column); default: columns for "
                       ".csv and .tsv files, lines for every other file."),
        QStringLiteral("L")};
    const QCommandLineOption xColumn{QStringLiteral("x-column"),
                                     QStringLiteral("Columns: the first column is X, whatever its values.")};
    const QCommandLineOption noXColumn{QStringLiteral("no-x-column"),
                                       QStringLiteral("Columns: every column is a series, the first one too.")};
    const QCommandLineOption xRange{QStringLiteral("x-range"),
                                    QStringLiteral("Show X from A to B only, as zooming in the window does; either "
                                                   "end may be left out (A: or :B), dates as the data file writes "
                                                   "them. The status line covers the points in the range."),
                                    QStringLiteral("A:B")};
    const QCommandLineOption yRange{QStringLiteral("y-range"),
                                    QStringLiteral("Show Y from A to B only; either end may be left out."),
                                    QStringLiteral("A:B")};

    RenderCommandLine()
    {
        parser.setApplicationDescription(QStringLiteral(
            "Loads a data file without a window and prints the status line Plotwell would show; with -o it also "
            "draws the graph into a PNG, SVG or PDF file.\n"
            "Exit status: 0 when a displayed series has a point to plot; 1 when loading failed, there is nothing "
            "to plot, or the picture could not be made or written; 2 for a bad command line."));
        parser.addOptions({summary, hide, output, format, size, scale, type,
                           smoothing, lineWidth, noPoints, area, noHGrid, noVGrid, noLegend, noFloatingAxis,
                           title, xLabel, yLabel, layout, xColumn, noXColumn, xRange, yRange});
        parser.addPositionalArgument(QStringLiteral("DATAFILE"),
                                     QStringLiteral("A data file, or - to read the data from standard input."));
    }
};

// The unknown option `name` as it was written on the command line.
QString SpellingOf(const QString& name, const QStringList& args)
{
    for (const QString& arg : args) {
        if (arg == QLatin1String("--"))
            break;
        const bool isLong = arg.startsWith(QLatin1String("--"));
        if (isLong ? arg.mid(2).section(QLatin1Char('='), 0, 0) == name
                   : name.size() == 1 && arg.startsWith(QLatin1Char('-')) && arg.mid(1).contains(name))
            return arg;
    }
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// Why the parser refused the command line, in the program's own words.
QString ParseError(const QCommandLineParser& parser, const QStringList& args)
{
    if (!parser.unknownOptionNames().isEmpty())
        return QStringLiteral("unknown option %1").arg(SpellingOf(parser.unknownOptionNames().first(), args));
    // A value can only be missing after the last argument.
    if (!args.isEmpty() && parser.errorText().startsWith(QLatin1String("Missing value")))
        return QStringLiteral("%1 needs a value").arg(args.last());
    QString text = parser.errorText();
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text.isEmpty() ? text : text.front().toLower() + text.mid(1);
}

// Every value given to `option` read by `parse`, the last one kept in `field`; false (and
// `error` set) when any is bad.
template <typename Parse, typename Field>
bool ReadValues(const QCommandLineParser& parser, const QCommandLineOption& option, Parse parse, Field& field,
                const QString& expected, QString& error)
{
    for (const QString& text : parser.values(option)) {
        const auto parsed = parse(text);
        if (!parsed) {
            error = QStringLiteral("--%1 takes %2").arg(option.names().constFirst(), expected);
            return false;
        }
        field = *parsed;
    }
    return true;
}

std::optional<QString> LastValue(const QCommandLineParser& parser, const QCommandLineOption& option)
{
    if (!parser.isSet(option))
        return std::nullopt;
    return parser.value(option);
}

std::optional<QSize> SizeArgument(const QString& s)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const auto match = form.match(s);
    if (!match.hasMatch())
        return std::nullopt;
    const int w = match.captured(1).toInt();
    const int h = match.captured(2).toInt();
    if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide)
        return std::nullopt;
    return QSize(w, h);
}

std::optional<DataLayout> LayoutArgument(const QString& s)
{
    if (s == QLatin1String("lines"))
        return DataLayout::Lines;
    if (s == QLatin1String("columns"))
        return DataLayout::Columns;
    return std::nullopt;
}

} // namespace

QString RenderUsage()
{
    return RenderCommandLine().parser.helpText();
}

QString RenderUsageHint()
{
    return QStringLiteral("usage: plotwell-render [options] DATAFILE\n"
                          "plotwell-render --help lists the options.\n");
}

std::optional<RenderOptions> ParseRenderArguments(const QStringList& args, QString& error)
{
    RenderCommandLine line;
    const QCommandLineParser& parser = line.parser;
    if (!line.parser.parse(QStringList{QStringLiteral("plotwell-render")} + args)) {
        error = ParseError(parser, args);
        return std::nullopt;
    }
    RenderOptions options;
    options.help = parser.isSet(line.help) || parser.isSet(QStringLiteral("help-all"));
    options.version = parser.isSet(line.version);
    options.summary = parser.isSet(line.summary);
    options.showPoints = !parser.isSet(line.noPoints);
    options.drawArea = parser.isSet(line.area);
    options.horzGridLines = !parser.isSet(line.noHGrid);
    options.vertGridLines = !parser.isSet(line.noVGrid);
    options.showLegend = !parser.isSet(line.noLegend);
    options.floatingXAxis = !parser.isSet(line.noFloatingAxis);
    options.title = LastValue(parser, line.title);
    options.xLabel = LastValue(parser, line.xLabel);
    options.yLabel = LastValue(parser, line.yLabel);
    options.xRange = LastValue(parser, line.xRange);
    options.yRange = LastValue(parser, line.yRange);
    for (const auto& [range, name] : {std::pair{options.xRange, "--x-range"}, std::pair{options.yRange, "--y-range"}}) {
        if (range && range->count(QLatin1Char(':')) != 1) {
            error = QStringLiteral("%1 takes A:B (either end may be left out)").arg(QLatin1String(name));
            return std::nullopt;
        }
    }

    for (const QString& n : parser.values(line.hide)) {
        const auto number = IntArgument(n, kSeriesNumberRange);
        if (!number) {
            error = QStringLiteral("--hide takes a series number from ") + RangeText(kSeriesNumberRange);
            return std::nullopt;
        }
        options.hidden.append(*number);
    }
    for (const QString& path : parser.values(line.output)) {
        if (path.isEmpty()) {
            error = QStringLiteral("-o needs a file name");
            return std::nullopt;
        }
        options.output = path;
    }
    if (!options.output.isEmpty() && options.output != QLatin1String("-"))
        options.format = PictureFormatOfPath(options.output).value_or(PictureFormat::Png);
    if (!ReadValues(parser, line.format, PictureFormatNamed, options.format, QStringLiteral("png, svg or pdf"), error))
        return std::nullopt;
    QSize surface(options.width, options.height);
    const bool valuesRead =
        ReadValues(parser, line.size, SizeArgument, surface,
                   QStringLiteral("WIDTHxHEIGHT, each from 1 to %1").arg(kMaxSide), error) &&
        ReadValues(parser, line.scale, [](const QString& s) { return RealArgument(s, 1, 4); }, options.scale,
                   QStringLiteral("a number from 1 to 4"), error) &&
        ReadValues(parser, line.type, GraphTypeNamed, options.graphType, GraphTypeNameList(), error) &&
        ReadValues(parser, line.smoothing, [](const QString& s) { return IntArgument(s, kSmoothingRange); },
                   options.smoothing, QStringLiteral("a level from ") + RangeText(kSmoothingRange), error) &&
        ReadValues(parser, line.lineWidth, [](const QString& s) { return IntArgument(s, kLineWidthRange); },
                   options.lineWidth, QStringLiteral("a width from ") + RangeText(kLineWidthRange), error) &&
        ReadValues(parser, line.layout, LayoutArgument, options.load.layout, QStringLiteral("lines or columns"), error);
    if (!valuesRead)
        return std::nullopt;
    if (parser.isSet(line.xColumn) && parser.isSet(line.noXColumn)) {
        error = QStringLiteral("--x-column and --no-x-column exclude each other");
        return std::nullopt;
    }
    if (parser.isSet(line.xColumn))
        options.load.xColumn = XColumnRule::Always;
    if (parser.isSet(line.noXColumn))
        options.load.xColumn = XColumnRule::Never;
    options.width = surface.width();
    options.height = surface.height();

    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        error = QStringLiteral("only one DATAFILE may be given");
        return std::nullopt;
    }
    options.dataFile = files.value(0);
    if (options.dataFile.isEmpty() && !options.help && !options.version) {
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

bool OutputIsStandardOutput(const RenderOptions& options)
{
    return options.output == QLatin1String("-");
}

QSize DevicePictureSize(const RenderOptions& options)
{
    return QSize(static_cast<int>(std::lround(options.width * options.scale)),
                 static_cast<int>(std::lround(options.height * options.scale)));
}

QString OutputProblem(const RenderOptions& options)
{
    if (options.output.isEmpty() || options.dataFile == QLatin1String("-") || OutputIsStandardOutput(options))
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

namespace {

// One end of a range: a finite number, or a date along an X axis of dates.
std::optional<double> RangeEnd(const QString& text, bool dates)
{
    const QString t = text.trimmed();
    if (dates)
        if (const std::optional<double> day = ParseDate(t))
            return day;
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The range of `option` ("A:B") over the data's [low, high]; false with `error` set.
bool ReadRange(const QString& text, const char* option, bool dates, double low, double high,
               std::optional<ViewSpan>& range, QString& error)
{
    const QString name = QLatin1String(option);
    const QString first = text.section(QLatin1Char(':'), 0, 0);
    const QString second = text.section(QLatin1Char(':'), 1);
    ViewSpan span{low, high};
    for (const auto& [end, value] : {std::pair{first, &span.low}, std::pair{second, &span.high}}) {
        if (end.trimmed().isEmpty())
            continue;
        const std::optional<double> read = RangeEnd(end, dates);
        if (!read) {
            error = QStringLiteral("%1 %2 (%3 is not a %4)")
                        .arg(name, text, end.trimmed(), dates ? QStringLiteral("date or number") : QStringLiteral("number"));
            return false;
        }
        *value = *read;
    }
    if (span.low == span.high) {
        error = QStringLiteral("%1 %2 is empty").arg(name, text);
        return false;
    }
    if (span.low > span.high) {
        error = QStringLiteral("%1 %2 is reversed").arg(name, text);
        return false;
    }
    if (span.high < low || span.low > high) {
        error = QStringLiteral("%1 %2 lies outside the data").arg(name, text);
        return false;
    }
    if (!(span == ViewSpan{low, high}))
        range = span;
    return true;
}

} // namespace

std::optional<PlotView> ViewOfOptions(const RenderOptions& options, const PlotModel& model, QString& error)
{
    PlotView view;
    if (!options.xRange && !options.yRange)
        return view;
    const ValueRange data = FindRange(model);
    if (!data.anyPoint)
        return view;
    const bool dates = model.AllSeriesInfo(1).isdates;
    if (options.xRange && !ReadRange(*options.xRange, "--x-range", dates, data.minX, data.maxX, view.x, error))
        return std::nullopt;
    if (options.yRange && !ReadRange(*options.yRange, "--y-range", false, data.minY, data.maxY, view.y, error))
        return std::nullopt;
    return view;
}

void ApplyDrawingOptions(const RenderOptions& options, PlotModel& model)
{
    PlotOptions o = model.Options();
    o.lineWidth = options.lineWidth;
    o.smoothing = options.smoothing;
    o.showPoints = options.showPoints;
    o.drawArea = options.drawArea;
    o.horzGridLines = options.horzGridLines;
    o.vertGridLines = options.vertGridLines;
    o.showLegend = options.showLegend;
    o.floatingXAxis = options.floatingXAxis;
    if (options.xLabel)
        o.xLabel = *options.xLabel;
    if (options.yLabel)
        o.yLabel = *options.yLabel;
    model.SetOptions(o);
    if (options.title)
        model.SetTitle(*options.title);
    model.SetGraphType(options.graphType);
}

} // namespace plotwell
