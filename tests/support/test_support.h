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

inline QString testDataPath(const QString& name)
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
