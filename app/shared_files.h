#pragma once
// SharedFiles: finds the files Plotwell ships (its help page, the example data file) whether
// it runs from its build folder or installed under a prefix.

#include <QString>
#include <QStringList>

namespace plotwell {

class SharedFiles
{
public:
    // `programFolder` is the folder of the running program, with a trailing separator.
    explicit SharedFiles(QString programFolder);

    // The folders looked in, in order: the program's folder, ../share/plotwell/ beside it, the
    // program's data folders (QStandardPaths::AppDataLocation), then plotwell/ in the system's
    // data folders. Each ends in a separator.
    QStringList Folders() const;
    // The first copy of `name` in Folders(), or nothing.
    QString Existing(const QString& name) const;
    // The first copy of `name`, or where it belongs in the program's folder when there is none,
    // so that whoever opens it reports the missing file under that name.
    QString PathOf(const QString& name) const;

private:
    QString programFolder_;
};

} // namespace plotwell
