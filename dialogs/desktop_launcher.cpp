#include "dialogs/desktop_launcher.h"

#include "dialogs/web_address.h"

#include <QDesktopServices>
#include <QUrl>

namespace plotwell {

bool TDesktopLauncher::OpenFile(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool TDesktopLauncher::OpenUrl(const QString& url)
{
    // Whoever asks, no other scheme reaches the desktop's handlers.
    if (!IsOpenableAddress(url))
        return false;
    return QDesktopServices::openUrl(QUrl(url.trimmed()));
}

} // namespace plotwell
