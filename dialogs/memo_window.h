#pragma once
// MemoWindow: the memo window: a text editor with OK and Cancel, a status line (caret line and
// column, how full the editor is), Find, addresses opened by double-click, and an optional
// bound text file that is loaded on activation and saved on OK.

#include <QDateTime>
#include <QDialog>

class QLabel;
class QPushButton;
class QStatusBar;

namespace plotwell {

class FindDialog;
class Launcher;
class MemoEditor;
class MessageSink;

class MemoWindow : public QDialog
{
    Q_OBJECT

public:
    // Window sizes are given with their frame, as designed: 458 x 352 for a client area of
    // 442 x 313. The frame is what these add to the client area.
    static constexpr int kFrameWidth = 16;
    static constexpr int kFrameHeight = 39;

    // `sink` and `launcher` must outlive the window.
    MemoWindow(MessageSink& sink, Launcher& launcher, QWidget* parent = nullptr);

    // The editor's right margin becomes 30 pixels times `scale`.
    void SetScale(double scale);
    double ScaleAmt() const { return scaleAmt_; }
    int EditorMargin() const { return margin_; }

    void ShowStatus();
    QString StatusText() const;

    // Replaces the editor's text (not modified); a bound file is read again at the next
    // activation.
    void SetEditorText(const QString& text);

    // Loads the editor from `fname` when it names a file that exists, and binds it.
    void Loadfile(const QString& fname);

    QString FileName() const { return fileName_; }
    void SetFileName(const QString& fileName);

    bool VerifyOverwrite() const { return verifyOverwrite_; }
    void SetVerifyOverwrite(bool on) { verifyOverwrite_ = on; }
    bool ShowLineAndColNums() const { return showLineAndColNums_; }
    void SetShowLineAndColNums(bool on);
    bool ShowPercentageFull() const { return showPercentageFull_; }
    void SetShowPercentageFull(bool on);

    // Modal: OK closes with Accepted. Modeless: OK only saves, and closing destroys the window.
    bool Modal() const { return modal_; }
    void SetModal(bool modal);

    MemoEditor* Editor() const { return notesed_; }
    QPushButton* OkButton() const { return okbutton_; }
    QPushButton* CancelButton() const { return cancelbtn_; }
    FindDialog* FindDialogBox() const { return findDialog_; }

    // Lays the controls out for the window's size (also done on every resize).
    void LayoutControls();

    // Closing asks first when a bound file's text was changed; a refusal keeps the window open.
    void done(int result) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OpenFindDialog();
    void FindNext(const QString& text, bool matchCase);
    void WordDoubleClicked(const QString& word);
    void OkClicked();
    bool SaveBoundFile();
    bool BoundFileChanged() const;
    void RememberBoundFile();

    MessageSink& sink_;
    Launcher& launcher_;

    MemoEditor* notesed_;
    QPushButton* okbutton_;
    QPushButton* cancelbtn_;
    QStatusBar* statusBar_;
    QLabel* statuslabel_;
    FindDialog* findDialog_;

    double scaleAmt_ = 1.0;
    int margin_ = 30;
    int selPos_ = 0;
    QString fileName_;
    bool verifyOverwrite_ = true;
    bool showLineAndColNums_ = true;
    bool showPercentageFull_ = true;
    bool modal_ = true;

    // The bound file as last loaded or saved, so that activation reloads only what changed on
    // disk; and the line end it used.
    QDateTime boundStamp_;
    qint64 boundSize_ = -1;
    QString lineEnd_ = QStringLiteral("\n");
};

} // namespace plotwell
