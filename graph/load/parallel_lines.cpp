#include "graph/load/parallel_lines.h"

#include "core/regular_file.h"
#include "graph/data/series_types.h"
#include "graph/load/load_progress.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace plotwell {

namespace {

// How long the reading thread sleeps at most before it looks at a cancel again.
constexpr auto kPoll = std::chrono::milliseconds(10);
// Lines up to this many blocks long are read whole before they are parsed, so their points
// are reserved once for their real count. Longer ones are parsed as they arrive: their points
// are reserved from an estimate, and a list that outgrows it moves its pages rather than
// copying them, so reading ahead would only hold more memory.
constexpr std::size_t kWholeLineBlocks = 1;

bool IsSkippable(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

bool IsContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The first CR or LF in [from, to), or `to`.
std::size_t LineEnd(const char* s, std::size_t from, std::size_t to)
{
    const void* lf = std::memchr(s + from, '\n', to - from);
    const std::size_t limit = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - s) : to;
    if (const void* cr = std::memchr(s + from, '\r', limit - from))
        return static_cast<std::size_t>(static_cast<const char*>(cr) - s);
    return limit;
}

// IsValidUtf8 over pieces of a text, a character split between two of them included.
class Utf8Check
{
public:
    bool Add(const char* s, std::size_t n)
    {
        std::size_t i = 0;
        if (pendingSize_ > 0) {
            while (i < n && pendingSize_ < sizeof pending_ && IsContinuation(s[i]))
                pending_[pendingSize_++] = s[i++];
            if (i == n && pendingSize_ < sizeof pending_)
                return true;
            if (!IsValidUtf8(pending_, pendingSize_))
                return false;
            pendingSize_ = 0;
        }
        // A character that may go on in the next piece waits for it.
        std::size_t cut = n;
        while (cut > i && n - cut < 3 && IsContinuation(s[cut - 1]))
            --cut;
        if (cut > i && (static_cast<unsigned char>(s[cut - 1]) & 0xC0) == 0xC0)
            --cut;
        else
            cut = n;
        if (!IsValidUtf8(s + i, cut - i))
            return false;
        std::memcpy(pending_, s + cut, n - cut);
        pendingSize_ = n - cut;
        return true;
    }
    bool Finish() const { return pendingSize_ == 0 || IsValidUtf8(pending_, pendingSize_); }

private:
    char pending_[4] = {};
    std::size_t pendingSize_ = 0;
};

// Feeds a LineParse piece after piece, keeping what it has not taken (the word at a piece's
// end) and joining it with as much of the next piece as that word needs.
class PieceFeeder
{
public:
    explicit PieceFeeder(LineParse& parse) : parse_(parse) {}

