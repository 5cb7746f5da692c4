#pragma once
// RgbColor: a colour as the 32-bit value $00BBGGRR (low byte red).

#include <QColor>
#include <QtGlobal>

namespace plotwell {

using RgbColor = quint32;

constexpr RgbColor RGBToColor(int r, int g, int b)
{
    return static_cast<RgbColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

inline QColor ToQColor(RgbColor c)
{
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

inline RgbColor FromQColor(const QColor& c)
{
    return RGBToColor(c.red(), c.green(), c.blue());
}

} // namespace plotwell
