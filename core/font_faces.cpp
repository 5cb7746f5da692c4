#include "core/font_faces.h"

#include <QCoreApplication>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QString>

namespace plotwell {

namespace {

// fonts-wine keeps its faces out of the system's font folders, for Wine alone.
constexpr const char* kWineFontFolder = "/usr/share/wine/fonts/";

// Open Sans: a humanist face like Segoe UI, within a few per cent of its widths and line
// height; DejaVu Sans, the fallback, is about a tenth wider.
constexpr const char* kSegoeStandIn = "Open Sans";

void InstallStandIns()
{
    const QString tahoma = QStringLiteral("Tahoma");
    if (!QFontDatabase::hasFamily(tahoma)) {
        for (const char* file : {"tahoma.ttf", "tahomabd.ttf"}) {
            const QString path = QLatin1String(kWineFontFolder) + QLatin1String(file);
            if (QFile::exists(path))
                QFontDatabase::addApplicationFont(path);
        }
    }
    const QString segoe = QStringLiteral("Segoe UI");
    const QString standIn = QString::fromLatin1(kSegoeStandIn);
    if (!QFontDatabase::hasFamily(segoe) && QFontDatabase::hasFamily(standIn) &&
        !QFont::substitutes(segoe).contains(standIn))
        QFont::insertSubstitution(segoe, standIn);
}

} // namespace

void UseStandInFaces()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    static const bool installed = [] {
        InstallStandIns();
        return true;
    }();
    (void)installed;
}

} // namespace plotwell
