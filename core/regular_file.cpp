#include "core/regular_file.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace plotwell {

namespace {

// Large enough that the system calls cost nothing beside the copying.
constexpr std::size_t kBlock = std::size_t(4) << 20;

} // namespace

RegularFile::~RegularFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool RegularFile::Open(const QString& path)
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    const QByteArray name = QFile::encodeName(path);
    // Non-blocking, so opening a pipe with no writer returns at once instead of waiting.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        status_ = errno == ENOENT || errno == ENOTDIR ? Status::Missing : Status::Failed;
        error_ = qt_error_string(errno);
        return false;
    }
    struct stat st {};
    const bool statted = ::fstat(fd, &st) == 0;
    if (!statted || !S_ISREG(st.st_mode)) {
        status_ = statted ? Status::NotRegular : Status::Failed;
        error_ = statted ? QStringLiteral("not a regular file") : qt_error_string(errno);
        ::close(fd);
        return false;
    }
    // Reads of a regular file do not block; the flag is cleared all the same.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    fd_ = fd;
    size_ = static_cast<qint64>(st.st_size);
    status_ = Status::Open;
    error_.clear();
    return true;
}

bool RegularFile::ReadExactly(char* into, std::size_t size)
{
    if (fd_ < 0)
        return false;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd_, into + done, std::min(kBlock, size - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error_ = qt_error_string(errno);
            return false;
        }
        if (got == 0) {
            error_ = QStringLiteral("the file became shorter while it was read");
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

bool RegularFile::Rewind()
{
    if (fd_ < 0 || ::lseek(fd_, 0, SEEK_SET) != 0) {
        error_ = qt_error_string(errno);
        return false;
    }
    return true;
}

std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxSize, QString* error)
{
    RegularFile file;
    const auto fail = [&](const QString& why) -> std::optional<QByteArray> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (!file.Open(path))
        return fail(file.ErrorString());
    if (file.Size() > maxSize)
        return fail(QStringLiteral("larger than %1 bytes").arg(maxSize));
    QByteArray bytes(static_cast<qsizetype>(file.Size()), Qt::Uninitialized);
    if (!file.ReadExactly(bytes.data(), static_cast<std::size_t>(bytes.size())))
        return fail(file.ErrorString());
    return bytes;
}

} // namespace plotwell
