#pragma once
// Loads a data file into a PlotModel: one series per data line, or per column of a column
// file, with messages that name the line (or the row and column).

#include "core/text_decoding.h"
#include "graph/load/load_options.h"
#include "graph/load/parallel_lines.h"
#include "graph/load/point_parser.h"

#include <QString>

#include <cstddef>

namespace plotwell {

class PlotModel;
class LineReader;
class LoadProgress;
class RegularFile;

class DataFileLoader
{
public:
    // `progress`, when given, hears how far the file has been read and can stop the load (its
    // Report throws LoadCancelled out of SetFileName; the store is then half loaded).
    explicit DataFileLoader(PlotModel& model, LoadProgress* progress = nullptr) : model_(model), progress_(progress) {}

    // Writing the model's file name: missing file -> message, else clear, load and title.
    // False when the file was not found: the store was not touched.
    bool SetFileName(const QString& path);
    // How the next loads read: the layout (by default from the file name) and the X column.
    void SetOptions(const LoadOptions& options) { options_ = options; }
    // How many threads parse the lines of a series file, and the block each reads.
    void SetThreads(const LineThreads& threads) { threads_ = threads; }

    // Loads a file's bytes as if read from `path` into the (already emptied) store;
    // `progress` hears how far the reading has come.
    void LoadBytes(const char* data, std::size_t size, const QString& path, const ReadProgress& progress = {});

private:
    void LoadFile();
    // Parses every line and finishes the load; with `untilNotUtf8`, stops and returns false at
    // the first line that is not valid UTF-8, before parsing it.
    bool ParseLines(LineReader& lines, TextEncoding encoding, const QString& path, const ReadProgress& progress,
                    bool untilNotUtf8);
    // ParseLines or ParseRows, as the layout of `path` says.
    bool ParseText(LineReader& lines, TextEncoding encoding, const QString& path, const ReadProgress& progress,
                   bool untilNotUtf8);
    // The same for a column file: every line is a row.
    bool ParseRows(LineReader& lines, TextEncoding encoding, const QString& path, const ReadProgress& progress,
                   bool untilNotUtf8);
    // The lines of a series file, parsed on the threads; false as ParseLines.
    bool ParseSeriesFile(RegularFile& file, std::size_t size, std::size_t start, TextEncoding encoding,
                         const QString& path, bool untilNotUtf8);
    void Finish(bool failed, qint64 lineNumber, const QString& path);
    // The file could not be read to its end: the store emptied, and one message saying why.
    void ReadFailed(const QString& path);
    // What the reader of `lines` calls as it goes: hands the bytes read back and reports them.
    ReadProgress Releasing(LineReader& lines);
    PlotModel& model_;
    LoadProgress* progress_;
    LoadOptions options_;
    LineThreads threads_;
    std::size_t size_ = 0; // of the text being parsed
    const RegularFile* file_ = nullptr; // while LoadFile reads it
};

// Loads the data file into the model, as DataFileLoader::SetFileName does.
bool LoadDataFile(PlotModel& model, const QString& path, const LoadOptions& options = {});

// The title for a loaded file: "example points 1 - simple series.txt" gives
// "Example Points 1 - Simple Series".
QString TitleFromFileName(const QString& path);

} // namespace plotwell
