#include "graph/data/large_block.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace plotwell {

namespace {

#if defined(__linux__)
std::size_t PageBytes()
{
    static const std::size_t page = [] {
        const long size = sysconf(_SC_PAGESIZE);
        return size > 0 ? static_cast<std::size_t>(size) : std::size_t(4096);
    }();
    return page;
}

bool IsMapped(std::size_t bytes)
{
    return bytes >= kHugePageBytes && bytes <= SIZE_MAX - 2 * kHugePageBytes;
}

// A mapping of its own, rather than the heap's, so the block can start on a huge page and its
// pages go back to the system the moment it is freed.
void* MapAligned(std::size_t bytes)
{
    const std::size_t reach = bytes + kHugePageBytes;
    void* mapped = mmap(nullptr, reach, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
    if (aligned > start)
        munmap(mapped, aligned - start);
    const std::uintptr_t end = aligned + bytes;
    if (start + reach > end)
        munmap(reinterpret_cast<void*>(end), start + reach - end);
    void* block = reinterpret_cast<void*>(aligned);
#if defined(MADV_HUGEPAGE)
    madvise(block, bytes, MADV_HUGEPAGE); // a kernel without them says no, and that is fine
#endif
    return block;
}
#endif

} // namespace

std::size_t LargeBlockBytes(std::size_t bytes)
{
#if defined(__linux__)
    // Whole pages, not whole huge pages: the part past the last huge page stays in small
    // pages, so the block holds at most a page more than asked.
    if (IsMapped(bytes))
        return (bytes + PageBytes() - 1) / PageBytes() * PageBytes();
#endif
    return bytes;
}

LargeBlock AllocateLarge(std::size_t bytes)
{
#if defined(__linux__)
    if (IsMapped(bytes)) {
        const std::size_t whole = LargeBlockBytes(bytes);
        if (void* data = MapAligned(whole))
            return LargeBlock{data, whole, true};
    }
#endif
    void* data = std::malloc(bytes);
    if (!data)
        throw std::bad_alloc();
    return LargeBlock{data, bytes, false};
}

bool ResizeLarge(LargeBlock& block, std::size_t bytes) noexcept
{
#if defined(__linux__) && defined(MREMAP_MAYMOVE)
    if (!block.mapped || !IsMapped(bytes))
        return false;
    const std::size_t whole = LargeBlockBytes(bytes);
    void* moved = mremap(block.data, block.bytes, whole, MREMAP_MAYMOVE);
    if (moved == MAP_FAILED)
        return false;
#if defined(MADV_HUGEPAGE)
    madvise(moved, whole, MADV_HUGEPAGE);
#endif
    block.data = moved;
    block.bytes = whole;
    return true;
#else
    (void)block;
    (void)bytes;
    return false;
#endif
}

void FreeLarge(const LargeBlock& block) noexcept
{
#if defined(__linux__)
    if (block.mapped) {
        munmap(block.data, block.bytes);
        return;
    }
#endif
    std::free(block.data);
}

} // namespace plotwell
