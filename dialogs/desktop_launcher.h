#pragma once
// The launcher of the windowed program: the desktop's default applications (QDesktopServices,
// which on Linux hands the file or address to xdg-open). No shell command line is built.

#include "core/launcher.h"

class QUrl;

namespace plotwell {

class DesktopLauncher : public Launcher
{
public:
    // A relative path is taken from the current folder.
    bool OpenFile(const QString& path) override;
    bool OpenUrl(const QString& url) override;
    QString FailureReason() const override { return failureReason_; }

private:
    bool Open(const QUrl& url);

    QString failureReason_;
};

} // namespace plotwell
