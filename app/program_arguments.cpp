#include "app/program_arguments.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace plotwell {

ProgramArguments::ProgramArguments(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Plotwell draws graphs from the lines of numbers in a plain text data file."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The data file to open; without one, \"example points 1 - simple "
                                                "series.txt\" in the current folder or in Plotwell's data folder. "
                                                "Further arguments are ignored."),
                                 QStringLiteral("[FILE]"));
    // After the file name everything is an ignored argument, "--help" too.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);

    // A command line the parser does not know (an unknown option, a file named "--x") keeps its
    // old meaning: the window gets it as it stands.
    windowArguments_ = arguments.mid(1);
    if (!parser.parse(arguments))
        return;
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all")))
        answer_ = parser.helpText();
    else if (parser.isSet(version))
        answer_ = QStringLiteral("plotwell %1\n").arg(QCoreApplication::applicationVersion());
    else
        windowArguments_ = parser.positionalArguments();
}

} // namespace plotwell
