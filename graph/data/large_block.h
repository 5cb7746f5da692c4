#pragma once
// Memory for the store's big arrays: blocks of 2 MiB and more are aligned to 2 MiB and asked
// to be backed by huge pages, which spares the processor most of its address look-ups on a
// walk through millions of points; smaller ones come from the ordinary heap.

#include <cstddef>

namespace plotwell {

inline constexpr std::size_t kHugePageBytes = std::size_t(2) << 20;

struct LargeBlock
{
    void* data = nullptr;
    std::size_t bytes = 0; // usable: whole pages for a mapped block
    bool mapped = false;
};

// At least `bytes` (> 0) of memory aligned for a double. Throws std::bad_alloc when there is
// none. Huge pages are only a wish: where the system has none to give, the memory is ordinary
// and nothing is said.
LargeBlock AllocateLarge(std::size_t bytes);
void FreeLarge(const LargeBlock& block) noexcept;
// Gives a block of its own mapping a new size of `bytes` (at least 2 MiB) with its contents,
// the system moving its pages rather than the processor copying them, so a growing list never
// holds its old and new copies at once. False, the block as it was, when that cannot be done:
// the caller then copies.
bool ResizeLarge(LargeBlock& block, std::size_t bytes) noexcept;
// The usable size AllocateLarge gives for `bytes`.
std::size_t LargeBlockBytes(std::size_t bytes);

} // namespace plotwell
