#include "graph/picture/picture_file.h"

#include "graph/data/plot_model.h"
#include "graph/draw/canvas.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSvgGenerator>

namespace plotwell {

namespace {

constexpr int kDotsPerInch = 96;

// QSvgGenerator gives the size in millimetres and leaves edges to the reader's anti-aliasing:
// the picture is meant at its pixel size, with the aliased edges and texts of the bitmap.
QByteArray SvgAtPixelSize(QByteArray svg, QSize size)
{
    const qsizetype start = svg.indexOf("<svg");
    const qsizetype end = start < 0 ? -1 : svg.indexOf('>', start);
    if (end < 0)
        return {};
    QString head = QString::fromUtf8(svg.mid(start, end - start));
    static const QRegularExpression width(QStringLiteral(R"(\swidth="[^"]*")"));
    static const QRegularExpression height(QStringLiteral(R"(\sheight="[^"]*")"));
    head.replace(width, QStringLiteral(" width=\"%1px\"").arg(size.width()));
    head.replace(height, QStringLiteral(" height=\"%1px\"").arg(size.height()));
    head += QStringLiteral(" shape-rendering=\"crispEdges\" text-rendering=\"optimizeSpeed\"");
    svg.replace(start, end - start, head.toUtf8());
    return svg;
}

VectorPicture DrawOn(QPaintDevice& device, const PlotModel& model, QSize size, const DrawRequest& request)
{
    Canvas canvas;
    canvas.PaintOn(&device, size.width(), size.height());
    VectorPicture picture;
    picture.drawing = DrawGraph(model, canvas, request);
    canvas.Finish();
    return picture;
}

} // namespace

std::optional<PictureFormat> PictureFormatNamed(const QString& name)
{
    const QString lower = name.toLower();
    if (lower == QLatin1String("png"))
        return PictureFormat::Png;
    if (lower == QLatin1String("svg"))
        return PictureFormat::Svg;
    if (lower == QLatin1String("pdf"))
        return PictureFormat::Pdf;
    return std::nullopt;
}

std::optional<PictureFormat> PictureFormatOfPath(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return std::nullopt;
    return PictureFormatNamed(name.mid(dot + 1));
}

QString PictureFormatExtension(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Svg:
        return QStringLiteral("svg");
    case PictureFormat::Pdf:
        return QStringLiteral("pdf");
    case PictureFormat::Png:
        break;
    }
    return QStringLiteral("png");
}

QByteArray PngBytes(const QImage& image)
{
    if (image.isNull())
        return {};
    QImage stamped = image;
    const int dotsPerMeter = qRound(image.devicePixelRatio() * kDotsPerInch / 0.0254);
    stamped.setDotsPerMeterX(dotsPerMeter);
    stamped.setDotsPerMeterY(dotsPerMeter);
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !stamped.save(&buffer, "PNG"))
        return {};
    return png;
}

VectorPicture DrawVectorPicture(const PlotModel& model, PictureFormat format, QSize size, const DrawRequest& request)
{
    if (size.isEmpty())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    VectorPicture picture;
    if (format == PictureFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(kDotsPerInch);
        svg.setTitle(model.Title());
        picture = DrawOn(svg, model, size, request);
        buffer.close();
        picture.bytes = SvgAtPixelSize(bytes, size);
        return picture;
    }
    if (format != PictureFormat::Pdf)
        return {};
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(kDotsPerInch);
        pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(size.width() * 72.0 / kDotsPerInch, size.height() * 72.0 / kDotsPerInch),
                                                QPageSize::Point, QString(), QPageSize::ExactMatch),
                                      QPageLayout::Portrait, QMarginsF()));
        pdf.setTitle(model.Title());
        pdf.setCreator(QStringLiteral("Plotwell"));
        picture = DrawOn(pdf, model, size, request);
    }
    buffer.close();
    picture.bytes = bytes;
    return picture;
}

bool WriteWholeFile(const QByteArray& bytes, const QString& path, QString* error)
{
    const auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const QFileInfo info(path);
    if (info.isDir())
        return fail(QStringLiteral("it is a folder"));
    if (info.exists() && !info.isFile()) {
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return fail(device.errorString());
        if (device.write(bytes) != bytes.size())
            return fail(device.error() != QFileDevice::NoError ? device.errorString() : QStringLiteral("the disk is full"));
        return true;
    }
    QSaveFile file(path);
    // Unbuffered, so that the write meets a full disk itself rather than only inside commit().
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.error() != QFileDevice::NoError ? file.errorString() : QStringLiteral("the disk is full");
        file.cancelWriting();
        return fail(why);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace plotwell