    // `beforeWord` as LineParse::Feed.
    void Feed(const char* data, std::size_t size, bool last, bool beforeWord = false)
    {
        while (!carry_.empty() && !parse_.Settled()) {
            const std::size_t take = std::min(size, std::max<std::size_t>(carry_.size(), 64 << 10));
            const std::size_t old = carry_.size();
            carry_.insert(carry_.end(), data, data + take);
            const bool lastPiece = last && take == size;
            const std::size_t taken =
                parse_.Feed(carry_.data(), carry_.size(), lastPiece, beforeWord && take == size);
            data += take;
            size -= take;
            if (lastPiece)
                return;
            if (taken >= old) {
                // The carried bytes are used up: on from the piece itself.
                const std::size_t back = carry_.size() - taken;
                data -= back;
                size += back;
                carry_.clear();
                break;
            }
            carry_.erase(carry_.begin(), carry_.begin() + static_cast<std::ptrdiff_t>(taken));
            if (size == 0)
                return;
        }
        if (parse_.Settled()) {
            carry_.clear();
            return;
        }
        if (size == 0 && !last)
            return;
        const std::size_t taken = parse_.Feed(data, size, last, beforeWord);
        if (taken < size)
            carry_.assign(data + taken, data + size);
    }
    // Every byte given so far is taken.
    bool Empty() const { return carry_.empty(); }

private:
    LineParse& parse_;
    std::vector<char> carry_;
};

bool IsSeparator(char c)
{
    return c == ' ' || c == ',' || c == ';';
}

// Slices shorter than this are not worth a second thread.
constexpr std::size_t kSegmentBytes = 64 << 10;
// What a line's points are counted in to reserve them.
constexpr std::size_t kSampleBytes = std::size_t(1) << 20;

// The middle of a slice of a long line, parsed by another thread while the line's own
// thread parses the slices before it: from the first to the last byte above 32 that is no
// separator and follows a space, when only bare values and separators lie between (no
// point, no name). The line's thread appends its points when it reaches it.
struct Segment
{
    enum class State { Open, Claimed, Done };
    State state = State::Open; // under the pipeline's lock
    std::size_t from = 0;
    std::size_t to = 0;
    std::unique_ptr<LineParse> parse;
    bool clean = false; // parsed whole, without a fault
};

struct Slice
{
    std::shared_ptr<char> block; // the buffer goes back to the pool with its last slice
    const char* data;
    std::size_t size;
    std::shared_ptr<Segment> segment; // when another thread may parse its middle
};

void ParseSegment(const Slice& slice, TextEncoding encoding)
{
    Segment& segment = *slice.segment;
    const char* s = slice.data;
    const std::size_t n = slice.size;
    const auto wordStart = [s](std::size_t i) {
        return s[i - 1] == ' ' && static_cast<unsigned char>(s[i]) > 32 && !IsSeparator(s[i]);
    };
    std::size_t from = 1;
    while (from < n && !wordStart(from))
        ++from;
    std::size_t to = n - 1;
    while (to > from && !wordStart(to))
        --to;
    if (to <= from || to - from < kSegmentBytes / 2 || std::memchr(s + from, '(', to - from) ||
        std::memchr(s + from, ';', to - from))
        return;
    segment.parse = std::make_unique<LineParse>(encoding);
    segment.parse->StartSegment((to - from) / 2 + 1); // a value and a separator at least
    const std::size_t taken = segment.parse->Feed(s + from, to - from, false, true);
    segment.from = from;
    segment.to = to;
    segment.clean = taken == to - from && !segment.parse->Settled();
}

// A slice whose middle was parsed by another thread: the bytes before it, its points, the
// bytes after it; or the whole slice here when the line is not at a bare value there.
void FeedWithSegment(PieceFeeder& feeder, LineParse& parse, const Slice& slice, bool last)
{
    const Segment& segment = *slice.segment;
    feeder.Feed(slice.data, segment.from, false, true);
    if (feeder.Empty() && parse.AtBareValue()) {
        parse.AppendSegment(*segment.parse, segment.to - segment.from);
        feeder.Feed(slice.data + segment.to, slice.size - segment.to, last);
    } else {
        feeder.Feed(slice.data + segment.from, slice.size - segment.from, last);
    }
}

struct Job
{
    std::deque<Slice> slices; // arrived, not yet taken by the line's thread
    std::size_t bytes = 0;     // arrived in all
    std::size_t offset = 0;    // of the line's first byte in the file
    bool comment = false;
    bool refused = false;    // a ninth series: not parsed, there is no room for it
    bool complete = false;   // every slice has arrived
    bool dispatched = false; // a parsing thread may take it
    bool cut = false;        // the file could not be read to this line's end
    bool done = false;
    LineOutcome outcome;
    std::exception_ptr error;
};

class Pipeline
{
public:
    Pipeline(RegularFile& file, std::size_t size, std::size_t start, TextEncoding encoding, bool checkUtf8,
             LoadProgress* progress, const LineThreads& threads, const std::function<bool(LineOutcome&)>& take)
        : file_(file), size_(size), start_(start), encoding_(encoding), checkUtf8_(checkUtf8), progress_(progress),
          take_(take), blockBytes_(std::max<std::size_t>(threads.blockBytes, 1))
    {
        unsigned count = threads.threads > 0 ? static_cast<unsigned>(threads.threads) : std::thread::hardware_concurrency();
        count = std::max(1u, count);
        // A line goes to a thread once it is read whole, or once it is long: then it is parsed
        // as it arrives, and its length is not known. Until then it holds a few buffers; the
        // others keep every thread busy with a line read ahead.
        dispatchBytes_ = kWholeLineBlocks * blockBytes_;
        maxBlocks_ = dispatchBytes_ / blockBytes_ + 1 + static_cast<std::size_t>(count);
        split_ = count > 1;
        for (unsigned k = 0; k < count; ++k)
            threads_.emplace_back([this] { Work(); });
    }

