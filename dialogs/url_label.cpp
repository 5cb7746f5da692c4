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

TURLLabel::TURLLabel(TLauncher& launcher, QWidget* parent)
    : QLabel(parent), launcher_(launcher), FhighlightFontcolor(RGBToColor(255, 0, 0)),
      FOrigFontColor(RGBToColor(56, 121, 190))
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

void TURLLabel::SetURL(const QString& url)
{
    Furl = url;
    if (text().isEmpty() || text() == objectName())
        setText(url);
    if (accessibleName().isEmpty())
        setAccessibleName(text());
}

TColor TURLLabel::FontColor() const
{
    return FromQColor(palette().color(QPalette::WindowText));
}

void TURLLabel::SetFontColor(TColor color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, ToQColor(color));
    setPalette(p);
}

void TURLLabel::Highlight(bool on)
{
    if (on == highlighted_)
        return;
    highlighted_ = on;
    QFont f = font();
    f.setUnderline(on);
    setFont(f);
    if (!Fcolorchange)
        return;
    if (on) {
        FOrigFontColor = FontColor();
        SetFontColor(FhighlightFontcolor);
    } else {
        SetFontColor(FOrigFontColor);
    }
}

void TURLLabel::enterEvent(QEnterEvent* event)
{
    Highlight(true);
    QLabel::enterEvent(event);
}

void TURLLabel::leaveEvent(QEvent* event)
{
    if (!hasFocus())
        Highlight(false);
    QLabel::leaveEvent(event);
}

void TURLLabel::focusInEvent(QFocusEvent* event)
{
    Highlight(true);
    QLabel::focusInEvent(event);
}

void TURLLabel::focusOutEvent(QFocusEvent* event)
{
    if (!underMouse())
        Highlight(false);
    QLabel::focusOutEvent(event);
}

QString TURLLabel::Target() const
{
    const QString subject = FEmailSubject.isEmpty()
        ? QString()
        : QStringLiteral("?subject=") + QString::fromLatin1(QUrl::toPercentEncoding(FEmailSubject));
    if (!Femail.isEmpty() && LooksLikeEmail(Femail))
        return QStringLiteral("mailto:") + Femail + subject;
    if (Furl.isEmpty())
        return {};
    if (LooksLikeEmail(Furl) && !Furl.contains(QLatin1String("://")))
        return QStringLiteral("mailto:") + Furl + subject;
    return Furl;
}

void TURLLabel::Click()
{
    emit clicked();
    const QString target = Target();
    if (IsOpenableAddress(target))
        launcher_.OpenUrl(target);
}

void TURLLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        Click();
        event->accept();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void TURLLabel::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
        Click();
        event->accept();
        return;
    }
    QLabel::keyPressEvent(event);
}

} // namespace plotwell
