#include "dialogs/screen_info.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace plotwell {

namespace {

constexpr qreal kDefaultDpi = 96;

} // namespace

QScreen* ScreenInfo::ScreenOf(const QWidget& form)
{
    // The monitor under the window's centre; Qt's own notion for a window not yet placed.
    const QWidget* window = form.window();
    if (QScreen* screen = QGuiApplication::screenAt(window->frameGeometry().center()))
        return screen;
    return window->screen();
}

qreal ScreenInfo::LogicalDpi(const QWidget* form) const
{
    const QScreen* screen = form ? ScreenOf(*form) : QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : kDefaultDpi;
}

QRect ScreenInfo::WorkArea(const QWidget& form) const
{
    const QScreen* screen = ScreenOf(form);
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace plotwell
