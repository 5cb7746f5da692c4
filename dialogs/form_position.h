#pragma once
// Where a window is placed when it is shown; the form scaling keeps centred windows centred.

#include <QVariant>
#include <QWidget>

namespace plotwell {

enum class WindowPlacement {
    Designed,
    Default,
    DefaultPosOnly,
    DefaultSizeOnly,
    ScreenCenter,
    DesktopCenter,
    MainFormCenter,
    OwnerFormCenter
};

inline constexpr char kFormPositionProperty[] = "plotwellPosition";

inline void SetFormPosition(QWidget& form, WindowPlacement position)
{
    form.setProperty(kFormPositionProperty, static_cast<int>(position));
}

inline WindowPlacement FormPosition(const QWidget& form)
{
    const QVariant value = form.property(kFormPositionProperty);
    return value.isValid() ? static_cast<WindowPlacement>(value.toInt()) : WindowPlacement::Designed;
}

inline bool IsCentred(WindowPlacement position)
{
    return position == WindowPlacement::ScreenCenter || position == WindowPlacement::DesktopCenter ||
           position == WindowPlacement::MainFormCenter || position == WindowPlacement::OwnerFormCenter;
}

} // namespace plotwell
