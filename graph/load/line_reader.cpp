#include "graph/load/line_reader.h"

#include "core/regular_file.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace plotwell {

namespace {

constexpr std::size_t kBlock = std::size_t(4) << 20;

bool IsSkippable(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

// The first CR or LF in [from, to), or `to`. Looks for LF through growing windows, and for CR
// only before it, so text with CR line ends is not searched to its end for every line.
std::size_t LineEnd(const char* s, std::size_t from, std::size_t to)
{
    // Short lines (rows of a column file) end sooner than two searches start.
    for (const std::size_t stop = std::min(to, from + 64); from < stop; ++from)
        if (s[from] == '\n' || s[from] == '\r')
            return from;
    std::size_t window = 4096;
    while (from < to) {
        const std::size_t stop = std::min(to, from + window);
        const void* lf = std::memchr(s + from, '\n', stop - from);
        const std::size_t limit = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - s) : stop;
        if (const void* cr = std::memchr(s + from, '\r', limit - from))
            return static_cast<std::size_t>(static_cast<const char*>(cr) - s);
        if (lf)
            return limit;
        from = stop;
        window = std::min(window * 2, kBlock);
    }
    return to;
}

} // namespace

LineReader::LineReader(const char* data, std::size_t size, std::size_t start)
    : data_(data), pos_(std::min(start, size)), end_(size), total_(size)
{
}

LineReader::LineReader(RegularFile& file, std::size_t size, std::size_t start)
    : file_(&file), left_(size), total_(size), skip_(start)
{
}

LineReader::~LineReader()
{
    if (buffer_)
        munmap(buffer_, capacity_);
}

void LineReader::Reserve(std::size_t size)
{
    size = (size + kBlock - 1) / kBlock * kBlock;
    void* memory = buffer_ ? mremap(buffer_, capacity_, size, MREMAP_MAYMOVE)
                           : mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        throw std::bad_alloc();
    buffer_ = static_cast<char*>(memory);
    capacity_ = size;
}

bool LineReader::Refill()
{
    if (!file_ || left_ == 0 || failed_)
        return false;
    const std::size_t kept = end_ - pos_;
    if (!buffer_)
        Reserve(std::min(kBlock, left_));
    else if (kept == capacity_)
        Reserve(std::min(capacity_ * 2, kept + left_)); // a line longer than the buffer
    if (pos_ > 0 && kept > 0)
        std::memmove(buffer_, buffer_ + pos_, kept);
    released_ = 0;
    const std::size_t count = std::min(capacity_ - kept, left_);
    // Block by block, so that a line of hundreds of megabytes still lets its observer speak.
    for (std::size_t done = 0; done < count;) {
        const std::size_t chunk = std::min(kBlock, count - done);
#if defined(MADV_POPULATE_WRITE)
        // The pages about to be filled, made in one call rather than in one fault each (older
        // systems refuse the advice and fault them in as usual).
        const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        const std::size_t from = (kept + done) / page * page;
        madvise(buffer_ + from, (kept + done + chunk + page - 1) / page * page - from, MADV_POPULATE_WRITE);
#endif
        if (!file_->ReadExactly(buffer_ + kept + done, chunk)) {
            failed_ = true;
            return false;
        }
        done += chunk;
        if (observer_)
            observer_(total_ - left_ + done);
    }
    left_ -= count;
    data_ = buffer_;
    pos_ = 0;
    end_ = kept + count;
    if (skip_ > 0) {
        const std::size_t skipped = std::min(skip_, end_);
        pos_ = skipped;
        skip_ -= skipped;
    }
    return true;
}

void LineReader::Release(const char* upTo)
{
    if (!buffer_ || upTo < buffer_ || upTo > buffer_ + end_)
        return;
    static const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t end = static_cast<std::size_t>(upTo - buffer_) / page * page;
    if (end < released_ + kBlock)
        return;
    madvise(buffer_ + released_, end - released_, MADV_DONTNEED);
    released_ = end;
}

bool LineReader::Next(const char*& line, std::size_t& length)
{
    for (;;) {
        std::size_t scan = pos_;
        std::size_t tab = end_; // the first tab of the line to come
        while (scan < end_ && IsSkippable(data_[scan])) {
            if (data_[scan] == '\n' || data_[scan] == '\r')
                tab = end_;
            else if (keepLeadingTabs_ && data_[scan] == '\t' && tab == end_)
                tab = scan;
            ++scan;
        }
        if (scan < end_) {
            pos_ = std::min(tab, scan);
            break;
        }
        pos_ = std::min(tab, scan); // a tab is kept over the refill
        if (!Refill())
            return false;
    }
    std::size_t searched = 0; // bytes from pos_ known to hold no line end
    std::size_t end;
    for (;;) {
        end = LineEnd(data_, pos_ + searched, end_);
        if (end < end_ || left_ == 0)
            break;
        searched = end_ - pos_;
        if (!Refill())
            return false;
    }
    std::size_t last = end;
    while (last > pos_ && IsSkippable(data_[last - 1]))
        --last;
    line = data_ + pos_;
    length = last - pos_;
    pos_ = end;
    return true;
}

} // namespace plotwell
