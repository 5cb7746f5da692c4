#include "control/graph_labels_dialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace plotwell {

namespace {

// The window's outer size is 354 x 231; this is its client area inside a dialog frame.
constexpr QSize kClientSize(344, 200);
constexpr int kLabelLeft = 24;
constexpr int kEditLeft = 112;
constexpr int kEditWidth = 209;

QPushButton* AddButton(QWidget* parent, const QString& name, const QString& caption, int left)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(left, 156, 75, button->sizeHint().height());
    return button;
}

} // namespace

GraphLabelsDialog::GraphLabelsDialog(const QString& title, const QString& xlabel, const QString& ylabel,
                                       QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("GraphLabelsDialog"));
    setWindowTitle(QStringLiteral("Graph Labels"));
    if (parent)
        setFont(parent->font());
    setFixedSize(kClientSize);

    titleEdit_ = AddField(QStringLiteral("Main title:"), 36, 32, title, QStringLiteral("titleedit"));
    xEdit_ = AddField(QStringLiteral("X-axis label:"), 72, 68, xlabel, QStringLiteral("xlabeledit"));
    yEdit_ = AddField(QStringLiteral("Y-axis label:"), 107, 103, ylabel, QStringLiteral("ylabeledit"));

    QPushButton* ok = AddButton(this, QStringLiteral("okbutton"), QStringLiteral("&Ok"), 175);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    QPushButton* cancel = AddButton(this, QStringLiteral("cancelbutton"), QStringLiteral("&Cancel"), 256);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(titleEdit_, xEdit_);
    setTabOrder(xEdit_, yEdit_);
    setTabOrder(yEdit_, ok);
    setTabOrder(ok, cancel);
    titleEdit_->setFocus();
}

QLineEdit* GraphLabelsDialog::AddField(const QString& caption, int labelTop, int editTop, const QString& text,
                                        const QString& name)
{
    auto* label = new QLabel(caption, this);
    label->move(kLabelLeft, labelTop);
    label->adjustSize();
    auto* edit = new QLineEdit(text, this);
    edit->setObjectName(name);
    edit->setGeometry(kEditLeft, editTop, kEditWidth, edit->sizeHint().height());
    // The caption without its colon names the field for a screen reader.
    edit->setAccessibleName(caption.chopped(1));
    label->setBuddy(edit);
    return edit;
}

QString GraphLabelsDialog::Title() const
{
    return titleEdit_->text();
}

QString GraphLabelsDialog::XLabel() const
{
    return xEdit_->text();
}

QString GraphLabelsDialog::YLabel() const
{
    return yEdit_->text();
}

void GraphLabelsDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void GraphLabelsDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace plotwell
