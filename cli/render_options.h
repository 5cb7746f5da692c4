#pragma once
// The command line of plotwell-render.

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace plotwell {

struct RenderOptions
{
    QString dataFile;
    bool summary = false;
    QList<int> hidden; // Display Series boxes to uncheck, 1..8
    bool help = false;
};

// Parses the arguments after the program name; on a bad command line returns nothing and
// sets `error`.
std::optional<RenderOptions> ParseRenderArguments(const QStringList& args, QString& error);

QString RenderUsage();

} // namespace plotwell
