#include "graph/line_reader.h"

#include "core/regular_file.h"

#include <algorithm>
#include <cstring>

namespace plotwell {

namespace {

constexpr std::size_t kBlock = std::size_t(4) << 20;

bool isSkippable(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

// The first CR or LF in [from, to), or `to`. Looks for LF through growing windows, and for CR
// only before it, so text with CR line ends is not searched to its end for every line.
std::size_t lineEnd(const char* s, std::size_t from, std::size_t to)
{
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

TLineReader::TLineReader(const char* data, std::size_t size, std::size_t start)
    : data_(data), pos_(std::min(start, size)), end_(size)
{
}

TLineReader::TLineReader(TRegularFile& file, std::size_t size, std::size_t start)
    : file_(&file), left_(size), skip_(start)
{
}

bool TLineReader::Refill()
{
    if (!file_ || left_ == 0 || failed_)
        return false;
    const std::size_t kept = end_ - pos_;
    if (buffer_.empty())
        buffer_.resize(std::min(kBlock, left_));
    else if (kept == buffer_.size())
        buffer_.resize(std::min(buffer_.size() * 2, kept + left_)); // a line longer than the buffer
    if (pos_ > 0 && kept > 0)
        std::memmove(buffer_.data(), buffer_.data() + pos_, kept);
    const std::size_t count = std::min(buffer_.size() - kept, left_);
    if (!file_->ReadExactly(buffer_.data() + kept, count)) {
        failed_ = true;
        return false;
    }
    left_ -= count;
    data_ = buffer_.data();
    pos_ = 0;
    end_ = kept + count;
    if (skip_ > 0) {
        const std::size_t skipped = std::min(skip_, end_);
        pos_ = skipped;
        skip_ -= skipped;
    }
    return true;
}

bool TLineReader::Next(const char*& line, std::size_t& length)
{
    for (;;) {
        while (pos_ < end_ && isSkippable(data_[pos_]))
            ++pos_;
        if (pos_ < end_)
            break;
        if (!Refill())
            return false;
    }
    std::size_t searched = 0; // bytes from pos_ known to hold no line end
    std::size_t end;
    for (;;) {
        end = lineEnd(data_, pos_ + searched, end_);
        if (end < end_ || left_ == 0)
            break;
        searched = end_ - pos_;
        if (!Refill())
            return false;
    }
    std::size_t last = end;
    while (last > pos_ && isSkippable(data_[last - 1]))
        --last;
    line = data_ + pos_;
    length = last - pos_;
    pos_ = end;
    return true;
}

} // namespace plotwell
