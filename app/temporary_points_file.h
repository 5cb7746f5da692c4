#pragma once
// The temporary points file that Edit opens when the graph has no file of its own: the points
// of each series, one line per series, in a folder that only this user can enter.

#include <QString>

#include <optional>

namespace plotwell {

class PlotModel;

// The user's private folder for the file: $XDG_RUNTIME_DIR/plotwell, or plotwell-UID in the
// temporary folder, made with mode 0700. None, with the reason, when the folder is a link,
// belongs to someone else or others may enter it: another user could then redirect the write.
std::optional<QString> PrivateTemporaryFolder(QString& reason);

// Writes "tempfile.txt" in that folder (CR LF line ends, never through a symbolic link) and
// gives its path; none, with a message for the user, when it cannot be written.
std::optional<QString> WriteTemporaryPointsFile(const PlotModel& model, QString& message);

} // namespace plotwell
