#include "dialogs/desktop_launcher.h"

#include <QDesktopServices>
#include <QUrl>

namespace plotwell {

bool TDesktopLauncher::OpenFile(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool TDesktopLauncher::OpenUrl(const QString& url)
{
    return QDesktopServices::openUrl(QUrl(url));
}

} // namespace plotwell
