#include "help/engine/document_rich_text_target.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <algorithm>

namespace plotwell {

namespace {

// Indents are kept in points; the document lays out in pixels at 96 per inch. Absurd indents
// (a page of ten thousand nested quotes) are held to a width that layout still handles.
constexpr int kMaxIndentPixels = 10000;

qreal IndentPixels(int points)
{
    return std::clamp(points * 96.0 / 72.0, 0.0, static_cast<double>(kMaxIndentPixels));
}

void ApplyFields(QTextCharFormat& q, const CharacterFormat& f, CharFields fields)
{
    if (fields & kCharName)
        q.setFontFamilies(QStringList{f.name});
    if (fields & kCharSize)
        q.setFontPointSize(std::clamp(f.size, 1, DocumentRichTextTarget::kMaxFontSize));
    if (fields & kCharColor)
        q.setForeground(ToQColor(f.color));
    if (fields & kCharStyle) {
        q.setFontWeight(f.style & kBold ? QFont::Bold : QFont::Normal);
        q.setFontItalic(f.style & kItalic);
        q.setFontUnderline(f.style & kUnderline);
        q.setFontStrikeOut(f.style & kStrikeOut);
    }
    if (fields & kCharBackColor) {
        if (f.backColor == clNoColor)
            q.clearBackground();
        else
            q.setBackground(ToQColor(f.backColor));
    }
}

constexpr CharFields kAllCharFields = kCharName | kCharSize | kCharColor | kCharStyle | kCharBackColor;

QTextCharFormat ToQtFormat(const CharacterFormat& f)
{
    QTextCharFormat q;
    ApplyFields(q, f, kAllCharFields);
    return q;
}

bool IsWordChar(QChar c)
{
    return c.isLetterOrNumber();
}

} // namespace

DocumentRichTextTarget::DocumentRichTextTarget(QTextDocument* document)
    : owned_(document ? nullptr : std::make_unique<QTextDocument>()),
      doc_(document ? document : owned_.get()),
      cursor_(doc_)
{
    // The text is generated, never edited: an undo history would only cost time and memory.
    doc_->setUndoRedoEnabled(false);
    base_.name = QGuiApplication::font().family();
    base_.size = 12;
    cursor_.movePosition(QTextCursor::End);
    insertFormat_ = ToQtFormat(base_);
}

DocumentRichTextTarget::~DocumentRichTextTarget() = default;

void DocumentRichTextTarget::SetBaseFont(const QString& name, int size)
{
    base_.name = name;
    base_.size = std::clamp(size, 1, kMaxFontSize);
    ApplyFields(insertFormat_, base_, kCharName | kCharSize);
}

void DocumentRichTextTarget::SetClientSize(int width, int height)
{
    clientWidth_ = width;
    clientHeight_ = height;
}

int DocumentRichTextTarget::EndPosition() const
{
    return doc_->characterCount() - 1;
}

QTextCharFormat DocumentRichTextTarget::FormatAt(int position) const
{
    // A cursor reports the format of the character before it.
    QTextCursor c(doc_);
    c.setPosition(std::clamp(position + 1, 0, EndPosition()));
    return c.charFormat();
}

CharacterFormat DocumentRichTextTarget::ReadFormat(const QTextCharFormat& q) const
{
    CharacterFormat f = base_;
    const QStringList families = q.fontFamilies().toStringList();
    if (!families.isEmpty())
        f.name = families.front();
    if (q.hasProperty(QTextFormat::FontPointSize))
        f.size = qRound(q.fontPointSize());
    if (q.hasProperty(QTextFormat::ForegroundBrush))
        f.color = FromQColor(q.foreground().color());
    f.style = {};
    if (q.fontWeight() >= QFont::Bold)
        f.style |= kBold;
    if (q.fontItalic())
        f.style |= kItalic;
    if (q.fontUnderline())
        f.style |= kUnderline;
    if (q.fontStrikeOut())
        f.style |= kStrikeOut;
    f.backColor = q.hasProperty(QTextFormat::BackgroundBrush) && q.background().style() != Qt::NoBrush
        ? FromQColor(q.background().color())
        : clNoColor;
    return f;
}

void DocumentRichTextTarget::InsertPlain(const QString& text)
{
    if (!text.isEmpty())
        cursor_.insertText(text, insertFormat_);
}

void DocumentRichTextTarget::SetSelText(const QString& text)
{
    if (cursor_.hasSelection())
        cursor_.removeSelectedText();
    qsizetype runStart = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        InsertPlain(text.mid(runStart, i - runStart));
        cursor_.insertBlock(cursor_.blockFormat(), insertFormat_);
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        runStart = i + 1;
    }
    InsertPlain(text.mid(runStart));
}

int DocumentRichTextTarget::SelStart() const
{
    return cursor_.selectionStart();
}

void DocumentRichTextTarget::SetSelStart(int position)
{
    position = std::clamp(position, 0, EndPosition());
    if (!cursor_.hasSelection() && cursor_.position() == position)
        return;
    cursor_.setPosition(position);
    insertFormat_ = ToQtFormat(ReadFormat(cursor_.charFormat()));
}

int DocumentRichTextTarget::SelLength() const
{
    return cursor_.selectionEnd() - cursor_.selectionStart();
}

