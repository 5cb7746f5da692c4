#pragma once
// RichTextTarget: the rich text operations through which style sheets and the HTML converter write.

#include "core/color.h"

#include <QFlags>
#include <QString>

class QImage;

namespace plotwell {

enum FontStyle : quint8 { kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8 };
Q_DECLARE_FLAGS(FontStyles, FontStyle)

enum ParagraphAlignment : quint8 { kLeftJustify, kRightJustify, kCenter };

// "No colour": what HTMLColorToColor gives for text it cannot read, and the background of text
// that has none.
constexpr RgbColor clNoColor = 0xFFFFFFFF;

// A character format: face name, whole points, text colour, styles, background colour.
struct CharacterFormat
{
    QString name;
    int size = 0;
    RgbColor color = 0;
    FontStyles style;
    RgbColor backColor = clNoColor;
};

enum CharField : quint8 { kCharName = 1, kCharSize = 2, kCharColor = 4, kCharStyle = 8, kCharBackColor = 16 };
Q_DECLARE_FLAGS(CharFields, CharField)

// A paragraph format; indents in whole points.
struct ParagraphStyle
{
    ParagraphAlignment alignment = kLeftJustify;
    int firstIndent = 0;
    int rightIndent = 0;
};

enum ParaField : quint8 { kParaAlignment = 1, kParaFirstIndent = 2, kParaRightIndent = 4 };
Q_DECLARE_FLAGS(ParaFields, ParaField)

// Which text a character format change reaches: the selection (or, with none, the insertion
// format), or the word around the insertion point as well.
enum class AttributeScope : quint8 { Selection, Word };

class RichTextTarget;

// SelAttributes / WordAttributes: reads and changes one attribute at a time.
class TextAttributes
{
public:
    TextAttributes(RichTextTarget& target, AttributeScope scope) : target_(target), scope_(scope) {}

    QString Name() const;
    int Size() const;
    RgbColor Color() const;
    FontStyles Style() const;
    RgbColor BackColor() const;

    void SetName(const QString& name);
    void SetSize(int size);
    void SetColor(RgbColor color);
    void SetStyle(FontStyles style);
    void SetBackColor(RgbColor color);

private:
    void Change(const CharacterFormat& format, CharFields fields);

    RichTextTarget& target_;
    AttributeScope scope_;
};

// Paragraph: the format of the paragraph that holds the insertion point.
class ParaAttributes
{
public:
    explicit ParaAttributes(RichTextTarget& target) : target_(target) {}

    ParagraphAlignment Alignment() const;
    int FirstIndent() const;
    int RightIndent() const;

    void SetAlignment(ParagraphAlignment alignment);
    void SetFirstIndent(int points);
    void SetRightIndent(int points);

private:
    RichTextTarget& target_;
};

// Lines: the text by lines, and the suspension of redrawing.
class TextLines
{
public:
    explicit TextLines(RichTextTarget& target) : target_(target) {}

    int Count() const;
    QString Strings(int index) const;
    void Add(const QString& line);
    void BeginUpdate();
    void EndUpdate();

private:
    RichTextTarget& target_;
};

// Positions are 0-based character positions in which a paragraph break counts as one character.
class RichTextTarget
{
public:
    virtual ~RichTextTarget() = default;

    TextAttributes SelAttributes() { return TextAttributes(*this, AttributeScope::Selection); }
    TextAttributes WordAttributes() { return TextAttributes(*this, AttributeScope::Word); }
    ParaAttributes Paragraph() { return ParaAttributes(*this); }
    TextLines Lines() { return TextLines(*this); }

    // Inserts text at the insertion point with the insertion format, replacing any selection, and
    // leaves the insertion point after it. "\r\n" (and a lone "\r" or "\n") ends the paragraph and
    // starts a new one with the same paragraph format.
    virtual void SetSelText(const QString& text) = 0;
    virtual int SelStart() const = 0;
    virtual void SetSelStart(int position) = 0;
    virtual int SelLength() const = 0;
    virtual void SetSelLength(int length) = 0;

    virtual int LineFromChar(int position) const = 0;
    virtual void Clear() = 0;
    virtual bool ReadOnly() const = 0;
    virtual void SetReadOnly(bool readOnly) = 0;
    // Inserts a picture at the insertion point, shown at the image's own size.
    virtual void InsertImage(const QImage& image) = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    // Width in pixels of a text in the default user-interface font.
    virtual int UITextWidth(const QString& text) const = 0;

protected:
    friend class TextAttributes;
    friend class ParaAttributes;
    friend class TextLines;

    virtual CharacterFormat CharFormat(AttributeScope scope) const = 0;
    virtual void ChangeCharFormat(AttributeScope scope, const CharacterFormat& format, CharFields fields) = 0;
    virtual ParagraphStyle ParagraphFormat() const = 0;
    virtual void ChangeParagraphFormat(const ParagraphStyle& format, ParaFields fields) = 0;
    virtual int LineCount() const = 0;
    virtual QString LineText(int index) const = 0;
    virtual void AddLine(const QString& line) = 0;
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
};

} // namespace plotwell

Q_DECLARE_OPERATORS_FOR_FLAGS(plotwell::FontStyles)
Q_DECLARE_OPERATORS_FOR_FLAGS(plotwell::CharFields)
Q_DECLARE_OPERATORS_FOR_FLAGS(plotwell::ParaFields)
