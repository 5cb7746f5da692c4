#pragma once
// The lines of a data file, from bytes in memory or from a regular file read in large blocks
// through one buffer that grows to the longest line, so a big file is never in memory whole.

#include <cstddef>
#include <functional>

namespace plotwell {

class RegularFile;

class LineReader
{
public:
    // The lines of `size` bytes in memory, from byte `start`.
    LineReader(const char* data, std::size_t size, std::size_t start);
    // The lines of the next `size` bytes of `file`, from byte `start` of them.
    LineReader(RegularFile& file, std::size_t size, std::size_t start);

    // The next line holding a byte above 32: its bytes up to the first CR or LF, without the
    // bytes of 32 and below around them. False at the end, or when the file ended early or
    // could not be read (Failed()).
    bool Next(const char*& line, std::size_t& length);
    bool Failed() const { return failed_; }
    // Where the reading has come to: the end of the last line.
    const char* Position() const { return data_ + pos_; }
    // Hears the count of bytes read after every block; it may throw to stop the reading
    // (the reader is then of no further use).
    void SetReadObserver(std::function<void(std::size_t bytesRead)> observer) { observer_ = std::move(observer); }
    // Nothing before `upTo`, a place in the last line or after it, is read again: the
    // buffer's pages before it go back to the system (reading from a file only).
    void Release(const char* upTo);
    // Lines start at a tab before their first byte above 32: in a tab-separated row it ends an
    // empty first field.
    void KeepLeadingTabs() { keepLeadingTabs_ = true; }

    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

private:
    // Keeps the bytes from pos_, moved to the buffer's front, and reads more after them;
    // false at the end of the file or on a read error.
    bool Refill();
    // Makes room for `size` bytes; throws std::bad_alloc when there is none.
    void Reserve(std::size_t size);

    RegularFile* file_ = nullptr;
    // Memory of its own, so that it can grow without copying and hand pages back.
    char* buffer_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t released_ = 0; // bytes at the buffer's front handed back
    const char* data_ = nullptr;
    std::size_t pos_ = 0;  // first byte not yet handed out
    std::size_t end_ = 0;  // end of the bytes in data_
    std::size_t left_ = 0; // bytes of the file not yet read
    std::size_t total_ = 0;
    std::size_t skip_ = 0; // bytes still to skip at the start of the file
    bool failed_ = false;
    bool keepLeadingTabs_ = false;
    std::function<void(std::size_t)> observer_;
};

} // namespace plotwell
