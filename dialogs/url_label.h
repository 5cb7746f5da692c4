#pragma once
// TURLLabel: a text label that behaves as a link to a web page or an e-mail address.

#include "core/color.h"

#include <QLabel>

namespace plotwell {

class TLauncher;

class TURLLabel : public QLabel
{
    Q_OBJECT

public:
    // Links open through `launcher`, which must outlive the label.
    TURLLabel(TLauncher& launcher, QWidget* parent = nullptr);

    QString URL() const { return Furl; }
    // Stores the address; an empty caption, or one equal to the object name, becomes the address.
    void SetURL(const QString& url);
    QString EmailAddress() const { return Femail; }
    void SetEmailAddress(const QString& address) { Femail = address; }
    QString EmailSubject() const { return FEmailSubject; }
    void SetEmailSubject(const QString& subject) { FEmailSubject = subject; }
    bool ColorChange() const { return Fcolorchange; }
    void SetColorChange(bool on) { Fcolorchange = on; }
    TColor HighlightFontColor() const { return FhighlightFontcolor; }
    void SetHighlightFontColor(TColor color) { FhighlightFontcolor = color; }
    TColor FontColor() const;
    void SetFontColor(TColor color);

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

    TLauncher& launcher_;
    QString Furl;
    QString Femail;
    QString FEmailSubject;
    TColor FhighlightFontcolor;
    bool Fcolorchange = true;
    TColor FOrigFontColor;
    bool highlighted_ = false;
};

} // namespace plotwell
