#pragma once
// PointList: the points of one series. Most series are bare values, whose X is their 1-based
// position, so the list keeps Y alone (8 bytes a point) for as long as every X is its
// position, and turns itself into (X, Y) pairs the first time one is not. Readers see
// DataPoint values either way.

#include "graph/data/large_block.h"

#include <compare>
#include <cstddef>
#include <initializer_list>
#include <iterator>

namespace plotwell {

struct DataPoint
{
    double x;
    double y;
};

class PointList
{
public:
    // Yields points by value: there is no DataPoint in a compact list to refer to.
    class const_iterator
    {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using iterator_concept = std::random_access_iterator_tag;
        using value_type = DataPoint;
        using difference_type = std::ptrdiff_t;
        using reference = DataPoint;
        using pointer = void;
        struct Arrow
        {
            DataPoint point;
            const DataPoint* operator->() const { return &point; }
        };

        const_iterator() = default;
        const_iterator(const PointList* list, std::size_t i) : list_(list), i_(i) {}
        const DataPoint operator*() const { return (*list_)[i_]; }
        Arrow operator->() const { return Arrow{**this}; }
        const DataPoint operator[](difference_type n) const { return (*list_)[i_ + static_cast<std::size_t>(n)]; }
        const_iterator& operator++() { ++i_; return *this; }
        const_iterator operator++(int) { const_iterator old = *this; ++i_; return old; }
        const_iterator& operator--() { --i_; return *this; }
        const_iterator operator--(int) { const_iterator old = *this; --i_; return old; }
        const_iterator& operator+=(difference_type n) { i_ += static_cast<std::size_t>(n); return *this; }
        const_iterator& operator-=(difference_type n) { i_ -= static_cast<std::size_t>(n); return *this; }
        friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
        friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
        friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
        friend difference_type operator-(const const_iterator& a, const const_iterator& b)
        {
            return static_cast<difference_type>(a.i_) - static_cast<difference_type>(b.i_);
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b) { return a.i_ == b.i_; }
        friend std::strong_ordering operator<=>(const const_iterator& a, const const_iterator& b) { return a.i_ <=> b.i_; }

    private:
        const PointList* list_ = nullptr;
        std::size_t i_ = 0;
    };
    using iterator = const_iterator;
    using value_type = DataPoint;
    using size_type = std::size_t;

    PointList() = default;
    PointList(std::initializer_list<DataPoint> points);
    explicit PointList(std::size_t count, const DataPoint& value = DataPoint{0, 0});
    PointList(const PointList& other);
    PointList(PointList&& other) noexcept { swap(other); }
    PointList& operator=(const PointList& other);
    PointList& operator=(PointList&& other) noexcept;
    ~PointList() { FreeLarge(block_); }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // In points of the present layout.
    std::size_t capacity() const { return block_.bytes / (stride_ * sizeof(double)); }

    double X(std::size_t i) const { return stride_ == 1 ? static_cast<double>(i + 1) : data()[2 * i]; }
    double Y(std::size_t i) const { return data()[(i + 1) * stride_ - 1]; }
    // A const value, so that `points[i] = p` does not compile (it would change a copy): write
    // through SetPoint.
    const DataPoint operator[](std::size_t i) const { return DataPoint{X(i), Y(i)}; }
    DataPoint front() const { return (*this)[0]; }
    DataPoint back() const { return (*this)[size_ - 1]; }
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, size_); }

    void push_back(const DataPoint& p)
    {
        if (stride_ == 1 && p.x == static_cast<double>(size_ + 1)) {
            if (size_ == capacity())
                Grow(size_ + 1);
            data()[size_++] = p.y;
        } else {
            PushPair(p);
        }
    }
    void reserve(std::size_t points);
    // Empty and compact again; keeps the memory.
    void clear()
    {
        size_ = 0;
        stride_ = 1;
    }
    void shrink_to_fit();
    void swap(PointList& other) noexcept;

    // Writing in place. A point whose X is not its position makes the list pairs.
    void SetPoint(std::size_t i, const DataPoint& p);
    void SetY(std::size_t i, double y) { data()[(i + 1) * stride_ - 1] = y; }
    // Sorts the points [first, last) by X, stably; false when they were in order already.
    bool SortByX(std::size_t first, std::size_t last);

    // The layout, for readers that take many points at once: point i's Y is
    // Storage()[(i + 1) * Stride() - 1], and with a stride of 2 its X is Storage()[2 * i].
    bool IsCompact() const { return stride_ == 1; }
    std::size_t Stride() const { return stride_; }
    const double* Storage() const { return static_cast<const double*>(block_.data); }
    std::size_t BytesPerPoint() const { return stride_ * sizeof(double); }
    std::size_t MemoryBytes() const { return block_.bytes; }
    // Asks for the memory of the points [from, to) to be read ahead.
    void Prefetch(std::size_t from, std::size_t to) const
    {
#if defined(__GNUC__)
        const char* base = reinterpret_cast<const char*>(Storage());
        for (std::size_t byte = from * BytesPerPoint(); byte < to * BytesPerPoint(); byte += 64)
            __builtin_prefetch(base + byte);
#else
        (void)from;
        (void)to;
#endif
    }

    // The same points bit for bit (a NaN equals itself, -0 is not 0), whatever the layout.
    friend bool operator==(const PointList& a, const PointList& b);

private:
    double* data() const { return static_cast<double*>(block_.data); }
    void Grow(std::size_t needed);
    void PushPair(const DataPoint& p);
    // Moves the points into a block for `points` points of the layout `stride`.
    void Reallocate(std::size_t points, std::size_t stride);

    LargeBlock block_;
    std::size_t size_ = 0;
    std::size_t stride_ = 1; // 1: Y alone, 2: X and Y
};

} // namespace plotwell
