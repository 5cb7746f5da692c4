#pragma once
// PlotSurface: the plotting surface of the graph control. It shows the picture that the
// control draws into a canvas and reports pointer moves; it never draws the graph itself.

#include <QWidget>

namespace plotwell {

class Canvas;

class PlotSurface : public QWidget
{
    Q_OBJECT

public:
    PlotSurface(const Canvas& canvas, QWidget* parent);

    // Shows the picture of another canvas from now on (a drawing made off the interface thread).
    void ShowCanvas(const Canvas& canvas);

    // The colour shown where the picture does not reach yet (a size change not drawn yet).
    void SetBackground(const QColor& color);
    // The rubber band of a zoom box over the picture; an empty rectangle hides it.
    void SetBand(const QRect& band);

signals:
    void pointerMoved(QPoint pos);
    // The picture was drawn for another pixel ratio (the window moved to another screen).
    void pictureOutdated();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    const Canvas* canvas_;
    QColor background_;
    QRect band_;
};

} // namespace plotwell
