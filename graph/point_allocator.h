#pragma once
// The allocator of point arrays: large arrays get their own mapping with huge pages where
// the system offers them, which makes filling millions of points far cheaper than touching
// them page by page.

#include <cstddef>
#include <memory>
#include <new>

namespace plotwell {

namespace detail {
void* AllocateLargeBlock(std::size_t bytes);
void FreeLargeBlock(void* p, std::size_t bytes);
inline constexpr std::size_t kLargeBlock = std::size_t(4) << 20;
} // namespace detail

template <typename T> struct PointAllocator
{
    using value_type = T;

    PointAllocator() noexcept = default;
    template <typename U> PointAllocator(const PointAllocator<U>&) noexcept {}

    T* allocate(std::size_t n)
    {
        const std::size_t bytes = n * sizeof(T);
        if (bytes >= detail::kLargeBlock)
            return static_cast<T*>(detail::AllocateLargeBlock(bytes));
        return std::allocator<T>().allocate(n);
    }
    void deallocate(T* p, std::size_t n) noexcept
    {
        const std::size_t bytes = n * sizeof(T);
        if (bytes >= detail::kLargeBlock)
            detail::FreeLargeBlock(p, bytes);
        else
            std::allocator<T>().deallocate(p, n);
    }
    template <typename U> bool operator==(const PointAllocator<U>&) const noexcept { return true; }
};

} // namespace plotwell
