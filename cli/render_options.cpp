#include "cli/render_options.h"

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

} // namespace

QString RenderUsage()
{
    return QStringLiteral("usage: plotwell-render [OPTIONS] DATAFILE\n"
                          "  --summary      print one summary line per displayed series\n"
                          "  --hide N       uncheck Display Series box N (1 to 8); repeatable\n"
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
            const auto text = value();
            if (!text)
                return std::nullopt;
            const auto n = intArgument(*text, 1, 8);
            if (!n) {
                error = QStringLiteral("--hide takes a series number from 1 to 8");
                return std::nullopt;
            }
            options.hidden.append(*n);
        } else {
            error = QStringLiteral("unknown option %1").arg(arg);
            return std::nullopt;
        }
    }
    if (options.dataFile.isEmpty() && !options.help) {
        error = QStringLiteral("no DATAFILE given");
        return std::nullopt;
    }
    return options;
}

} // namespace plotwell
