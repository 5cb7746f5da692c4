// Every malformed settings file of the corpus through the real reading path: a restored window
// takes what can be read and keeps its place for the rest, and saving afterwards changes nothing
// that was read.
#include "settings/ini_file.h"
#include "settings/ini_settings.h"

#include "core/recording_sink.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <optional>

#include <sys/stat.h>

using plotwell::IniDocument;
using plotwell::IniFile;
using plotwell::IniSettings;
using plotwell::RecordingSink;

namespace {

const QString kSettings = QStringLiteral("Settings");
const QStringList kKeys = {QStringLiteral("Maximized"), QStringLiteral("Left"),  QStringLiteral("Top"),
                           QStringLiteral("Width"),     QStringLiteral("Height"), QStringLiteral("Title")};

// Where the window starts, and what the desktop is.
const QRect kStart(100, 50, 700, 540);
const QRect kDesktop(0, 0, 1920, 1080);

struct Expectation
{
    Expectation(QRect g = kStart, std::optional<QString> t = std::nullopt) : geometry(g), title(std::move(t)) {}

    QRect geometry;
    std::optional<QString> title; // nothing: the key is not found
};

// Restores a window from the file as the main window does, and checks the values read.
void CheckFile(const QString& path, const Expectation& e)
{
    RecordingSink sink;
    {
        IniSettings settings(&sink);
        settings.SetIniFileName(path);
        settings.SetDesktopArea([](const QWidget&) { return kDesktop; });
        QWidget form;
        form.setGeometry(kStart);
        settings.ReadWindowPos(&form, QString());
        EXPECT_EQ(form.geometry(), e.geometry);
        EXPECT_FALSE(form.isMaximized());
        EXPECT_EQ(settings.ReadString(QStringLiteral("Title"), QStringLiteral("-"), kSettings), e.title.value_or(QStringLiteral("-")));
    }

    // A save rewrites the file from what was understood of it; the next start must read the same.
    const QString missing = QStringLiteral("\x01missing");
    QStringList before;
    {
        IniFile ini(path, &sink);
        for (const QString& key : kKeys)
            before.append(ini.ReadString(kSettings, key, missing));
        EXPECT_TRUE(ini.WriteString(QStringLiteral("Check"), QStringLiteral("Saved"), QStringLiteral("1")));
    }
    const IniFile again(path);
    for (qsizetype i = 0; i < kKeys.size(); ++i)
        EXPECT_EQ(again.ReadString(kSettings, kKeys[i], missing), before[i]) << kKeys[i].toStdString();
    EXPECT_TRUE(sink.Messages().isEmpty());
}

} // namespace

TEST(MalformedIni, EveryCorpusFileGivesWhatCanBeRead)
{
    const QMap<QString, Expectation> expected = {
        {QStringLiteral("bom.ini"), {QRect(230, 50, 700, 540)}},
        {QStringLiteral("cr-only.ini"), {QRect(210, 220, 700, 540)}},
        // Section names ignore case and a repeated section goes on; the first of two keys wins.
        {QStringLiteral("duplicates.ini"), {QRect(200, 150, 700, 540)}},
        {QStringLiteral("empty.ini"), {}},
        {QStringLiteral("garbage.bin"), {}},
        {QStringLiteral("huge-numbers.ini"), {}},
        {QStringLiteral("invalid-utf8.ini"), {QRect(130, 50, 700, 540), QStringLiteral("Café €")}},
        // Keys before any section, or in a section named otherwise, are nobody's.
        {QStringLiteral("keys-outside.ini"), {}},
        {QStringLiteral("nan-inf.ini"), {QRect(100, 50, 700, 600)}},
        {QStringLiteral("no-equals.ini"), {QRect(100, 50, 800, 540)}},
        {QStringLiteral("nul.ini"), {QRect(100, 80, 700, 540)}},
        {QStringLiteral("truncated.ini"), {QRect(120, 50, 700, 540)}},
        {QStringLiteral("unclosed-quote.ini"), {QRect(100, 260, 700, 540), QStringLiteral("\"never closed")}},
        {QStringLiteral("unclosed-section.ini"), {QRect(100, 6, 700, 540)}},
        {QStringLiteral("utf16.ini"), {QRect(240, 50, 700, 540)}},
    };

    const QDir corpus(TestDataPath(QStringLiteral("bad/ini")));
    const QStringList files = corpus.entryList(QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 12);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(expected.contains(name)) << "no expectation for " << name.toStdString();
        const QString path = dir.filePath(name);
        ASSERT_TRUE(QFile::copy(corpus.filePath(name), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        CheckFile(path, expected[name]);
    }
}

TEST(MalformedIni, TenMegabyteLine)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString longLine = dir.filePath(QStringLiteral("long.ini"));
    WriteFile(longLine, "[Settings]\nLeft=" + QByteArray(10 * 1024 * 1024, '7') + "\nTop=320\n");
    CheckFile(longLine, {QRect(100, 320, 700, 540)});
}

