#pragma once
// MessageBoxSink: the message sink of the windowed program, showing modal QMessageBoxes.

#include "core/message_sink.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QMessageBox;

namespace plotwell {

class MessageBoxSink : public MessageSink
{
public:
    // Boxes are shown over `parent`, or over the active window when it is null.
    explicit MessageBoxSink(QWidget* parent = nullptr);

    void ShowMessage(const QString& text) override;
    void ShowInfo(const QString& text, const QString& detail, const QString& caption) override;
    bool VerifyYesNo(const QString& question, const QString& detail) override;

    // The same boxes with a placement: over the window (`relative`) or centred on the screen,
    // or, for an information box with x and y not negative, at that screen position.
    void ShowInfoBox(const QString& text, const QString& detail, const QString& caption, bool relative, int x, int y);
    bool VerifyBox(const QString& question, const QString& detail, bool relative);

    // The boxes, built but not shown.
    static std::unique_ptr<QMessageBox> BuildMessageBox(const QString& text, QWidget* parent);
    static std::unique_ptr<QMessageBox> BuildInfoBox(const QString& text, const QString& detail, const QString& caption,
                                                     QWidget* parent);
    static std::unique_ptr<QMessageBox> BuildVerifyBox(const QString& question, const QString& detail, QWidget* parent);

    // Message texts keep their carriage returns ("\r\r" between paragraphs); a box shows line breaks.
    static QString DisplayText(const QString& text);

private:
    QWidget* Owner(bool relative) const;

    QPointer<QWidget> parent_;
};

} // namespace plotwell
