#pragma once
// TmfMemoDialog: the settings of a memo window (Tnotesform) kept between showings; it makes the
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

class TLauncher;
class TMessageSink;
class Tnotesform;

class TmfMemoDialog : public QObject
{
    Q_OBJECT

public:
    // The window is made as a child window of `owner` (may be null); `sink` and `launcher`
    // must outlive the component.
    TmfMemoDialog(TMessageSink& sink, TLauncher& launcher, QWidget* owner);
    ~TmfMemoDialog() override;

    // Shows the window. Modal: true when it was closed with OK, and Text() then holds the
    // editor's text. Modeless: true at once.
    bool execute();

    // The editor's text in the locale's 8-bit encoding with a closing zero, copied into `dest`
    // and returned; null when it needs `destsize` bytes or more (unless `destsize` is -1), or
    // while there is no window.
    char* getcstring(char* dest, int destsize) const;

    // Raised with the component as sender when a modeless window is closed and gone.
    std::function<void(QObject* sender)> OnClose;

    // The window while one exists (the modal one stays after its first showing).
    Tnotesform* NotesDialog() const;

    const QString& Text() const { return ftext; }
    void SetText(const QString& text);
    const QString& Title() const { return ftitle; }
    void SetTitle(const QString& title) { ftitle = title; }
    int FormLeft() const { return fleft; }
    void SetFormLeft(int left) { fleft = left; }
    int FormTop() const { return ftop; }
    void SetFormTop(int top) { ftop = top; }
    int FormWidth() const { return fwidth; }
    void SetFormWidth(int width) { fwidth = width; }
    int FormHeight() const { return fheight; }
    void SetFormHeight(int height) { fheight = height; }
    TPosition Position() const { return fposition; }
    void SetPosition(TPosition position) { fposition = position; }
    int MaxLength() const { return fmaxlength; }
    void SetMaxLength(int maxLength) { fmaxlength = maxLength; }
    const QFont& Font() const { return ffont; }
    void SetFont(const QFont& font) { ffont = font; }
    bool WordWrap() const { return fwordwrap; }
    void SetWordWrap(bool wrap) { fwordwrap = wrap; }
    const QString& FileName() const { return ffilename; }
    void SetFileName(const QString& fileName);
    bool VerifyOverwrite() const { return FVerifyOverwrite; }
    void SetVerifyOverwrite(bool on) { FVerifyOverwrite = on; }
    bool ShowLineAndColumnNumbers() const { return FShowLineAndColumnNumbers; }
    void SetShowLineAndColumnNumbers(bool on) { FShowLineAndColumnNumbers = on; }
    bool ShowPercentageFull() const { return FShowPercentageFull; }
    void SetShowPercentageFull(bool on) { FShowPercentageFull = on; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool readOnly) { FReadOnly = readOnly; }
    bool Modified() const;
    bool Modal() const { return FModal; }
    void SetModal(bool modal) { FModal = modal; }
    bool ManualScale() const { return FManualScale; }
    void SetManualScale(bool on) { FManualScale = on; }
    double ScaleAmt() const { return FScaleAmt; }
    void SetScaleAmt(double amount) { FScaleAmt = amount; }

private:
    void Place(Tnotesform& form) const;

    TMessageSink& sink_;
    TLauncher& launcher_;
    QPointer<QWidget> owner_;
    TFormScaler scaler_;

    QString ffilename;
    QString ftext;
    QString ftitle = QStringLiteral("Notes");
    int ftop = 0;
    int fleft = 0;
    int fwidth = 458;
    int fheight = 352;
    int fmaxlength = 0;
    QFont ffont{QStringLiteral("Calibri"), 12};
    bool fwordwrap = true;
    bool FVerifyOverwrite = true;
    TPosition fposition = TPosition::poScreenCenter;
    bool FShowLineAndColumnNumbers = true;
    bool FReadOnly = false;
    bool FShowPercentageFull = true;
    bool FModal = true;
    bool FManualScale = false;
    double FScaleAmt = 1.0;
    QPointer<Tnotesform> NotesDialog_;
};

} // namespace plotwell
