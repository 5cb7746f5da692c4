#include "graph/load/point_parser.h"

#include "core/message_sink.h"
#include "graph/data/date_reading.h"
#include "graph/data/number_reading.h"
#include "graph/data/plot_model.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace plotwell {

namespace {

bool IsSeparator(char c)
{
    return c == ' ' || c == ',' || c == ';';
}

bool IsTrimmable(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

// A name is cut to 60 characters, which take at most 4 bytes each: the rest need not be kept.
constexpr qsizetype kNameBytes = 4 * maxnamelength + 16;

} // namespace

LineParse::LineParse(TextEncoding encoding, std::size_t expectedBytes)
    : encoding_(encoding), expectedBytes_(expectedBytes)
{
}

std::size_t LineParse::Take(std::size_t count)
{
    if (!last_ && !line_.failed)
        countedChars_ += CharacterCount(s_, count, encoding_);
    taken_ += count;
    return count;
}

std::size_t CountByte(const char* data, std::size_t size, char c)
{
    // Eight bytes at a time: a byte of x is zero where the text holds c, and the high bit of
    // each byte of `zero` is set exactly there.
    constexpr quint64 kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    const quint64 pattern = 0x0101010101010101ULL * static_cast<unsigned char>(c);
    std::size_t count = 0;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, data + i, 8);
        const quint64 x = word ^ pattern;
        const quint64 zero = ~(((x & kLow7) + kLow7) | x | kLow7);
        // One 0/1 byte per place, summed into the top byte (no popcount instruction assumed).
        count += static_cast<std::size_t>(((zero >> 7) * 0x0101010101010101ULL) >> 56);
    }
    for (; i < size; ++i)
        count += data[i] == c;
    return count;
}

std::size_t EstimatedPoints(const char* data, std::size_t size, bool pointmode)
{
    if (pointmode)
        return CountByte(data, size, '(');
    const std::size_t spaces = CountByte(data, size, ' ');
    const std::size_t commas = spaces > size / 2 ? 0 : CountByte(data, size, ',');
    return std::max(spaces, commas) + 1;
}

void LineParse::ExpectPoints(std::size_t points)
{
    reserved_ = true;
    if (points > 64)
        line_.points.reserve(points);
}

// Reserves about as many points as the line holds, so a long line grows its series once. A
// piece that is not the rest of the line stands for it, once it is long enough to.
void LineParse::Reserve(const char* data, std::size_t size, bool rest)
{
    constexpr std::size_t kSample = 64 << 10;
    if (!rest && size < kSample)
        return;
    std::size_t estimate = EstimatedPoints(data, size, pointmode_);
    const std::size_t left = expectedBytes_ > taken_ ? expectedBytes_ - taken_ : 0;
    if (!rest && size > 0 && left > size)
        estimate = static_cast<std::size_t>(static_cast<double>(estimate) * static_cast<double>(left) /
                                            static_cast<double>(size)) + 1;
    ExpectPoints(line_.points.size() + estimate);
}

void LineParse::StartSegment(std::size_t points)
{
    ExpectPoints(points);
    started_ = true;
    pointmode_ = false;
    taken_ = 1; // not the line's first byte
}

void LineParse::AppendSegment(const LineParse& segment, std::size_t bytes)
{
    PointList& points = line_.points;
    const PointList& more = segment.line_.points;
    for (std::size_t k = 0, count = more.size(); k < count; ++k)
        points.push_back(DataPoint{static_cast<double>(points.size() + 1), more[k].y});
    line_.added += segment.line_.added;
    commanulls_ += segment.commanulls_;
    line_.xydata = line_.xydata && segment.line_.xydata;
    countedChars_ += segment.countedChars_;
    taken_ += bytes;
    afterValue_ = segment.afterValue_;
    commaseen_ = segment.commaseen_;
}

