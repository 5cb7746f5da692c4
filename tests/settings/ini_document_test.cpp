#include "settings/ini_document.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

using plotwell::IniDocument;

TEST(IniDocument, WritesChangeOnlyTheirLineAndKeepEverythingElse)
{
    IniDocument doc = IniDocument::Parse(QStringLiteral("; made by hand\r\n"
                                                          "[Settings]\r\n"
                                                          "Left = 120\r\n"
                                                          "  Unknown=keep me  \r\n"
                                                          "\r\n"
                                                          "[Other]\r\n"
                                                          "# note\r\n"
                                                          "x=1\r\n"));
    EXPECT_TRUE(doc.SetValue(QStringLiteral("settings"), QStringLiteral("LEFT"), QStringLiteral("300")));
    EXPECT_TRUE(doc.SetValue(QStringLiteral("Settings"), QStringLiteral("Top"), QStringLiteral("80")));
    EXPECT_TRUE(doc.SetValue(QStringLiteral("New"), QStringLiteral("a"), QStringLiteral("b")));
    EXPECT_FALSE(doc.SetValue(QStringLiteral("Other"), QStringLiteral("X"), QStringLiteral("1"))) << "same value";

    EXPECT_EQ(doc.ToText(), QStringLiteral("; made by hand\n"
                                           "[Settings]\n"
                                           "Left=300\n"
                                           "  Unknown=keep me  \n"
                                           "Top=80\n"
                                           "\n"
                                           "[Other]\n"
                                           "# note\n"
                                           "x=1\n"
                                           "[New]\n"
                                           "a=b\n"));
    EXPECT_EQ(doc.Value(QStringLiteral("SETTINGS"), QStringLiteral("unknown")), QStringLiteral("keep me"));
}

TEST(IniDocument, DamagedTextReadsWhatItCanAndKeepsTheRest)
{
    QString text = QStringLiteral("junk before any section\n"
                                  "[Settings]\n"
                                  "Left=10\n"
                                  "line without equals sign\n"
                                  "=no key\n"
                                  "Left=20\n"
                                  "[unterminated\n"
                                  "bin");
    text += QChar(0);
    text += QStringLiteral("ary=1\x01\x02\n"
                           "[Other]\n"
                           "a=1\n"
                           "[settings]\n"
                           "Top=5\n");
    IniDocument doc = IniDocument::Parse(text);

    EXPECT_EQ(doc.Value(QStringLiteral("Settings"), QStringLiteral("Left")), QStringLiteral("10")) << "first one wins";
    EXPECT_EQ(doc.Value(QStringLiteral("Settings"), QStringLiteral("Top")), QStringLiteral("5")) << "repeated section joins";
    EXPECT_FALSE(doc.Value(QStringLiteral("Settings"), QStringLiteral("binary")).has_value());

    // Lines not understood stay as they were; only the repeated key and the repeated
    // section's header go (the reader never sees them).
    doc.SetValue(QStringLiteral("Settings"), QStringLiteral("Width"), QStringLiteral("700"));
    QString expected = QStringLiteral("junk before any section\n"
                                      "[Settings]\n"
                                      "Left=10\n"
                                      "line without equals sign\n"
                                      "=no key\n"
                                      "[unterminated\n"
                                      "bin");
    expected += QChar(0);
    expected += QStringLiteral("ary=1\x01\x02\n"
                               "Top=5\n"
                               "Width=700\n"
                               "[Other]\n"
                               "a=1\n");
    EXPECT_EQ(doc.ToText(), expected);
    EXPECT_EQ(IniDocument::Parse(doc.ToText()).ToText(), expected) << "read again, the text stays";
}

TEST(IniDocument, LineBreaksInWrittenTextCannotAddKeysOrSections)
{
    IniDocument doc;
    doc.SetValue(QStringLiteral("S"), QStringLiteral("k\n"), QStringLiteral("a\r\n[Evil]\nx=1"));
    const IniDocument reread = IniDocument::Parse(doc.ToText());
    EXPECT_EQ(reread.Value(QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("a  [Evil] x=1"));
    EXPECT_FALSE(reread.Value(QStringLiteral("Evil"), QStringLiteral("x")).has_value());
    // A name written with a control character in it is found again under that same name.
    doc.SetValue(QStringLiteral("S\x01" "2"), QStringLiteral("a\x01" "b"), QStringLiteral("v"));
    EXPECT_EQ(doc.Value(QStringLiteral("S\x01" "2"), QStringLiteral("a\x01" "b")), QStringLiteral("v"));
    EXPECT_TRUE(doc.RemoveKey(QStringLiteral("S\x01" "2"), QStringLiteral("a\x01" "b")));
}

TEST(IniDocument, RemovesKeysAndSections)
{
    IniDocument doc = IniDocument::Parse(QStringLiteral("[A]\nx=1\ny=2\n[B]\n; about B\nz=3\n[C]\nw=4\n"));
    EXPECT_TRUE(doc.RemoveKey(QStringLiteral("a"), QStringLiteral("X")));
    EXPECT_FALSE(doc.RemoveKey(QStringLiteral("A"), QStringLiteral("x")));
    EXPECT_TRUE(doc.RemoveSection(QStringLiteral("b")));
    EXPECT_FALSE(doc.RemoveSection(QStringLiteral("B")));
    EXPECT_EQ(doc.ToText(), QStringLiteral("[A]\ny=2\n[C]\nw=4\n"));
    EXPECT_EQ(doc.Value(QStringLiteral("C"), QStringLiteral("w")), QStringLiteral("4")) << "sections after the removed one";
}
