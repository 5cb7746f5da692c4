#pragma once
// A screen with pinned dots per inch and work area, and readable geometry in test failures.

#include "dialogs/screen_info.h"

#include <QRect>

#include <ostream>

inline void PrintTo(const QRect& r, std::ostream* os)
{
    *os << "QRect(" << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height() << ")";
}

inline void PrintTo(const QSize& s, std::ostream* os)
{
    *os << "QSize(" << s.width() << " x " << s.height() << ")";
}

class FixedScreen : public plotwell::ScreenInfo
{
public:
    qreal LogicalDpi(const QWidget*) const override { return dpi; }
    QRect WorkArea(const QWidget&) const override { return workArea; }

    qreal dpi = 96;
    QRect workArea{0, 0, 1920, 1040};
};
