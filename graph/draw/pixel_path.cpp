#include "graph/draw/pixel_path.h"

#include <algorithm>

namespace plotwell {

void PixelPathReducer::StartRun(QPoint p)
{
    inRun_ = true;
    column_ = p.x();
    first_ = min_ = max_ = last_ = Kept{index_, p.y()};
    coverFrom_ = coverTo_ = Kept{};
}

void PixelPathReducer::AddToNewRunOrFirst(QPoint p)
{
    if (!inRun_ || p.x() != column_) {
        if (inRun_) {
            EmitRun();
            firstRun_ = false;
        }
        StartRun(p);
    } else {
        const int row = p.y();
        ExtendRun(row);
        if (firstRun_ && coverTo_.index < 0 && index_ >= first_.index + 2) {
            // The segment from this point back to the previous one leaves out the previous
            // pixel and takes this one: does it pass the path's first pixel?
            const int r0 = first_.row;
            const bool covers = (row < previousRow_ && row <= r0 && r0 < previousRow_) ||
                                (row > previousRow_ && previousRow_ < r0 && r0 <= row);
            if (covers) {
                coverFrom_ = Kept{index_ - 1, previousRow_};
                coverTo_ = Kept{index_, row};
            }
        }
    }
    previousRow_ = p.y();
    ++index_;
}

void PixelPathReducer::AddRun(const Run& run)
{
    if (inRun_) {
        EmitRun();
        firstRun_ = false;
    }
    inRun_ = true;
    column_ = run.column;
    first_ = Kept{index_ + run.firstOffset, run.firstRow};
    min_ = Kept{index_ + run.lowestOffset, run.lowestRow};
    max_ = Kept{index_ + run.highestOffset, run.highestRow};
    last_ = Kept{index_ + run.lastOffset, run.lastRow};
    coverFrom_ = coverTo_ = Kept{};
    previousRow_ = run.lastRow;
    index_ += run.span;
}

void PixelPathReducer::EmitRun()
{
    std::array<Kept, 6> kept = {first_, min_, max_, last_, coverFrom_, coverTo_};
    std::sort(kept.begin(), kept.end(), [](const Kept& a, const Kept& b) { return a.index < b.index; });
    qint64 previous = -1;
    for (const Kept& k : kept) {
        if (k.index < 0 || k.index == previous)
            continue;
        previous = k.index;
        const QPoint p(column_, k.row);
        if (out_.empty() || out_.back() != p)
            out_.push_back(p);
    }
}

void PixelPathReducer::Finish()
{
    if (inRun_)
        EmitRun();
    inRun_ = false;
    firstRun_ = true;
    index_ = 0;
}

} // namespace plotwell
