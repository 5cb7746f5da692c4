#pragma once
// The pen, brush and font of a TCanvas, with the conventions the renderer relies on.

#include "core/color.h"

#include <QString>

namespace plotwell {

enum TPenStyle { psSolid, psDot };
enum TBrushStyle { bsSolid, bsClear };

class TPen
{
public:
    TColor Color() const { return color_; }
    void SetColor(TColor color) { color_ = color; }
    int Width() const { return width_; }
    void SetWidth(int width) { width_ = width < 1 ? 1 : width; }
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style) { style_ = style; }

private:
    TColor color_ = 0x00000000;
    int width_ = 1;
    TPenStyle style_ = psSolid;
};

class TBrush
{
public:
    TColor Color() const { return color_; }
    // Choosing a colour makes the brush solid, so restoring a saved colour leaves it solid.
    void SetColor(TColor color)
    {
        color_ = color;
        style_ = bsSolid;
    }
    TBrushStyle Style() const { return style_; }
    // A clear brush also turns white.
    void SetStyle(TBrushStyle style)
    {
        style_ = style;
        if (style == bsClear)
            color_ = 0x00FFFFFF;
    }

private:
    TColor color_ = 0x00FFFFFF;
    TBrushStyle style_ = bsSolid;
};

// Size is in points at 96 dots per inch; Height in pixels: positive for the whole text cell,
// negative for the character height alone. Setting one sets the other.
class TFont
{
public:
    QString Name() const { return name_; }
    void SetName(const QString& name) { name_ = name; }
    int Size() const { return size_; }
    void SetSize(int points)
    {
        size_ = points;
        height_ = -MulDiv96(points);
    }
    int Height() const { return height_; }
    void SetHeight(int pixels)
    {
        height_ = pixels;
        const int absolute = pixels < 0 ? -pixels : pixels;
        size_ = (absolute * 72 + 48) / 96;
    }
    TColor Color() const { return color_; }
    void SetColor(TColor color) { color_ = color; }

private:
    // points * 96 / 72, rounded half away from zero.
    static int MulDiv96(int points) { return points >= 0 ? (points * 96 + 36) / 72 : -((-points * 96 + 36) / 72); }

    QString name_ = QStringLiteral("Segoe UI");
    int size_ = 9;
    int height_ = -12;
    TColor color_ = 0x00000000;
};

} // namespace plotwell
