#pragma once
// ColumnReader: the rows of a column file (comma, semicolon, tab or blank separated) turned
// into series: the separator, the header row, the X column, gaps, and faults that name their
// row and column.

#include "core/text_decoding.h"
#include "graph/data/series_types.h"
#include "graph/load/load_options.h"

#include <QString>

#include <cstddef>
#include <string>
#include <vector>

namespace plotwell {

class PlotModel;

class ColumnReader
{
public:
    // `sizeHint`, the bytes of the file, lets the columns reserve their points once.
    ColumnReader(PlotModel& model, XColumnRule xColumn, std::size_t sizeHint);

    // One row holding a byte above 32, without its line end, in `encoding` (names are decoded
    // with it). False on a fault; Error() then says where and what.
    bool AddRow(const char* row, std::size_t length, TextEncoding encoding);
    // The same for the common row of plain numbers and empty fields between single separators,
    // read in one pass (such a row is ASCII: no need to check its encoding first); false, with
    // nothing added, for any other row, which then goes to AddRow.
    bool AddPlainRow(const char* row, std::size_t length);
    // Adds the series to the model (none without data rows) and sets the model's load notice
    // when columns were left out. False on a fault in a row still held back.
    bool Finish();

    // "Error reading from row 12, column 3: ..." for the first fault; Detail() is its part
    // after the colon.
    const QString& Error() const { return error_; }
    const QString& Detail() const { return detail_; }

    // Series drawn at most; with an X column the file may hold one more column.
    static constexpr int kKeptColumns = maxseries + 1;

private:
    struct Span
    {
        std::size_t from;
        std::size_t to;
        bool inScratch; // an unquoted copy in scratch_, not bytes of the row
    };

    bool ProcessRow(const char* row, std::size_t length, TextEncoding encoding);

    // Splits the row into spans_ (the first kKeptColumns fields) and counts all its fields.
    bool Split(const char* row, std::size_t length, std::size_t& count);
    bool IsHeader(const char* row, TextEncoding encoding) const;
    bool AddDataRow(const char* row, std::size_t length, std::size_t count, TextEncoding encoding);
    // Reads a field: nullvalue for an empty one; false when it is no number.
    bool FieldValue(const char* row, const Span& span, double& value) const;
    QString FieldText(const char* row, const Span& span, TextEncoding encoding) const;
    const char* Bytes(const char* row, const Span& span) const
    {
        return (span.inScratch ? scratch_.data() : row) + span.from;
    }
    bool Fail(std::size_t column, const QString& detail);
    void Reserve(std::size_t rowLength);
    void PutSeriesInModel(bool useX);

    PlotModel& model_;
    XColumnRule xColumn_;
    std::size_t sizeHint_;
    char separator_ = 0; // ' ' for blanks; 0 until chosen
    bool decimalComma_ = false;
    // The first row waits for the second: a header row says little about the separator.
    std::string firstRow_;
    TextEncoding firstEncoding_ = TextEncoding::Utf8;
    bool haveFirstRow_ = false;
    qint64 row_ = 0;     // rows handed in, counted as the line layout counts lines
    qint64 dataRows_ = 0;
    std::size_t columnCount_ = 0; // most fields in a data row
    std::vector<QString> names_;
    std::vector<PointList> columns_; // x: the row's place among the data rows
    std::vector<Span> spans_;
    std::string scratch_;
    bool datesX_ = false;     // the first column holds dates
    bool increasingX_ = true; // ... or numbers that only grow, without gaps
    double lastX_ = 0;
    QString error_;
    QString detail_;
};

} // namespace plotwell
