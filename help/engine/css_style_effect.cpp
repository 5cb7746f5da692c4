#include "help/engine/css_style_effect.h"

#include "core/rounding.h"
#include "help/engine/html_utils.h"

#include <algorithm>
#include <limits>

namespace plotwell {

void StyleEffect::Add(const QString& name, const QString& value)
{
    if (name == u"COLOR") {
        const RgbColor color = HTMLColorToColor(value);
        if (color != clNoColor)
            color_ = color;
    } else if (name == u"FONT-FAMILY") {
        name_ = value;
    } else if (name == u"FONT-WEIGHT") {
        if (value == u"NORMAL" || value == u"400")
            RemoveStyle(kBold);
        else if (value == u"BOLD" || value == u"700")
            AddStyle(kBold);
    } else if (name == u"FONT-STYLE") {
        if (value == u"NORMAL")
            RemoveStyle(kBold | kItalic | kUnderline | kStrikeOut);
        else if (value == u"BOLD")
            AddStyle(kBold);
        else if (value == u"ITALIC" || value == u"OBLIQUE")
            AddStyle(kItalic);
        else if (value == u"UNDERLINE")
            AddStyle(kUnderline);
        else if (value == u"STRIKEOUT")
            AddStyle(kStrikeOut);
    } else if (name == u"FONT-SIZE") {
        AddFontSize(value);
    } else if (name == u"TEXT-ALIGN") {
        if (value == u"LEFT")
            alignment_ = kLeftJustify;
        else if (value == u"RIGHT")
            alignment_ = kRightJustify;
        else if (value == u"CENTER")
            alignment_ = kCenter;
    }
    // LINE-HEIGHT is recognised and has no effect; any other name is ignored.
}

void StyleEffect::AddFontSize(const QString& text)
{
    QString t = text.toUpper();
    const qsizetype px = t.indexOf(QLatin1String("PX"));
    if (px >= 0) {
        // A pixel count is taken as a point size.
        t.remove(px, 2);
    } else if (const qsizetype percent = t.indexOf(u'%'); percent >= 0) {
        t.remove(percent, 1);
        if (const auto n = ParseWholeNumber(t)) {
            if (sizePercents_.size() == kMaxSizeSteps)
                sizePercents_.removeFirst();
            sizePercents_.append(*n);
        }
        return;
    }
    if (const auto n = ParseWholeNumber(t)) {
        // An absolute size makes every earlier size step irrelevant.
        absoluteSize_ = *n;
        sizePercents_.clear();
    }
}

void StyleEffect::ApplyTo(RichTextTarget& re) const
{
    TextAttributes attributes = re.SelAttributes();
    if (name_)
        attributes.SetName(*name_);
    if (color_)
        attributes.SetColor(*color_);
    if (cleared_ || set_)
        attributes.SetStyle((attributes.Style() & ~cleared_) | set_);
    if (absoluteSize_)
        attributes.SetSize(*absoluteSize_);
    for (const int percent : sizePercents_) {
        const qint64 size = Round(static_cast<double>(attributes.Size()) * percent / 100.0);
        attributes.SetSize(static_cast<int>(
            std::clamp<qint64>(size, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
    }
    if (alignment_)
        re.Paragraph().SetAlignment(*alignment_);
}

} // namespace plotwell
