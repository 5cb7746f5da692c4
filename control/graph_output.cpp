#include "control/graph_output.h"

#include "graph/picture/picture_file.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

#include <cmath>

namespace plotwell {

namespace {

QImage PageImage(const QImage& picture, RgbColor background)
{
    QImage page = picture;
    if (background == 0x00000000)
        page.invertPixels(QImage::InvertRgb);
    return page;
}

// The page across `pageWidth` device pixels of the painter's device.
void PaintPage(QPainter& painter, int pageWidth, const QImage& page)
{
    const double scale = static_cast<double>(pageWidth) / page.width();
    const QRect target(0, 0, static_cast<int>(std::trunc(page.width() * scale)),
                       static_cast<int>(std::trunc(page.height() * scale)));
    painter.drawImage(target, page, page.rect());
}

// A PDF made as the printer would make it, then saved with every write checked: the printer's
// own PDF output ignores failed writes, so a full disk left an empty or cut file, unreported.
bool PrintToPdfFile(const QPrinter& printer, const QImage& page, QString* error)
{
    const auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageLayout(printer.pageLayout());
        writer.setResolution(printer.resolution());
        writer.setCreator(printer.creator());
        writer.setTitle(printer.docName());
        QPainter painter;
        if (!painter.begin(&writer))
            return fail(QStringLiteral("the PDF could not be started"));
        PaintPage(painter, writer.width(), page);
        painter.end();
    }
    const QByteArray& bytes = pdf.data();
    QSaveFile file(printer.outputFileName());
    // Unbuffered, so that a short write shows here: a buffered one fails unseen inside commit().
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.error() != QFileDevice::NoError ? file.errorString()
                                                                 : QStringLiteral("the disk is full");
        file.cancelWriting();
        return fail(why);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace

void CopyPictureToClipboard(const QImage& picture, const QByteArray& svg)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    auto* data = new QMimeData;
    data->setImageData(picture);
    data->setData(QStringLiteral("image/png"), PngBytes(picture));
    if (!svg.isEmpty())
        data->setData(QStringLiteral("image/svg+xml"), svg);
    clipboard->setMimeData(data);
}

bool PrintPicture(QPrinter& printer, const QImage& picture, RgbColor background, QString* error)
{
    if (picture.isNull())
        return false;
    const QImage page = PageImage(picture, background);
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return PrintToPdfFile(printer, page, error);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    PaintPage(painter, printer.width(), page);
    return painter.end();
}

} // namespace plotwell
