#include "help/engine/html_converter.h"

#include "core/rounding.h"
#include "help/engine/help_image.h"
#include "help/engine/html_entities.h"
#include "help/engine/html_tag.h"
#include "help/engine/html_utils.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace plotwell {

namespace {

enum class HtmlElement {
    Unknown, B, I, U, BR, Center, P, UL, OL, LI, A, H1, H2, H3, H4, H5, Pre, Code, Style, Font, Span, HR,
    Table, TR, TD, TH, Script, Head, Img, Link, Blockquote, Cite, Q,
};

HtmlElement ElementOf(const QString& name)
{
    static const QHash<QString, HtmlElement> kElements = {
        {QStringLiteral("B"), HtmlElement::B},           {QStringLiteral("I"), HtmlElement::I},
        {QStringLiteral("U"), HtmlElement::U},           {QStringLiteral("BR"), HtmlElement::BR},
        {QStringLiteral("CENTER"), HtmlElement::Center}, {QStringLiteral("P"), HtmlElement::P},
        {QStringLiteral("UL"), HtmlElement::UL},         {QStringLiteral("OL"), HtmlElement::OL},
        {QStringLiteral("LI"), HtmlElement::LI},         {QStringLiteral("A"), HtmlElement::A},
        {QStringLiteral("H1"), HtmlElement::H1},         {QStringLiteral("H2"), HtmlElement::H2},
        {QStringLiteral("H3"), HtmlElement::H3},         {QStringLiteral("H4"), HtmlElement::H4},
        {QStringLiteral("H5"), HtmlElement::H5},         {QStringLiteral("PRE"), HtmlElement::Pre},
        {QStringLiteral("CODE"), HtmlElement::Code},     {QStringLiteral("STYLE"), HtmlElement::Style},
        {QStringLiteral("FONT"), HtmlElement::Font},     {QStringLiteral("SPAN"), HtmlElement::Span},
        {QStringLiteral("HR"), HtmlElement::HR},         {QStringLiteral("TABLE"), HtmlElement::Table},
        {QStringLiteral("TR"), HtmlElement::TR},         {QStringLiteral("TD"), HtmlElement::TD},
        {QStringLiteral("TH"), HtmlElement::TH},         {QStringLiteral("SCRIPT"), HtmlElement::Script},
        {QStringLiteral("HEAD"), HtmlElement::Head},     {QStringLiteral("IMG"), HtmlElement::Img},
        {QStringLiteral("LINK"), HtmlElement::Link},     {QStringLiteral("BLOCKQUOTE"), HtmlElement::Blockquote},
        {QStringLiteral("CITE"), HtmlElement::Cite},     {QStringLiteral("Q"), HtmlElement::Q},
    };
    return kElements.value(name, HtmlElement::Unknown);
}

bool HasNonBlank(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > u' '; });
}

