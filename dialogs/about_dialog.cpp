#include "dialogs/about_dialog.h"

#include "dialogs/about_form.h"
#include "dialogs/form_scaling.h"
#include "dialogs/url_label.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

namespace plotwell {

const char TmfAboutDialog::kDefaultCopyright[] = "Copyright \u00A9 2026 the Plotwell authors";
const char TmfAboutDialog::kDefaultEmail[] = "plotwell@example.org";

TmfAboutDialog::TmfAboutDialog(TLauncher& launcher, QWidget* owner)
    : QObject(owner), owner_(owner), launcher_(launcher), FTitle(QStringLiteral("About this program")),
      FProgramName(QStringLiteral("Program Name")), FVersionString(QStringLiteral("v1.0")),
      FCopyrightMessage(QString::fromUtf8(kDefaultCopyright)), FEmailAddress(QString::fromLatin1(kDefaultEmail)),
      FFilesLocationText(QStringLiteral("Data files location"))
{
}

TmfAboutDialog::~TmfAboutDialog() = default;

std::unique_ptr<TAboutForm> TmfAboutDialog::BuildForm() const
{
    auto form = std::make_unique<TAboutForm>(launcher_, owner_);
    form->setWindowTitle(FTitle);
    const bool hasVersion = !FVersionString.trimmed().isEmpty();
    form->version->setText(hasVersion ? FVersionString : QString());
    form->version->setVisible(hasVersion);
    SetFormPosition(*form, FPosition);
    if (FPosition == TPosition::poDesigned)
        form->move(FLeft, FTop);
    form->productname->setText(FProgramName);
    const bool hasNotice = !FCopyrightMessage.trimmed().isEmpty();
    form->copyrightlabel->setText(FCopyrightMessage);
    form->copyrightlabel->setVisible(hasNotice);
    form->datalocationlabel->setText(FFilesLocationText + u':');
    form->datalocationlabel->adjustSize();
    if (!FEmailAddress.trimmed().isEmpty()) {
        form->emaillabel->SetEmailAddress(FEmailAddress);
        form->emaillabel->SetEmailSubject(FEmailSubject);
    } else {
        form->emaillabel->hide();
        form->Label3->hide();
    }
    form->pathedit->setText(FDataPath);
    form->pathedit->home(false);
    form->SetDataRowVisible(!FDataPath.isEmpty());
    if (FManualScale) {
        TFormScaler scaler;
        scaler.StandardizeFormFont(form.get(), false);
    }
    if (IsCentred(FPosition)) {
        const QScreen* screen = owner_ && owner_->screen() ? owner_->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            const QRect area = screen->availableGeometry();
            form->move(area.center() - QPoint(form->width() / 2, form->height() / 2));
        }
    }
    return form;
}

bool TmfAboutDialog::execute()
{
    const std::unique_ptr<TAboutForm> form = BuildForm();
    shown_ = form.get();
    const bool ok = form->exec() == QDialog::Accepted;
    shown_ = nullptr;
    return ok;
}

} // namespace plotwell
