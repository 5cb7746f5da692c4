#include "settings/ini_document.h"

#include <QStringList>

namespace plotwell {

namespace {

bool IsControl(QChar c)
{
    const char16_t u = c.unicode();
    return (u < 0x20 && u != u'\t') || u == 0x7F;
}

bool HasControlCharacters(const QString& line)
{
    for (const QChar c : line)
        if (IsControl(c))
            return true;
    return false;
}

// A name or value must stay on its one line: a line break in it would start a new key or
// section when the file is read again.
QString OneLine(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (IsControl(c))
            c = QLatin1Char(' ');
    return out;
}

QString Folded(const QString& name)
{
    return name.toCaseFolded();
}

// A section or key name as the file holds it: every lookup and every write use this form,
// so a name with a control character in it finds what was written under it.
QString StoredName(const QString& name)
{
    return OneLine(name).trimmed();
}

} // namespace

IniDocument IniDocument::Parse(const QString& text)
{
    IniDocument doc;
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = normalized.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast(); // the line break that ends the last line

    IniSection* current = nullptr;
    for (const QString& line : std::as_const(lines)) {
        QList<IniLine>& target = current ? current->lines : doc.preamble_;
        // Lines nobody reads (comments, blank lines, and whatever is not understood) are kept
        // as they were, so saving never loses what another program or a person wrote.
        const auto keep = [&] { target.append({{}, {}, line}); };
        if (HasControlCharacters(line)) {
            keep();
            continue;
        }
        const QString t = line.trimmed();
        if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#'))) {
            keep();
            continue;
        }
        if (t.startsWith(QLatin1Char('['))) {
            const qsizetype close = t.indexOf(QLatin1Char(']'));
            if (close < 0) {
                keep();
                continue;
            }
            const QString name = t.mid(1, close - 1).trimmed();
            current = doc.FindSection(name);
            if (!current)
                current = &doc.AddSection(name, line);
            continue;
        }
        const qsizetype eq = t.indexOf(QLatin1Char('='));
        const QString key = eq > 0 ? t.left(eq).trimmed() : QString();
        // A key before any section belongs to no section: nobody can read it.
        if (key.isEmpty() || !current) {
            keep();
            continue;
        }
        const QString folded = Folded(key);
        if (current->keys.contains(folded))
            continue;
        current->keys.insert(folded);
        current->lines.append({key, t.mid(eq + 1).trimmed(), line});
    }
    return doc;
}

QString IniDocument::ToText() const
{
    QString out;
    const auto add = [&out](const QString& line) {
        out += line;
        out += QLatin1Char('\n');
    };
    for (const IniLine& line : preamble_)
        add(line.text);
    for (const IniSection& section : sections_) {
        add(section.header);
        for (const IniLine& line : section.lines)
            add(line.text);
    }
    return out;
}

std::optional<QString> IniDocument::Value(const QString& section, const QString& key) const
{
    const IniSection* s = FindSection(StoredName(section));
    const QString k = StoredName(key);
    if (!s || !s->keys.contains(Folded(k)))
        return std::nullopt;
    for (const IniLine& line : s->lines)
        if (!line.key.isEmpty() && line.key.compare(k, Qt::CaseInsensitive) == 0)
            return line.value;
    return std::nullopt;
}

bool IniDocument::CanStore(const QString& section, const QString& key)
{
    const QString k = StoredName(key);
    return !k.isEmpty() && !k.contains(QLatin1Char('=')) && !k.startsWith(QLatin1Char('[')) &&
        !k.startsWith(QLatin1Char(';')) && !k.startsWith(QLatin1Char('#')) && !section.contains(QLatin1Char(']'));
}

bool IniDocument::SetValue(const QString& section, const QString& key, const QString& value)
{
    if (!CanStore(section, key))
        return false;
    const QString name = StoredName(section);
    const QString k = StoredName(key);
    const QString v = OneLine(value).trimmed();
    const QString text = k + QLatin1Char('=') + v;

    IniSection* s = FindSection(name);
    if (!s)
        s = &AddSection(name, QLatin1Char('[') + name + QLatin1Char(']'));
    qsizetype afterLastKey = 0;
    for (qsizetype i = 0; i < s->lines.size(); ++i) {
        IniLine& line = s->lines[i];
        if (line.key.isEmpty())
            continue;
        if (line.key.compare(k, Qt::CaseInsensitive) == 0) {
            if (line.value == v)
                return false;
            line.value = v;
            line.text = line.key + QLatin1Char('=') + v;
            return true;
        }
        afterLastKey = i + 1;
    }
    // New keys go after the section's last key, ahead of any blank lines that end it.
    s->lines.insert(afterLastKey, {k, v, text});
    s->keys.insert(Folded(k));
    return true;
}

bool IniDocument::RemoveKey(const QString& section, const QString& key)
{
    IniSection* s = FindSection(StoredName(section));
    const QString k = StoredName(key);
    if (!s || !s->keys.remove(Folded(k)))
        return false;
    for (qsizetype i = 0; i < s->lines.size(); ++i) {
        if (!s->lines[i].key.isEmpty() && s->lines[i].key.compare(k, Qt::CaseInsensitive) == 0) {
            s->lines.removeAt(i);
            return true;
        }
    }
    return true;
}

bool IniDocument::RemoveSection(const QString& section)
{
    const auto it = sectionIndex_.constFind(Folded(StoredName(section)));
    if (it == sectionIndex_.cend())
        return false;
    sections_.removeAt(it.value());
    ReindexSections();
    return true;
}

IniDocument::IniSection* IniDocument::FindSection(const QString& name)
{
    const auto it = sectionIndex_.constFind(Folded(name));
    return it == sectionIndex_.cend() ? nullptr : &sections_[it.value()];
}

const IniDocument::IniSection* IniDocument::FindSection(const QString& name) const
{
    const auto it = sectionIndex_.constFind(Folded(name));
    return it == sectionIndex_.cend() ? nullptr : &sections_[it.value()];
}

IniDocument::IniSection& IniDocument::AddSection(const QString& name, const QString& header)
{
    sectionIndex_.insert(Folded(name), sections_.size());
    sections_.append({name, header, {}, {}});
    return sections_.back();
}

void IniDocument::ReindexSections()
{
    sectionIndex_.clear();
    for (qsizetype i = 0; i < sections_.size(); ++i)
        sectionIndex_.insert(Folded(sections_[i].name), i);
}

} // namespace plotwell
