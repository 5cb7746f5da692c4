#pragma once
// The application object that fuzz targets drawing text or reading pictures need, on the
// offscreen platform; made once, in LLVMFuzzerInitialize.

#include <QGuiApplication>

inline void StartOffscreenApplication(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
}
