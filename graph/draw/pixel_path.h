#pragma once
// Thins a path of pixel points, as a line graph walks them, to the points that a one-pixel
// pen needs to draw exactly the same pixels: within each run of consecutive points in one
// pixel column only the first, the lowest, the highest and the last are kept (M4).

#include <QPoint>

#include <array>
#include <vector>

namespace plotwell {

class PixelPathReducer
{
public:
    // Kept points are appended to `out`, without consecutive repeats.
    explicit PixelPathReducer(std::vector<QPoint>& out) : out_(out) {}

    void Add(QPoint p)
    {
        // Most points fall in the current column's run: only its extremes change.
        if (inRun_ && p.x() == column_ && !firstRun_) {
            ExtendRun(p.y());
            ++index_;
            return;
        }
        AddToNewRunOrFirst(p);
    }
    // A whole run of one pixel column at once, the same as adding its points one by one,
    // for a run that starts a new column after the path's first run. Offsets count from the
    // run's first point and order the kept points; `span` is at least the last offset + 1.
    struct Run
    {
        int column;
        qint64 span;
        qint64 firstOffset, lowestOffset, highestOffset, lastOffset;
        int firstRow, lowestRow, highestRow, lastRow; // lowest: the smallest row number
    };
    void AddRun(const Run& run);
    // Emits the last run; the reducer can then start a new path.
    void Finish();

private:
    struct Kept
    {
        qint64 index = -1;
        int row = 0;
    };

    // The point at index_ in the current run, at this row.
    void ExtendRun(int row)
    {
        if (row < min_.row)
            min_ = Kept{index_, row};
        if (row > max_.row)
            max_ = Kept{index_, row};
        last_ = Kept{index_, row};
    }
    void AddToNewRunOrFirst(QPoint p);
    void StartRun(QPoint p);
    void EmitRun();

    std::vector<QPoint>& out_;
    qint64 index_ = 0;      // of the next point in the whole path
    bool inRun_ = false;
    bool firstRun_ = true;  // the run holding the path's first point
    int column_ = 0;
    int previousRow_ = 0;
    Kept first_, min_, max_, last_;
    // The path's first pixel is the end (left out) of the first segment. When a later
    // segment of its run covers it, that segment is kept as well.
    Kept coverFrom_, coverTo_;
};

} // namespace plotwell
