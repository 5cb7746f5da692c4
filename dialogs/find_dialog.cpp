#include "dialogs/find_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace plotwell {

namespace {

template <typename Widget>
Widget* Named(Widget* widget, const char* name, const QString& accessibleName)
{
    widget->setObjectName(QLatin1String(name));
    widget->setAccessibleName(accessibleName);
    return widget;
}

} // namespace

FindDialog::FindDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      findedit_(Named(new QLineEdit(this), "findedit", QStringLiteral("Find what"))),
      wholewordcb_(Named(new QCheckBox(QStringLiteral("Match &whole word only"), this), "wholewordcb",
                         QStringLiteral("Match whole word only"))),
      matchcasecb_(Named(new QCheckBox(QStringLiteral("Match &case"), this), "matchcasecb",
                         QStringLiteral("Match case"))),
      findnextbtn_(Named(new QPushButton(QStringLiteral("&Find Next"), this), "findnextbtn",
                         QStringLiteral("Find Next"))),
      cancelbtn_(Named(new QPushButton(QStringLiteral("Cancel"), this), "cancelbtn", QStringLiteral("Cancel")))
{
    setObjectName(QStringLiteral("FindDialog"));
    setWindowTitle(QStringLiteral("Find"));
    setModal(false);

    auto* label = new QLabel(QStringLiteral("Fi&nd what:"), this);
    label->setObjectName(QStringLiteral("findlabel"));
    label->setBuddy(findedit_);
    findedit_->setMinimumWidth(200);
    wholewordcb_->hide();

    // Enter anywhere in the box finds the next match; Escape (QDialog's own) closes it.
    findnextbtn_->setDefault(true);
    findnextbtn_->setEnabled(false);
    connect(findedit_, &QLineEdit::textChanged, this,
            [this](const QString& text) { findnextbtn_->setEnabled(!text.isEmpty()); });
    connect(findnextbtn_, &QPushButton::clicked, this, &FindDialog::EmitFindNext);
    connect(cancelbtn_, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(8);
    grid->addWidget(label, 0, 0);
    grid->addWidget(findedit_, 0, 1);
    grid->addWidget(findnextbtn_, 0, 2);
    grid->addWidget(wholewordcb_, 1, 0, 1, 2);
    grid->addWidget(matchcasecb_, 2, 0, 1, 2);
    grid->addWidget(cancelbtn_, 1, 2);
    grid->setRowStretch(3, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(findedit_, wholewordcb_);
    setTabOrder(wholewordcb_, matchcasecb_);
    setTabOrder(matchcasecb_, findnextbtn_);
    setTabOrder(findnextbtn_, cancelbtn_);
}

void FindDialog::SetFindText(const QString& text)
{
    findedit_->setText(text);
    findedit_->selectAll();
}

QString FindDialog::FindText() const
{
    return findedit_->text();
}

bool FindDialog::MatchCase() const
{
    return matchcasecb_->isChecked();
}

void FindDialog::SetMatchCase(bool on)
{
    matchcasecb_->setChecked(on);
}

void FindDialog::SetWholeWordVisible(bool visible)
{
    wholewordcb_->setVisible(visible);
}

bool FindDialog::WholeWord() const
{
    return wholewordcb_->isChecked();
}

void FindDialog::SetWholeWord(bool on)
{
    wholewordcb_->setChecked(on);
}

void FindDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    findedit_->setFocus();
    findedit_->selectAll();
}

void FindDialog::EmitFindNext()
{
    const QString text = findedit_->text();
    if (!text.isEmpty())
        emit findNext(text, matchcasecb_->isChecked());
}

} // namespace plotwell