// A file that could not be read whole is never replaced by what little was understood of it:
// saves are skipped, and the user hears of it once.
TEST(MalformedIni, FilesNotReadWholeAreNeverReplaced)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString huge = dir.filePath(QStringLiteral("huge.ini"));
    const QByteArray hugeBytes = "[Settings]\nLeft=330\n" + QByteArray("Key=value\n").repeated(1'700'000);
    WriteFile(huge, hugeBytes);
    const QString fifo = dir.filePath(QStringLiteral("pipe.ini"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString device = dir.filePath(QStringLiteral("zero.ini"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), device));
    const QString folder = dir.filePath(QStringLiteral("folder.ini"));
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const QString& path : {huge, fifo, device, folder}) {
        SCOPED_TRACE(path.toStdString());
        RecordingSink sink;
        IniFile ini(path, &sink);
        EXPECT_EQ(ini.ReadInteger(kSettings, QStringLiteral("Left"), -1), -1);
        EXPECT_FALSE(ini.WriteString(QStringLiteral("Check"), QStringLiteral("Saved"), QStringLiteral("1")));
        EXPECT_FALSE(ini.WriteInteger(kSettings, QStringLiteral("Top"), 5));
        EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(path)});
    }
    EXPECT_EQ(ReadFile(huge), hugeBytes);
    EXPECT_FALSE(QFileInfo(fifo).isFile());
    EXPECT_TRUE(QFileInfo(device).isSymLink());
}

// Names that would not be found again in the saved text are refused, so a write can never move
// other keys into another section or vanish on the next start.
TEST(MalformedIni, NamesThatCannotBeReadBackAreRefused)
{
    struct Case
    {
        const char* section;
        const char* key;
    };
    const Case refused[] = {
        {"Settings", "Left=1"}, {"Settings", "[Other]"}, {"Settings", "; note"}, {"Settings", "#tag"},
        {"Set]tings", "Left"},  {"Settings", "  "},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("names.ini"));
    const QByteArray original = "[Settings]\nLeft=10\n";
    WriteFile(path, original);
    RecordingSink sink;
    IniFile ini(path, &sink);
    for (const Case& c : refused) {
        SCOPED_TRACE(std::string(c.section) + " / " + c.key);
        const QString section = QString::fromUtf8(c.section);
        const QString key = QString::fromUtf8(c.key);
        EXPECT_FALSE(IniDocument::CanStore(section, key));
        EXPECT_FALSE(ini.WriteString(section, key, QStringLiteral("x")));
        EXPECT_FALSE(ini.ValueExists(section, key));
    }
    EXPECT_EQ(ReadFile(path), original);
    EXPECT_TRUE(sink.Messages().isEmpty()) << "nothing failed on disk";

    // The characters are fine elsewhere in a name, and anywhere in a value.
    EXPECT_TRUE(ini.WriteString(QStringLiteral("[Odd;#="), QStringLiteral("a]b;c#d"), QStringLiteral("=[x];#")));
    EXPECT_TRUE(ini.WriteString(kSettings, QStringLiteral("Top"), QStringLiteral("[Other]")));
    const IniFile again(path);
    EXPECT_EQ(again.ReadString(QStringLiteral("[Odd;#="), QStringLiteral("a]b;c#d"), QString()), QStringLiteral("=[x];#"));
    EXPECT_EQ(again.ReadString(kSettings, QStringLiteral("Top"), QString()), QStringLiteral("[Other]"));
    EXPECT_EQ(again.ReadInteger(kSettings, QStringLiteral("Left"), -1), 10);
}

// Settings kept in a managed folder through a link: a save writes the link's target, keeps
// the link and the target's permissions.
TEST(MalformedIni, SavingThroughALinkWritesItsTarget)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString target = dir.filePath(QStringLiteral("managed/plotwell.ini"));
    WriteFile(target, "[Settings]\nLeft=10\n[unclosed\n");
    const QFileDevice::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(target, permissions));
    const QString link = dir.filePath(QStringLiteral("plotwell.ini"));
    ASSERT_TRUE(QFile::link(target, link));

    RecordingSink sink;
    IniFile ini(link, &sink);
    EXPECT_TRUE(ini.WriteInteger(kSettings, QStringLiteral("Top"), 20));
    EXPECT_TRUE(sink.Messages().isEmpty());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), target);
    EXPECT_EQ(ReadFile(target), QByteArray("[Settings]\nLeft=10\nTop=20\n[unclosed\n"));
    const QFileDevice::Permissions ownerGroupOther(0x7077);
    EXPECT_EQ(QFile::permissions(target) & ownerGroupOther, permissions);
}
