#pragma once
// HTMLToRichText: one forward pass that turns a help page in a small subset of HTML into
// formatted rich text, recording its links, anchors, contents markers and missing pictures.

#include "help/engine/css_processing.h"
#include "help/engine/link_info.h"
#include "help/engine/rich_text_target.h"

#include <QHash>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace plotwell {

class THTMLTag;

// Converts `html` into `re` at its insertion point, after the target's Clear when `clearing` is
// set (the help view's Clear also empties its link list; this one only appends to `urls`).
// Links and missing pictures are shown underlined in `linkColor`. `pageFolder` is the folder of
// the page's file, where style sheets and pictures named relatively are looked for when not found
// as named (empty for a page given as text). `marginWidth` is the width in pixels that the
// view's left and right text margins take together.
void HTMLToRichText(TRichTextTarget& re, const QString& html, bool clearing, TColor linkColor,
                    const QString& pageFolder, TLinkList& urls, int marginWidth);

// The state of one conversion; HTMLToRichText makes one per call.
class THTMLConverter
{
public:
    THTMLConverter(TRichTextTarget& re, TColor linkColor, const QString& pageFolder, TLinkList& urls, int marginWidth);

    void Convert(QStringView html);

    // List levels that have slots of their own; deeper levels share the last one.
    static constexpr int MaxListLevel = 20;

private:
    // The character format put back after a link, an anchor or a picture.
    struct TLinkFormat
    {
        TFontStyles Style;
        int Size = -1;
        TColor Color = clNoColor;
        QString Name;
    };

    // The format saved under one tag name.
    struct TSaveAttributesRec
    {
        int savsiz = 0;
        TColor savcol = 0;
        QString savfontname;
        TFontStyles savstyle;
        TAlignment savalignment = paLeftJustify;
    };

    void HandleText(QStringView run);
    void HandleTag(const THTMLTag& tag);

    // Elements.
    void StyleElement(const THTMLTag& tag, TFontStyle style);
    void ParagraphElement(const THTMLTag& tag);
    void ListElement(const THTMLTag& tag);
    void ListItem(const THTMLTag& tag);
    void Heading(const THTMLTag& tag, int level);
    void PreElement(const THTMLTag& tag);
    void CodeElement(const THTMLTag& tag);
    void StyleSheetElement(const THTMLTag& tag);
    void FontElement(const THTMLTag& tag);
    void FontSize(const QString& value);
    void SpanElement(const THTMLTag& tag);
    void TableElement(const THTMLTag& tag);
    void HorizontalRule(const THTMLTag& tag);
    int RuleLength(const QString& width) const;
    void Image(const THTMLTag& tag);
    QString ImageSideText(const THTMLTag& tag, const QString& attribute) const;
    void Anchor(const THTMLTag& tag);
    void StyleSheetLink(const THTMLTag& tag);
    void Blockquote(const THTMLTag& tag);
    void InlineStyle(const QString& style);

    // Writing.
    void Insert(const QString& text);
    void LineBreak();
    void ParagraphCheck();
    void Save(const QString& tagName);
    void Restore(const QString& tagName);
    void ApplyCSS(const THTMLTag& tag);
    void AddStyle(TTextAttributes attributes, TFontStyles style);
    // B, I, U and backgrounds change the selection when there is one, otherwise the insertion format.
    TTextAttributes CurrentAttributes();
    TLinkFormat LinkFormatInForce();
    void PutBack(const TLinkFormat& format);
    void ChangeIndents(int points);
    int ListSlot() const;

    TRichTextTarget& re_;
    const TColor linkColor_;
    const QString pageFolder_;
    TLinkList& urls_;
    const int marginWidth_;
    TCSS css_;
    QHash<QString, TSaveAttributesRec> saved_;

    bool inPre_ = false;
    bool inStyle_ = false;
    bool inFont_ = false;
    bool inSpan_ = false;
    bool inScript_ = false;
    bool inHead_ = false;
    bool inTable_ = false;
    bool afterP_ = false;
    int listLevel_ = 0;
    std::array<int, MaxListLevel + 1> itemCounter_{};
    std::array<bool, MaxListLevel + 1> indentMark_{};
    bool listJustOpened_ = false;
    int blockquoteDepth_ = 0;
    TLinkFormat savedLink_;
    QString monoName_;
    int monoSize_ = -1;
    std::optional<TColor> savedBackground_;
    QString styleText_;
    // Whether the line that holds the insertion point is the first one and has any non-blank
    // character; kept as text is inserted, so that checking it never reads the line again.
    bool onFirstLine_ = true;
    bool lineHasText_ = false;
};

} // namespace plotwell
