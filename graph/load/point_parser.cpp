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

// One parse of one line. Works on the raw bytes (numbers are ASCII); only names and the
// words quoted in messages are decoded, and message positions count characters.
class PointParser
{
public:
    PointParser(PlotModel& model, const char* data, std::size_t size, TextEncoding encoding,
                const ReadProgress& progress)
        : model_(model), writer_(model), s_(data), n_(size), encoding_(encoding), progress_(progress),
          nextProgress_(progress ? kReadProgressStep : SIZE_MAX)
    {
    }

    bool Run(bool displayerror);

private:
    QString text(std::size_t from, std::size_t to) const { return Decode(s_ + from, to - from, encoding_); }
    QString quoted(std::size_t from, std::size_t to) const { return QLatin1Char('"') + text(from, to) + QLatin1Char('"'); }
    // 1-based character position of byte offset i, which is never before the last progress.
    QString position(std::size_t i) const
    {
        return QString::number(countedChars_ + CharacterCount(s_ + countedTo_, i - countedTo_, encoding_) + 1);
    }
    void fail(const QString& message)
    {
        model_.SetInputError(message);
        failed_ = true;
    }
    void Reserve();
    std::size_t Count(char c) const;
    void ParsePoint();
    void ParseBareValue();
    PointList& series() { return writer_.Points(seriesnum_); }
    void appendPoint(double x, double y)
    {
        PointList& points = series();
        points.push_back(DataPoint{IsNullValue(x) ? static_cast<double>(points.size() + 1) : x, y});
    }

    PlotModel& model_;
    SeriesWriter writer_;
    const char* s_;
    std::size_t n_;
    TextEncoding encoding_;
    const ReadProgress& progress_;
    std::size_t nextProgress_;
    // Characters before byte countedTo_, the place last told to the progress.
    std::size_t countedTo_ = 0;
    std::size_t countedChars_ = 0;
    int seriesnum_ = 0;
    std::size_t i_ = 0;
    bool pointmode_ = false;
    bool commaseen_ = false;
    qint64 added_ = 0;
    qint64 commanulls_ = 0;
    bool xydata_ = true;
    bool datesmode_ = false;
    bool failed_ = false;
};

// Occurrences of `c` in the line.
std::size_t PointParser::Count(char c) const
{
    // In steps, so that a load being cancelled hears of it on a line of hundreds of megabytes
    // (reporting the line's start hands nothing back that is still to be read).
    std::size_t total = 0;
    for (std::size_t from = 0; from < n_; from += kReadProgressStep) {
        if (progress_ && from > 0)
            progress_(s_);
        const std::size_t to = std::min(n_, from + kReadProgressStep);
        total += static_cast<std::size_t>(std::count(s_ + from, s_ + to, c));
    }
    return total;
}

// Reserves about as many points as the line holds, so a long line grows its series once.
void PointParser::Reserve()
{
    std::size_t estimate;
    if (pointmode_) {
        estimate = Count('(');
    } else {
        const std::size_t spaces = Count(' ');
        const std::size_t commas = spaces > n_ / 2 ? 0 : Count(',');
        estimate = std::max(spaces, commas) + 1;
    }
    if (estimate > 64)
        series().reserve(estimate);
}

bool PointParser::Run(bool displayerror)
{
    model_.SetInputError(QString());
    if (!model_.AddSeries())
        return false;
    seriesnum_ = model_.NumberOfSeries();
    writer_.Info(seriesnum_).isdates = false;

    std::size_t first = 0;
    while (first < n_ && s_[first] == ' ')
        ++first;
    pointmode_ = first < n_ && s_[first] == '(';
    Reserve();

    while (i_ < n_ && !failed_) {
        while (i_ < n_ && s_[i_] == ' ')
            ++i_;
        if (i_ >= n_)
            break;
        if (i_ >= nextProgress_) {
            countedChars_ += CharacterCount(s_ + countedTo_, i_ - countedTo_, encoding_);
            countedTo_ = i_;
            progress_(s_ + i_);
            nextProgress_ = i_ + kReadProgressStep;
        }
        const char c = s_[i_];
        if (c == ';' && i_ > 0 && i_ + 2 < n_ && added_ > 0) {
            std::size_t from = i_ + 1;
            std::size_t to = n_;
            while (from < to && IsTrimmable(s_[from]))
                ++from;
            while (to > from && IsTrimmable(s_[to - 1]))
                --to;
            if (to > from)
                model_.SetSeriesName(seriesnum_, text(from, to));
            break;
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
                ++added_;
                ++commanulls_;
                commaseen_ = true;
                ++i_;
            }
        } else if (c == '(') {
            ParsePoint();
        } else {
            ParseBareValue();
        }
    }

    if (failed_) {
        model_.RemoveLastSeries();
        if (displayerror)
            model_.Sink().ShowMessage(model_.InputError());
        return false;
    }
    if (added_ == 0)
        return false;

    SeriesInfo& info = writer_.Info(seriesnum_);
    info.xydata = xydata_;
    info.isdates = xydata_ && datesmode_;
    if (xydata_)
        model_.SortPoints(seriesnum_, 0, static_cast<int>(std::min<std::size_t>(series().size(), INT32_MAX)) - 1);
    if (static_cast<qint64>(series().size()) == commanulls_)
        series().clear();
    else if (series().capacity() > series().size() + series().size() / 4 + 64)
        series().shrink_to_fit();

    const bool firstKind = model_.AllSeriesInfo(1).xydata;
    for (int k = 2; k <= model_.NumberOfSeries(); ++k) {
        if (model_.AllSeriesInfo(k).xydata != firstKind) {
            model_.ClearData();
            model_.Sink().ShowMessage(
                QStringLiteral("Invalid input: Series %1\r\r").arg(k) +
                QStringLiteral("All series of points added must contain the same kind of points - either (X,Y) data or "
                               "just Y values.\r\rThis is because they cannot share the same X-axis."));
            return false;
        }
    }
    model_.ShowDisplaySeriesLabel();
    return true;
}

