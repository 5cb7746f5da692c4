#include "graph/load/column_reader.h"

#include "graph/data/date_reading.h"
#include "graph/data/number_reading.h"
#include "graph/data/plot_model.h"

#include <algorithm>
#include <cstring>

namespace plotwell {

namespace {

// Tab, else semicolon, else comma, else blanks; separators inside quotes do not count.
char SeparatorOf(const char* s, std::size_t n)
{
    bool tab = false, semicolon = false, comma = false, quoted = false;
    for (std::size_t i = 0; i < n; ++i) {
        const char c = s[i];
        if (c == '"')
            quoted = !quoted;
        else if (!quoted)
            tab |= c == '\t', semicolon |= c == ';', comma |= c == ',';
    }
    return tab ? '\t' : semicolon ? ';' : comma ? ',' : ' ';
}

bool IsBlank(char c, char separator)
{
    return c == ' ' || (c == '\t' && separator != '\t');
}

QString Quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

ColumnReader::ColumnReader(PlotModel& model, XColumnRule xColumn, std::size_t sizeHint)
    : model_(model), xColumn_(xColumn), sizeHint_(sizeHint)
{
    spans_.reserve(kKeptColumns);
}

bool ColumnReader::Fail(std::size_t column, const QString& detail)
{
    detail_ = detail;
    error_ = QStringLiteral("Error reading from row %1, column %2: ").arg(row_).arg(column + 1) + detail;
    return false;
}

bool ColumnReader::AddRow(const char* row, std::size_t length, TextEncoding encoding)
{
    ++row_;
    if (!haveFirstRow_ && row_ == 1) {
        firstRow_.assign(row, length);
        firstEncoding_ = encoding;
        haveFirstRow_ = true;
        return true;
    }
    if (haveFirstRow_) {
        separator_ = SeparatorOf(row, length);
        decimalComma_ = separator_ == ';' || separator_ == '\t';
        haveFirstRow_ = false;
        --row_;
        if (!ProcessRow(firstRow_.data(), firstRow_.size(), firstEncoding_))
            return false;
        ++row_;
        std::string().swap(firstRow_);
    }
    return ProcessRow(row, length, encoding);
}

bool ColumnReader::AddPlainRow(const char* s, std::size_t n)
{
    if (dataRows_ == 0 || datesX_)
        return false;
    const char sep = separator_;
    double values[kKeptColumns];
    std::size_t count = 0;
    std::size_t i = 0;
    for (;;) {
        double value = nullvalue;
        if (i < n && s[i] != sep) {
            const std::size_t used = ReadPlainNumberPrefix(s + i, n - i, value);
            if (used == 0)
                return false;
            i += used;
            if (i < n && s[i] != sep)
                return false;
        } else if (sep == ' ') {
            return false; // blanks in a row are one separator
        }
        if (count < static_cast<std::size_t>(kKeptColumns))
            values[count] = value;
        ++count;
        if (i >= n)
            break;
        ++i;
    }
    const std::size_t kept = std::min(count, static_cast<std::size_t>(kKeptColumns));
    if (kept > columns_.size())
        return false; // a new column: the general path fills its earlier rows with gaps
    ++row_;
    ++dataRows_;
    columnCount_ = std::max(columnCount_, count);
    const double x = values[0];
    if (IsNullValue(x) || !(x > lastX_))
        increasingX_ = false;
    lastX_ = x;
    const auto place = static_cast<double>(dataRows_);
    for (std::size_t c = 0; c < kept; ++c)
        columns_[c].push_back(DataPoint{place, values[c]});
    for (std::size_t c = kept; c < columns_.size(); ++c)
        columns_[c].push_back(DataPoint{place, nullvalue});
    return true;
}

bool ColumnReader::ProcessRow(const char* row, std::size_t length, TextEncoding encoding)
{
    std::size_t count = 0;
    if (!Split(row, length, count))
        return false;
    if (row_ == 1 && IsHeader(row, encoding)) {
        for (const Span& span : spans_)
            names_.push_back(FieldText(row, span, encoding));
        return true;
    }
    return count == 0 || AddDataRow(row, length, count, encoding);
}

bool ColumnReader::Split(const char* s, std::size_t n, std::size_t& count)
{
    spans_.clear();
    scratch_.clear();
    count = 0;
    const char sep = separator_;
    std::size_t i = 0;
    for (;;) {
        std::size_t a = i;
        while (a < n && IsBlank(s[a], sep))
            ++a;
        if (sep == ' ' && a >= n)
            break; // blanks at the end end no field
        Span span{a, a, false};
        std::size_t b; // the separator after the field, or n
        if (a < n && s[a] == '"') {
            // A quoted field, with "" for a quote, and whatever follows it up to the separator.
            span = Span{scratch_.size(), 0, true};
            std::size_t j = a + 1;
            for (;;) {
                const void* q = std::memchr(s + j, '"', n - j);
                if (!q)
                    return Fail(count, QStringLiteral("the closing quote is missing."));
                const auto at = static_cast<std::size_t>(static_cast<const char*>(q) - s);
                scratch_.append(s + j, at - j);
                if (at + 1 < n && s[at + 1] == '"') {
                    scratch_.push_back('"');
                    j = at + 2;
                    continue;
                }
                j = at + 1;
                break;
            }
            b = j;
            while (b < n && s[b] != sep && !(sep == ' ' && s[b] == '\t'))
                ++b;
            std::size_t e = b;
            while (e > j && IsBlank(s[e - 1], sep))
                --e;
            scratch_.append(s + j, e - j);
            span.to = scratch_.size();
        } else {
            if (sep == ' ') {
                b = a;
                while (b < n && s[b] != ' ' && s[b] != '\t')
                    ++b;
            } else {
                const void* p = std::memchr(s + a, sep, n - a);
                b = p ? static_cast<std::size_t>(static_cast<const char*>(p) - s) : n;
            }
            std::size_t e = b;
            while (e > a && IsBlank(s[e - 1], sep))
                --e;
            span.to = e;
        }
        if (count < static_cast<std::size_t>(kKeptColumns))
            spans_.push_back(span);
        ++count;
        if (b >= n)
            break;
        i = b + 1;
    }
    return true;
}

bool ColumnReader::IsHeader(const char* row, TextEncoding encoding) const
{
    for (const Span& span : spans_) {
        double value = 0;
        if (!FieldValue(row, span, value) && !ParseDate(FieldText(row, span, encoding)))
            return true;
    }
    return false;
}

bool ColumnReader::FieldValue(const char* row, const Span& span, double& value) const
{
    const char* p = Bytes(row, span);
    const std::size_t n = span.to - span.from;
    if (n == 0) {
        value = nullvalue;
        return true;
    }
    if (ReadPlainNumberPrefix(p, n, value) == n)
        return true;
    std::optional<double> number;
    if (decimalComma_ && std::memchr(p, ',', n) && !std::memchr(p, '.', n)) {
        std::string copy(p, n);
        std::replace(copy.begin(), copy.end(), ',', '.');
        number = ReadNumber(copy.data(), copy.size());
    } else {
        number = ReadNumber(p, n);
    }
    if (!number)
        return false;
    value = *number;
    return true;
}

QString ColumnReader::FieldText(const char* row, const Span& span, TextEncoding encoding) const
{
    return Decode(Bytes(row, span), span.to - span.from, encoding);
}

void ColumnReader::Reserve(std::size_t rowLength)
{
    // The rows the file would hold were they all as long as the first: every kept value takes
    // at least two bytes, so this never reserves more than the line layout would.
    const std::size_t rows = sizeHint_ / (rowLength + 1) + sizeHint_ / (rowLength + 1) / 10 + 16;
    if (rows > 64)
        for (PointList& column : columns_)
            column.reserve(rows);
}

bool ColumnReader::AddDataRow(const char* row, std::size_t length, std::size_t count, TextEncoding encoding)
{
    ++dataRows_;
    columnCount_ = std::max(columnCount_, count);
    const std::size_t kept = spans_.size();
    const auto place = static_cast<double>(dataRows_);
    while (columns_.size() < kept) {
        // A column that starts late has gaps in the rows before it.
        PointList& added = columns_.emplace_back();
        for (qint64 k = 1; k < dataRows_; ++k)
            added.push_back(DataPoint{static_cast<double>(k), nullvalue});
    }
    if (dataRows_ == 1) {
        Reserve(length);
        if (count >= 2 && xColumn_ != XColumnRule::Never) {
            const QString first = FieldText(row, spans_[0], encoding);
            datesX_ = !first.trimmed().isEmpty() && ParseDate(first).has_value();
        }
    }
    for (std::size_t c = 0; c < kept; ++c) {
        double value = 0;
        if (c == 0 && datesX_) {
            const Span& span = spans_[0];
            if (span.to == span.from) {
                value = nullvalue;
            } else {
                const QString text = FieldText(row, span, encoding);
                const std::optional<double> day = ParseDate(text);
                if (!day)
                    return Fail(0, Quoted(text) + QStringLiteral(" is not a date, as the rows before it are."));
                value = *day;
            }
        } else if (!FieldValue(row, spans_[c], value)) {
            return Fail(c, Quoted(FieldText(row, spans_[c], encoding)) + QStringLiteral(" is not a number."));
        }
        if (c == 0 && !datesX_) {
            if (IsNullValue(value) || (dataRows_ > 1 && !(value > lastX_)))
                increasingX_ = false;
            lastX_ = value;
        }
        columns_[c].push_back(DataPoint{place, value});
    }
    for (std::size_t c = kept; c < columns_.size(); ++c)
        columns_[c].push_back(DataPoint{place, nullvalue});
    return true;
}

bool ColumnReader::Finish()
{
    if (haveFirstRow_) {
        separator_ = SeparatorOf(firstRow_.data(), firstRow_.size());
        decimalComma_ = separator_ == ';' || separator_ == '\t';
        haveFirstRow_ = false;
        if (!ProcessRow(firstRow_.data(), firstRow_.size(), firstEncoding_))
            return false;
    }
    if (dataRows_ == 0)
        return true;
    // One number is no run: a single row of numbers is that many series of one value.
    const bool useX = xColumn_ == XColumnRule::Always ||
                      (xColumn_ == XColumnRule::Auto && columnCount_ >= 2 &&
                       (datesX_ || (increasingX_ && dataRows_ >= 2)));
    PutSeriesInModel(useX);
    const std::size_t first = useX ? 1 : 0;
    if (columnCount_ > first + maxseries) {
        const std::size_t from = first + maxseries + 1;
        model_.SetLoadNotice(
            (from == columnCount_ ? QStringLiteral("Column %1 was left out").arg(from)
                                  : QStringLiteral("Columns %1 to %2 were left out").arg(from).arg(columnCount_)) +
            QStringLiteral(": at most %1 series are drawn.").arg(maxseries));
    }
    return true;
}

void ColumnReader::PutSeriesInModel(bool useX)
{
    const std::size_t first = useX ? 1 : 0;
    const std::size_t last = std::min(columns_.size(), first + maxseries);
    const PointList* xs = useX && !columns_.empty() ? &columns_[0] : nullptr;
    SeriesWriter writer(model_);
    bool anyPoint = false;
    for (std::size_t c = first; c < last; ++c) {
        if (!model_.AddSeries())
            break;
        const int n = model_.NumberOfSeries();
        PointList& points = writer.Points(n);
        points = std::move(columns_[c]);
        bool anyValue = false;
        if (xs) {
            // A row without X keeps its place as a gap at the X before it.
            double x = 0;
            for (std::size_t k = 0; k < points.size(); ++k) {
                const double y = IsNullValue(xs->Y(k)) ? nullvalue : points.Y(k);
                if (!IsNullValue(xs->Y(k)))
                    x = xs->Y(k);
                points.SetPoint(k, DataPoint{x, y});
                anyValue |= !IsNullValue(y);
            }
        } else {
            anyValue = std::any_of(points.begin(), points.end(), [](const DataPoint& p) { return !IsNullValue(p.y); });
        }
        SeriesInfo& info = writer.Info(n);
        info.xydata = useX;
        info.isdates = useX && datesX_;
        if (c < names_.size() && !names_[c].trimmed().isEmpty())
            model_.SetSeriesName(n, names_[c].trimmed());
        if (useX && !(increasingX_ && !datesX_))
            model_.SortPoints(n, 0, static_cast<int>(std::min<std::size_t>(points.size(), INT32_MAX)) - 1);
        anyPoint |= anyValue;
        if (points.capacity() > points.size() + points.size() / 4 + 64)
            points.shrink_to_fit();
    }
    // Only gaps: no points, as a line of commas gives none.
    if (!anyPoint)
        for (int n = 1; n <= model_.NumberOfSeries(); ++n)
            PointList().swap(writer.Points(n));
    if (model_.NumberOfSeries() > 0)
        model_.ShowDisplaySeriesLabel();
}

} // namespace plotwell
