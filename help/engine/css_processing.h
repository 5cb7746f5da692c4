#pragma once
// StyleSheet: the style rules of the help page being converted, in a small subset of CSS.

#include "help/engine/css_style_effect.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

namespace plotwell {

class RichTextTarget;

// One entry of `elements_` or `properties_`: its text and the integer it carries.
struct StyleSheetEntry
{
    QString text;
    int index = 0;
};

class StyleSheet
{
public:
    // Parses a style sheet and appends its rules; nothing is ever removed or replaced.
    void LoadCSSFromString(const QString& s);
    // Loads a style-sheet file when it is a regular file; true when it was read.
    bool LoadCSSFromFile(const QString& fname);

    // Applies the rules for the element name, then ".class", then "#id" to the target's current
    // format; empty values are skipped.
    void DoCSS(RichTextTarget& re, const QString& classval, const QString& idval, const QString& fromelement) const;
    // The value of the last non-empty declaration of `prop` in the rule found for the element
    // (a "#element" rule wins when a selector type is given); empty when none.
    QString GetValueFromCSS(const QString& element, const QString& prop, const QString& tagtype) const;
    // Appends a listing of both lists to the target's lines.
    void Debug_OutputAllCSSToRichEdit(RichTextTarget& re) const;

    int NumElements() const { return static_cast<int>(elements_.size()); }
    int NumProperties() const { return static_cast<int>(properties_.size()); }
    // Selectors, each with the index of its rule's first declaration (0 when it has none).
    const QList<StyleSheetEntry>& Elements() const { return elements_; }
    // Declarations, each with the index of its rule in Elements() (-1 before any selector).
    const QList<StyleSheetEntry>& Properties() const { return properties_; }

    // Declarations read so far to compose rules: each one is read once however often the rules
    // are used, and sheets loaded later do not make earlier declarations be read again.
    qint64 ComposedDeclarations() const { return composed_; }

    // Removes /* comments */; an unclosed one runs to the end of the text.
    static QString RemoveComments(const QString& s);
    // One declaration (upper-case name and value) applied to the target's current format.
    static void ApplyDeclaration(RichTextTarget& re, const QString& name, const QString& value);
    static QString GetDeclarationName(QStringView declaration);
    static QString GetDeclarationValue(QStringView declaration);

private:
    // A rule's declarations composed_ once: its effect on a format, and the last non-empty value
    // of each declaration name.
    struct CompiledRule
    {
        StyleEffect effect;
        QHash<QString, QString> values;
    };

    const CompiledRule& Compiled(int rule) const;
    int FindRule(const QString& type, const QString& name) const;
    void ApplyRule(RichTextTarget& re, const QString& type, const QString& name) const;

    QList<StyleSheetEntry> elements_;
    QList<StyleSheetEntry> properties_;
    // First entry of `elements_` for each selector, since every lookup finds the first one.
    QHash<QString, int> firstElement_;
    mutable QHash<int, CompiledRule> compiled_;
    mutable qint64 composed_ = 0;
};

// Sets the font size from a CSS size text: «12PX» and «12» give 12 points, «150%» scales the
// current size; anything else leaves it.
void SetFontSizeFromText(RichTextTarget& re, const QString& text);

} // namespace plotwell