void DocumentRichTextTarget::SetSelLength(int length)
{
    const int start = cursor_.selectionStart();
    cursor_.setPosition(start);
    cursor_.setPosition(std::clamp(start + std::max(length, 0), start, EndPosition()), QTextCursor::KeepAnchor);
    insertFormat_ = ToQtFormat(ReadFormat(cursor_.hasSelection() ? FormatAt(start) : cursor_.charFormat()));
}

int DocumentRichTextTarget::LineFromChar(int position) const
{
    return doc_->findBlock(std::clamp(position, 0, EndPosition())).blockNumber();
}

void DocumentRichTextTarget::Clear()
{
    if (updateDepth_ > 0)
        cursor_.endEditBlock();
    doc_->clear();
    cursor_ = QTextCursor(doc_);
    if (updateDepth_ > 0)
        cursor_.beginEditBlock();
    insertFormat_ = ToQtFormat(base_);
    cursor_.setBlockFormat(QTextBlockFormat());
    cursor_.setBlockCharFormat(insertFormat_);
}

void DocumentRichTextTarget::InsertImage(const QImage& image)
{
    if (cursor_.hasSelection())
        cursor_.removeSelectedText();
    const QString name = QStringLiteral("plotwell-image:%1").arg(++imageCount_);
    doc_->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(image.width());
    format.setHeight(image.height());
    cursor_.insertImage(format);
}

int DocumentRichTextTarget::UITextWidth(const QString& text) const
{
    return QFontMetrics(QGuiApplication::font()).horizontalAdvance(text);
}

CharacterFormat DocumentRichTextTarget::CharFormat(AttributeScope) const
{
    return ReadFormat(cursor_.hasSelection() ? FormatAt(cursor_.selectionStart()) : insertFormat_);
}

void DocumentRichTextTarget::ChangeRange(int start, int end, const CharacterFormat& format, CharFields fields)
{
    // Each fragment keeps what the change does not touch (its image, its other attributes).
    QTextCursor c(doc_);
    for (QTextBlock block = doc_->findBlock(start); block.isValid() && block.position() < end; block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int a = std::max(start, fragment.position());
            const int b = std::min(end, fragment.position() + fragment.length());
            if (a >= b)
                continue;
            QTextCharFormat q = fragment.charFormat();
            ApplyFields(q, format, fields);
            c.setPosition(a);
            c.setPosition(b, QTextCursor::KeepAnchor);
            c.setCharFormat(q);
        }
    }
}

void DocumentRichTextTarget::ChangeCharFormat(AttributeScope scope, const CharacterFormat& format, CharFields fields)
{
    // Text typed over a selection takes the selection's format, so the insertion format follows.
    ApplyFields(insertFormat_, format, fields);
    if (cursor_.hasSelection()) {
        ChangeRange(cursor_.selectionStart(), cursor_.selectionEnd(), format, fields);
        return;
    }
    const int pos = cursor_.position();
    if (scope != AttributeScope::Word || pos == 0 || !IsWordChar(doc_->characterAt(pos - 1))
        || !IsWordChar(doc_->characterAt(pos)))
        return;
    int start = pos - 1;
    while (start > 0 && IsWordChar(doc_->characterAt(start - 1)))
        --start;
    int end = pos + 1;
    while (end < EndPosition() && IsWordChar(doc_->characterAt(end)))
        ++end;
    ChangeRange(start, end, format, fields);
}

ParagraphStyle DocumentRichTextTarget::ParagraphFormat() const
{
    const QTextBlockFormat q = cursor_.blockFormat();
    ParagraphStyle f;
    const Qt::Alignment a = q.alignment() & Qt::AlignHorizontal_Mask;
    f.alignment = a & Qt::AlignRight ? kRightJustify : a & Qt::AlignHCenter ? kCenter : kLeftJustify;
    f.firstIndent = q.intProperty(kFirstIndentProperty);
    f.rightIndent = q.intProperty(kRightIndentProperty);
    return f;
}

void DocumentRichTextTarget::ChangeParagraphFormat(const ParagraphStyle& format, ParaFields fields)
{
    QTextBlockFormat q;
    if (fields & kParaAlignment) {
        q.setAlignment(format.alignment == kRightJustify ? Qt::AlignRight
                       : format.alignment == kCenter     ? Qt::AlignHCenter
                                                          : Qt::AlignLeft);
    }
    if (fields & kParaFirstIndent) {
        q.setProperty(kFirstIndentProperty, format.firstIndent);
        q.setLeftMargin(IndentPixels(format.firstIndent));
    }
    if (fields & kParaRightIndent) {
        q.setProperty(kRightIndentProperty, format.rightIndent);
        q.setRightMargin(IndentPixels(format.rightIndent));
    }
    cursor_.mergeBlockFormat(q);
}

int DocumentRichTextTarget::LineCount() const
{
    return doc_->blockCount();
}

QString DocumentRichTextTarget::LineText(int index) const
{
    return doc_->findBlockByNumber(index).text();
}

void DocumentRichTextTarget::AddLine(const QString& line)
{
    SetSelStart(EndPosition());
    if (!doc_->lastBlock().text().isEmpty())
        cursor_.insertBlock(cursor_.blockFormat(), insertFormat_);
    SetSelText(line);
}

void DocumentRichTextTarget::BeginUpdate()
{
    if (updateDepth_++ == 0)
        cursor_.beginEditBlock();
}

void DocumentRichTextTarget::EndUpdate()
{
    if (updateDepth_ > 0 && --updateDepth_ == 0)
        cursor_.endEditBlock();
}

} // namespace plotwell
