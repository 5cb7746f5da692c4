#include "control/background_drawing.h"

#include <chrono>

namespace plotwell {

BackgroundDrawing::BackgroundDrawing(std::unique_ptr<PlotModel> snapshot, std::unique_ptr<Canvas> canvas, Size size,
                                     const DrawRequest& request, DrawFunction draw, QObject* parent)
    : QObject(parent), snapshot_(std::move(snapshot)), canvas_(std::move(canvas)), request_(request)
{
    request_.pointer = nullptr;
    worker_ = std::thread([this, size, draw = std::move(draw)] {
        const auto start = std::chrono::steady_clock::now();
        try {
            canvas_->EnsureSize(size.width, size.height, size.ratio);
            result_ = draw(*snapshot_, *canvas_, request_);
            canvas_->Finish(); // the painter ends on the thread that began it
        } catch (...) {
            error_ = std::current_exception();
        }
        milliseconds_ = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        QMetaObject::invokeMethod(this, &BackgroundDrawing::finished, Qt::QueuedConnection);
    });
}

BackgroundDrawing::~BackgroundDrawing()
{
    Wait();
}

void BackgroundDrawing::Wait()
{
    if (worker_.joinable())
        worker_.join();
}

std::unique_ptr<Canvas> BackgroundDrawing::TakeCanvas()
{
    if (error_)
        std::rethrow_exception(std::exchange(error_, nullptr));
    return std::move(canvas_);
}

const DrawingResult& BackgroundDrawing::Result() const
{
    return result_;
}

} // namespace plotwell
