#pragma once
// TColor: a colour as the 32-bit value $00BBGGRR (low byte red).

#include <QColor>
#include <QtGlobal>

namespace plotwell {

using TColor = quint32;

constexpr TColor RGBToColor(int r, int g, int b)
{
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

inline QColor ToQColor(TColor c)
{
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

inline TColor FromQColor(const QColor& c)
{
    return RGBToColor(c.red(), c.green(), c.blue());
}

} // namespace plotwell
