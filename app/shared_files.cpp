#include "app/shared_files.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <utility>

namespace plotwell {

namespace {

QString withSeparator(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

TSharedFiles::TSharedFiles(QString programFolder) : programFolder_(withSeparator(std::move(programFolder))) {}

QStringList TSharedFiles::Folders() const
{
    QStringList folders{programFolder_,
                        withSeparator(QDir::cleanPath(programFolder_ + QStringLiteral("../share/plotwell")))};
    for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::AppDataLocation))
        folders.append(withSeparator(folder));
    for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders.append(withSeparator(folder) + QStringLiteral("plotwell/"));
    folders.removeDuplicates();
    return folders;
}

QString TSharedFiles::Existing(const QString& name) const
{
    for (const QString& folder : Folders()) {
        const QFileInfo file(folder + name);
        if (file.isFile())
            return file.filePath();
    }
    return QString();
}

QString TSharedFiles::PathOf(const QString& name) const
{
    const QString found = Existing(name);
    return found.isEmpty() ? programFolder_ + name : found;
}

} // namespace plotwell
