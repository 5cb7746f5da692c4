#include "app/shared_files.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <utility>

namespace plotwell {

namespace {

QString WithSeparator(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

SharedFiles::SharedFiles(QString programFolder) : programFolder_(WithSeparator(std::move(programFolder))) {}

QStringList SharedFiles::Folders() const
{
    QStringList folders{programFolder_,
                        WithSeparator(QDir::cleanPath(programFolder_ + QStringLiteral("../share/plotwell")))};
    for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::AppDataLocation))
        folders.append(WithSeparator(folder));
    for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders.append(WithSeparator(folder) + QStringLiteral("plotwell/"));
    folders.removeDuplicates();
    return folders;
}

QString SharedFiles::Existing(const QString& name) const
{
    for (const QString& folder : Folders()) {
        const QFileInfo file(folder + name);
        if (file.isFile())
            return file.filePath();
    }
    return QString();
}

QString SharedFiles::PathOf(const QString& name) const
{
    const QString found = Existing(name);
    return found.isEmpty() ? programFolder_ + name : found;
}

} // namespace plotwell