    ~Pipeline()
    {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        work_.notify_all();
        for (std::thread& thread : threads_)
            thread.join();
        // The slices' buffers come back to free_ as the jobs go.
        jobs_.clear();
        for (char* block : free_)
            delete[] block;
    }

    LinesRead Run();

private:
    char* AcquireBlock();
    void Return(char* block);
    // Hands on the lines parsed, in order; with `all`, waits for every line. False once
    // `take_` said stop or a line was cut short by a failed read.
    bool HandOn(bool all);
    void Work();
    void Parse(Job& job);
    // Under the lock: claims a segment of a line being parsed, not the line's next slice.
    bool ClaimSegment(Slice& slice);

    RegularFile& file_;
    std::size_t size_;
    std::size_t start_;
    TextEncoding encoding_;
    bool checkUtf8_;
    LoadProgress* progress_;
    const std::function<bool(LineOutcome&)>& take_;
    std::size_t blockBytes_;
    std::size_t maxBlocks_ = 0;
    std::size_t dispatchBytes_ = 0;

    std::mutex mutex_;
    std::condition_variable work_;  // for the parsing threads: a line to take, more of it, stop
    std::condition_variable state_; // for the reading thread: a buffer back, a line done
    std::vector<char*> free_;
    std::size_t blocks_ = 0; // buffers made
    std::deque<std::unique_ptr<Job>> jobs_; // in file order, not yet handed on
    std::deque<Job*> waiting_;              // dispatched, not yet taken
    std::vector<Job*> active_;              // being parsed
    bool split_ = false;                    // long lines' slices are shared out
    bool stop_ = false;
    bool stopped_ = false; // by take_
    std::vector<std::thread> threads_;
};

char* Pipeline::AcquireBlock()
{
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            if (!free_.empty()) {
                char* block = free_.back();
                free_.pop_back();
                return block;
            }
            if (blocks_ < maxBlocks_) {
                ++blocks_;
                lock.unlock();
                return new char[blockBytes_];
            }
            state_.wait_for(lock, kPoll, [this] { return !free_.empty() || (!jobs_.empty() && jobs_.front()->done); });
        }
        if (progress_)
            progress_->ThrowIfCancelled();
        if (!HandOn(false))
            return nullptr;
    }
}

void Pipeline::Return(char* block)
{
    {
        std::lock_guard lock(mutex_);
        free_.push_back(block);
    }
    state_.notify_all();
}

