#pragma once
// Small helpers shared by the test programs.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QString>

#include <ostream>

#include <sys/resource.h>

#include <csignal>

// Readable QString values in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

// Sets the default locale for the life of a scope and restores the previous one.
class ScopedLocale
{
public:
    explicit ScopedLocale(const QString& name) : saved_(QLocale()) { QLocale::setDefault(QLocale(name)); }
    ~ScopedLocale() { QLocale::setDefault(saved_); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

private:
    QLocale saved_;
};

inline QString TestDataPath(const QString& name)
{
    return QStringLiteral(PLOTWELL_TEST_DATA "/") + name;
}

// The whole content of a file; empty when it cannot be read.
inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes a file whole, making its folder when needed; a failure fails the calling test.
inline void WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size()) << path.toStdString();
}

// Files of this process may grow to `bytes` and no further while it lives; writing past it
// fails (as on a full disk) instead of raising a signal.
class ScopedFileSizeLimit
{
public:
    explicit ScopedFileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~ScopedFileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

private:
    rlimit saved_{};
};
