#pragma once
// TRichTextTarget: the rich text operations through which style sheets and the HTML converter write.

#include "core/color.h"

#include <QFlags>
#include <QString>

class QImage;

namespace plotwell {

enum TFontStyle : quint8 { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)

enum TAlignment : quint8 { paLeftJustify, paRightJustify, paCenter };

// "No colour": what HTMLColorToColor gives for text it cannot read, and the background of text
// that has none.
constexpr TColor clNoColor = 0xFFFFFFFF;

// A character format: face name, whole points, text colour, styles, background colour.
struct TCharFormat
{
    QString Name;
    int Size = 0;
    TColor Color = 0;
    TFontStyles Style;
    TColor BackColor = clNoColor;
};

enum TCharField : quint8 { cfName = 1, cfSize = 2, cfColor = 4, cfStyle = 8, cfBackColor = 16 };
Q_DECLARE_FLAGS(TCharFields, TCharField)

// A paragraph format; indents in whole points.
struct TParagraphFormat
{
    TAlignment Alignment = paLeftJustify;
    int FirstIndent = 0;
    int RightIndent = 0;
};

enum TParaField : quint8 { pfAlignment = 1, pfFirstIndent = 2, pfRightIndent = 4 };
Q_DECLARE_FLAGS(TParaFields, TParaField)

// Which text a character format change reaches: the selection (or, with none, the insertion
// format), or the word around the insertion point as well.
enum class TAttributeScope : quint8 { Selection, Word };

class TRichTextTarget;

// SelAttributes / WordAttributes: reads and changes one attribute at a time.
class TTextAttributes
{
public:
    TTextAttributes(TRichTextTarget& target, TAttributeScope scope) : target_(target), scope_(scope) {}

    QString Name() const;
    int Size() const;
    TColor Color() const;
    TFontStyles Style() const;
    TColor BackColor() const;

    void SetName(const QString& name);
    void SetSize(int size);
    void SetColor(TColor color);
    void SetStyle(TFontStyles style);
    void SetBackColor(TColor color);

private:
    void Change(const TCharFormat& format, TCharFields fields);

    TRichTextTarget& target_;
    TAttributeScope scope_;
};

// Paragraph: the format of the paragraph that holds the insertion point.
class TParaAttributes
{
public:
    explicit TParaAttributes(TRichTextTarget& target) : target_(target) {}

    TAlignment Alignment() const;
    int FirstIndent() const;
    int RightIndent() const;

    void SetAlignment(TAlignment alignment);
    void SetFirstIndent(int points);
    void SetRightIndent(int points);

private:
    TRichTextTarget& target_;
};

// Lines: the text by lines, and the suspension of redrawing.
class TTextLines
{
public:
    explicit TTextLines(TRichTextTarget& target) : target_(target) {}

    int Count() const;
    QString Strings(int index) const;
    void Add(const QString& line);
    void BeginUpdate();
    void EndUpdate();

private:
    TRichTextTarget& target_;
};

// Positions are 0-based character positions in which a paragraph break counts as one character.
class TRichTextTarget
{
public:
    virtual ~TRichTextTarget() = default;

    TTextAttributes SelAttributes() { return TTextAttributes(*this, TAttributeScope::Selection); }
    TTextAttributes WordAttributes() { return TTextAttributes(*this, TAttributeScope::Word); }
    TParaAttributes Paragraph() { return TParaAttributes(*this); }
    TTextLines Lines() { return TTextLines(*this); }

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
    friend class TTextAttributes;
    friend class TParaAttributes;
    friend class TTextLines;

    virtual TCharFormat CharFormat(TAttributeScope scope) const = 0;
    virtual void ChangeCharFormat(TAttributeScope scope, const TCharFormat& format, TCharFields fields) = 0;
    virtual TParagraphFormat ParagraphFormat() const = 0;
    virtual void ChangeParagraphFormat(const TParagraphFormat& format, TParaFields fields) = 0;
    virtual int LineCount() const = 0;
    virtual QString LineText(int index) const = 0;
    virtual void AddLine(const QString& line) = 0;
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
};

} // namespace plotwell

Q_DECLARE_OPERATORS_FOR_FLAGS(plotwell::TFontStyles)
Q_DECLARE_OPERATORS_FOR_FLAGS(plotwell::TCharFields)
Q_DECLARE_OPERATORS_FOR_FLAGS(plotwell::TParaFields)
