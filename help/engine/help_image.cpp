#include "help/engine/help_image.h"

#include "core/regular_file.h"
#include "core/rounding.h"
#include "help/engine/html_utils.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>

namespace plotwell {

namespace {

// A JPEG of the largest picture shown is far smaller.
constexpr qint64 kMaxHelpImageFileBytes = 256 * 1024 * 1024;

} // namespace

std::optional<qint64> HelpImageSide(const QString& text, int clientExtent)
{
    if (text.endsWith(u'%')) {
        const auto n = ParseWholeNumber(TrimBlanks(QStringView(text).chopped(1)));
        if (!n || *n <= 0)
            return std::nullopt;
        return Round(static_cast<double>(clientExtent) * *n / 100.0);
    }
    const auto n = ParseWholeNumber(text);
    if (!n || *n <= 0)
        return std::nullopt;
    return *n;
}

QImage LoadHelpImage(const QString& path, std::optional<qint64> width, std::optional<qint64> height)
{
    const auto tooLarge = [](std::optional<qint64> side) { return side && *side > kMaxHelpImageSide; };
    if (tooLarge(width) || tooLarge(height))
        return {};
    // Read from memory, so a pipe or a device named as a picture is never opened by the decoder.
    std::optional<QByteArray> bytes = ReadRegularFile(path, kMaxHelpImageFileBytes);
    if (!bytes)
        return {};
    QBuffer buffer(&*bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    reader.setAutoDetectImageFormat(false);
    const QSize natural = reader.size();
    if (natural.isEmpty() || static_cast<qint64>(natural.width()) * natural.height() > kMaxHelpImagePixels)
        return {};
    const double aspect = static_cast<double>(natural.width()) / natural.height();
    if (width && !height)
        height = Round(static_cast<double>(*width) / aspect);
    else if (height && !width)
        width = Round(aspect * static_cast<double>(*height));
    if (tooLarge(width) || tooLarge(height))
        return {};
    // A proportional side may round to nothing; the picture keeps at least one pixel.
    const QSize size(static_cast<int>(std::max<qint64>(width.value_or(natural.width()), 1)),
                     static_cast<int>(std::max<qint64>(height.value_or(natural.height()), 1)));
    if (size != natural)
        reader.setScaledSize(size);
    QImage image = reader.read();
    if (image.isNull())
        return {};
    if (image.size() != size)
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

} // namespace plotwell
