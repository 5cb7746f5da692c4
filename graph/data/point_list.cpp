#include "graph/data/point_list.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace plotwell {

namespace {

// Pairs are sorted in place as DataPoints.
static_assert(sizeof(DataPoint) == 2 * sizeof(double) && std::is_standard_layout_v<DataPoint> &&
              std::is_trivially_copyable_v<DataPoint>);


} // namespace

PointList::PointList(std::initializer_list<DataPoint> points)
{
    reserve(points.size());
    for (const DataPoint& p : points)
        push_back(p);
}

PointList::PointList(std::size_t count, const DataPoint& value)
{
    reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        push_back(value);
}

PointList::PointList(const PointList& other) : size_(other.size_), stride_(other.stride_)
{
    if (size_ == 0) {
        stride_ = 1;
        return;
    }
    block_ = AllocateLarge(size_ * stride_ * sizeof(double));
    std::memcpy(block_.data, other.block_.data, size_ * stride_ * sizeof(double));
}

PointList& PointList::operator=(const PointList& other)
{
    if (this != &other) {
        PointList copy(other);
        swap(copy);
    }
    return *this;
}

PointList& PointList::operator=(PointList&& other) noexcept
{
    if (this != &other) {
        PointList taken(std::move(other));
        swap(taken);
    }
    return *this;
}

void PointList::swap(PointList& other) noexcept
{
    std::swap(block_, other.block_);
    std::swap(size_, other.size_);
    std::swap(stride_, other.stride_);
}

void PointList::reserve(std::size_t points)
{
    if (points > capacity())
        Reallocate(points, stride_);
}

void PointList::Grow(std::size_t needed)
{
    // Doubling, as a vector grows: each point is copied about once however long the list gets.
    Reallocate(std::max(needed, 2 * capacity()), stride_);
}

void PointList::PushPair(const DataPoint& p)
{
    if (stride_ == 1)
        Reallocate(std::max(size_ + 1, capacity()), 2);
    else if (size_ == capacity())
        Grow(size_ + 1);
    double* d = data() + 2 * size_;
    d[0] = p.x;
    d[1] = p.y;
    ++size_;
}

void PointList::Reallocate(std::size_t points, std::size_t stride)
{
    if (points > SIZE_MAX / (2 * sizeof(double)))
        throw std::bad_alloc();
    if (stride == stride_ && size_ > 0 && ResizeLarge(block_, points * stride * sizeof(double)))
        return;
    const LargeBlock fresh = AllocateLarge(std::max<std::size_t>(points, 1) * stride * sizeof(double));
    double* to = static_cast<double*>(fresh.data);
    const double* from = data();
    if (stride == stride_) {
        if (size_ > 0)
            std::memcpy(to, from, size_ * stride * sizeof(double));
    } else {
        // Only ever from Y alone to pairs: each X is its position.
        for (std::size_t i = 0; i < size_; ++i) {
            to[2 * i] = static_cast<double>(i + 1);
            to[2 * i + 1] = from[i];
        }
    }
    FreeLarge(block_);
    block_ = fresh;
    stride_ = stride;
}

void PointList::shrink_to_fit()
{
    if (size_ == 0) {
        FreeLarge(block_);
        block_ = LargeBlock{};
        stride_ = 1;
    } else if (LargeBlockBytes(size_ * stride_ * sizeof(double)) < block_.bytes) {
        Reallocate(size_, stride_);
    }
}

void PointList::SetPoint(std::size_t i, const DataPoint& p)
{
    if (stride_ == 1) {
        if (p.x == static_cast<double>(i + 1)) {
            data()[i] = p.y;
            return;
        }
        Reallocate(capacity(), 2);
    }
    data()[2 * i] = p.x;
    data()[2 * i + 1] = p.y;
}

bool PointList::SortByX(std::size_t first, std::size_t last)
{
    // Positions are in order; so are files usually, and checking first spares the sort's buffer.
    if (stride_ == 1 || last <= first + 1)
        return false;
    DataPoint* points = reinterpret_cast<DataPoint*>(data());
    const auto byX = [](const DataPoint& a, const DataPoint& b) { return a.x < b.x; };
    if (std::is_sorted(points + first, points + last, byX))
        return false;
    // Stable, so points with equal X keep the order of the file.
    std::stable_sort(points + first, points + last, byX);
    return true;
}

bool operator==(const PointList& a, const PointList& b)
{
    if (a.size() != b.size())
        return false;
    if (a.size() == 0)
        return true;
    if (a.stride_ == b.stride_)
        return std::memcmp(a.data(), b.data(), a.size() * a.stride_ * sizeof(double)) == 0;
    const auto same = [](double u, double v) { return std::memcmp(&u, &v, sizeof u) == 0; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!same(a.X(i), b.X(i)) || !same(a.Y(i), b.Y(i)))
            return false;
    return true;
}

} // namespace plotwell
