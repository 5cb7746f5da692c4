#pragma once
// Turns one line of point text into one new series of a PlotModel, with the exact message
// and character position of the first fault. A line can be parsed in pieces as its bytes
// arrive (LineParse), into storage of its own, and put into the model afterwards
// (CommitParsedLine): the file loader parses lines on several threads that way.

#include "core/text_decoding.h"
#include "graph/data/series_types.h"

#include <QString>

#include <cstddef>
#include <functional>
#include <optional>

namespace plotwell {

class PlotModel;

// `progress`, when set, hears every few megabytes how far the parse has read; nothing before
// that place is read again, so the caller can let go of the memory behind it while a long
// line is still parsed.
using ReadProgress = std::function<void(const char* readUpTo)>;
// Bytes read between two calls of a ReadProgress.
inline constexpr std::size_t kReadProgressStep = std::size_t(8) << 20;

// What one line's text makes, before it is put into the model.
struct ParsedLine
{
    PointList points;
    std::optional<QString> name; // the text after ";", untrimmed to 60 characters
    QString error;               // the fault's message when `failed`
    qint64 added = 0;            // points and null points read
    bool xydata = true;
    bool dates = false;
    bool failed = false;
};

// The parse of one line fed in pieces. Feed takes the bytes from the first not yet taken
// and returns how many of them it took; the caller hands the rest again with more after
// them. A word that may go on in the next piece is never taken, nor the spaces and control
// bytes at a piece's end, which may be the line's end (the line's own end is trimmed of them).
class LineParse
{
public:
    // `expectedBytes`: about how long the line is (the whole line, or an upper bound), to
    // reserve its points once; 0 when the first piece is the whole line.
    LineParse(TextEncoding encoding, std::size_t expectedBytes = 0);

    // About how many points the line holds, when the caller has counted them (else the first
    // long enough piece tells).
    void ExpectPoints(std::size_t points);
    // `last`: the bytes run to the line's end; then every byte is taken. `beforeWord`: they
    // end in a space, and a byte above 32 that is no separator follows in the line, so the
    // spaces at their end are the line's own.
    std::size_t Feed(const char* data, std::size_t size, bool last, bool beforeWord = false);
    // The part of a long line between two such places can be parsed on its own (a bare-value
    // line has no state a word of it depends on but the count of points before it):
    // StartSegment (with about the points it holds), then one Feed of the part with
    // `beforeWord`.
    void StartSegment(std::size_t points);
    // Whether the next bytes are bare values whose segment can be appended.
    bool AtBareValue() const { return started_ && !pointmode_ && !line_.failed && !inName_ && !nameDone_; }
    // The points of a segment parsed whole and without a fault (taking all its `bytes`), as if
    // parsed here.
    void AppendSegment(const LineParse& segment, std::size_t bytes);
    // Nothing later in the line changes the result (a fault, or the name is read).
    bool Settled() const { return line_.failed || nameDone_; }
    // After the last Feed.
    ParsedLine& Result();

private:
    enum class Step { Done, More };
    QString text(std::size_t from, std::size_t to) const { return Decode(s_ + from, to - from, encoding_); }
    QString quoted(std::size_t from, std::size_t to) const { return QLatin1Char('"') + text(from, to) + QLatin1Char('"'); }
    // 1-based character position of byte i of the piece.
    QString position(std::size_t i) const
    {
        return QString::number(countedChars_ + CharacterCount(s_, i, encoding_) + 1);
    }
    void fail(const QString& message)
    {
        line_.error = message;
        line_.failed = true;
    }
    std::size_t Take(std::size_t count);
    void Reserve(const char* data, std::size_t size, bool rest);
    Step ParsePoint();
    Step ParseBareValue();
    void ReadName(bool last);
    void appendPoint(double x, double y)
    {
        PointList& points = line_.points;
        points.push_back(DataPoint{IsNullValue(x) ? static_cast<double>(points.size() + 1) : x, y});
    }

    TextEncoding encoding_;
    std::size_t expectedBytes_;
    ParsedLine line_;
    const char* s_ = nullptr;
    std::size_t n_ = 0;
    bool last_ = false;
    std::size_t i_ = 0;
    std::size_t taken_ = 0;       // bytes of the line taken by earlier pieces
    std::size_t countedChars_ = 0; // their characters
    bool started_ = false;
    bool reserved_ = false;
    bool pointmode_ = false;
    bool commaseen_ = false;
    bool afterValue_ = false; // a bare value was read: one comma after it (and spaces) is its own
    bool inName_ = false;
    bool nameStarted_ = false; // the spaces after ";" are passed
    bool nameDone_ = false;
    QByteArray nameBytes_;
    qint64 commanulls_ = 0;
    bool datesmode_ = false;
};

// About as many points as `size` bytes of a line's text hold (an upper bound for bare values).
std::size_t EstimatedPoints(const char* data, std::size_t size, bool pointmode);
// How often `c` occurs in the bytes.
std::size_t CountByte(const char* data, std::size_t size, char c);

// Parses a whole line held in memory, in pieces of kReadProgressStep bytes with `progress`
// told between them.
ParsedLine ParseLine(const char* data, std::size_t size, TextEncoding encoding, const ReadProgress& progress = {});

// Puts a parsed line into the model as a new series, with the effects and messages of
// parsing it there: a fault undoes the series, a mix of X,Y and bare series empties the
// store. True when a series with at least one point was added and accepted.
bool CommitParsedLine(PlotModel& model, ParsedLine&& line, bool displayerror);

// Parses `size` bytes of text (UTF-8 or Windows-1252; positions in messages count
// characters). Returns true when a series with at least one point was added and accepted.
// On a fault in the text the message is in the model's inputerror, and it is shown through
// the model's sink when `displayerror` is true.
bool AddSeriesFromBytes(PlotModel& model, const char* data, std::size_t size, TextEncoding encoding, bool displayerror,
                        const ReadProgress& progress = {});

// Adds one series from a line of point text ("1 2 3", "(1, 2) (3, 4) ;Name"); the model
// announces it once.
bool AddSeriesFromString(PlotModel& model, const QString& s, bool displayerror);

} // namespace plotwell
