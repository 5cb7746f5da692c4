#pragma once
// Hands a file or an address to the user's default program (a text editor for a data file, a
// browser or mail program for a link). Windows call it through this interface so that tests can
// record what would have been opened instead of starting anything.

#include <QString>

namespace plotwell {

class Launcher
{
public:
    virtual ~Launcher() = default;

    // Opens a local file with its default application, without waiting for it; false when
    // nothing could be started.
    virtual bool OpenFile(const QString& path) = 0;

    // Opens an address (http, https, mailto) with the default program; false when refused.
    virtual bool OpenUrl(const QString& url) = 0;

    // Why the last OpenFile or OpenUrl returned false, naming what is missing when something
    // is; empty when nothing is known.
    virtual QString FailureReason() const { return QString(); }
};

} // namespace plotwell