std::size_t LineParse::Feed(const char* data, std::size_t size, bool last, bool beforeWord)
{
    s_ = data;
    last_ = last;
    i_ = 0;
    // Spaces and control bytes at the end of a piece wait for the next one: they are the
    // line's trailing ones, to be trimmed, unless more text follows.
    n_ = size;
    while (!beforeWord && n_ > 0 && IsTrimmable(s_[n_ - 1]))
        --n_;
    if (line_.failed || nameDone_)
        return Take(size);
    if (!started_) {
        while (i_ < n_ && s_[i_] == ' ')
            ++i_;
        if (i_ == n_ && !last)
            return Take(i_);
        pointmode_ = i_ < n_ && s_[i_] == '(';
        started_ = true;
    }
    if (!reserved_)
        Reserve(s_ + i_, n_ - i_, last);

    while (!line_.failed && !inName_) {
        while (i_ < n_ && s_[i_] == ' ')
            ++i_;
        if (i_ >= n_)
            break;
        const char c = s_[i_];
        if (afterValue_) {
            afterValue_ = false;
            if (c == ',') {
                ++i_;
                continue;
            }
        }
        if (c == ';' && taken_ + i_ > 0 && line_.added > 0) {
            if (i_ + 2 < n_) {
                inName_ = true;
                ++i_;
                break;
            }
            if (!last)
                break; // whether two more bytes follow shows in the next piece
        }
        if (c == ',') {
            if (pointmode_ && commaseen_) {
                fail(QStringLiteral("\",\" is invalid input at this location in X,Y point data (position ") + position(i_) +
                     QLatin1Char(')'));
            } else if (pointmode_) {
                commaseen_ = true;
                ++i_;
            } else {
                appendPoint(nullvalue, nullvalue);
                ++line_.added;
                ++commanulls_;
                commaseen_ = true;
                ++i_;
            }
        } else if (c == '(') {
            if (ParsePoint() == Step::More)
                break;
        } else if (ParseBareValue() == Step::More) {
            break;
        }
    }
    if (inName_)
        ReadName(last);
    return Take(last || line_.failed ? size : i_);
}

// The text after ";" to the line's end, without the spaces and control bytes around it.
void LineParse::ReadName(bool last)
{
    if (!nameStarted_) {
        while (i_ < n_ && IsTrimmable(s_[i_]))
            ++i_;
        nameStarted_ = i_ < n_;
    }
    const auto room = static_cast<std::size_t>(kNameBytes - nameBytes_.size());
    nameBytes_.append(s_ + i_, static_cast<qsizetype>(std::min(room, n_ - i_)));
    i_ = n_;
    if (last || nameBytes_.size() >= kNameBytes)
        nameDone_ = true;
}

LineParse::Step LineParse::ParsePoint()
{
    commaseen_ = false;
    const std::size_t open = i_;
    const void* found = std::memchr(s_ + open + 1, ')', n_ - open - 1);
    if (!found) {
        if (!last_)
            return Step::More;
        fail(QStringLiteral("Closing bracket not found for point at character position ") + position(open) +
             QLatin1Char('.'));
        return Step::Done;
    }
    const auto close = static_cast<std::size_t>(static_cast<const char*>(found) - s_);
    std::size_t p = open + 1;
    while (p < close && s_[p] == ' ')
        ++p;
    if (s_[p] == ',') {
        fail(QStringLiteral("Missing X data for point at character position ") + position(open) + QLatin1Char('.'));
        return Step::Done;
    }
    if (s_[p] == ')') {
        fail(QStringLiteral("No X and Y point data between brackets at character position ") + position(open) +
             QLatin1Char('.'));
        return Step::Done;
    }
    std::size_t q = p;
    while (q < close && !IsSeparator(s_[q]))
        ++q;
    if (q >= close) {
        fail(QStringLiteral("Invalid X and Y point data at character position ") + position(open) +
             QStringLiteral(": ") + quoted(open, close + 1));
        return Step::Done;
    }

    double x = 0;
    if (line_.points.empty() || datesmode_) {
        if (const auto day = ParseDate(text(p, q))) {
            datesmode_ = true;
            x = *day;
        } else if (datesmode_) {
            fail(QStringLiteral("Invalid X data for point at character position ") + position(p) + QStringLiteral(": ") +
                 quoted(open, close + 1) + QStringLiteral("\r\rDate expected."));
            return Step::Done;
        }
    }
    if (!datesmode_) {
        const auto value = ReadNumber(s_ + p, q - p);
        if (!value) {
            fail(QStringLiteral("Invalid X data for point at character position ") + position(p) + QStringLiteral(": ") +
                 quoted(p, q));
            return Step::Done;
        }
        x = *value;
    }
    const auto y = ReadNumber(s_ + q + 1, close - q - 1);
    if (!y) {
        fail(QStringLiteral("Invalid Y data for point at character position ") + position(q + 1) +
             QStringLiteral(": ") + quoted(q + 1, close));
        return Step::Done;
    }
    appendPoint(x, *y);
    ++line_.added;
    i_ = close + 1;
    return Step::Done;
}

