#pragma once
// A launcher for tests: keeps what it was asked to open, starts nothing.

#include "core/launcher.h"

#include <QStringList>

namespace plotwell {

class RecordingLauncher : public Launcher
{
public:
    bool OpenFile(const QString& path) override
    {
        files.append(path);
        return succeed;
    }
    bool OpenUrl(const QString& url) override
    {
        urls.append(url);
        return succeed;
    }

    QString FailureReason() const override { return succeed ? QString() : reason; }

    QStringList files;
    QStringList urls;
    bool succeed = true;
    // What FailureReason gives once `succeed` is false.
    QString reason;
};

} // namespace plotwell
