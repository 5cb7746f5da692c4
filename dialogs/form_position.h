#pragma once
// Where a window is placed when it is shown; the form scaling keeps centred windows centred.

#include <QVariant>
#include <QWidget>

namespace plotwell {

enum class TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};

inline constexpr char kFormPositionProperty[] = "plotwellPosition";

inline void SetFormPosition(QWidget& form, TPosition position)
{
    form.setProperty(kFormPositionProperty, static_cast<int>(position));
}

inline TPosition FormPosition(const QWidget& form)
{
    const QVariant value = form.property(kFormPositionProperty);
    return value.isValid() ? static_cast<TPosition>(value.toInt()) : TPosition::poDesigned;
}

inline bool IsCentred(TPosition position)
{
    return position == TPosition::poScreenCenter || position == TPosition::poDesktopCenter ||
           position == TPosition::poMainFormCenter || position == TPosition::poOwnerFormCenter;
}

} // namespace plotwell