LineParse::Step LineParse::ParseBareValue()
{
    double value = 0;
    std::size_t end = i_ + ReadPlainNumberPrefix(s_ + i_, n_ - i_, value);
    // A word reaching the piece's end may go on in the next one.
    if (end == n_ && !last_)
        return Step::More;
    if (end == i_ || (end < n_ && !IsSeparator(s_[end]))) {
        end = i_;
        while (end < n_ && !IsSeparator(s_[end]))
            ++end;
        if (end == n_ && !last_)
            return Step::More;
        const auto number = ReadNumber(s_ + i_, end - i_);
        if (!number) {
            fail(QStringLiteral("Error in input number: ") + quoted(i_, end));
            return Step::Done;
        }
        value = *number;
    }
    // The position becomes X; appending directly avoids a lookup per value on long lines.
    PointList& points = line_.points;
    points.push_back(DataPoint{static_cast<double>(points.size() + 1), value});
    ++line_.added;
    line_.xydata = false;
    i_ = end;
    afterValue_ = true;
    return Step::Done;
}

ParsedLine& LineParse::Result()
{
    if (!nameBytes_.isEmpty() && !line_.name)
        line_.name = Decode(nameBytes_.constData(), static_cast<std::size_t>(nameBytes_.size()), encoding_);
    line_.dates = datesmode_;
    if (!line_.failed && line_.added > 0) {
        PointList& points = line_.points;
        if (static_cast<qint64>(points.size()) == commanulls_)
            points.clear();
        else if (points.capacity() > points.size() + points.size() / 4 + 64)
            points.shrink_to_fit();
    }
    return line_;
}

ParsedLine ParseLine(const char* data, std::size_t size, TextEncoding encoding, const ReadProgress& progress)
{
    LineParse parse(encoding, size);
    std::size_t from = 0;
    std::size_t to = 0;
    for (;;) {
        to = std::min(size, std::max(to, from) + kReadProgressStep);
        const bool last = to == size;
        from += parse.Feed(data + from, to - from, last);
        if (last || parse.Settled())
            break;
        if (progress)
            progress(data + from);
    }
    return std::move(parse.Result());
}

bool CommitParsedLine(PlotModel& model, ParsedLine&& line, bool displayerror)
{
    model.SetInputError(QString());
    if (!model.AddSeries())
        return false;
    SeriesWriter writer(model);
    const int seriesnum = model.NumberOfSeries();
    SeriesInfo& info = writer.Info(seriesnum);
    info.isdates = false;
    if (line.failed) {
        model.SetInputError(line.error);
        model.RemoveLastSeries();
        if (displayerror)
            model.Sink().ShowMessage(model.InputError());
        return false;
    }
    if (line.added == 0)
        return false;
    PointList& points = writer.Points(seriesnum);
    points = std::move(line.points);
    if (line.name)
        model.SetSeriesName(seriesnum, *line.name);
    info.xydata = line.xydata;
    info.isdates = line.xydata && line.dates;
    if (line.xydata)
        model.SortPoints(seriesnum, 0, static_cast<int>(std::min<std::size_t>(points.size(), INT32_MAX)) - 1);

    const bool firstKind = model.AllSeriesInfo(1).xydata;
    for (int k = 2; k <= model.NumberOfSeries(); ++k) {
        if (model.AllSeriesInfo(k).xydata != firstKind) {
            model.ClearData();
            model.Sink().ShowMessage(
                QStringLiteral("Invalid input: Series %1\r\r").arg(k) +
                QStringLiteral("All series of points added must contain the same kind of points - either (X,Y) data or "
                               "just Y values.\r\rThis is because they cannot share the same X-axis."));
            return false;
        }
    }
    model.ShowDisplaySeriesLabel();
    return true;
}

bool AddSeriesFromBytes(PlotModel& model, const char* data, std::size_t size, TextEncoding encoding, bool displayerror,
                        const ReadProgress& progress)
{
    // A ninth series is refused before its text is read.
    if (model.NumberOfSeries() >= maxseries)
        return CommitParsedLine(model, ParsedLine{}, displayerror);
    return CommitParsedLine(model, ParseLine(data, size, encoding, progress), displayerror);
}

bool AddSeriesFromString(PlotModel& model, const QString& s, bool displayerror)
{
    const QByteArray bytes = s.toUtf8();
    const bool added = AddSeriesFromBytes(model, bytes.constData(), static_cast<std::size_t>(bytes.size()),
                                          TextEncoding::Utf8, displayerror);
    SeriesWriter(model).SeriesWritten();
    return added;
}

} // namespace plotwell
