#pragma once
// MemoDialog: the settings of a memo window (MemoWindow) kept between showings; it makes the
// window on first use, shows it modally (OK/Cancel) or modelessly (Save/Close) and hands back
// the edited text.

#include "dialogs/form_position.h"
#include "dialogs/form_scaling.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

namespace plotwell {

class Launcher;
class MessageSink;
class MemoWindow;

class MemoDialog : public QObject
{
    Q_OBJECT

public:
    // The window is made as a child window of `owner` (may be null); `sink` and `launcher`
    // must outlive the component.
    MemoDialog(MessageSink& sink, Launcher& launcher, QWidget* owner);
    ~MemoDialog() override;

    // Shows the window. Modal: true when it was closed with OK, and Text() then holds the
    // editor's text. Modeless: true at once.
    bool Execute();

    // The editor's text in the locale's 8-bit encoding with a closing zero, copied into `dest`
    // and returned; null when it needs `destsize` bytes or more (unless `destsize` is -1), or
    // while there is no window.
    char* GetCString(char* dest, int destsize) const;

    // Raised with the component as sender when a modeless window is closed and gone.
    std::function<void(QObject* sender)> onClose;

    // The window while one exists (the modal one stays after its first showing).
    MemoWindow* NotesDialog() const;

    const QString& Text() const { return text_; }
    void SetText(const QString& text);
    const QString& Title() const { return title_; }
    void SetTitle(const QString& title) { title_ = title; }
    int FormLeft() const { return left_; }
    void SetFormLeft(int left) { left_ = left; }
    int FormTop() const { return top_; }
    void SetFormTop(int top) { top_ = top; }
    int FormWidth() const { return width_; }
    void SetFormWidth(int width) { width_ = width; }
    int FormHeight() const { return height_; }
    void SetFormHeight(int height) { height_ = height; }
    WindowPlacement Position() const { return position_; }
    void SetPosition(WindowPlacement position) { position_ = position; }
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int maxLength) { maxLength_ = maxLength; }
    const QFont& Font() const { return font_; }
    void SetFont(const QFont& font) { font_ = font; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap) { wordWrap_ = wrap; }
    const QString& FileName() const { return fileName_; }
    void SetFileName(const QString& fileName);
    bool VerifyOverwrite() const { return verifyOverwrite_; }
    void SetVerifyOverwrite(bool on) { verifyOverwrite_ = on; }
    bool ShowLineAndColumnNumbers() const { return showLineAndColumnNumbers_; }
    void SetShowLineAndColumnNumbers(bool on) { showLineAndColumnNumbers_ = on; }
    bool ShowPercentageFull() const { return showPercentageFull_; }
    void SetShowPercentageFull(bool on) { showPercentageFull_ = on; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool Modified() const;
    bool Modal() const { return modal_; }
    void SetModal(bool modal) { modal_ = modal; }
    bool ManualScale() const { return manualScale_; }
    void SetManualScale(bool on) { manualScale_ = on; }
    double ScaleAmt() const { return scaleAmt_; }
    void SetScaleAmt(double amount) { scaleAmt_ = amount; }

private:
    void Place(MemoWindow& form) const;

    MessageSink& sink_;
    Launcher& launcher_;
    QPointer<QWidget> owner_;
    FormScaler scaler_;

    QString fileName_;
    QString text_;
    QString title_ = QStringLiteral("Notes");
    int top_ = 0;
    int left_ = 0;
    int width_ = 458;
    int height_ = 352;
    int maxLength_ = 0;
    QFont font_{QStringLiteral("Calibri"), 12};
    bool wordWrap_ = true;
    bool verifyOverwrite_ = true;
    WindowPlacement position_ = WindowPlacement::ScreenCenter;
    bool showLineAndColumnNumbers_ = true;
    bool readOnly_ = false;
    bool showPercentageFull_ = true;
    bool modal_ = true;
    bool manualScale_ = false;
    double scaleAmt_ = 1.0;
    QPointer<MemoWindow> memoWindow_;
};

} // namespace plotwell
