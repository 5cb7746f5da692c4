// Entry point of every test program: Qt's offscreen platform, the programs' faces, a pinned locale
// and settings kept away from the user's own folders.
#include "core/font_faces.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QStandardPaths>
#include <QtGlobal>

#ifdef PLOTWELL_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication app(argc, argv);
    plotwell::UseStandInFaces(); // the faces the programs use
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QStandardPaths::setTestModeEnabled(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