bool Pipeline::HandOn(bool all)
{
    for (;;) {
        std::unique_ptr<Job> job;
        {
            std::unique_lock lock(mutex_);
            if (jobs_.empty() || (!all && !jobs_.front()->done))
                return true;
            if (!jobs_.front()->done) {
                state_.wait_for(lock, kPoll, [this] { return jobs_.front()->done; });
                if (!jobs_.front()->done) {
                    lock.unlock();
                    if (progress_)
                        progress_->ThrowIfCancelled();
                    continue;
                }
            }
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        if (job->error)
            std::rethrow_exception(job->error);
        if (job->cut)
            return false;
        if (!take_(job->outcome)) {
            stopped_ = true;
            return false;
        }
        // As after every line read one after the other: a cancel stops before the next.
        if (progress_)
            progress_->ThrowIfCancelled();
    }
}

bool Pipeline::ClaimSegment(Slice& slice)
{
    // Only the two slices after the next: the points of a segment wait in memory until the
    // line's thread reaches it.
    for (Job* job : active_) {
        for (std::size_t k = 1; k < std::min<std::size_t>(job->slices.size(), 3); ++k) {
            Slice& candidate = job->slices[k];
            if (candidate.segment && candidate.segment->state == Segment::State::Open) {
                candidate.segment->state = Segment::State::Claimed;
                slice = candidate;
                return true;
            }
        }
    }
    return false;
}

void Pipeline::Work()
{
    for (;;) {
        Job* job = nullptr;
        Slice help{};
        {
            std::unique_lock lock(mutex_);
            // A new line first; else help with the slices of one being parsed.
            work_.wait(lock, [&] { return stop_ || !waiting_.empty() || ClaimSegment(help); });
            if (stop_)
                return;
            if (!help.segment) {
                job = waiting_.front();
                waiting_.pop_front();
                active_.push_back(job);
            }
        }
        if (!job) {
            // Nothing in it throws but memory running out; the line's thread then parses it.
            try {
                ParseSegment(help, encoding_);
            } catch (...) {
                help.segment->clean = false;
            }
            {
                std::lock_guard lock(mutex_);
                help.segment->state = Segment::State::Done;
            }
            help = Slice{};
            work_.notify_all();
            continue;
        }
        work_.notify_all(); // its slices can be shared out now
        try {
            Parse(*job);
        } catch (...) {
            job->error = std::current_exception();
        }
        {
            std::lock_guard lock(mutex_);
            job->done = true;
            active_.erase(std::find(active_.begin(), active_.end(), job));
        }
        state_.notify_all();
    }
}

void Pipeline::Parse(Job& job)
{
    Utf8Check utf8;
    bool valid = true;
    std::unique_ptr<LineParse> parse;
    std::unique_ptr<PieceFeeder> feeder;
    for (;;) {
        Slice slice{};
        bool last = false;
        bool wholeLine = false;
        std::size_t bytes = 0;
        {
            std::unique_lock lock(mutex_);
            work_.wait(lock, [&] { return stop_ || !job.slices.empty() || job.complete; });
            if (stop_)
                return;
            wholeLine = job.complete;
            if (!job.slices.empty()) {
                slice = std::move(job.slices.front());
                job.slices.pop_front();
                if (slice.segment && slice.segment->state == Segment::State::Open) {
                    slice.segment.reset(); // parsed here
                } else if (slice.segment) {
                    work_.wait(lock, [&] { return stop_ || slice.segment->state == Segment::State::Done; });
                    if (stop_)
                        return;
                }
            }
            last = job.complete && job.slices.empty();
            bytes = job.bytes;
        }
        if (!parse && !job.comment && !job.refused) {
            // The whole line's length when it is all there, else at most the rest of the file.
            parse = std::make_unique<LineParse>(encoding_, wholeLine ? bytes : size_ - job.offset);
            feeder = std::make_unique<PieceFeeder>(*parse);
            if (wholeLine && slice.data) {
                // Its length is known: a megabyte of it, or all when shorter, stands for the
                // rest (only this thread takes the slices; the others read them under the lock).
                const bool pointmode = slice.data[0] == '(';
                std::size_t points = EstimatedPoints(slice.data, std::min(slice.size, kSampleBytes), pointmode);
                std::size_t sampled = std::min(slice.size, kSampleBytes);
                for (auto more = job.slices.begin(); more != job.slices.end() && sampled < kSampleBytes; ++more) {
                    const std::size_t count = std::min(more->size, kSampleBytes - sampled);
                    points += EstimatedPoints(more->data, count, pointmode);
                    sampled += count;
                }
                if (sampled < bytes) // with a little room, so that a line a bit denser fits
                    points = static_cast<std::size_t>(static_cast<double>(points) * static_cast<double>(bytes) /
                                                      static_cast<double>(sampled) * 1.05) + 1;
                parse->ExpectPoints(points);
            }
        }
        if (slice.data) {
            if (checkUtf8_ && valid)
                valid = utf8.Add(slice.data, slice.size);
            if (valid && feeder) {
                if (slice.segment && slice.segment->clean)
                    FeedWithSegment(*feeder, *parse, slice, last);
                else
                    feeder->Feed(slice.data, slice.size, last);
            }
        } else if (last && valid && feeder) {
            feeder->Feed(nullptr, 0, true);
        }
        slice = Slice{};
        if (last)
            break;
    }
    if (checkUtf8_ && valid)
        valid = utf8.Finish();
    if (!valid)
        job.outcome.kind = LineOutcome::Kind::NotUtf8;
    else if (job.comment)
        job.outcome.kind = LineOutcome::Kind::Comment;
    else if (parse)
        job.outcome.parsed = std::move(parse->Result());
}

LinesRead Pipeline::Run()
{
    std::size_t left = size_;
    std::size_t skip = start_;
    std::size_t offset = 0; // of the block in the file
    Job* current = nullptr;
    int seriesLines = 0;
    bool failed = false;
    bool enough = false; // a ninth series line is read: nothing after it is looked at
    while (left > 0 && !enough) {
        char* raw = AcquireBlock();
        if (!raw)
            return LinesRead::Stopped;
        std::shared_ptr<char> block(raw, [this](char* p) { Return(p); });
        const std::size_t count = std::min(blockBytes_, left);
        if (!file_.ReadExactly(raw, count)) {
            failed = true;
            break;
        }
        left -= count;
        if (progress_)
            progress_->Report(static_cast<qint64>(size_ - left));

        struct Arrival
        {
            Job* job;
            Slice slice;
            bool complete;
        };
        std::vector<Arrival> arrivals;
        std::vector<std::unique_ptr<Job>> fresh;
        std::size_t p = std::min(skip, count);
        skip -= p;
        while (p < count && !enough) {
            if (!current) {
                while (p < count && IsSkippable(raw[p]))
                    ++p;
                if (p == count)
                    break;
                fresh.push_back(std::make_unique<Job>());
                current = fresh.back().get();
                current->offset = offset + p;
                current->comment = raw[p] == ';';
                if (!current->comment)
                    current->refused = ++seriesLines > maxseries;
            }
            const std::size_t end = LineEnd(raw, p, count);
            const bool complete = end < count || left == 0;
            arrivals.push_back({current, Slice{block, raw + p, end - p, nullptr}, complete});
            if (complete) {
                enough = current->refused;
                current = nullptr;
            }
            p = end;
        }
        block.reset();
        {
            std::lock_guard lock(mutex_);
            for (std::unique_ptr<Job>& job : fresh)
                jobs_.push_back(std::move(job));
            for (Arrival& arrival : arrivals) {
                Job& job = *arrival.job;
                job.bytes += arrival.slice.size;
                if (split_ && !job.comment && !job.refused && arrival.slice.size >= kSegmentBytes)
                    arrival.slice.segment = std::make_shared<Segment>();
                if (arrival.slice.size > 0)
                    job.slices.push_back(std::move(arrival.slice));
                job.complete = arrival.complete;
                if (!job.dispatched && (job.complete || job.bytes >= dispatchBytes_)) {
                    job.dispatched = true;
                    waiting_.push_back(&job);
                }
            }
        }
        arrivals.clear(); // outside the lock: a last slice gives its buffer back
        work_.notify_all();
        offset += count;
        if (!HandOn(false))
            return LinesRead::Stopped;
    }
    if (current) {
        // The last line ends with the file, or is cut short where the reading failed.
        {
            std::lock_guard lock(mutex_);
            current->complete = true;
            current->cut = failed;
            if (!current->dispatched) {
                current->dispatched = true;
                waiting_.push_back(current);
            }
        }
        work_.notify_all();
    }
    if (!HandOn(true))
        return stopped_ ? LinesRead::Stopped : LinesRead::Failed;
    return failed ? LinesRead::Failed : LinesRead::Whole;
}

} // namespace

LinesRead ParseFileLines(RegularFile& file, std::size_t size, std::size_t start, TextEncoding encoding,
                         bool checkUtf8, LoadProgress* progress, const LineThreads& threads,
                         const std::function<bool(LineOutcome&)>& take)
{
    Pipeline pipeline(file, size, start, encoding, checkUtf8, progress, threads, take);
    return pipeline.Run();
}

} // namespace plotwell
