#include "dialogs/desktop_launcher.h"

#include "dialogs/web_address.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace plotwell {

bool DesktopLauncher::Open(const QUrl& url)
{
    failureReason_.clear();
    if (QDesktopServices::openUrl(url))
        return true;
    // The desktop services hand files and addresses to xdg-open, which a minimal system lacks.
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        failureReason_ = QStringLiteral("No program to open it with was found: xdg-open is not installed (it comes "
                                        "with the package xdg-utils).");
    else
        failureReason_ = QStringLiteral("The desktop could not start a program to open it.");
    return false;
}

bool DesktopLauncher::OpenFile(const QString& path)
{
    // QUrl::fromLocalFile keeps a relative path relative ("file:three.txt"), which no program can open.
    return Open(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool DesktopLauncher::OpenUrl(const QString& url)
{
    // Whoever asks, no other scheme reaches the desktop's handlers.
    if (!IsOpenableAddress(url)) {
        failureReason_ = QStringLiteral("Only web and e-mail addresses are opened.");
        return false;
    }
    return Open(QUrl(url.trimmed()));
}

} // namespace plotwell
