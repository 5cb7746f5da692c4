#pragma once
// StyleEffect: what a run of style declarations does to the current format, composed so that a
// rule of any length is applied in a bounded number of steps.

#include "help/engine/rich_text_target.h"

#include <QList>
#include <QString>

#include <optional>

namespace plotwell {

class StyleEffect
{
public:
    // Adds one declaration (upper-case name and value) after those added before.
    void Add(const QString& name, const QString& value);
    // Adds a font size text: «12PX» and «12» set 12 points, «150%» scales the size in force.
    void AddFontSize(const QString& text);
    void ApplyTo(RichTextTarget& re) const;

    // Percentage steps kept after the last absolute size; only absurd rules have more.
    static constexpr int kMaxSizeSteps = 32;

private:
    void AddStyle(FontStyles styles) { set_ |= styles; }
    void RemoveStyle(FontStyles styles)
    {
        set_ &= ~styles;
        cleared_ |= styles;
    }

    std::optional<QString> name_;
    std::optional<RgbColor> color_;
    std::optional<ParagraphAlignment> alignment_;
    // Styles become (styles & ~cleared_) | set_.
    FontStyles cleared_;
    FontStyles set_;
    std::optional<int> absoluteSize_;
    QList<int> sizePercents_;
};

} // namespace plotwell
