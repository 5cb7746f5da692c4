#pragma once
// Small helpers shared by the test programs.

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
