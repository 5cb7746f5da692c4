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

void ApplyFields(QTextCharFormat& q, const TCharFormat& f, TCharFields fields)
{
    if (fields & cfName)
        q.setFontFamilies(QStringList{f.Name});
    if (fields & cfSize)
        q.setFontPointSize(std::clamp(f.Size, 1, TDocumentRichTextTarget::MaxFontSize));
    if (fields & cfColor)
        q.setForeground(ToQColor(f.Color));
    if (fields & cfStyle) {
        q.setFontWeight(f.Style & fsBold ? QFont::Bold : QFont::Normal);
        q.setFontItalic(f.Style & fsItalic);
        q.setFontUnderline(f.Style & fsUnderline);
        q.setFontStrikeOut(f.Style & fsStrikeOut);
    }
    if (fields & cfBackColor) {
        if (f.BackColor == clNoColor)
            q.clearBackground();
        else
            q.setBackground(ToQColor(f.BackColor));
    }
}

constexpr TCharFields kAllCharFields = cfName | cfSize | cfColor | cfStyle | cfBackColor;

QTextCharFormat ToQtFormat(const TCharFormat& f)
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

TDocumentRichTextTarget::TDocumentRichTextTarget(QTextDocument* document)
    : owned_(document ? nullptr : std::make_unique<QTextDocument>()),
      doc_(document ? document : owned_.get()),
      cursor_(doc_)
{
    // The text is generated, never edited: an undo history would only cost time and memory.
    doc_->setUndoRedoEnabled(false);
    base_.Name = QGuiApplication::font().family();
    base_.Size = 12;
    cursor_.movePosition(QTextCursor::End);
    insertFormat_ = ToQtFormat(base_);
}

TDocumentRichTextTarget::~TDocumentRichTextTarget() = default;

void TDocumentRichTextTarget::SetBaseFont(const QString& name, int size)
{
    base_.Name = name;
    base_.Size = std::clamp(size, 1, MaxFontSize);
    ApplyFields(insertFormat_, base_, cfName | cfSize);
}

void TDocumentRichTextTarget::SetClientSize(int width, int height)
{
    clientWidth_ = width;
    clientHeight_ = height;
}

int TDocumentRichTextTarget::EndPosition() const
{
    return doc_->characterCount() - 1;
}

QTextCharFormat TDocumentRichTextTarget::FormatAt(int position) const
{
    // A cursor reports the format of the character before it.
    QTextCursor c(doc_);
    c.setPosition(std::clamp(position + 1, 0, EndPosition()));
    return c.charFormat();
}

TCharFormat TDocumentRichTextTarget::ReadFormat(const QTextCharFormat& q) const
{
    TCharFormat f = base_;
    const QStringList families = q.fontFamilies().toStringList();
    if (!families.isEmpty())
        f.Name = families.front();
    if (q.hasProperty(QTextFormat::FontPointSize))
        f.Size = qRound(q.fontPointSize());
    if (q.hasProperty(QTextFormat::ForegroundBrush))
        f.Color = FromQColor(q.foreground().color());
    f.Style = {};
    if (q.fontWeight() >= QFont::Bold)
        f.Style |= fsBold;
    if (q.fontItalic())
        f.Style |= fsItalic;
    if (q.fontUnderline())
        f.Style |= fsUnderline;
    if (q.fontStrikeOut())
        f.Style |= fsStrikeOut;
    f.BackColor = q.hasProperty(QTextFormat::BackgroundBrush) && q.background().style() != Qt::NoBrush
        ? FromQColor(q.background().color())
        : clNoColor;
    return f;
}

void TDocumentRichTextTarget::InsertPlain(const QString& text)
{
    if (!text.isEmpty())
        cursor_.insertText(text, insertFormat_);
}

void TDocumentRichTextTarget::SetSelText(const QString& text)
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

int TDocumentRichTextTarget::SelStart() const
{
    return cursor_.selectionStart();
}

void TDocumentRichTextTarget::SetSelStart(int position)
{
    position = std::clamp(position, 0, EndPosition());
    if (!cursor_.hasSelection() && cursor_.position() == position)
        return;
    cursor_.setPosition(position);
    insertFormat_ = ToQtFormat(ReadFormat(cursor_.charFormat()));
}

