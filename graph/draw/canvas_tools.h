#pragma once
// The pen, brush and font of a Canvas, with the conventions the renderer relies on.

#include "core/color.h"

#include <QString>

namespace plotwell {

enum PenStyle { kSolidPen, kDotPen };
enum BrushStyle { kSolidBrush, kClearBrush };

class CanvasPen
{
public:
    RgbColor Color() const { return color_; }
    void SetColor(RgbColor color) { color_ = color; }
    int Width() const { return width_; }
    void SetWidth(int width) { width_ = width < 1 ? 1 : width; }
    PenStyle Style() const { return style_; }
    void SetStyle(PenStyle style) { style_ = style; }

private:
    RgbColor color_ = 0x00000000;
    int width_ = 1;
    PenStyle style_ = kSolidPen;
};

class CanvasBrush
{
public:
    RgbColor Color() const { return color_; }
    // Choosing a colour makes the brush solid, so restoring a saved colour leaves it solid.
    void SetColor(RgbColor color)
    {
        color_ = color;
        style_ = kSolidBrush;
    }
    BrushStyle Style() const { return style_; }
    // A clear brush also turns white.
    void SetStyle(BrushStyle style)
    {
        style_ = style;
        if (style == kClearBrush)
            color_ = 0x00FFFFFF;
    }

private:
    RgbColor color_ = 0x00FFFFFF;
    BrushStyle style_ = kSolidBrush;
};

// Size is in points at 96 dots per inch; Height in pixels: positive for the whole text cell,
// negative for the character height alone. Setting one sets the other.
class CanvasFont
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
    RgbColor Color() const { return color_; }
    void SetColor(RgbColor color) { color_ = color; }

private:
    // points * 96 / 72, rounded half away from zero.
    static int MulDiv96(int points) { return points >= 0 ? (points * 96 + 36) / 72 : -((-points * 96 + 36) / 72); }

    QString name_ = QStringLiteral("Segoe UI");
    int size_ = 9;
    int height_ = -12;
    RgbColor color_ = 0x00000000;
};

} // namespace plotwell
