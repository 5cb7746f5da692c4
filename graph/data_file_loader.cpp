#include "graph/data_file_loader.h"

#include "core/message_sink.h"
#include "core/text_decoding.h"
#include "graph/plot_model.h"
#include "graph/point_parser.h"

#include <QFile>
#include <QFileInfo>

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace plotwell {

namespace {

bool isSkippable(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

bool fileExists(const QString& path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && !info.isDir();
}

// The bytes of a file: mapped when the file system allows it, read otherwise.
class FileBytes
{
public:
    explicit FileBytes(QFile& file) : file_(file)
    {
        const qint64 size = file.size();
        if (size > 0) {
            mapped_ = file.map(0, size);
            if (mapped_) {
                data_ = reinterpret_cast<const char*>(mapped_);
                size_ = static_cast<std::size_t>(size);
                return;
            }
        }
        buffer_ = file.readAll();
        ok_ = file.error() == QFileDevice::NoError;
        data_ = buffer_.constData();
        size_ = static_cast<std::size_t>(buffer_.size());
    }
    ~FileBytes()
    {
        if (mapped_)
            file_.unmap(mapped_);
    }
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    bool ok() const { return ok_; }
    const char* data() const { return data_; }
    std::size_t size() const { return size_; }

    // The bytes before `upTo` are read: a mapped file's whole pages among them leave memory
    // (the system reads them again should they be needed), so a big file does not stay in
    // memory beside the points made from it.
    void Release(const char* upTo)
    {
        if (!mapped_)
            return;
        static const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        const std::size_t end = static_cast<std::size_t>(upTo - data_) / page * page;
        // Reading goes over a line more than once; a new pass starts before the last release.
        const std::size_t from = end < released_ ? 0 : released_;
        if (end < from + kReadProgressStep)
            return;
        madvise(mapped_ + from, end - from, MADV_DONTNEED);
        released_ = end;
    }

private:
    QFile& file_;
    uchar* mapped_ = nullptr;
    QByteArray buffer_;
    const char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t released_ = 0;
    bool ok_ = true;
};

// IsValidUtf8 over a whole file, a few megabytes at a time, telling the progress.
bool isValidUtf8(const char* s, std::size_t n, const ReadProgress& progress)
{
    std::size_t from = 0;
    while (from < n) {
        std::size_t to = std::min(n, from + kReadProgressStep);
        // End the piece before a character's first byte, so no character is cut in two.
        for (int back = 0; back < 3 && to < n && to > from + 1 && (static_cast<unsigned char>(s[to]) & 0xC0) == 0x80; ++back)
            --to;
        if (!IsValidUtf8(s + from, to - from))
            return false;
        if (progress)
            progress(s + to);
        from = to;
    }
    return true;
}

} // namespace

void DataFileLoader::SetFileName(const QString& path)
{
    if (!fileExists(path)) {
        model_.Sink().ShowMessage(QStringLiteral("File not found:\r\r") + path);
        return;
    }
    model_.ClearData();
    model_.SetFileNameField(path);
    try {
        LoadFile();
    } catch (const std::bad_alloc&) {
        // A file too large for memory fails like any other load instead of ending the program.
        model_.ClearData();
        model_.Sink().ShowMessage(QStringLiteral("Not enough memory to load file:\r\r") + path);
    }
    emit model_.changed(PlotModel::Change::Series);
}

void DataFileLoader::LoadFile()
{
    const QString path = model_.FileName();
    if (!fileExists(path)) {
        model_.Sink().ShowMessage(QStringLiteral("File not found:\r\r") + path);
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const QString reason = file.errorString();
        model_.ClearData();
        model_.Sink().ShowMessage(QStringLiteral("Cannot open file:\r\r") + path + QStringLiteral("\r\r") + reason);
        return;
    }

    FileBytes bytes(file);
    if (!bytes.ok()) {
        model_.Sink().ShowMessage(QStringLiteral("Error reading data file"));
        Finish(true, 0, path);
        return;
    }
    LoadBytes(bytes.data(), bytes.size(), path, [&bytes](const char* upTo) { bytes.Release(upTo); });
}

void DataFileLoader::LoadBytes(const char* s, std::size_t n, const QString& path, const ReadProgress& progress)
{
    const TextLayout layout =
        DetectLayout(s, n, [&progress](const char* d, std::size_t size) { return isValidUtf8(d, size, progress); });
    const TextEncoding encoding = layout.encoding;
    std::size_t i = layout.start;
    qint64 lineNumber = 0;
    bool failed = false;
    while (!failed) {
        while (i < n && isSkippable(s[i]))
            ++i;
        if (i >= n)
            break;
        const std::size_t start = i;
        const void* lf = std::memchr(s + start, '\n', n - start);
        std::size_t end = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - s) : n;
        if (const void* cr = std::memchr(s + start, '\r', end - start))
            end = static_cast<std::size_t>(static_cast<const char*>(cr) - s);
        i = end;
        ++lineNumber;
        while (end > start && isSkippable(s[end - 1]))
            --end;
        if (end > start && s[start] != ';' &&
            !AddSeriesFromBytes(model_, s + start, end - start, encoding, false, progress))
            failed = true;
        if (progress)
            progress(s + i);
    }
    Finish(failed, lineNumber, path);
}

void DataFileLoader::Finish(bool failed, qint64 lineNumber, const QString& path)
{
    if (failed) {
        model_.ClearData();
        QString message = QStringLiteral("Error reading from line %1 of file \r\r").arg(lineNumber) + path;
        if (!model_.inputerror().isEmpty())
            message += QStringLiteral("\r\r") + model_.inputerror();
        model_.Sink().ShowMessage(message);
        return;
    }
    if (model_.NumberOfSeries() >= 1 && !model_.seriesarr().front().empty())
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
