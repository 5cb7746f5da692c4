#include "control/graph_output.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>

#include <cmath>

namespace plotwell {

void CopyPictureToClipboard(const QImage& picture)
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setImage(picture);
}

bool PrintPicture(QPrinter& printer, const QImage& picture, TColor background)
{
    if (picture.isNull())
        return false;
    QImage page = picture;
    if (background == 0x00000000)
        page.invertPixels(QImage::InvertRgb);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const double scale = static_cast<double>(printer.width()) / page.width();
    const QRect target(0, 0, static_cast<int>(std::trunc(page.width() * scale)),
                       static_cast<int>(std::trunc(page.height() * scale)));
    painter.drawImage(target, page, page.rect());
    return painter.end();
}

} // namespace plotwell
