#include "graph/load/data_file_loader.h"

#include "core/message_sink.h"
#include "core/regular_file.h"
#include "core/text_decoding.h"
#include "graph/load/column_reader.h"
#include "graph/load/line_reader.h"
#include "graph/load/parallel_lines.h"
#include "graph/load/load_progress.h"
#include "graph/data/plot_model.h"
#include "graph/load/point_parser.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <new>

namespace plotwell {

namespace {

// A folder exists too: it is refused as "not a regular file", as pipes and devices are.
bool FileExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

// IsValidUtf8 of a line, in steps of a few megabytes split before a character's first byte,
// telling `progress` of the line's start between them: a cancel is heard on a huge line and
// nothing still to be parsed is handed back.
bool IsValidUtf8InSteps(const char* line, std::size_t length, bool& ascii, const ReadProgress& progress)
{
    ascii = true;
    std::size_t from = 0;
    while (from < length) {
        std::size_t to = std::min(length, from + kReadProgressStep);
        while (to < length && to > from && (static_cast<unsigned char>(line[to]) & 0xC0) == 0x80)
            --to;
        if (to == from)
            to = std::min(length, from + kReadProgressStep);
        bool pieceAscii = false;
        if (!IsValidUtf8(line + from, to - from, pieceAscii))
            return false;
        ascii = ascii && pieceAscii;
        from = to;
        if (progress && from < length)
            progress(line);
    }
    return true;
}

} // namespace

bool DataFileLoader::SetFileName(const QString& path)
{
    if (!FileExists(path)) {
        model_.Sink().ShowMessage(QStringLiteral("File not found:\r\r") + path);
        return false;
    }
    model_.ClearData();
    model_.SetFileNameField(path);
    try {
        LoadFile();
        if (progress_)
            progress_->Done();
    } catch (const std::bad_alloc&) {
        // A file too large for memory fails like any other load instead of ending the program.
        model_.ClearData();
        model_.SetFileNameField(path);
        model_.Sink().ShowMessage(QStringLiteral("Not enough memory to load file:\r\r") + path);
    }
    model_.AnnounceSeriesChange();
    return true;
}

bool LoadDataFile(PlotModel& model, const QString& path, const LoadOptions& options)
{
    DataFileLoader loader(model);
    loader.SetOptions(options);
    return loader.SetFileName(path);
}

ReadProgress DataFileLoader::Releasing(LineReader& lines)
{
    if (progress_)
        lines.SetReadObserver([this](std::size_t bytesRead) { progress_->Report(static_cast<qint64>(bytesRead)); });
    return [this, &lines](const char* upTo) {
        lines.Release(upTo);
        if (progress_)
            progress_->ThrowIfCancelled();
    };
}

void DataFileLoader::LoadFile()
{
    const QString path = model_.FileName();
    RegularFile file;
    if (!file.Open(path)) {
        if (file.State() == RegularFile::Status::Missing) {
            model_.Sink().ShowMessage(QStringLiteral("File not found:\r\r") + path);
            return;
        }
        model_.ClearData();
        // A file that could not be opened (permissions, say) can be mended and opened again
        // with F5; a pipe, device or folder is no data file to keep.
        if (file.State() == RegularFile::Status::Failed)
            model_.SetFileNameField(path);
        model_.Sink().ShowMessage(QStringLiteral("Cannot open file:\r\r") + path + QStringLiteral("\r\r") +
                                  file.ErrorString());
        return;
    }
    file_ = &file;

    const auto size = static_cast<std::size_t>(file.Size());
    size_ = size;
    if (progress_)
        progress_->SetTotal(static_cast<qint64>(size));
    // The byte-order mark from the first bytes; whether the rest is UTF-8 shows as it is read.
    char head[3] = {};
    const std::size_t headSize = std::min<std::size_t>(size, 3);
    const bool headRead = file.ReadExactly(head, headSize) && file.Rewind();
    const TextLayout layout = DetectLayout(head, headSize, [](const char*, std::size_t) { return true; });
    if (headRead && (layout.encoding == TextEncoding::Utf16LE || layout.encoding == TextEncoding::Utf16BE)) {
        QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
        if (file.ReadExactly(bytes.data(), size)) {
            LoadBytes(bytes.constData(), size, path, [this](const char*) {
                if (progress_)
                    progress_->ThrowIfCancelled();
            });
            return;
        }
    } else if (headRead && threads_.threads != kNoThreads && LayoutOfFile(path, options_.layout) == DataLayout::Lines) {
        if (ParseSeriesFile(file, size, layout.start, TextEncoding::Utf8, path, true))
            return;
        // Not UTF-8 after all: the lines read so far are read again as Windows-1252.
        model_.ClearData();
        model_.SetFileNameField(path);
        if (file.Rewind()) {
            ParseSeriesFile(file, size, layout.start, TextEncoding::Windows1252, path, false);
            return;
        }
    } else if (headRead) {
        LineReader lines(file, size, layout.start);
        if (ParseText(lines, TextEncoding::Utf8, path, Releasing(lines), true))
            return;
        // Not UTF-8 after all: the lines read so far are read again as Windows-1252.
        model_.ClearData();
        model_.SetFileNameField(path);
        if (file.Rewind()) {
            LineReader again(file, size, layout.start);
            ParseText(again, TextEncoding::Windows1252, path, Releasing(again), false);
            return;
        }
    }
    ReadFailed(path);
}

void DataFileLoader::LoadBytes(const char* s, std::size_t n, const QString& path, const ReadProgress& progress)
{
    const TextLayout layout = DetectLayout(s, n);
    size_ = n;
    if (layout.encoding == TextEncoding::Utf16LE || layout.encoding == TextEncoding::Utf16BE) {
        // Numbers are parsed as bytes; UTF-16 text becomes the UTF-8 it stands for.
        const QByteArray utf8 = Decode(s + layout.start, n - layout.start, layout.encoding).toUtf8();
        LineReader lines(utf8.constData(), static_cast<std::size_t>(utf8.size()), 0);
        ParseText(lines, TextEncoding::Utf8, path, progress, false);
        return;
    }
    LineReader lines(s, n, layout.start);
    ParseText(lines, layout.encoding, path, progress, false);
}

bool DataFileLoader::ParseLines(LineReader& lines, TextEncoding encoding, const QString& path,
                                const ReadProgress& progress, bool untilNotUtf8)
{
    qint64 lineNumber = 0;
    bool failed = false;
    const char* line = nullptr;
    std::size_t length = 0;
    while (!failed && lines.Next(line, length)) {
        // Line ends and the bytes skipped between lines are ASCII: the file is UTF-8 when
        // every line is.
        bool ascii = false;
        if (untilNotUtf8 && !IsValidUtf8InSteps(line, length, ascii, progress))
            return false;
        ++lineNumber;
        // ASCII reads alike in both encodings, and its positions need no counting of characters.
        const TextEncoding lineEncoding = ascii ? TextEncoding::Windows1252 : encoding;
        if (line[0] != ';' && !AddSeriesFromBytes(model_, line, length, lineEncoding, false, progress))
            failed = true;
        if (progress)
            progress(lines.Position());
    }
    if (lines.Failed())
        ReadFailed(path);
    else
        Finish(failed, lineNumber, path);
    return true;
}

bool DataFileLoader::ParseSeriesFile(RegularFile& file, std::size_t size, std::size_t start, TextEncoding encoding,
                                     const QString& path, bool untilNotUtf8)
{
    qint64 lineNumber = 0;
    bool failed = false;
    bool notUtf8 = false;
    const LinesRead read = ParseFileLines(file, size, start, encoding, untilNotUtf8, progress_, threads_,
                                          [&](LineOutcome& line) {
                                              if (line.kind == LineOutcome::Kind::NotUtf8) {
                                                  notUtf8 = true;
                                                  return false;
                                              }
                                              ++lineNumber;
                                              if (line.kind == LineOutcome::Kind::Series &&
                                                  !CommitParsedLine(model_, std::move(line.parsed), false))
                                                  failed = true;
                                              return !failed;
                                          });
    if (notUtf8)
        return false;
    if (read == LinesRead::Failed)
        ReadFailed(path);
    else
        Finish(failed, lineNumber, path);
    return true;
}

bool DataFileLoader::ParseText(LineReader& lines, TextEncoding encoding, const QString& path,
                               const ReadProgress& progress, bool untilNotUtf8)
{
    if (LayoutOfFile(path, options_.layout) == DataLayout::Columns)
        return ParseRows(lines, encoding, path, progress, untilNotUtf8);
    return ParseLines(lines, encoding, path, progress, untilNotUtf8);
}

bool DataFileLoader::ParseRows(LineReader& lines, TextEncoding encoding, const QString& path,
                               const ReadProgress& progress, bool untilNotUtf8)
{
    lines.KeepLeadingTabs();
    ColumnReader columns(model_, options_.xColumn, size_);
    bool failed = false;
    const char* line = nullptr;
    std::size_t length = 0;
    // Rows are short: telling the progress of every one would cost more than reading it.
    constexpr unsigned kRowsPerReport = 1024;
    unsigned sinceReport = 0;
    while (!failed && lines.Next(line, length)) {
        if (length == 0)
            continue; // only tabs
        if (!columns.AddPlainRow(line, length)) {
            bool ascii = false;
            if (untilNotUtf8 && !IsValidUtf8InSteps(line, length, ascii, progress))
                return false;
            const TextEncoding rowEncoding = ascii ? TextEncoding::Windows1252 : encoding;
            failed = !columns.AddRow(line, length, rowEncoding);
        }
        if (progress && (++sinceReport == kRowsPerReport || length > kReadProgressStep)) {
            sinceReport = 0;
            progress(lines.Position());
        }
    }
    if (lines.Failed()) {
        ReadFailed(path);
        return true;
    }
    if (!failed)
        failed = !columns.Finish();
    if (failed) {
        model_.ClearData();
        model_.SetFileNameField(path);
        model_.SetInputError(columns.Detail());
        model_.Sink().ShowMessage(columns.Error() + QStringLiteral("\r\r") + path);
        return true;
    }
    Finish(false, 0, path);
    return true;
}

void DataFileLoader::ReadFailed(const QString& path)
{
    // The file, not one of its lines, is at fault: one message, with the reason.
    model_.ClearData();
    model_.SetFileNameField(path);
    QString message = QStringLiteral("Error reading data file:\r\r") + path;
    if (file_ && !file_->ErrorString().isEmpty())
        message += QStringLiteral("\r\r") + file_->ErrorString();
    model_.Sink().ShowMessage(message);
}

void DataFileLoader::Finish(bool failed, qint64 lineNumber, const QString& path)
{
    if (failed) {
        model_.ClearData();
        // The graph is cleared, but the name stays for F5 and Edit: the user mends the line and
        // opens the file again.
        model_.SetFileNameField(path);
        QString message = QStringLiteral("Error reading from line %1 of file \r\r").arg(lineNumber) + path;
        if (!model_.InputError().isEmpty())
            message += QStringLiteral("\r\r") + model_.InputError();
        model_.Sink().ShowMessage(message);
        return;
    }
    if (model_.NumberOfSeries() >= 1 && !model_.AllSeries().front().empty())
        model_.SetTitle(TitleFromFileName(path));
    else
        model_.Sink().ShowMessage(QStringLiteral("No points to plot"));
}

QString TitleFromFileName(const QString& path)
{
    qsizetype slash = -1;
    for (qsizetype k = path.size() - 1; k >= 0; --k) {
        const QChar c = path[k];
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':')) {
            slash = k;
            break;
        }
    }
    QString name = path.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    for (QChar& c : name)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + 32);
    qsizetype from = 0;
    qsizetype to = name.size();
    while (from < to && name[from].unicode() <= 32)
        ++from;
    while (to > from && name[to - 1].unicode() <= 32)
        --to;
    name = name.mid(from, to - from);
    static constexpr char16_t kWordStarts[] = u" \"'(,-.[{";
    for (qsizetype k = 0; k < name.size(); ++k) {
        const bool starts = k == 0 || std::char_traits<char16_t>::find(kWordStarts, 9, name[k - 1].unicode());
        if (starts && name[k] >= QLatin1Char('a') && name[k] <= QLatin1Char('z'))
            name[k] = QChar(name[k].unicode() - 32);
    }
    return name;
}

} // namespace plotwell
