#include "app/temporary_points_file.h"

#include "graph/data/plot_model.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plotwell {

namespace {

QString SystemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// True when `path` is a folder of this user's that nobody else may enter, not reached
// through a link.
bool IsPrivateFolder(const QByteArray& path, QString& reason)
{
    struct stat st{};
    if (::lstat(path.constData(), &st) != 0) {
        reason = SystemReason(errno);
        return false;
    }
    if (S_ISLNK(st.st_mode)) {
        reason = QStringLiteral("the folder is a symbolic link");
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        reason = QStringLiteral("not a folder");
        return false;
    }
    if (st.st_uid != ::geteuid()) {
        reason = QStringLiteral("the folder belongs to another user");
        return false;
    }
    if ((st.st_mode & 077) != 0) {
        reason = QStringLiteral("other users may enter the folder");
        return false;
    }
    return true;
}

bool WriteAll(int fd, const QByteArray& bytes)
{
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, p, static_cast<std::size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        p += written;
        left -= written;
    }
    return true;
}

} // namespace

std::optional<QString> PrivateTemporaryFolder(QString& reason)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString base = !runtime.isEmpty() && IsPrivateFolder(QFile::encodeName(runtime), reason)
                             ? runtime + QStringLiteral("/plotwell")
                             : QDir::tempPath() + QStringLiteral("/plotwell-%1").arg(::geteuid());
    const QByteArray folder = QFile::encodeName(base);
    if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST) {
        reason = SystemReason(errno);
        return std::nullopt;
    }
    if (!IsPrivateFolder(folder, reason))
        return std::nullopt;
    reason.clear();
    return base;
}

std::optional<QString> WriteTemporaryPointsFile(const PlotModel& model, QString& message)
{
    QString reason;
    const std::optional<QString> folder = PrivateTemporaryFolder(reason);
    const QString path = folder.value_or(QDir::tempPath()) + QStringLiteral("/tempfile.txt");
    const auto fail = [&](const QString& why) {
        message = QStringLiteral("Cannot write file:\r\r") + path + QStringLiteral("\r\r") + why;
        return std::nullopt;
    };
    if (!folder)
        return fail(reason);

    QByteArray text;
    for (int k = 1; k <= model.NumberOfSeries(); ++k) {
        const QString line = model.GetSeriesData(k);
        if (!line.isEmpty())
            text += line.toLocal8Bit() + "\r\n";
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC,
                          0600);
    if (fd < 0)
        return fail(errno == ELOOP ? QStringLiteral("the file is a symbolic link") : SystemReason(errno));
    struct stat st{};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    const bool written = regular && WriteAll(fd, text);
    const int writeError = errno;
    const bool closed = ::close(fd) == 0;
    if (!regular)
        return fail(QStringLiteral("not a regular file"));
    if (!written || !closed)
        return fail(SystemReason(writeError));
    message.clear();
    return path;
}

} // namespace plotwell