int ClampToInt(qint64 value)
{
    return static_cast<int>(std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

ParagraphAlignment AlignmentOf(const QString& align, ParagraphAlignment otherwise)
{
    const QString a = align.toUpper();
    if (a == u"LEFT")
        return kLeftJustify;
    if (a == u"RIGHT")
        return kRightJustify;
    if (a == u"CENTER")
        return kCenter;
    return otherwise;
}

// The value of one property in a STYLE attribute: what follows its name, past blanks and
// colons, up to ";" or a double quote. The name counts only where it begins a property, so
// "color" is not found inside "background-color".
QString InlineStyleValue(QStringView style, QStringView property)
{
    qsizetype at = style.indexOf(property, 0, Qt::CaseInsensitive);
    while (at > 0) {
        const QChar before = style[at - 1];
        if (!before.isLetterOrNumber() && before != u'-' && before != u'_')
            break;
        at = style.indexOf(property, at + 1, Qt::CaseInsensitive);
    }
    if (at < 0)
        return {};
    qsizetype p = at + property.size();
    while (p < style.size() && (style[p] == u' ' || style[p] == u':'))
        ++p;
    qsizetype end = p;
    while (end < style.size() && style[end] != u';' && style[end] != u'"')
        ++end;
    return TrimBlanks(style.mid(p, end - p)).toString();
}

// Redrawing of the target stays suspended while a conversion runs, however it ends.
class UpdateGuard
{
public:
    explicit UpdateGuard(RichTextTarget& re) : lines_(re.Lines()) { lines_.BeginUpdate(); }
    ~UpdateGuard() { lines_.EndUpdate(); }
    UpdateGuard(const UpdateGuard&) = delete;
    UpdateGuard& operator=(const UpdateGuard&) = delete;

private:
    TextLines lines_;
};

constexpr int kHeadingGrowth[] = {12, 7, 5, 2, 1};
constexpr int kFontSizes[] = {4, 7, 10, 13, 14, 19, 27};
constexpr int kListIndent = 10;
constexpr int kQuoteIndent = 30;
// Far more underscores than any screen is wide.
constexpr qint64 kMaxRuleLength = 65536;
constexpr QStringView kTableRule = u"---------";

} // namespace

void HTMLToRichText(RichTextTarget& re, const QString& html, bool clearing, RgbColor linkColor,
                    const QString& pageFolder, LinkList& urls, int marginWidth)
{
    if (clearing)
        re.Clear();
    UpdateGuard guard(re);
    HTMLConverter converter(re, linkColor, pageFolder, urls, marginWidth);
    converter.Convert(html);
}

HTMLConverter::HTMLConverter(RichTextTarget& re, RgbColor linkColor, const QString& pageFolder, LinkList& urls,
                               int marginWidth)
    : re_(re), linkColor_(linkColor), pageFolder_(pageFolder), urls_(urls), marginWidth_(marginWidth)
{
    itemCounter_.fill(-1);
    const int line = re_.LineFromChar(re_.SelStart());
    onFirstLine_ = line == 0;
    lineHasText_ = HasNonBlank(re_.Lines().Strings(line));
}

void HTMLConverter::Convert(QStringView html)
{
    const qsizetype n = html.size();
    // No "-->" lies at or after this position; a search that failed once is not run again.
    qsizetype noCommentEndFrom = n + 1;
    qsizetype p = 0;
    while (p < n) {
        if (html[p] != u'<') {
            qsizetype next = html.indexOf(u'<', p);
            if (next < 0)
                next = n;
            if (!inScript_ && !inHead_)
                HandleText(html.mid(p, next - p));
            p = next;
            continue;
        }
        qsizetype t = p + 1;
        while (t < n && html[t] == u' ')
            ++t; // «< b>» reads as «<b>»
        if (html.mid(t, 3) == QStringView(u"!--") && n - t >= 6) {
            qsizetype close = -1;
            if (t + 3 < noCommentEndFrom) {
                close = html.indexOf(u"-->", t + 3);
                if (close < 0)
                    noCommentEndFrom = t + 3;
            }
            if (close >= 0) {
                p = close + 3;
                continue;
            }
        }
        bool endTag = false;
        if (t < n && html[t] == u'/') {
            endTag = true;
            ++t;
        }
        const qsizetype gt = html.indexOf(u'>', t);
        if (gt < 0)
            break; // an unclosed tag ends the page
        p = gt + 1;
        HandleTag(HTMLTag::Parse(html.mid(t, gt - t), endTag));
    }
}

void HTMLConverter::HandleText(QStringView run)
{
    if (inStyle_) {
        styleText_ = run.toString();
        return;
    }
    QString reduced;
    reduced.reserve(run.size());
    for (QChar c : run) {
        if (c == u'\t')
            c = u' ';
        if (!inPre_) {
            if (c == u'\r' || c == u'\n')
                continue;
            if (c == u' ' && !reduced.isEmpty() && reduced.back() == u' ')
                continue;
        }
        reduced.append(c);
    }
    Insert(DecodeHTMLEntities(reduced));
}

void HTMLConverter::HandleTag(const HTMLTag& tag)
{
    const bool start = !tag.IsEndTag();
    switch (ElementOf(tag.Name())) {
    case HtmlElement::Unknown:
        break;
    case HtmlElement::B:
        StyleElement(tag, kBold);
        break;
    case HtmlElement::I:
        StyleElement(tag, kItalic);
        break;
    case HtmlElement::U:
        StyleElement(tag, kUnderline);
        break;
    case HtmlElement::BR:
        LineBreak();
        break;
    case HtmlElement::Center:
        re_.Paragraph().SetAlignment(start ? kCenter : kLeftJustify);
        break;
    case HtmlElement::P:
        ParagraphElement(tag);
        break;
    case HtmlElement::UL:
    case HtmlElement::OL:
        ListElement(tag);
        break;
    case HtmlElement::LI:
        ListItem(tag);
        break;
    case HtmlElement::A:
        Anchor(tag);
        break;
    case HtmlElement::H1:
    case HtmlElement::H2:
    case HtmlElement::H3:
    case HtmlElement::H4:
    case HtmlElement::H5:
        Heading(tag, tag.Name().mid(1).toInt());
        break;
    case HtmlElement::Pre:
        PreElement(tag);
        break;
    case HtmlElement::Code:
        CodeElement(tag);
        break;
    case HtmlElement::Style:
        StyleSheetElement(tag);
        break;
    case HtmlElement::Font:
        FontElement(tag);
        break;
    case HtmlElement::Span:
        SpanElement(tag);
        break;
    case HtmlElement::HR:
        HorizontalRule(tag);
        break;
    case HtmlElement::Table:
    case HtmlElement::TR:
    case HtmlElement::TD:
        TableElement(tag);
        break;
    case HtmlElement::TH:
        if (start) {
            Save(tag.Name());
            re_.SelAttributes().SetStyle(kBold);
            ApplyCSS(tag);
        } else {
            Restore(tag.Name());
        }
        break;
    case HtmlElement::Script:
        inScript_ = start;
        break;
    case HtmlElement::Head:
        inHead_ = start;
        break;
    case HtmlElement::Img:
        Image(tag);
        break;
    case HtmlElement::Link:
        StyleSheetLink(tag);
        break;
    case HtmlElement::Blockquote:
        Blockquote(tag);
        break;
    case HtmlElement::Cite:
    case HtmlElement::Q:
        if (start) {
            Save(tag.Name());
            AddStyle(re_.SelAttributes(), kItalic);
            ApplyCSS(tag);
        } else {
            Restore(tag.Name());
        }
        break;
    }
}

void HTMLConverter::StyleElement(const HTMLTag& tag, FontStyle style)
{
    TextAttributes attributes = CurrentAttributes();
    if (tag.IsEndTag())
        attributes.SetStyle(attributes.Style() & ~FontStyles(style));
    else
        AddStyle(attributes, style);
}

void HTMLConverter::ParagraphElement(const HTMLTag& tag)
{
    if (tag.IsEndTag()) {
        afterP_ = false;
        ParagraphCheck();
        Restore(tag.Name());
        return;
    }
    afterP_ = true;
    ParagraphCheck();
    LineBreak();
    Save(tag.Name());
    ApplyCSS(tag);
    re_.Paragraph().SetAlignment(AlignmentOf(tag.Attribute(u"ALIGN"), kLeftJustify));
}

int HTMLConverter::ListSlot() const
{
    return std::min(listLevel_, kMaxListLevel);
}

void HTMLConverter::ListElement(const HTMLTag& tag)
{
    if (!tag.IsEndTag()) {
        listLevel_ = std::max(listLevel_ + 1, 1);
        itemCounter_[ListSlot()] = tag.Name() == u"UL" ? -1 : 0;
        listJustOpened_ = true;
        LineBreak();
        return;
    }
    if (listLevel_ == 0)
        return;
    LineBreak();
    listJustOpened_ = false;
    if (indentMark_[ListSlot()]) {
        ChangeIndents(-kListIndent);
        indentMark_[ListSlot()] = false;
    }
    --listLevel_;
}

void HTMLConverter::ListItem(const HTMLTag& tag)
{
    if (tag.IsEndTag()) {
        LineBreak();
        return;
    }
    const int slot = ListSlot();
    if (indentMark_[slot]) {
        indentMark_[slot] = false;
        if (!listJustOpened_)
            LineBreak();
        ChangeIndents(-kListIndent);
    }
    LineBreak();
    ChangeIndents(kListIndent);
    indentMark_[slot] = true;
    QString label = QStringLiteral("\u2022  ");
    if (listLevel_ >= 1 && itemCounter_[slot] >= 0) {
        ++itemCounter_[slot];
        label = QString::number(itemCounter_[slot]) + QStringLiteral(". ");
    }
    listJustOpened_ = false;
    Insert(label);
}

void HTMLConverter::ChangeIndents(int points)
{
    ParaAttributes paragraph = re_.Paragraph();
    paragraph.SetFirstIndent(paragraph.FirstIndent() + points);
}

void HTMLConverter::Heading(const HTMLTag& tag, int level)
{
    if (tag.IsEndTag()) {
        if (level <= 3)
            LineBreak();
        Restore(tag.Name());
        return;
    }
    if (afterP_)
        LineBreak();
    Save(tag.Name());
    LineBreak();
    if (level == 1)
        LineBreak();
    TextAttributes attributes = re_.SelAttributes();
    if (level == 1)
        AddStyle(attributes, kBold);
    else if (level == 3)
        attributes.SetStyle(kBold | kItalic);
    else if (level >= 4)
        attributes.SetStyle(kBold);
    attributes.SetSize(ClampToInt(static_cast<qint64>(attributes.Size()) + kHeadingGrowth[level - 1]));
    ParaAttributes paragraph = re_.Paragraph();
    paragraph.SetAlignment(AlignmentOf(tag.Attribute(u"ALIGN"), paragraph.Alignment()));
    ApplyCSS(tag);
}

void HTMLConverter::PreElement(const HTMLTag& tag)
{
    TextAttributes attributes = re_.SelAttributes();
    if (!tag.IsEndTag()) {
        inPre_ = true;
        Save(tag.Name());
        monoName_ = attributes.Name();
        monoSize_ = attributes.Size();
        LineBreak();
        attributes.SetName(QStringLiteral("Courier New"));
        attributes.SetSize(attributes.Size() - 1);
        ApplyCSS(tag);
        return;
    }
    if (!inPre_)
        return;
    inPre_ = false;
    LineBreak();
    if (!monoName_.isEmpty())
        attributes.SetName(monoName_);
    if (monoSize_ >= 0)
        attributes.SetSize(monoSize_);
    Restore(tag.Name());
}

void HTMLConverter::CodeElement(const HTMLTag& tag)
{
    TextAttributes attributes = re_.SelAttributes();
    if (!tag.IsEndTag()) {
        Save(tag.Name());
        monoName_ = attributes.Name();
        monoSize_ = attributes.Size();
        attributes.SetName(QStringLiteral("Courier New"));
        attributes.SetSize(attributes.Size() - 1);
        ApplyCSS(tag);
        return;
    }
    if (!monoName_.isEmpty())
        attributes.SetName(monoName_);
    if (monoSize_ >= 0)
        attributes.SetSize(monoSize_);
    Restore(tag.Name());
}

void HTMLConverter::StyleSheetElement(const HTMLTag& tag)
{
    if (!tag.IsEndTag()) {
        inStyle_ = true;
        return;
    }
    inStyle_ = false;
    css_.LoadCSSFromString(styleText_);
    styleText_.clear();
}

void HTMLConverter::FontElement(const HTMLTag& tag)
{
    if (tag.IsEndTag()) {
        if (!inFont_)
            return;
        inFont_ = false;
        Restore(tag.Name());
        savedLink_.size = -1;
        return;
    }
    Save(tag.Name());
    inFont_ = true;
    ApplyCSS(tag);
    FontSize(tag.Attribute(u"SIZE"));
    const RgbColor color = HTMLColorToColor(tag.Attribute(u"COLOR"));
    if (color != clNoColor)
        re_.SelAttributes().SetColor(color);
    const QString face = tag.Attribute(u"FACE");
    if (!face.isEmpty())
        re_.SelAttributes().SetName(face);
    InlineStyle(tag.Attribute(u"STYLE"));
}

void HTMLConverter::FontSize(const QString& value)
{
    if (value.isEmpty())
        return;
    const QChar sign = value.front();
    const bool relative = sign == u'+' || sign == u'-';
    const auto n = ParseWholeNumber(TrimBlanks(QStringView(value).mid(relative ? 1 : 0)));
    if (!n)
        return;
    TextAttributes attributes = re_.SelAttributes();
    if (relative) {
        const qint64 step = 3 * static_cast<qint64>(*n);
        attributes.SetSize(ClampToInt(attributes.Size() + (sign == u'+' ? step : -step)));
    } else if (*n >= 1 && *n <= 7) {
        attributes.SetSize(kFontSizes[*n - 1]);
    }
}

void HTMLConverter::SpanElement(const HTMLTag& tag)
{
    if (tag.IsEndTag()) {
        if (!inSpan_)
            return;
        inSpan_ = false;
        Restore(tag.Name());
        return;
    }
    inSpan_ = true;
    Save(tag.Name());
    ApplyCSS(tag);
    InlineStyle(tag.Attribute(u"STYLE"));
}

void HTMLConverter::TableElement(const HTMLTag& tag)
{
    const bool start = !tag.IsEndTag();
    if (tag.Name() == u"TABLE") {
        LineBreak();
        inTable_ = start;
        if (!start) {
            Insert(kTableRule.toString());
            LineBreak();
        }
        return;
    }
    if (!start || !inTable_)
        return;
    LineBreak();
    if (tag.Name() == u"TR") {
        Insert(kTableRule.toString());
        LineBreak();
    } else {
        ApplyCSS(tag);
    }
}

void HTMLConverter::HorizontalRule(const HTMLTag& tag)
{
    ParaAttributes paragraph = re_.Paragraph();
    TextAttributes attributes = re_.SelAttributes();
    const ParagraphAlignment alignment = paragraph.Alignment();
    const RgbColor color = attributes.Color();
    const int size = attributes.Size();
    if (tag.Attribute(u"ALIGN").toUpper() == u"CENTER")
        paragraph.SetAlignment(kCenter);
    const int length = RuleLength(tag.Attribute(u"WIDTH"));
    attributes.SetSize(10);
    LineBreak();
    attributes.SetColor(RGBToColor(0, 0, 0));
    attributes.SetStyle({});
    Insert(QString(length, u'_'));
    LineBreak();
    paragraph.SetAlignment(alignment);
    attributes.SetColor(color);
    attributes.SetSize(size);
}

int HTMLConverter::RuleLength(const QString& width) const
{
    QString w = width.isEmpty() ? QStringLiteral("60%") : width.toUpper();
    const bool percent = w.endsWith(u'%');
    if (percent) {
        w.chop(1);
    } else {
        if (w.endsWith(u"PX"))
            w.chop(2);
        w = TrimBlanks(w).toString();
    }
    const qint64 n = ParseWholeNumber(w).value_or(-1);
    qint64 avail = static_cast<qint64>(re_.ClientWidth()) - marginWidth_;
    if (!percent && avail > n)
        avail = n;
    const qint64 underscore = std::max(re_.UITextWidth(QStringLiteral("_")), 1);
    qint64 count = avail / underscore + 1;
    if (percent)
        count = Round(static_cast<double>(std::min<qint64>(n, 100)) / 100.0 * static_cast<double>(count));
    return static_cast<int>(std::clamp<qint64>(count, 0, kMaxRuleLength));
}

QString HTMLConverter::ImageSideText(const HTMLTag& tag, const QString& attribute) const
{
    const auto fromSheet = [&](const QString& element, const QString& type) {
        QString value = css_.GetValueFromCSS(element, attribute, type);
        if (value.endsWith(u"PX"))
            value.chop(2);
        return value;
    };
    QString text = tag.Attribute(attribute);
    if (const QString v = fromSheet(QStringLiteral("IMG"), QString()); !v.isEmpty())
        text = v;
    if (const QString v = fromSheet(tag.Attribute(u"CLASS"), QStringLiteral("CLASS")); !v.isEmpty())
        text = v;
    return text;
}

void HTMLConverter::Image(const HTMLTag& tag)
{
    const QString src = tag.Attribute(u"SRC");
    if (src.isEmpty())
        return;
    // The picture keeps its own saved format, so that one inside a link leaves the link's alone.
    const LinkFormat before = LinkFormatInForce();
    TextAttributes attributes = re_.SelAttributes();
    AddStyle(attributes, kUnderline);
    attributes.SetColor(linkColor_);

    const auto width = HelpImageSide(ImageSideText(tag, QStringLiteral("WIDTH")), re_.ClientWidth());
    const auto height = HelpImageSide(ImageSideText(tag, QStringLiteral("HEIGHT")), re_.ClientHeight());
    const QString path = FindPageFile(src, pageFolder_);
    const QImage image = path.isEmpty() ? QImage() : LoadHelpImage(path, width, height);
    if (!image.isNull()) {
        re_.InsertImage(image);
        lineHasText_ = true;
    } else {
        QString label = tag.Attribute(u"ALT");
        if (label.isEmpty())
            label = FileNamePart(src);
        const QString placeholder = QStringLiteral("[IMAGE: \"") + label + QStringLiteral("\"]");
        urls_.append({src, {re_.SelStart(), static_cast<qint32>(placeholder.size()), kImageLink}});
        Insert(placeholder);
    }
    PutBack(before);
}

void HTMLConverter::Anchor(const HTMLTag& tag)
{
    if (tag.IsEndTag()) {
        PutBack(savedLink_);
        if (!urls_.isEmpty() && urls_.last().info.kind != kAnchorLink) {
            LinkInfo& info = urls_.last().info;
            info.length = std::max(re_.SelStart() - info.start, 0);
        }
        return;
    }
    savedLink_ = LinkFormatInForce();
    TextAttributes attributes = re_.SelAttributes();
    AddStyle(attributes, kUnderline);
    attributes.SetColor(linkColor_);

    QString href = tag.Attribute(u"HREF");
    const QString name = tag.Attribute(u"NAME");
    if (!href.isEmpty()) {
        LinkInfo info{re_.SelStart(), 0, kUrlLink};
        const QString address = TrimBlanks(href).toString().toUpper();
        const bool web = address.size() < 600 && !address.contains(u' ')
            && (address.startsWith(u"HTTP") || address.contains(u"WWW."));
        if (web) {
            if (address.startsWith(u"WWW."))
                href.prepend(QStringLiteral("http://"));
        } else {
            if (QFileInfo(href).isFile())
                href.prepend(QStringLiteral("file:///"));
            if (href.startsWith(u"file:///", Qt::CaseInsensitive)) {
                Insert(QStringLiteral("[FILE] "));
                info.kind = kFileLink;
            }
        }
        urls_.append({href, info});
    } else if (!name.isEmpty()) {
        const LinkInfo info{re_.SelStart(), 0, kAnchorLink};
        if (name.startsWith(u"Contents:")) {
            urls_.append({name.mid(9), {info.start, 0, kContentsLink}});
            LineBreak();
        } else {
            urls_.append({name, info});
        }
        // An anchor has no text of its own.
        PutBack(savedLink_);
    }
}

void HTMLConverter::StyleSheetLink(const HTMLTag& tag)
{
    if (tag.Attribute(u"REL").toUpper() != u"STYLESHEET")
        return;
    const QString path = FindPageFile(tag.Attribute(u"HREF"), pageFolder_);
    if (!path.isEmpty())
        css_.LoadCSSFromFile(path);
}

void HTMLConverter::Blockquote(const HTMLTag& tag)
{
    const int step = tag.IsEndTag() ? -kQuoteIndent : kQuoteIndent;
    if (!tag.IsEndTag())
        Save(tag.Name());
    blockquoteDepth_ += tag.IsEndTag() ? -1 : 1;
    LineBreak();
    ParaAttributes paragraph = re_.Paragraph();
    paragraph.SetFirstIndent(paragraph.FirstIndent() + step);
    paragraph.SetRightIndent(paragraph.RightIndent() + step);
    Restore(tag.Name());
    if (!tag.IsEndTag())
        ApplyCSS(tag);
}

void HTMLConverter::InlineStyle(const QString& style)
{
    if (style.isEmpty())
        return;
    TextAttributes attributes = re_.SelAttributes();
    const QString family = InlineStyleValue(style, u"font-family");
    if (!family.isEmpty())
        attributes.SetName(family);
    SetFontSizeFromText(re_, InlineStyleValue(style, u"font-size"));
    const RgbColor background = HTMLColorToColor(InlineStyleValue(style, u"background-color"));
    if (background != clNoColor) {
        TextAttributes current = CurrentAttributes();
        savedBackground_ = current.BackColor();
        current.SetBackColor(background);
    }
    const QString fontStyle = InlineStyleValue(style, u"font-style").toUpper();
    if (fontStyle == u"BOLD")
        attributes.SetStyle(kBold);
    else if (fontStyle == u"ITALIC")
        attributes.SetStyle(kItalic);
    else if (fontStyle == u"UNDERLINE")
        attributes.SetStyle(kUnderline);
    else if (fontStyle == u"STRIKEOUT")
        attributes.SetStyle(kStrikeOut);
    const RgbColor color = HTMLColorToColor(InlineStyleValue(style, u"color"));
    if (color != clNoColor)
        attributes.SetColor(color);
}

void HTMLConverter::Insert(const QString& text)
{
    if (text.isEmpty())
        return;
    re_.SetSelText(text);
    qsizetype lastBreak = -1;
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            lastBreak = i;
            break;
        }
    }
    const QStringView tail = QStringView(text).mid(lastBreak + 1);
    if (lastBreak >= 0) {
        onFirstLine_ = false;
        lineHasText_ = HasNonBlank(tail);
    } else {
        lineHasText_ = lineHasText_ || HasNonBlank(tail);
    }
}

