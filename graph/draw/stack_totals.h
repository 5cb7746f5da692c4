#pragma once
// The running totals that stacked bars stand on: one per point position, or one per distinct
// X value when the series carry their own X values.

#include <cstddef>
#include <memory>
#include <vector>

namespace plotwell {

class PlotModel;
class StackIndex;

class StackTotals
{
public:
    // Sums the plotted points of every series of the store, displayed or not, for the top of
    // the Y axis (by position: up to the longest displayed series); the running totals then
    // start at 0 for the drawing. Points stack by their X value when `byX`, otherwise by their
    // position.
    StackTotals(const PlotModel& model, bool byX);
    // The same largest total from the stacks' index, when it is usable; the running totals are
    // then made when a bar first asks for one.
    StackTotals(const PlotModel& model, bool byX, std::shared_ptr<const StackIndex> index);
    // The stacks' index it was made from, held for the drawing; null without one.
    const StackIndex* Index() const { return index_.get(); }

    // The largest total, never below 0. Hidden series count, so the axis keeps its height when
    // they are shown again; it also reaches the stacks of the displayed series alone, which
    // are higher wherever a hidden series holds negative values.
    double MaxTotal() const { return maxTotal_; }

    // The running total a point stands on: the one of its position, or of its X value, which
    // must be the X of a point of the store.
    std::size_t Slot(std::size_t position, double x);
    double Total(std::size_t slot) const { return totals_[slot]; }
    void SetTotal(std::size_t slot, double total) { totals_[slot] = total; }

    // a + b held within the finite doubles, so stacks of huge values stay drawable.
    static double Add(double a, double b);

    // Every displayed series was drawn at once through the stacks' index.
    bool DrawnAtOnce() const { return drawnAtOnce_; }
    void SetDrawnAtOnce() { drawnAtOnce_ = true; }

private:
    void MakeSlots();

    const PlotModel* model_ = nullptr; // until the slots are made
    std::shared_ptr<const StackIndex> index_;
    bool byX_ = false;
    bool drawnAtOnce_ = false;
    std::vector<double> xs_; // distinct X values, ascending; empty when stacking by position
    std::vector<double> totals_;
    double maxTotal_ = 0;
    std::size_t hint_ = 0; // the last slot found: points mostly come in the order of X
};

} // namespace plotwell
