#pragma once
// Pictures out: the graph of a model as PNG, SVG or PDF bytes, all three drawn by the one
// renderer (a vector picture is the same drawing onto a vector device), and the bytes written
// whole or not at all.

#include "graph/draw/drawing_result.h"
#include "graph/draw/renderer.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace plotwell {

class PlotModel;

enum class PictureFormat { Png, Svg, Pdf };

// "png", "svg" or "pdf", in any case.
std::optional<PictureFormat> PictureFormatNamed(const QString& name);
// The format a file name's extension names, in any case; nothing for another or no extension.
std::optional<PictureFormat> PictureFormatOfPath(const QString& path);
// "png", "svg", "pdf".
QString PictureFormatExtension(PictureFormat format);

// The bitmap as a PNG that says its pixel ratio (96 dots per inch per pixel); empty when it
// cannot be encoded.
QByteArray PngBytes(const QImage& image);

// The graph of the model as a surface of `size` pixels shows it, as a vector picture:
// SVG with width and height in px, crisp edges and texts as text; PDF one page of that size
// at 96 dots per inch. Empty bytes when the picture cannot be made.
struct VectorPicture
{
    QByteArray bytes;
    DrawingResult drawing;
};
VectorPicture DrawVectorPicture(const PlotModel& model, PictureFormat format, QSize size, const DrawRequest& request);

// Writes the bytes in one piece: a failure leaves no new file and an existing one as it was.
// A device (not a regular file nor a folder) is written directly, since nothing may be renamed
// over it. False with the reason in `error` (when given).
bool WriteWholeFile(const QByteArray& bytes, const QString& path, QString* error = nullptr);

} // namespace plotwell
