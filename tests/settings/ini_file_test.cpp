#include "settings/ini_file.h"

#include "core/recording_sink.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <limits>

using plotwell::IniFile;
using plotwell::RecordingSink;

namespace {

class IniFileTest : public ::testing::Test
{
protected:
    QString PathOf(const QString& name) const { return dir_.filePath(name); }

    QString WriteFile(const QString& name, const QByteArray& bytes) const
    {
        ::WriteFile(PathOf(name), bytes);
        return PathOf(name);
    }

    QTemporaryDir dir_;
};

struct NumberCase
{
    const char* stored;
    int asInteger;  // with default -5
    bool asBool;    // with default true
    double asFloat; // with default -5
};

} // namespace

TEST_F(IniFileTest, TypedReadsGiveTheDefaultForMissingOrUnreadableValues)
{
    const NumberCase cases[] = {
        {"12", 12, true, 12},
        {" -7 ", -7, true, -7},
        {"0", 0, false, 0},
        {"+3", 3, true, 3},
        {"2.5", -5, true, 2.5},
        {"1E-5", -5, true, 1e-5},
        {"12abc", -5, true, -5},
        {"99999999999", -5, true, 99999999999.0},
        {"1,5", -5, true, -5},
        {"1E999", -5, true, -5},
        {"", -5, true, -5},
        {"yes", -5, true, -5},
    };
    QByteArray text = "[S]\n";
    for (std::size_t i = 0; i < std::size(cases); ++i)
        text += "k" + QByteArray::number(qulonglong(i)) + "=" + cases[i].stored + "\n";
    const IniFile ini(WriteFile(QStringLiteral("a.ini"), text));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const NumberCase& c = cases[i];
        const QString key = QStringLiteral("k%1").arg(i);
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(ini.ReadInteger(QStringLiteral("S"), key, -5), c.asInteger);
        EXPECT_EQ(ini.ReadBool(QStringLiteral("S"), key, true), c.asBool);
        EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("S"), key, -5), c.asFloat);
    }
    EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("missing"), QStringLiteral("dflt")), QStringLiteral("dflt"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Missing"), QStringLiteral("k0"), 4), 4);
}

TEST_F(IniFileTest, FloatsRoundTripWithTheLocaleDecimalSeparator)
{
    const ScopedLocale german(QStringLiteral("de_DE"));
    const QString path = PathOf(QStringLiteral("f.ini"));
    {
        IniFile ini(path);
        ini.WriteFloat(QStringLiteral("S"), QStringLiteral("a"), 1234.5);
        ini.WriteFloat(QStringLiteral("S"), QStringLiteral("b"), -0.00001);
        ini.WriteFloat(QStringLiteral("S"), QStringLiteral("c"), std::numeric_limits<double>::infinity());
    }
    EXPECT_EQ(ReadFile(path), QByteArray("[S]\na=1234,5\nb=-1E-5\nc=INF\n"));
    const IniFile ini(path);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("S"), QStringLiteral("a"), 0), 1234.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("S"), QStringLiteral("b"), 0), -0.00001);
    EXPECT_TRUE(std::isinf(ini.ReadFloat(QStringLiteral("S"), QStringLiteral("c"), 0)));

    const IniFile dotted(WriteFile(QStringLiteral("dot.ini"), "[S]\na=1.5\n"));
    EXPECT_DOUBLE_EQ(dotted.ReadFloat(QStringLiteral("S"), QStringLiteral("a"), 7), 7) << "'.' is not the separator here";
}

TEST_F(IniFileTest, EveryWriteReachesTheFileAndKeepsTheOtherLines)
{
    const QString path = WriteFile(QStringLiteral("s.ini"), "; comment\n[Settings]\nOther=kept\n");
    IniFile ini(path);
    ini.WriteInteger(QStringLiteral("Settings"), QStringLiteral("Left"), -40);
    EXPECT_EQ(ReadFile(path), QByteArray("; comment\n[Settings]\nOther=kept\nLeft=-40\n"));
    ini.WriteBool(QStringLiteral("Settings"), QStringLiteral("Maximized"), true);
    ini.WriteString(QStringLiteral("Names"), QStringLiteral("Title"), QStringLiteral("Café"));
    ini.DeleteKey(QStringLiteral("Settings"), QStringLiteral("Other"));
    EXPECT_EQ(ReadFile(path), QByteArray("; comment\n[Settings]\nLeft=-40\nMaximized=1\n[Names]\nTitle=Caf\xC3\xA9\n"));
    ini.EraseSection(QStringLiteral("Settings"));
    EXPECT_EQ(ReadFile(path), QByteArray("; comment\n[Names]\nTitle=Caf\xC3\xA9\n"));
    EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::Files).size() == 1) << "no temporary file left behind";
}

