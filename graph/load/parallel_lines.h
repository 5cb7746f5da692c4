#pragma once
// The series lines of a file parsed on all cores. The calling thread reads the file in blocks
// through a few reused buffers and cuts them into lines; a pool of threads parses each line
// into storage of its own as its bytes arrive; the calling thread hands the parsed lines on
// in file order, so whoever takes them sees what a parse of one line after the other gives.

#include "core/text_decoding.h"
#include "graph/load/point_parser.h"

#include <cstddef>
#include <functional>

namespace plotwell {

class LoadProgress;
class RegularFile;

// What a line gave: points (or a fault), a comment (";" first), or bytes that are not UTF-8.
struct LineOutcome
{
    enum class Kind { Series, Comment, NotUtf8 };
    Kind kind = Kind::Series;
    ParsedLine parsed;
};

inline constexpr int kNoThreads = -1;

struct LineThreads
{
    // Parsing threads; 0: one per core; kNoThreads: the loader parses the lines one after the
    // other itself (the reference the threads are held to).
    int threads = 0;
    std::size_t blockBytes = std::size_t(1) << 20; // read at a time, and the size of each buffer
};

enum class LinesRead { Whole, Stopped, Failed };

// Reads `size` bytes of `file` from byte `start` on (a byte-order mark before it), one line
// per run of bytes up to a CR or LF, without the bytes of 32 and below around it; with
// `checkUtf8` a line that is not UTF-8 gives NotUtf8. `take` gets every line in file order
// and returns false to stop the reading (Stopped). Failed: the file could not be read to its
// end (the lines read whole before were handed on). `progress` hears the bytes read after
// every block; a cancel throws LoadCancelled out of it within a block, the threads stopped.
LinesRead ParseFileLines(RegularFile& file, std::size_t size, std::size_t start, TextEncoding encoding,
                         bool checkUtf8, LoadProgress* progress, const LineThreads& threads,
                         const std::function<bool(LineOutcome&)>& take);

} // namespace plotwell
