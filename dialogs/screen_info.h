#pragma once
// ScreenInfo: what the form utilities ask of the screens; tests replace it with fixed answers.

#include <QRect>
#include <QtGlobal>

class QScreen;
class QWidget;

namespace plotwell {

class ScreenInfo
{
public:
    virtual ~ScreenInfo() = default;

    // Logical dots per inch of the monitor showing `form` (the primary one for none). Qt 6
    // divides out its own high-density scaling, so this is 96 wherever Qt already scales.
    virtual qreal LogicalDpi(const QWidget* form) const;

    // The work area (without task bars) of the monitor showing `form`; a null rectangle when it
    // has no monitor.
    virtual QRect WorkArea(const QWidget& form) const;

private:
    static QScreen* ScreenOf(const QWidget& form);
};

} // namespace plotwell
