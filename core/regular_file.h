#pragma once
// Reading files that must be regular files: a pipe never blocks the reader, a device is never
// read without end, and a file that shrinks while it is read is a read error, not a crash.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <optional>

namespace plotwell {

class RegularFile
{
public:
    enum class Status { Closed, Open, Missing, NotRegular, Failed };

    RegularFile() = default;
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    // Opens `path` (links followed) for reading when it is a regular file; never waits for a
    // writer on a pipe.
    bool Open(const QString& path);
    Status State() const { return status_; }
    // Why the last step failed: "not a regular file", or the system's text for the error.
    const QString& ErrorString() const { return error_; }
    // The size when opened.
    qint64 Size() const { return size_; }

    // Reads `size` bytes from the current place, in large blocks; false when the file ends
    // early (it shrank) or reading fails.
    bool ReadExactly(char* into, std::size_t size);
    // Back to the first byte.
    bool Rewind();

private:
    int fd_ = -1;
    qint64 size_ = 0;
    Status status_ = Status::Closed;
    QString error_;
};

// The whole content of a regular file of at most `maxSize` bytes; nothing when it is missing,
// not a regular file, larger, or unreadable (`error` then says why, when given).
std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxSize, QString* error = nullptr);

} // namespace plotwell