TEST_F(IniFileTest, DamagedFileGivesDefaultsAndKeepsWhatItDoesNotRead)
{
    QByteArray bytes = QByteArrayLiteral("\xFE\x00\x01garbage\x00\n[Settings]\nLeft=12\nLeft=99\nno equals here\nTop=");
    bytes += QByteArray(2 * 1024 * 1024, '9'); // an integer far beyond any range
    bytes += QByteArrayLiteral("\nWidth=abc\n[Settings]\nHeight=300\n\x80\x81\x82\x00\x00\n");
    const QString path = WriteFile(QStringLiteral("bad.ini"), bytes);

    IniFile ini(path);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Settings"), QStringLiteral("Left"), -1), 12);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Settings"), QStringLiteral("Top"), -1), -1);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Settings"), QStringLiteral("Width"), -1), -1);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Settings"), QStringLiteral("Height"), -1), 300);

    // Saved as UTF-8: the Windows-1252 lines nobody reads keep their characters.
    ini.WriteInteger(QStringLiteral("Settings"), QStringLiteral("Top"), 80);
    EXPECT_EQ(ReadFile(path), QByteArrayLiteral("\xC3\xBE\x00\x01garbage\x00\n[Settings]\nLeft=12\nno equals here\nTop=80\n"
                                                "Width=abc\nHeight=300\n\xE2\x82\xAC\xC2\x81\xE2\x80\x9A\x00\x00\n"));
}

TEST_F(IniFileTest, EmptyFileReadsAsNoSettings)
{
    IniFile ini(WriteFile(QStringLiteral("empty.ini"), QByteArray()));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Settings"), QStringLiteral("Left"), -1), -1);
    EXPECT_TRUE(ini.WriteInteger(QStringLiteral("Settings"), QStringLiteral("Left"), 3));
    EXPECT_EQ(ReadFile(ini.FileName()), QByteArray("[Settings]\nLeft=3\n"));
}

TEST_F(IniFileTest, RefusedWriteIsReportedOnceAndRetriedLater)
{
    // A folder standing where the file should be: the file system refuses to replace it.
    const QString path = PathOf(QStringLiteral("blocked.ini"));
    ASSERT_TRUE(QDir().mkdir(path));
    RecordingSink sink;
    {
        IniFile ini(path, &sink);
        EXPECT_FALSE(ini.WriteInteger(QStringLiteral("Settings"), QStringLiteral("Left"), 1));
        EXPECT_FALSE(ini.WriteInteger(QStringLiteral("Settings"), QStringLiteral("Top"), 2));
        EXPECT_EQ(ini.ReadInteger(QStringLiteral("Settings"), QStringLiteral("Top"), -1), 2) << "kept for this session";
    }
    EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(path)});

    // A folder that cannot be created (its parent is a file): the pending values are saved
    // together once writing works again.
    const QString parentFile = WriteFile(QStringLiteral("plainfile"), "x");
    const QString nested = parentFile + QStringLiteral("/sub/settings.ini");
    IniFile ini(nested, &sink);
    EXPECT_FALSE(ini.WriteInteger(QStringLiteral("Settings"), QStringLiteral("Left"), 1));
    ASSERT_TRUE(QFile::remove(parentFile));
    ASSERT_TRUE(QDir().mkpath(parentFile + QStringLiteral("/sub")));
    EXPECT_TRUE(ini.WriteInteger(QStringLiteral("Settings"), QStringLiteral("Top"), 2));
    EXPECT_EQ(ReadFile(nested), QByteArray("[Settings]\nLeft=1\nTop=2\n"));
    EXPECT_EQ(sink.Messages().size(), 2);
}
