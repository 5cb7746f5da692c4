#pragma once
// StackIndex: what stacked bars of many points to a pixel column need of the displayed series
// without walking every point of them: per block of positions, where the stacks of the block
// are lowest and highest, and which stretches of values the upper parts of its stacks cover.

#include "graph/data/series_types.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace plotwell {

// a + b held within the finite doubles, so stacks of huge values stay drawable.
inline double StackSum(double a, double b)
{
    constexpr double most = std::numeric_limits<double>::max();
    return std::clamp(a + b, -most, most);
}

// The stack of one position over the displayed series, as the bars draw it: layer k (1..N) is
// the k-th displayed series. A layer is drawn when its value is there and not 0.
struct StackAt
{
    int layers = 0;
    int last = 0;                            // the highest drawn layer; 0 when none is
    std::array<double, maxseries + 1> sums{}; // sums[k]: the total after layer k; sums[0] = 0
    // firstTop[k]: the total after the first drawn layer from k up (k <= last).
    std::array<double, maxseries + 1> firstTop{};
    std::array<bool, maxseries + 1> drawn{};
};

class StackIndex
{
public:
    // Positions per block.
    static constexpr std::size_t kBlock = 64;
    // The stretches of values are told in this many bins from 0 to the largest total.
    static constexpr int kBins = 32;
    static_assert(kBins <= 32);
    enum BlockKind : std::uint8_t {
        kEmptyBlock, // no layer drawn at any position
        kSummedBlock, // every position draws its top layer or nothing: summed up below
        kWalkedBlock, // read point by point
    };

    StackIndex() = default;
    // For the displayed series `shown` (bit n - 1 for series n) of the store, stacked by
    // position or (`byX`) by X value. Usable only when every displayed series has the same X
    // at each position, rising, and, by X, every series of the store does.
    StackIndex(const SeriesList& series, std::uint32_t shown, bool byX);

    bool Usable() const { return usable_; }
    std::uint32_t Shown() const { return shown_; }
    bool ByX() const { return byX_; }
    // The largest running total, as StackTotals finds it: of all series of the store and of
    // the displayed ones, never below 0.
    double MaxTotal() const { return maxTotal_; }
    // The positions (the longest displayed series).
    std::size_t Positions() const { return positions_; }
    int Layers() const { return layers_; }
    // The series number of layer k (1..Layers()).
    int SeriesOf(int k) const { return order_[static_cast<std::size_t>(k)]; }
    // The stack at position j, as the bars draw it.
    void Stack(const SeriesList& series, std::size_t j, StackAt& stack) const;
    // The stacks of the positions [first, last) into out[0, last - first), the same.
    void Stacks(const SeriesList& series, std::size_t first, std::size_t last, StackAt* out) const;

    BlockKind Kind(std::size_t block) const { return static_cast<BlockKind>(kinds_[block]); }
    // Of a summed block, the positions (from the block's first) of: the largest total; the
    // smallest total after layer k (1..N - 1); the smallest firstTop[k] (1..N).
    std::size_t HighestAt(std::size_t block) const { return places_[block * PlacesPerBlock()]; }
    std::size_t LowestAt(std::size_t block, int k) const
    {
        return places_[block * PlacesPerBlock() + static_cast<std::size_t>(k)];
    }
    std::size_t LowestFirstTopAt(std::size_t block, int k) const
    {
        return places_[block * PlacesPerBlock() + static_cast<std::size_t>(layers_ - 1 + k)];
    }
    // Of a summed block and layer k (2..N), bit i: some position's stack has sums[k - 1] <=
    // Edge(i) and sums[N] >= Edge(i + 1), so its layers from k up cover the values between.
    std::uint64_t Covered(std::size_t block, int k) const
    {
        return covered_[block * static_cast<std::size_t>(layers_ - 1) + static_cast<std::size_t>(k - 2)];
    }
    double Edge(int i) const { return edges_[static_cast<std::size_t>(i)]; }

    std::size_t MemoryBytes() const;

private:
    std::size_t PlacesPerBlock() const { return 2 * static_cast<std::size_t>(layers_); }
    void Summarize(const SeriesList& series);

    bool usable_ = false;
    bool byX_ = false;
    std::uint32_t shown_ = 0;
    double maxTotal_ = 0;
    std::size_t positions_ = 0;
    int layers_ = 0;
    std::array<int, maxseries + 1> order_{};
    std::array<double, kBins + 1> edges_{};
    std::vector<std::uint8_t> kinds_;
    std::vector<std::uint8_t> places_;
    std::vector<std::uint32_t> covered_; // kBins bits
};

} // namespace plotwell