int TDocumentRichTextTarget::SelLength() const
{
    return cursor_.selectionEnd() - cursor_.selectionStart();
}

void TDocumentRichTextTarget::SetSelLength(int length)
{
    const int start = cursor_.selectionStart();
    cursor_.setPosition(start);
    cursor_.setPosition(std::clamp(start + std::max(length, 0), start, EndPosition()), QTextCursor::KeepAnchor);
    insertFormat_ = ToQtFormat(ReadFormat(cursor_.hasSelection() ? FormatAt(start) : cursor_.charFormat()));
}

int TDocumentRichTextTarget::LineFromChar(int position) const
{
    return doc_->findBlock(std::clamp(position, 0, EndPosition())).blockNumber();
}

void TDocumentRichTextTarget::Clear()
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

void TDocumentRichTextTarget::InsertImage(const QImage& image)
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

int TDocumentRichTextTarget::UITextWidth(const QString& text) const
{
    return QFontMetrics(QGuiApplication::font()).horizontalAdvance(text);
}

TCharFormat TDocumentRichTextTarget::CharFormat(TAttributeScope) const
{
    return ReadFormat(cursor_.hasSelection() ? FormatAt(cursor_.selectionStart()) : insertFormat_);
}

void TDocumentRichTextTarget::ChangeRange(int start, int end, const TCharFormat& format, TCharFields fields)
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

void TDocumentRichTextTarget::ChangeCharFormat(TAttributeScope scope, const TCharFormat& format, TCharFields fields)
{
    // Text typed over a selection takes the selection's format, so the insertion format follows.
    ApplyFields(insertFormat_, format, fields);
    if (cursor_.hasSelection()) {
        ChangeRange(cursor_.selectionStart(), cursor_.selectionEnd(), format, fields);
        return;
    }
    const int pos = cursor_.position();
    if (scope != TAttributeScope::Word || pos == 0 || !IsWordChar(doc_->characterAt(pos - 1))
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

TParagraphFormat TDocumentRichTextTarget::ParagraphFormat() const
{
    const QTextBlockFormat q = cursor_.blockFormat();
    TParagraphFormat f;
    const Qt::Alignment a = q.alignment() & Qt::AlignHorizontal_Mask;
    f.Alignment = a & Qt::AlignRight ? paRightJustify : a & Qt::AlignHCenter ? paCenter : paLeftJustify;
    f.FirstIndent = q.intProperty(FirstIndentProperty);
    f.RightIndent = q.intProperty(RightIndentProperty);
    return f;
}

void TDocumentRichTextTarget::ChangeParagraphFormat(const TParagraphFormat& format, TParaFields fields)
{
    QTextBlockFormat q;
    if (fields & pfAlignment) {
        q.setAlignment(format.Alignment == paRightJustify ? Qt::AlignRight
                       : format.Alignment == paCenter     ? Qt::AlignHCenter
                                                          : Qt::AlignLeft);
    }
    if (fields & pfFirstIndent) {
        q.setProperty(FirstIndentProperty, format.FirstIndent);
        q.setLeftMargin(IndentPixels(format.FirstIndent));
    }
    if (fields & pfRightIndent) {
        q.setProperty(RightIndentProperty, format.RightIndent);
        q.setRightMargin(IndentPixels(format.RightIndent));
    }
    cursor_.mergeBlockFormat(q);
}

int TDocumentRichTextTarget::LineCount() const
{
    return doc_->blockCount();
}

QString TDocumentRichTextTarget::LineText(int index) const
{
    return doc_->findBlockByNumber(index).text();
}

void TDocumentRichTextTarget::AddLine(const QString& line)
{
    SetSelStart(EndPosition());
    if (!doc_->lastBlock().text().isEmpty())
        cursor_.insertBlock(cursor_.blockFormat(), insertFormat_);
    SetSelText(line);
}

void TDocumentRichTextTarget::BeginUpdate()
{
    if (updateDepth_++ == 0)
        cursor_.beginEditBlock();
}

void TDocumentRichTextTarget::EndUpdate()
{
    if (updateDepth_ > 0 && --updateDepth_ == 0)
        cursor_.endEditBlock();
}

} // namespace plotwell
