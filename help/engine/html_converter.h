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

class HTMLTag;

// Converts `html` into `re` at its insertion point, after the target's Clear when `clearing` is
// set (the help view's Clear also empties its link list; this one only appends to `urls`).
// Links and missing pictures are shown underlined in `linkColor`. `pageFolder` is the folder of
// the page's file, where style sheets and pictures named relatively are looked for when not found
// as named (empty for a page given as text). `marginWidth` is the width in pixels that the
// view's left and right text margins take together.
void HTMLToRichText(RichTextTarget& re, const QString& html, bool clearing, RgbColor linkColor,
                    const QString& pageFolder, LinkList& urls, int marginWidth);

// The state of one conversion; HTMLToRichText makes one per call.
class HTMLConverter
{
public:
    HTMLConverter(RichTextTarget& re, RgbColor linkColor, const QString& pageFolder, LinkList& urls, int marginWidth);

    void Convert(QStringView html);

    // List levels that have slots of their own; deeper levels share the last one.
    static constexpr int kMaxListLevel = 20;

private:
    // The character format put back after a link, an anchor or a picture.
    struct LinkFormat
    {
        FontStyles style;
        int size = -1;
        RgbColor color = clNoColor;
        QString name;
    };

    // The format saved under one tag name.
    struct SaveAttributesRec
    {
        int savsiz = 0;
        RgbColor savcol = 0;
        QString savfontname;
        FontStyles savstyle;
        ParagraphAlignment savalignment = kLeftJustify;
    };

    void HandleText(QStringView run);
    void HandleTag(const HTMLTag& tag);

    // Elements.
    void StyleElement(const HTMLTag& tag, FontStyle style);
    void ParagraphElement(const HTMLTag& tag);
    void ListElement(const HTMLTag& tag);
    void ListItem(const HTMLTag& tag);
    void Heading(const HTMLTag& tag, int level);
    void PreElement(const HTMLTag& tag);
    void CodeElement(const HTMLTag& tag);
    void StyleSheetElement(const HTMLTag& tag);
    void FontElement(const HTMLTag& tag);
    void FontSize(const QString& value);
    void SpanElement(const HTMLTag& tag);
    void TableElement(const HTMLTag& tag);
    void HorizontalRule(const HTMLTag& tag);
    int RuleLength(const QString& width) const;
    void Image(const HTMLTag& tag);
    QString ImageSideText(const HTMLTag& tag, const QString& attribute) const;
    void Anchor(const HTMLTag& tag);
    void StyleSheetLink(const HTMLTag& tag);
    void Blockquote(const HTMLTag& tag);
    void InlineStyle(const QString& style);

    // Writing.
    void Insert(const QString& text);
    void LineBreak();
    void ParagraphCheck();
    void Save(const QString& tagName);
    void Restore(const QString& tagName);
    void ApplyCSS(const HTMLTag& tag);
    void AddStyle(TextAttributes attributes, FontStyles style);
    // B, I, U and backgrounds change the selection when there is one, otherwise the insertion format.
    TextAttributes CurrentAttributes();
    LinkFormat LinkFormatInForce();
    void PutBack(const LinkFormat& format);
    void ChangeIndents(int points);
    int ListSlot() const;

    RichTextTarget& re_;
    const RgbColor linkColor_;
    const QString pageFolder_;
    LinkList& urls_;
    const int marginWidth_;
    StyleSheet css_;
    QHash<QString, SaveAttributesRec> saved_;

    bool inPre_ = false;
    bool inStyle_ = false;
    bool inFont_ = false;
    bool inSpan_ = false;
    bool inScript_ = false;
    bool inHead_ = false;
    bool inTable_ = false;
    bool afterP_ = false;
    int listLevel_ = 0;
    std::array<int, kMaxListLevel + 1> itemCounter_{};
    std::array<bool, kMaxListLevel + 1> indentMark_{};
    bool listJustOpened_ = false;
    int blockquoteDepth_ = 0;
    LinkFormat savedLink_;
    QString monoName_;
    int monoSize_ = -1;
    std::optional<RgbColor> savedBackground_;
    QString styleText_;
    // Whether the line that holds the insertion point is the first one and has any non-blank
    // character; kept as text is inserted, so that checking it never reads the line again.
    bool onFirstLine_ = true;
    bool lineHasText_ = false;
};

} // namespace plotwell
