#include "dialogs/url_label.h"

#include "core/launcher.h"
#include "dialogs/web_address.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QUrl>

namespace plotwell {

namespace {

// An address that counts as e-mail: its first "@" and its first "." stand after the first character.
bool LooksLikeEmail(const QString& s)
{
    return s.indexOf(u'@') > 0 && s.indexOf(u'.') > 0;
}

} // namespace

URLLabel::URLLabel(Launcher& launcher, QWidget* parent)
    : QLabel(parent), launcher_(launcher), highlightFontColor_(RGBToColor(255, 0, 0)),
      origFontColor_(RGBToColor(56, 121, 190))
{
    setTextFormat(Qt::PlainText);
    if (parent) {
        QFont f = font();
        f.setPointSizeF(parent->font().pointSizeF());
        setFont(f);
    }
    SetFontColor(RGBToColor(56, 121, 190));
    setCursor(Qt::PointingHandCursor);
    // A link is reached with Tab and followed with Enter or Space, as with the mouse.
    setFocusPolicy(Qt::StrongFocus);
}

void URLLabel::SetURL(const QString& url)
{
    url_ = url;
    if (text().isEmpty() || text() == objectName())
        setText(url);
    if (accessibleName().isEmpty())
        setAccessibleName(text());
}

RgbColor URLLabel::FontColor() const
{
    return FromQColor(palette().color(QPalette::WindowText));
}

void URLLabel::SetFontColor(RgbColor color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, ToQColor(color));
    setPalette(p);
}

void URLLabel::Highlight(bool on)
{
    if (on == highlighted_)
        return;
    highlighted_ = on;
    QFont f = font();
    f.setUnderline(on);
    setFont(f);
    if (!colorChange_)
        return;
    if (on) {
        origFontColor_ = FontColor();
        SetFontColor(highlightFontColor_);
    } else {
        SetFontColor(origFontColor_);
    }
}

void URLLabel::enterEvent(QEnterEvent* event)
{
    Highlight(true);
    QLabel::enterEvent(event);
}

void URLLabel::leaveEvent(QEvent* event)
{
    if (!hasFocus())
        Highlight(false);
    QLabel::leaveEvent(event);
}

void URLLabel::focusInEvent(QFocusEvent* event)
{
    Highlight(true);
    QLabel::focusInEvent(event);
}

void URLLabel::focusOutEvent(QFocusEvent* event)
{
    if (!underMouse())
        Highlight(false);
    QLabel::focusOutEvent(event);
}

QString URLLabel::Target() const
{
    const QString subject = emailSubject_.isEmpty()
        ? QString()
        : QStringLiteral("?subject=") + QString::fromLatin1(QUrl::toPercentEncoding(emailSubject_));
    if (!email_.isEmpty() && LooksLikeEmail(email_))
        return QStringLiteral("mailto:") + email_ + subject;
    if (url_.isEmpty())
        return {};
    if (LooksLikeEmail(url_) && !url_.contains(QLatin1String("://")))
        return QStringLiteral("mailto:") + url_ + subject;
    return url_;
}

void URLLabel::Click()
{
    emit clicked();
    const QString target = Target();
    if (IsOpenableAddress(target))
        launcher_.OpenUrl(target);
}

void URLLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        Click();
        event->accept();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void URLLabel::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
        Click();
        event->accept();
        return;
    }
    QLabel::keyPressEvent(event);
}

} // namespace plotwell
