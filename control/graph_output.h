#pragma once
// Copy and print: the picture of the plotting surface, as the screen shows it, onto the
// clipboard or one printed page.

#include "core/color.h"

#include <QByteArray>
#include <QImage>
#include <QString>

class QPrinter;

namespace plotwell {

// Replaces the clipboard's contents with the picture, as an image and as PNG, and beside it
// the same picture as SVG (image/svg+xml) when given, for applications that take vectors.
void CopyPictureToClipboard(const QImage& picture, const QByteArray& svg = {});

// Prints the picture on one page, across the printable width from the top-left corner, its
// proportions kept; a graph on a black background prints inverted, on white. False when the
// printer could not be started, or when a PDF file could not be written whole: then `error`
// (when given) says why, and the file is as it was before (no new or broken file is left).
bool PrintPicture(QPrinter& printer, const QImage& picture, RgbColor background, QString* error = nullptr);

} // namespace plotwell
