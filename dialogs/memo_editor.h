#pragma once
// MemoEditor: the multi-line plain text editor of the memo window: an optional limit on what
// the user may type, the caret's line and column, and a double-click that takes the whole run
// of non-blank characters (an e-mail or web address) as the word.

#include <QPlainTextEdit>

namespace plotwell {

class MemoEditor : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit MemoEditor(QWidget* parent);

    // Most characters the user can bring in by typing or pasting; 0 for no limit. Text set by
    // the program (SetText) is not cut.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int maxLength);

    // Replaces the whole text (line ends of any kind become line breaks) and clears the
    // modified flag.
    void SetText(const QString& text);
    int TextLength() const;

    bool Modified() const;
    void SetModified(bool modified);

    // Counted from 0: the line (paragraph) of the caret and the caret's place in it.
    int CaretLine() const;
    int CaretColumn() const;

    // Read-only, yet selectable and movable with the keyboard.
    void SetReadOnlyText(bool readOnly);

    void SetWordWrap(bool wrap);

signals:
    // After a double-click selected the word under the pointer.
    void wordDoubleClicked(const QString& word);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // How many more characters may come in, in place of the selection; -1 for no limit.
    int Room() const;

    int maxLength_ = 0;
};

} // namespace plotwell
