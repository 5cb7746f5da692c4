#pragma once
// The screen scale amount and the program's own scaling of a window (positions, sizes, fonts)
// that keeps its anchors, its centring and its place on the monitor.

#include "dialogs/screen_info.h"

class QWidget;

namespace plotwell {

struct ScaleStep
{
    int level;     // 0 to 3
    double amount; // 1.0, 1.25, 1.5, 2.0
};

// <= 110 dots per inch: 1.0; 111-134: 1.25; 135-170: 1.5; above: 2.0.
ScaleStep ScaleStepOfDpi(qreal dpi);

class FormScaler
{
public:
    // `screens` (null for the system's) must outlive the scaler.
    explicit FormScaler(const ScreenInfo* screens = nullptr);

    // The scale amount of the monitor showing `form` (any widget, or none for the primary
    // monitor). Qt 6 reports the logical dots per inch after its own high-density scaling, so a
    // 144 dpi monitor that Qt scales by 1.5 gives 1.0 here and nothing is scaled twice.
    double ScaleAmountOf(const QWidget* form);

    // Scales `form` by its monitor's scale amount and returns the amount. Fonts sized in points
    // already follow the logical dots per inch and are left alone; pixel-sized ones are scaled.
    // (Qt shows tooltips in every window, so there is no hint switch to turn on.)
    double StandardizeFormFont(QWidget* form, bool anchorsfixed);

    // Scales the children's positions and sizes, the window's size and every font by m/d; keeps
    // anchors (unless `anchorsfixed`: the caller vouches for them), keeps a centred window
    // centred and keeps the window inside its monitor's work area.
    void ScaleForm(QWidget* form, int m, int d, bool anchorsfixed);

    int ScaleLevel() const { return scaleLevel_; }
    double LastScaleAmount() const { return scaleAmount_; }

private:
    enum class FontScaling { All, PixelSizedOnly };

    void Scale(QWidget* form, int m, int d, bool anchorsfixed, FontScaling fonts);
    void KeepOnMonitor(QWidget& form, const QRect& before);

    ScreenInfo systemScreens_;
    const ScreenInfo* screens_;
    int scaleLevel_ = 0;
    double scaleAmount_ = 1.0;
};

} // namespace plotwell
