#include "dialogs/message_box_sink.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>

namespace plotwell {

namespace {

QString ApplicationTitle()
{
    return QGuiApplication::applicationDisplayName();
}

// Texts are shown as written: a file name with "<" in it is not markup.
std::unique_ptr<QMessageBox> NewBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                    const QString& detail, QMessageBox::StandardButtons buttons, QWidget* parent)
{
    auto box = std::make_unique<QMessageBox>(icon, caption.isEmpty() ? ApplicationTitle() : caption,
                                             MessageBoxSink::DisplayText(text), buttons, parent);
    box->setTextFormat(Qt::PlainText);
    if (!detail.isEmpty()) {
        box->setInformativeText(MessageBoxSink::DisplayText(detail));
        if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
            label->setTextFormat(Qt::PlainText);
    }
    return box;
}

} // namespace

MessageBoxSink::MessageBoxSink(QWidget* parent) : parent_(parent) {}

QString MessageBoxSink::DisplayText(const QString& text)
{
    QString out = text;
    return out.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

std::unique_ptr<QMessageBox> MessageBoxSink::BuildMessageBox(const QString& text, QWidget* parent)
{
    return NewBox(QMessageBox::NoIcon, QString(), text, QString(), QMessageBox::Ok, parent);
}

std::unique_ptr<QMessageBox> MessageBoxSink::BuildInfoBox(const QString& text, const QString& detail,
                                                           const QString& caption, QWidget* parent)
{
    return NewBox(QMessageBox::NoIcon, caption, text, detail, QMessageBox::Ok, parent);
}

std::unique_ptr<QMessageBox> MessageBoxSink::BuildVerifyBox(const QString& question, const QString& detail,
                                                             QWidget* parent)
{
    auto box = NewBox(QMessageBox::Question, QStringLiteral("Verify"), question, detail,
                      QMessageBox::Yes | QMessageBox::No, parent);
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::No);
    return box;
}

QWidget* MessageBoxSink::Owner(bool relative) const
{
    if (!relative)
        return nullptr;
    return parent_ ? parent_.data() : QApplication::activeWindow();
}

void MessageBoxSink::ShowMessage(const QString& text)
{
    BuildMessageBox(text, Owner(true))->exec();
}

void MessageBoxSink::ShowInfo(const QString& text, const QString& detail, const QString& caption)
{
    ShowInfoBox(text, detail, caption, true, -1, -1);
}

bool MessageBoxSink::VerifyYesNo(const QString& question, const QString& detail)
{
    return VerifyBox(question, detail, true);
}

void MessageBoxSink::ShowInfoBox(const QString& text, const QString& detail, const QString& caption, bool relative,
                                  int x, int y)
{
    const auto box = BuildInfoBox(text, detail, caption, Owner(relative));
    if (x >= 0 && y >= 0)
        box->move(x, y);
    box->exec();
}

bool MessageBoxSink::VerifyBox(const QString& question, const QString& detail, bool relative)
{
    return BuildVerifyBox(question, detail, Owner(relative))->exec() == QMessageBox::Yes;
}

} // namespace plotwell
