// Any bytes as a help page's picture file, read at its natural size and at a size asked for.
#include "help/engine/help_image.h"

#include "offscreen_application.h"
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>

using namespace plotwell;

namespace {
QString picturePath;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    StartOffscreenApplication(argc, argv);
    static QTemporaryDir dir;
    picturePath = dir.filePath(QStringLiteral("picture.jpg"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::FILE* f = std::fopen(picturePath.toLocal8Bit().constData(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    (void)LoadHelpImage(picturePath, std::nullopt, std::nullopt);
    (void)LoadHelpImage(picturePath, 33, std::nullopt);
    return 0;
}
