#pragma once
// The lines of a data file, from bytes in memory or from a regular file read in large blocks
// through one buffer that grows to the longest line, so a big file is never in memory whole.

#include <cstddef>
#include <vector>

namespace plotwell {

class TRegularFile;

class TLineReader
{
public:
    // The lines of `size` bytes in memory, from byte `start`.
    TLineReader(const char* data, std::size_t size, std::size_t start);
    // The lines of the next `size` bytes of `file`, from byte `start` of them.
    TLineReader(TRegularFile& file, std::size_t size, std::size_t start);

    // The next line holding a byte above 32: its bytes up to the first CR or LF, without the
    // bytes of 32 and below around them. False at the end, or when the file ended early or
    // could not be read (Failed()).
    bool Next(const char*& line, std::size_t& length);
    bool Failed() const { return failed_; }
    // Where the reading has come to; a place in the memory given (reading from memory only).
    const char* Position() const { return data_ + pos_; }

private:
    // Keeps the bytes from pos_, moved to the buffer's front, and reads more after them;
    // false at the end of the file or on a read error.
    bool Refill();

    TRegularFile* file_ = nullptr;
    std::vector<char> buffer_;
    const char* data_ = nullptr;
    std::size_t pos_ = 0;  // first byte not yet handed out
    std::size_t end_ = 0;  // end of the bytes in data_
    std::size_t left_ = 0; // bytes of the file not yet read
    std::size_t skip_ = 0; // bytes still to skip at the start of the file
    bool failed_ = false;
};

} // namespace plotwell
