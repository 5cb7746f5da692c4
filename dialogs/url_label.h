#pragma once
// URLLabel: a text label that behaves as a link to a web page or an e-mail address.

#include "core/color.h"

#include <QLabel>

namespace plotwell {

class Launcher;

class URLLabel : public QLabel
{
    Q_OBJECT

public:
    // Links open through `launcher`, which must outlive the label.
    URLLabel(Launcher& launcher, QWidget* parent = nullptr);

    QString URL() const { return url_; }
    // Stores the address; an empty caption, or one equal to the object name, becomes the address.
    void SetURL(const QString& url);
    QString EmailAddress() const { return email_; }
    void SetEmailAddress(const QString& address) { email_ = address; }
    QString EmailSubject() const { return emailSubject_; }
    void SetEmailSubject(const QString& subject) { emailSubject_ = subject; }
    bool ColorChange() const { return colorChange_; }
    void SetColorChange(bool on) { colorChange_ = on; }
    RgbColor HighlightFontColor() const { return highlightFontColor_; }
    void SetHighlightFontColor(RgbColor color) { highlightFontColor_ = color; }
    RgbColor FontColor() const;
    void SetFontColor(RgbColor color);

    // What a click opens: "mailto:" and the address (with "?subject=" when a subject is set), or
    // the URL; empty when there is nothing to open.
    QString Target() const;
    // A click: clicked(), then the target opens.
    void Click();

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Highlight(bool on);

    Launcher& launcher_;
    QString url_;
    QString email_;
    QString emailSubject_;
    RgbColor highlightFontColor_;
    bool colorChange_ = true;
    RgbColor origFontColor_;
    bool highlighted_ = false;
};

} // namespace plotwell