void HTMLConverter::LineBreak()
{
    Insert(QStringLiteral("\r\n"));
}

void HTMLConverter::ParagraphCheck()
{
    if (!onFirstLine_ && lineHasText_)
        LineBreak();
}

void HTMLConverter::Save(const QString& tagName)
{
    TextAttributes attributes = re_.SelAttributes();
    saved_.insert(tagName, {attributes.Size(), attributes.Color(), attributes.Name(), attributes.Style(),
                            re_.Paragraph().Alignment()});
}

void HTMLConverter::Restore(const QString& tagName)
{
    const auto it = saved_.constFind(tagName);
    if (it != saved_.constEnd()) {
        re_.Paragraph().SetAlignment(it->savalignment);
        TextAttributes attributes = re_.SelAttributes();
        attributes.SetStyle(it->savstyle);
        if (it->savsiz != -1 && it->savcol != clNoColor && !it->savfontname.isEmpty()) {
            attributes.SetSize(it->savsiz);
            attributes.SetColor(it->savcol);
            attributes.SetName(it->savfontname);
        }
    }
    if (savedBackground_)
        CurrentAttributes().SetBackColor(*savedBackground_);
}

void HTMLConverter::ApplyCSS(const HTMLTag& tag)
{
    css_.DoCSS(re_, tag.Attribute(u"CLASS"), tag.Attribute(u"ID"), tag.Name());
}

void HTMLConverter::AddStyle(TextAttributes attributes, FontStyles style)
{
    attributes.SetStyle(attributes.Style() | style);
}

TextAttributes HTMLConverter::CurrentAttributes()
{
    return re_.SelLength() > 0 ? re_.SelAttributes() : re_.WordAttributes();
}

HTMLConverter::LinkFormat HTMLConverter::LinkFormatInForce()
{
    TextAttributes attributes = re_.SelAttributes();
    return {attributes.Style(), attributes.Size(), attributes.Color(), attributes.Name()};
}

void HTMLConverter::PutBack(const LinkFormat& format)
{
    TextAttributes attributes = re_.SelAttributes();
    attributes.SetStyle(format.style);
    // A size of -1 (after a FONT end tag) or an unset colour or name leaves that attribute as it is.
    if (format.size != -1)
        attributes.SetSize(format.size);
    if (format.color != clNoColor)
        attributes.SetColor(format.color);
    if (!format.name.isEmpty())
        attributes.SetName(format.name);
}

} // namespace plotwell
