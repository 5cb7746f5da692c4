#pragma once
// TStyleEffect: what a run of style declarations does to the current format, composed so that a
// rule of any length is applied in a bounded number of steps.

#include "help/engine/rich_text_target.h"

#include <QList>
#include <QString>

#include <optional>

namespace plotwell {

class TStyleEffect
{
public:
    // Adds one declaration (upper-case name and value) after those added before.
    void Add(const QString& name, const QString& value);
    // Adds a font size text: «12PX» and «12» set 12 points, «150%» scales the size in force.
    void AddFontSize(const QString& text);
    void ApplyTo(TRichTextTarget& re) const;

    // Percentage steps kept after the last absolute size; only absurd rules have more.
    static constexpr int MaxSizeSteps = 32;

private:
    void AddStyle(TFontStyles styles) { set_ |= styles; }
    void RemoveStyle(TFontStyles styles)
    {
        set_ &= ~styles;
        cleared_ |= styles;
    }

    std::optional<QString> name_;
    std::optional<TColor> color_;
    std::optional<TAlignment> alignment_;
    // Styles become (styles & ~cleared_) | set_.
    TFontStyles cleared_;
    TFontStyles set_;
    std::optional<int> absoluteSize_;
    QList<int> sizePercents_;
};

} // namespace plotwell
