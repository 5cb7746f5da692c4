#pragma once
// The text of an INI file held as lines: sections and keys in file order, the lines nobody
// reads (comments, blank lines, lines not understood) kept as they were.

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>

namespace plotwell {

class IniDocument
{
public:
    // Reads any text without failing: lines that are neither a section header nor a
    // "key=value" line (comments, blank lines, a header without its "]", lines with control
    // characters) are kept as text that nobody reads. A repeated section continues the first
    // one; a repeated key in a section is dropped, the first one wins (it is the one a reader
    // sees, and removing it must not bring back the other).
    static IniDocument Parse(const QString& text);

    // The whole document, one "\n" after each line.
    QString ToText() const;

    // Section and key names are matched without regard to case.
    std::optional<QString> Value(const QString& section, const QString& key) const;

    // Whether a key of that name, in a section of that name, would be found again when the
    // written text is read: a "]" in a section name, or a key name with "=" or starting like a
    // comment or a section header, would land elsewhere (or nowhere) on the next start.
    static bool CanStore(const QString& section, const QString& key);

    // Each returns true when the document changed. SetValue changes nothing for a name that
    // CanStore refuses.
    bool SetValue(const QString& section, const QString& key, const QString& value);
    bool RemoveKey(const QString& section, const QString& key);
    bool RemoveSection(const QString& section);

private:
    struct IniLine
    {
        QString key; // empty for a kept line (comment, blank)
        QString value;
        QString text; // the line as written in the file
    };
    struct IniSection
    {
        QString name;
        QString header;
        QList<IniLine> lines;
        QSet<QString> keys; // case-folded
    };

    IniSection* FindSection(const QString& name);
    const IniSection* FindSection(const QString& name) const;
    IniSection& AddSection(const QString& name, const QString& header);
    void ReindexSections();

    QList<IniLine> preamble_; // lines before the first section
    QList<IniSection> sections_;
    QHash<QString, qsizetype> sectionIndex_; // case-folded name -> index in sections_
};

} // namespace plotwell
