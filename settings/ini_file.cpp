#include "settings/ini_file.h"

#include "core/locale_facts.h"
#include "core/message_sink.h"
#include "core/number_format.h"
#include "core/regular_file.h"
#include "core/text_decoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

#include <optional>

namespace plotwell {

namespace {

// Anything larger is not a settings file this program wrote; it is not read, and never
// replaced by a save.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

std::optional<int> ParseInteger(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<double> ParseFloat(const QString& text)
{
    QString t = text.trimmed();
    const QChar separator = DecimalSeparator();
    if (separator != QLatin1Char('.')) {
        if (t.contains(QLatin1Char('.')))
            return std::nullopt;
        t.replace(separator, QLatin1Char('.'));
    }
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = c.toDouble(t, &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

} // namespace

IniFile::IniFile(const QString& fileName, MessageSink* sink) : fileName_(fileName), sink_(sink)
{
    RegularFile file;
    if (!file.Open(fileName_)) {
        // A missing file is made by the first save; anything else that is there stays as it is.
        unreadable_ = file.State() != RegularFile::Status::Missing;
        return;
    }
    std::optional<QByteArray> bytes;
    if (file.Size() <= kMaxFileSize) {
        bytes.emplace(static_cast<qsizetype>(file.Size()), Qt::Uninitialized);
        if (!file.ReadExactly(bytes->data(), static_cast<std::size_t>(bytes->size())))
            bytes.reset();
    }
    if (!bytes) {
        unreadable_ = true;
        return;
    }
    document_ = IniDocument::Parse(DecodeText(*bytes));
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    return document_.Value(section, key).value_or(defaultValue);
}

int IniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const
{
    const std::optional<QString> text = document_.Value(section, key);
    return text ? ParseInteger(*text).value_or(defaultValue) : defaultValue;
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

double IniFile::ReadFloat(const QString& section, const QString& key, double defaultValue) const
{
    const std::optional<QString> text = document_.Value(section, key);
    return text ? ParseFloat(*text).value_or(defaultValue) : defaultValue;
}

bool IniFile::ValueExists(const QString& section, const QString& key) const
{
    return document_.Value(section, key).has_value();
}

bool IniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    if (!IniDocument::CanStore(section, key))
        return false;
    return Changed(document_.SetValue(section, key, value));
}

bool IniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    return WriteString(section, key, QString::number(value));
}

bool IniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    return WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::WriteFloat(const QString& section, const QString& key, double value)
{
    return WriteString(section, key, FormatGeneral(value));
}

bool IniFile::DeleteKey(const QString& section, const QString& key)
{
    return Changed(document_.RemoveKey(section, key));
}

bool IniFile::EraseSection(const QString& section)
{
    return Changed(document_.RemoveSection(section));
}

bool IniFile::Changed(bool changed)
{
    unsaved_ = unsaved_ || changed;
    return batchDepth_ > 0 || SaveIfChanged();
}

bool IniFile::SaveIfChanged()
{
    // A failed save stays pending, so the next write tries again with everything.
    if (!unsaved_)
        return true;
    if (!Save()) {
        ReportWriteError();
        return false;
    }
    unsaved_ = false;
    return true;
}

bool IniFile::Save()
{
    if (unreadable_)
        return false;
    // Write a temporary file and rename it over the old one, so a crash or a full disk never
    // leaves half a file behind.
    QSaveFile file(fileName_);
    // Unbuffered, so that write() itself meets a full disk: a short write left in the buffer
    // fails only inside commit(), which does not notice and renames the cut file over the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray bytes = document_.ToText().toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void IniFile::ReportWriteError()
{
    if (errorReported_ || !sink_)
        return;
    errorReported_ = true;
    sink_->ShowMessage(QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(fileName_)));
}

} // namespace plotwell
