#pragma once
// Pictures of help pages: the size a page asks for, and reading a JPEG file at that size.

#include <QImage>
#include <QString>

#include <optional>

namespace plotwell {

// Larger sides or pictures are never decoded: a page cannot make the viewer allocate a huge bitmap.
constexpr qint64 kMaxHelpImageSide = 4096;
constexpr qint64 kMaxHelpImagePixels = 64'000'000;

// A WIDTH or HEIGHT text: "n%" of the client extent (rounded, halves to even) or n pixels, for a
// whole number n above 0; anything else leaves the side unset.
std::optional<qint64> HelpImageSide(const QString& text, int clientExtent);

// Reads a JPEG file (only JPEG) at the asked size. A side left unset follows the picture's
// proportions, or its natural size when both are unset. A null image when the file is no
// readable JPEG or the picture would be too large.
QImage LoadHelpImage(const QString& path, std::optional<qint64> width, std::optional<qint64> height);

} // namespace plotwell
