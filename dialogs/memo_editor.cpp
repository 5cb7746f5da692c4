#include "dialogs/memo_editor.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace plotwell {

namespace {

QString WithLineBreaks(const QString& text)
{
    QString out = text;
    return out.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

} // namespace

MemoEditor::MemoEditor(QWidget* parent) : QPlainTextEdit(parent) {}

void MemoEditor::SetMaxLength(int maxLength)
{
    maxLength_ = qMax(0, maxLength);
}

void MemoEditor::SetText(const QString& text)
{
    setPlainText(WithLineBreaks(text));
    document()->setModified(false);
}

int MemoEditor::TextLength() const
{
    // The document counts one paragraph end after the last line that the text does not hold.
    return document()->characterCount() - 1;
}

bool MemoEditor::Modified() const
{
    return document()->isModified();
}

void MemoEditor::SetModified(bool modified)
{
    document()->setModified(modified);
}

int MemoEditor::CaretLine() const
{
    return textCursor().blockNumber();
}

int MemoEditor::CaretColumn() const
{
    return textCursor().positionInBlock();
}

void MemoEditor::SetReadOnlyText(bool readOnly)
{
    setReadOnly(readOnly);
    if (readOnly)
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void MemoEditor::SetWordWrap(bool wrap)
{
    setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
}

void MemoEditor::mouseDoubleClickEvent(QMouseEvent* event)
{
    QPlainTextEdit::mouseDoubleClickEvent(event);
    // Qt's word ends at "@", ":" and "/"; an address is the whole run between blanks.
    QTextCursor cursor = textCursor();
    const QString line = cursor.block().text();
    const int blockStart = cursor.block().position();
    int start = cursor.selectionStart() - blockStart;
    int end = cursor.selectionEnd() - blockStart;
    if (start < end) {
        while (start > 0 && !line.at(start - 1).isSpace())
            --start;
        while (end < line.size() && !line.at(end).isSpace())
            ++end;
        cursor.setPosition(blockStart + start);
        cursor.setPosition(blockStart + end, QTextCursor::KeepAnchor);
        setTextCursor(cursor);
    }
    emit wordDoubleClicked(textCursor().selectedText());
}

int MemoEditor::Room() const
{
    if (maxLength_ <= 0 || isReadOnly())
        return -1;
    const QTextCursor cursor = textCursor();
    return qMax(0, maxLength_ - TextLength() + cursor.selectionEnd() - cursor.selectionStart());
}

void MemoEditor::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    const bool inserts = !typed.isEmpty() && (typed.at(0).isPrint() || typed.at(0) == QLatin1Char('\r') ||
                                              typed.at(0) == QLatin1Char('\t'));
    const int room = Room();
    if (inserts && room >= 0 && typed.size() > room) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MemoEditor::insertFromMimeData(const QMimeData* source)
{
    const int room = Room();
    if (room < 0 || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    insertPlainText(WithLineBreaks(source->text()).left(room));
}

} // namespace plotwell
