#pragma once
// IniFile: typed reads and writes of one INI settings file; every write is saved at once.

#include "settings/ini_document.h"

#include <QString>

namespace plotwell {

class MessageSink;

class IniFile
{
public:
    // Reads the file when it exists. Write failures are reported through `sink` (may be null),
    // once in the life of the object.
    explicit IniFile(const QString& fileName, MessageSink* sink = nullptr);

    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const QString& FileName() const { return fileName_; }

    // A missing key, or a number that cannot be read, gives the default.
    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    // Any integer other than 0 is true.
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;
    // The general number form with the locale's decimal separator.
    double ReadFloat(const QString& section, const QString& key, double defaultValue) const;
    bool ValueExists(const QString& section, const QString& key) const;

    // Each returns false when the file could not be saved, or (writes) when the name could not
    // be read back from the file (IniDocument::CanStore); such a write changes nothing.
    bool WriteString(const QString& section, const QString& key, const QString& value);
    bool WriteInteger(const QString& section, const QString& key, int value);
    bool WriteBool(const QString& section, const QString& key, bool value);
    bool WriteFloat(const QString& section, const QString& key, double value);
    bool DeleteKey(const QString& section, const QString& key);
    bool EraseSection(const QString& section);

    // Holds back saving while it lives, so a group of writes reaches the file in one piece.
    class Batch
    {
    public:
        explicit Batch(IniFile& file) : file_(file) { ++file_.batchDepth_; }
        ~Batch()
        {
            if (--file_.batchDepth_ == 0)
                file_.SaveIfChanged();
        }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        IniFile& file_;
    };

private:
    // Marks the document changed when `changed`, then saves unless a batch is open.
    bool Changed(bool changed);
    bool SaveIfChanged();
    bool Save();
    void ReportWriteError();

    QString fileName_;
    MessageSink* sink_;
    IniDocument document_;
    bool unsaved_ = false;
    // The file exists but could not be read: saving would destroy what is in it.
    bool unreadable_ = false;
    bool errorReported_ = false;
    int batchDepth_ = 0;
};

} // namespace plotwell
