#include "control/picture_saving.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace plotwell {

QStringList SavePictureFilters()
{
    return {QStringLiteral("PNG picture, also for a name without extension (*.png)"),
            QStringLiteral("SVG vector picture (*.svg)"), QStringLiteral("PDF document (*.pdf)")};
}

QString ProposedPicturePath(const QString& dataFile, const QString& folder)
{
    if (dataFile.isEmpty())
        return QDir(folder).filePath(QStringLiteral("graph.png"));
    const QFileInfo info(dataFile);
    return info.absoluteDir().filePath(info.completeBaseName() + QStringLiteral(".png"));
}

PictureFormat ChosenPictureFormat(const QString& path, const QString& filter)
{
    if (const auto byName = PictureFormatOfPath(path))
        return *byName;
    const QStringList filters = SavePictureFilters();
    if (filter == filters.value(1))
        return PictureFormat::Svg;
    if (filter == filters.value(2))
        return PictureFormat::Pdf;
    return PictureFormat::Png;
}

bool IsSameFile(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    struct stat first {};
    struct stat second {};
    if (::stat(QFile::encodeName(a).constData(), &first) != 0 || ::stat(QFile::encodeName(b).constData(), &second) != 0)
        return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace plotwell
