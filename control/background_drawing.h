#pragma once
// BackgroundDrawing: one drawing of the graph made on a worker thread, from a snapshot of the
// model into a canvas of its own, so that a slow drawing leaves the window alive; the graph
// control shows the finished picture in one step.

#include "graph/draw/canvas.h"
#include "graph/draw/drawing_result.h"
#include "graph/draw/renderer.h"
#include "graph/data/plot_model.h"

#include <QObject>

#include <exception>
#include <functional>
#include <memory>
#include <thread>

namespace plotwell {

class BackgroundDrawing : public QObject
{
    Q_OBJECT

public:
    // Draws a model onto a canvas; the renderer's DrawGraph unless a test replaces it.
    using DrawFunction = std::function<DrawingResult(const PlotModel& model, Canvas& canvas, const DrawRequest& request)>;

    // The picture's size in pixels and its device pixel ratio.
    struct Size
    {
        int width = 0;
        int height = 0;
        double ratio = 1.0;
    };
    // Starts the worker at once on `snapshot` (see PlotModel::Snapshot), into `canvas`, which
    // it first gives `size` (the worker clears it). A pointer shape in the request is left
    // out: the hourglass belongs to the interface thread.
    BackgroundDrawing(std::unique_ptr<PlotModel> snapshot, std::unique_ptr<Canvas> canvas, Size size,
                      const DrawRequest& request, DrawFunction draw, QObject* parent = nullptr);
    // Waits for the worker.
    ~BackgroundDrawing() override;

    // Waits until the drawing is done (at once after finished()).
    void Wait();
    // After Wait: the picture, what the drawing found (a failure of the drawing is thrown
    // here, on the caller's thread) and how long it took.
    std::unique_ptr<Canvas> TakeCanvas();
    const DrawingResult& Result() const;
    double Milliseconds() const { return milliseconds_; }
    const PlotModel& Model() const { return *snapshot_; }

signals:
    // On the interface thread, once the worker is done.
    void finished();

private:
    std::unique_ptr<PlotModel> snapshot_;
    std::unique_ptr<Canvas> canvas_;
    DrawRequest request_;
    DrawingResult result_;
    std::exception_ptr error_;
    double milliseconds_ = 0;
    std::thread worker_;
};

} // namespace plotwell
