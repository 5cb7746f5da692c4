#include "control/plot_surface.h"

#include "graph/draw/canvas.h"

#include <QMouseEvent>
#include <QPainter>

namespace plotwell {

PlotSurface::PlotSurface(const Canvas& canvas, QWidget* parent) : QWidget(parent), canvas_(canvas)
{
    setObjectName(QStringLiteral("PaintBox"));
    setAccessibleName(QStringLiteral("Graph"));
    setMouseTracking(true);
    // Every pixel comes from the picture: Qt need not clear the widget first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlotSurface::SetBackground(const QColor& color)
{
    background_ = color;
}

void PlotSurface::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect picture(0, 0, canvas_.Width(), canvas_.Height());
    const QRegion uncovered = QRegion(event->rect()) - picture;
    for (const QRect& r : uncovered)
        painter.fillRect(r, background_);
    canvas_.DrawTo(painter, QPoint(0, 0));
    if (canvas_.DevicePixelRatio() != devicePixelRatioF())
        emit pictureOutdated();
}

void PlotSurface::mouseMoveEvent(QMouseEvent* event)
{
    emit pointerMoved(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

} // namespace plotwell
