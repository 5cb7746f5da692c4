#include "dialogs/about_dialog.h"

#include "dialogs/about_window.h"
#include "dialogs/form_scaling.h"
#include "dialogs/url_label.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

namespace plotwell {

const char AboutDialog::kDefaultCopyright[] = "Copyright \u00A9 2026 the Plotwell authors";
const char AboutDialog::kDefaultEmail[] = "plotwell@example.org";

AboutDialog::AboutDialog(Launcher& launcher, QWidget* owner)
    : QObject(owner), owner_(owner), launcher_(launcher), title_(QStringLiteral("About this program")),
      programName_(QStringLiteral("Program Name")), versionString_(QStringLiteral("v1.0")),
      copyrightMessage_(QString::fromUtf8(kDefaultCopyright)), emailAddress_(QString::fromLatin1(kDefaultEmail)),
      filesLocationText_(QStringLiteral("Data files location"))
{
}

AboutDialog::~AboutDialog() = default;

std::unique_ptr<AboutWindow> AboutDialog::BuildForm() const
{
    auto form = std::make_unique<AboutWindow>(launcher_, owner_);
    form->setWindowTitle(title_);
    const bool hasVersion = !versionString_.trimmed().isEmpty();
    form->version->setText(hasVersion ? versionString_ : QString());
    form->version->setVisible(hasVersion);
    SetFormPosition(*form, position_);
    if (position_ == WindowPlacement::Designed)
        form->move(left_, top_);
    form->productname->setText(programName_);
    const bool hasNotice = !copyrightMessage_.trimmed().isEmpty();
    form->copyrightlabel->setText(copyrightMessage_);
    form->copyrightlabel->setVisible(hasNotice);
    form->datalocationlabel->setText(filesLocationText_ + u':');
    form->datalocationlabel->adjustSize();
    if (!emailAddress_.trimmed().isEmpty()) {
        form->emaillabel->SetEmailAddress(emailAddress_);
        form->emaillabel->SetEmailSubject(emailSubject_);
    } else {
        form->emaillabel->hide();
        form->label3->hide();
    }
    form->pathedit->setText(dataPath_);
    form->pathedit->home(false);
    form->SetDataRowVisible(!dataPath_.isEmpty());
    if (manualScale_) {
        FormScaler scaler;
        scaler.StandardizeFormFont(form.get(), false);
    }
    if (IsCentred(position_)) {
        const QScreen* screen = owner_ && owner_->screen() ? owner_->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            const QRect area = screen->availableGeometry();
            form->move(area.center() - QPoint(form->width() / 2, form->height() / 2));
        }
    }
    return form;
}

bool AboutDialog::Execute()
{
    const std::unique_ptr<AboutWindow> form = BuildForm();
    shown_ = form.get();
    const bool ok = form->exec() == QDialog::Accepted;
    shown_ = nullptr;
    return ok;
}

} // namespace plotwell
