#include "dialogs/memo_dialog.h"

#include "core/rounding.h"
#include "dialogs/memo_editor.h"
#include "dialogs/notes_form.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>

#include <cstring>

namespace plotwell {

namespace {

QRect ScreenArea(const QWidget* near, bool wholeDesktop)
{
    const QScreen* screen = near ? near->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return QRect();
    return wholeDesktop ? screen->virtualGeometry() : screen->geometry();
}

void CentreOn(QWidget& form, const QRect& area)
{
    if (area.isEmpty())
        return;
    const QSize outer = form.frameGeometry().size();
    form.move(area.center().x() + 1 - outer.width() / 2, area.center().y() + 1 - outer.height() / 2);
}

} // namespace

TmfMemoDialog::TmfMemoDialog(TMessageSink& sink, TLauncher& launcher, QWidget* owner)
    : QObject(owner), sink_(sink), launcher_(launcher), owner_(owner)
{
}

TmfMemoDialog::~TmfMemoDialog()
{
    if (NotesDialog_) {
        disconnect(NotesDialog_, nullptr, this, nullptr);
        delete NotesDialog_;
    }
}

void TmfMemoDialog::SetText(const QString& text)
{
    ftext = text;
    ffilename.clear();
    if (NotesDialog_) {
        NotesDialog_->SetEditorText(text);
        NotesDialog_->SetFileName(QString());
    }
}

void TmfMemoDialog::SetFileName(const QString& fileName)
{
    ffilename = fileName;
    if (NotesDialog_ && fileName.trimmed().isEmpty()) {
        NotesDialog_->SetEditorText(QString());
        NotesDialog_->SetFileName(QString());
    }
}

bool TmfMemoDialog::Modified() const
{
    return NotesDialog_ && NotesDialog_->Editor()->Modified();
}

char* TmfMemoDialog::getcstring(char* dest, int destsize) const
{
    if (!dest || !NotesDialog_)
        return nullptr;
    const QByteArray bytes = NotesDialog_->Editor()->toPlainText().toLocal8Bit();
    if (destsize != -1 && bytes.size() >= destsize)
        return nullptr;
    std::memcpy(dest, bytes.constData(), static_cast<std::size_t>(bytes.size()) + 1);
    return dest;
}

Tnotesform* TmfMemoDialog::NotesDialog() const
{
    return NotesDialog_;
}

bool TmfMemoDialog::execute()
{
    const bool fresh = !NotesDialog_;
    if (fresh) {
        NotesDialog_ = new Tnotesform(sink_, launcher_, owner_);
        connect(NotesDialog_, &QObject::destroyed, this, [this] {
            if (OnClose)
                OnClose(this);
        });
    }
    Tnotesform& form = *NotesDialog_;
    TMemoEditor& editor = *form.Editor();

    form.SetVerifyOverwrite(FVerifyOverwrite);
    form.SetShowLineAndColNums(FShowLineAndColumnNumbers);
    form.SetShowPercentageFull(FShowPercentageFull);
    editor.SetReadOnlyText(FReadOnly);
    form.setWindowTitle(ftitle);
    editor.moveCursor(QTextCursor::Start);
    SetFormPosition(form, fposition);
    editor.SetMaxLength(fmaxlength);
    editor.SetWordWrap(fwordwrap);

    // A new window (also the one after a modeless window was closed) gets the given size and
    // font; a reused one keeps what the user made of it.
    if (fresh) {
        form.resize(fwidth - Tnotesform::kFrameWidth, fheight - Tnotesform::kFrameHeight);
        editor.setFont(ffont);
    } else if (FManualScale) {
        form.resize(static_cast<int>(Round(fwidth * FScaleAmt)) - Tnotesform::kFrameWidth,
                    static_cast<int>(Round(fheight * FScaleAmt)) - Tnotesform::kFrameHeight);
    }

    form.CancelButton()->setVisible(!FReadOnly);

    form.SetFileName(ffilename);
    if (!ftext.isEmpty())
        form.SetEditorText(ftext);

    // Scaled once, when made: scaling a reused window again would multiply its control positions.
    if (FManualScale && fresh) {
        form.SetScale(scaler_.ScaleAmountOf(&form));
        scaler_.StandardizeFormFont(&form, false);
    }
    Place(form);
    form.LayoutControls();

    bool result = true;
    if (FModal) {
        form.SetModal(true);
        form.OkButton()->setText(QStringLiteral("&Ok"));
        form.OkButton()->setVisible(true);
        form.CancelButton()->setText(QStringLiteral("&Cancel"));
        result = form.exec() == QDialog::Accepted;
        if (result && NotesDialog_)
            ftext = NotesDialog_->Editor()->toPlainText();
    } else {
        form.SetModal(false);
        form.OkButton()->setText(QStringLiteral("Save"));
        form.OkButton()->setVisible(!ffilename.isEmpty());
        form.CancelButton()->setText(QStringLiteral("Close"));
        form.show();
        form.raise();
        form.activateWindow();
    }
    return result;
}

void TmfMemoDialog::Place(Tnotesform& form) const
{
    const QWidget* owner = owner_ ? owner_->window() : nullptr;
    switch (fposition) {
    case TPosition::poDesigned:
    case TPosition::poDefaultSizeOnly:
        form.move(fleft, ftop);
        break;
    case TPosition::poDefault:
    case TPosition::poDefaultPosOnly:
        break;
    case TPosition::poScreenCenter:
        CentreOn(form, ScreenArea(owner, false));
        break;
    case TPosition::poDesktopCenter:
        CentreOn(form, ScreenArea(owner, true));
        break;
    case TPosition::poMainFormCenter:
    case TPosition::poOwnerFormCenter:
        CentreOn(form, owner ? owner->frameGeometry() : ScreenArea(nullptr, false));
        break;
    }
}

} // namespace plotwell