void PointParser::ParsePoint()
{
    commaseen_ = false;
    const std::size_t open = i_;
    const void* found = std::memchr(s_ + open + 1, ')', n_ - open - 1);
    if (!found) {
        fail(QStringLiteral("Closing bracket not found for point at character position ") + position(open) +
             QLatin1Char('.'));
        return;
    }
    const auto close = static_cast<std::size_t>(static_cast<const char*>(found) - s_);
    std::size_t p = open + 1;
    while (p < close && s_[p] == ' ')
        ++p;
    if (s_[p] == ',') {
        fail(QStringLiteral("Missing X data for point at character position ") + position(open) + QLatin1Char('.'));
        return;
    }
    if (s_[p] == ')') {
        fail(QStringLiteral("No X and Y point data between brackets at character position ") + position(open) +
             QLatin1Char('.'));
        return;
    }
    std::size_t q = p;
    while (q < close && !IsSeparator(s_[q]))
        ++q;
    if (q >= close) {
        fail(QStringLiteral("Invalid X and Y point data at character position ") + position(open) +
             QStringLiteral(": ") + quoted(open, close + 1));
        return;
    }

    double x = 0;
    if (series().empty() || datesmode_) {
        if (const auto day = ParseDate(text(p, q))) {
            datesmode_ = true;
            x = *day;
        } else if (datesmode_) {
            fail(QStringLiteral("Invalid X data for point at character position ") + position(p) + QStringLiteral(": ") +
                 quoted(open, close + 1) + QStringLiteral("\r\rDate expected."));
            return;
        }
    }
    if (!datesmode_) {
        const auto value = ReadNumber(s_ + p, q - p);
        if (!value) {
            fail(QStringLiteral("Invalid X data for point at character position ") + position(p) + QStringLiteral(": ") +
                 quoted(p, q));
            return;
        }
        x = *value;
    }
    const auto y = ReadNumber(s_ + q + 1, close - q - 1);
    if (!y) {
        fail(QStringLiteral("Invalid Y data for point at character position ") + position(q + 1) +
             QStringLiteral(": ") + quoted(q + 1, close));
        return;
    }
    appendPoint(x, *y);
    ++added_;
    i_ = close + 1;
}

void PointParser::ParseBareValue()
{
    double value = 0;
    std::size_t end = i_ + ReadPlainNumberPrefix(s_ + i_, n_ - i_, value);
    if (end == i_ || (end < n_ && !IsSeparator(s_[end]))) {
        end = i_;
        while (end < n_ && !IsSeparator(s_[end]))
            ++end;
        const auto number = ReadNumber(s_ + i_, end - i_);
        if (!number) {
            fail(QStringLiteral("Error in input number: ") + quoted(i_, end));
            return;
        }
        value = *number;
    }
    // The position becomes X; appending directly avoids a lookup per value on long lines.
    PointList& points = series();
    points.push_back(DataPoint{static_cast<double>(points.size() + 1), value});
    ++added_;
    xydata_ = false;
    i_ = end;
    while (i_ < n_ && s_[i_] == ' ')
        ++i_;
    if (i_ < n_ && s_[i_] == ',')
        ++i_;
}

} // namespace

bool AddSeriesFromBytes(PlotModel& model, const char* data, std::size_t size, TextEncoding encoding, bool displayerror,
                        const ReadProgress& progress)
{
    return PointParser(model, data, size, encoding, progress).Run(displayerror);
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
