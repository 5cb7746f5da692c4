// Any bytes as a settings file: typed reads of the keys it holds, writes back (also under names
// taken from its raw lines), then the saved file read again. What the program reads after a
// restart must be what it read before it; any difference is lost or corrupted settings.
#include "settings/ini_file.h"

#include "core/text_decoding.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QPair>
#include <QStringList>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace plotwell;

namespace {

QString settingsPath;

using IniName = QPair<QString, QString>; // section, key

// Sections and keys as a reader would guess them from the lines; a wrong guess only reads a default.
QList<IniName> GuessNames(const QStringList& lines)
{
    QList<IniName> names;
    QString section;
    for (const QString& line : lines) {
        const QString t = line.trimmed();
        if (t.startsWith(u'[')) {
            section = t.mid(1, t.indexOf(u']') - 1);
        } else if (const qsizetype eq = t.indexOf(u'='); eq > 0) {
            names.append({section, t.left(eq)});
        }
    }
    return names;
}

void Check(bool ok, const char* what, const IniName& name)
{
    if (ok)
        return;
    std::fprintf(stderr, "%s: [%s] %s\n", what, name.first.toUtf8().constData(), name.second.toUtf8().constData());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Every save syncs the file to disk; in memory the target runs several times faster.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/plotwell-ini-fuzz-XXXXXX")
                                                                        : QDir::tempPath() + QStringLiteral("/plotwell-ini-fuzz-XXXXXX"));
    settingsPath = dir.filePath(QStringLiteral("settings.ini"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    {
        QFile file(settingsPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(bytes.data(), bytes.size());
    }
    const QStringList lines = DecodeText(bytes).replace(u'\r', u'\n').split(u'\n');
    QList<IniName> names = GuessNames(lines);

    IniFile before(settingsPath);
    {
        IniFile::Batch batch(before);
        int n = 0;
        for (const IniName& name : std::as_const(names)) {
            const QString& section = name.first;
            const QString& key = name.second;
            const QString text = before.ReadString(section, key, QString());
            const int number = before.ReadInteger(section, key, -1);
            const bool flag = before.ReadBool(section, key, false);
            const double real = before.ReadFloat(section, key, 0.5);
            switch (n++ % 4) {
            case 0: before.WriteString(section, key, text); break;
            case 1: before.WriteInteger(section, key, number); break;
            case 2: before.WriteBool(section, key, !flag); break;
            default: before.WriteFloat(section, key, real); break;
            }
            if (n % 7 == 0)
                before.DeleteKey(section, key);
            if (n % 11 == 0)
                before.EraseSection(section);
        }
        // Raw lines as names and values, brackets, equals signs, comment marks and all.
        for (qsizetype i = 0; i < lines.size() && i < 16; ++i) {
            const QString& line = lines[i];
            const IniName name{line, lines[(i + 1) % lines.size()]};
            before.WriteString(name.first, name.second, line);
            names.append(name);
        }
    }
    // A save that failed at the end of the batch is tried again here; when it fails (it should
    // not, in a private temporary folder) the file holds the old text and nothing can be compared.
    const IniName probe{QStringLiteral("fuzz"), QStringLiteral("probe")};
    if (!before.WriteString(probe.first, probe.second, QStringLiteral("saved")))
        return 0;
    const IniFile after(settingsPath);
    names.append(probe);
    for (const IniName& name : std::as_const(names)) {
        const QString missing = QStringLiteral("\x01missing");
        Check(before.ReadString(name.first, name.second, missing) == after.ReadString(name.first, name.second, missing),
              "differs after saving", name);
    }
    return 0;
}
