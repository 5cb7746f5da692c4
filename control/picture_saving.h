#pragma once
// Save picture: the dialog's choices (the formats offered, the name proposed, the format a
// name and a filter choose) and the messages of a save that cannot be done.

#include "graph/picture/picture_file.h"

#include <QString>
#include <QStringList>

namespace plotwell {

// The save dialog's filters, PNG first: the format of a name without an extension.
QStringList SavePictureFilters();
// The data file's folder and base name with ".png"; "graph.png" in `folder` without a data file.
QString ProposedPicturePath(const QString& dataFile, const QString& folder);
// The format the name's extension gives; for another extension or none, the filter's; PNG
// when neither says.
PictureFormat ChosenPictureFormat(const QString& path, const QString& filter);
// True when both names reach one file (through a link or a hard link too).
bool IsSameFile(const QString& a, const QString& b);

} // namespace plotwell
