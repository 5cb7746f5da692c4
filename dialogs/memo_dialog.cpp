#include "dialogs/memo_dialog.h"

#include "core/rounding.h"
#include "dialogs/memo_editor.h"
#include "dialogs/memo_window.h"

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

MemoDialog::MemoDialog(MessageSink& sink, Launcher& launcher, QWidget* owner)
    : QObject(owner), sink_(sink), launcher_(launcher), owner_(owner)
{
}

MemoDialog::~MemoDialog()
{
    if (memoWindow_) {
        disconnect(memoWindow_, nullptr, this, nullptr);
        delete memoWindow_;
    }
}

void MemoDialog::SetText(const QString& text)
{
    text_ = text;
    fileName_.clear();
    if (memoWindow_) {
        memoWindow_->SetEditorText(text);
        memoWindow_->SetFileName(QString());
    }
}

void MemoDialog::SetFileName(const QString& fileName)
{
    fileName_ = fileName;
    if (memoWindow_ && fileName.trimmed().isEmpty()) {
        memoWindow_->SetEditorText(QString());
        memoWindow_->SetFileName(QString());
    }
}

bool MemoDialog::Modified() const
{
    return memoWindow_ && memoWindow_->Editor()->Modified();
}

char* MemoDialog::GetCString(char* dest, int destsize) const
{
    if (!dest || !memoWindow_)
        return nullptr;
    const QByteArray bytes = memoWindow_->Editor()->toPlainText().toLocal8Bit();
    if (destsize != -1 && bytes.size() >= destsize)
        return nullptr;
    std::memcpy(dest, bytes.constData(), static_cast<std::size_t>(bytes.size()) + 1);
    return dest;
}

MemoWindow* MemoDialog::NotesDialog() const
{
    return memoWindow_;
}

bool MemoDialog::Execute()
{
    const bool fresh = !memoWindow_;
    if (fresh) {
        memoWindow_ = new MemoWindow(sink_, launcher_, owner_);
        connect(memoWindow_, &QObject::destroyed, this, [this] {
            if (onClose)
                onClose(this);
        });
    }
    MemoWindow& form = *memoWindow_;
    MemoEditor& editor = *form.Editor();

    form.SetVerifyOverwrite(verifyOverwrite_);
    form.SetShowLineAndColNums(showLineAndColumnNumbers_);
    form.SetShowPercentageFull(showPercentageFull_);
    editor.SetReadOnlyText(readOnly_);
    form.setWindowTitle(title_);
    editor.moveCursor(QTextCursor::Start);
    SetFormPosition(form, position_);
    editor.SetMaxLength(maxLength_);
    editor.SetWordWrap(wordWrap_);

    // A new window (also the one after a modeless window was closed) gets the given size and
    // font; a reused one keeps what the user made of it.
    if (fresh) {
        form.resize(width_ - MemoWindow::kFrameWidth, height_ - MemoWindow::kFrameHeight);
        editor.setFont(font_);
    } else if (manualScale_) {
        form.resize(static_cast<int>(Round(width_ * scaleAmt_)) - MemoWindow::kFrameWidth,
                    static_cast<int>(Round(height_ * scaleAmt_)) - MemoWindow::kFrameHeight);
    }

    form.CancelButton()->setVisible(!readOnly_);

    form.SetFileName(fileName_);
    if (!text_.isEmpty())
        form.SetEditorText(text_);

    // Scaled once, when made: scaling a reused window again would multiply its control positions.
    if (manualScale_ && fresh) {
        form.SetScale(scaler_.ScaleAmountOf(&form));
        scaler_.StandardizeFormFont(&form, false);
    }
    Place(form);
    form.LayoutControls();

    bool result = true;
    if (modal_) {
        form.SetModal(true);
        form.OkButton()->setText(QStringLiteral("&Ok"));
        form.OkButton()->setVisible(true);
        form.CancelButton()->setText(QStringLiteral("&Cancel"));
        result = form.exec() == QDialog::Accepted;
        if (result && memoWindow_)
            text_ = memoWindow_->Editor()->toPlainText();
    } else {
        form.SetModal(false);
        form.OkButton()->setText(QStringLiteral("Save"));
        form.OkButton()->setVisible(!fileName_.isEmpty());
        form.CancelButton()->setText(QStringLiteral("Close"));
        form.show();
        form.raise();
        form.activateWindow();
    }
    return result;
}

void MemoDialog::Place(MemoWindow& form) const
{
    const QWidget* owner = owner_ ? owner_->window() : nullptr;
    switch (position_) {
    case WindowPlacement::Designed:
    case WindowPlacement::DefaultSizeOnly:
        form.move(left_, top_);
        break;
    case WindowPlacement::Default:
    case WindowPlacement::DefaultPosOnly:
        break;
    case WindowPlacement::ScreenCenter:
        CentreOn(form, ScreenArea(owner, false));
        break;
    case WindowPlacement::DesktopCenter:
        CentreOn(form, ScreenArea(owner, true));
        break;
    case WindowPlacement::MainFormCenter:
    case WindowPlacement::OwnerFormCenter:
        CentreOn(form, owner ? owner->frameGeometry() : ScreenArea(nullptr, false));
        break;
    }
}

} // namespace plotwell
