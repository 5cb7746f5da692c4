#include "help/engine/css_processing.h"
#include "help/engine/html_utils.h"

#include "help_test_target.h"
#include "support/test_support.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace plotwell;

namespace {

QStringList Listing(const QList<TCSSEntry>& entries)
{
    QStringList result;
    for (const TCSSEntry& e : entries)
        result.append(e.Text + u'|' + QString::number(e.Index));
    return result;
}

struct TParseCase
{
    const char* sheet;
    QStringList elements;   // "selector|first declaration"
    QStringList properties; // "declaration|rule"
};

class CSSParsingTest : public ::testing::TestWithParam<TParseCase>
{
};

TEST_P(CSSParsingTest, FillsBothLists)
{
    TCSS css;
    css.LoadCSSFromString(QString::fromUtf8(GetParam().sheet));
    EXPECT_EQ(Listing(css.Elements()), GetParam().elements);
    EXPECT_EQ(Listing(css.Properties()), GetParam().properties);
    EXPECT_EQ(css.NumElements(), GetParam().elements.size());
    EXPECT_EQ(css.NumProperties(), GetParam().properties.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CSSParsingTest,
    ::testing::Values(
        TParseCase{"p { color: red } p { color: blue }", {"P|0", "P|1"}, {"COLOR: RED|0", "COLOR: BLUE|1"}},
        TParseCase{"h1, h2 { color: red; font-family : 'Times New Roman', serif }",
                   {"H1, H2|0"},
                   {"COLOR: RED|0", "FONT-FAMILY : 'TIMES NEW ROMAN', SERIF|0"}},
        // The stray "*/" stays in the text and becomes a selector without declarations.
        TParseCase{"p { color: red } */ /* x */", {"P|0", "*/|0"}, {"COLOR: RED|0"}},
        TParseCase{"/* note */ H1 { FONT-SIZE: 150% }", {"H1|0"}, {"FONT-SIZE: 150%|0"}},
        TParseCase{"p { color: red } /* open", {"P|0"}, {"COLOR: RED|0"}},
        TParseCase{"/* open", {}, {}},
        // Text before a "}" outside a rule is dropped; so is text before a nested "{".
        TParseCase{"junk here } p { color: red }", {"P|0"}, {"COLOR: RED|0"}},
        TParseCase{"p { a: 1 { b: 2 } i { c: 3 }", {"P|0", "I|1"}, {"B: 2|0", "C: 3|1"}},
        TParseCase{"p; .note { color: red }", {"P|0", ".NOTE|0"}, {"COLOR: RED|1"}},
        TParseCase{"p { color: red", {"P|0"}, {"COLOR: RED|0"}},
        TParseCase{"\n{ color: red }", {}, {"COLOR: RED|-1"}},
        TParseCase{"a:hover { color: red } p b {}", {"A:HOVER|0", "P B|0"}, {"COLOR: RED|0"}}));

TEST(CSSParsing, RemoveCommentsDeletesEachCommentAndAnUnclosedTail)
{
    EXPECT_EQ(TCSS::RemoveComments(QStringLiteral("a/* x */b/**/c")), u"abc");
    EXPECT_EQ(TCSS::RemoveComments(QStringLiteral("a/*/b*/c")), u"ac");
    EXPECT_EQ(TCSS::RemoveComments(QStringLiteral("a /* open")), u"a ");
    // Removing a comment joins "/" and "*" into the start of another one.
    EXPECT_EQ(TCSS::RemoveComments(QStringLiteral("a//* x */* y */b")), u"ab");
}

TEST(CSSParsing, LaterSheetsAppend)
{
    TCSS css;
    css.LoadCSSFromString(QStringLiteral("p { color: red }"));
    css.LoadCSSFromString(QStringLiteral("i { color: blue }"));
    EXPECT_EQ(Listing(css.Elements()), QStringList({"P|0", "I|1"}));
    EXPECT_EQ(Listing(css.Properties()), QStringList({"COLOR: RED|0", "COLOR: BLUE|1"}));
}

TEST(CSSParsing, DebugListingGoesToTheTargetLines)
{
    TCSS css;
    css.LoadCSSFromString(QStringLiteral("p { color: red } .x { font-size: 9 }"));
    THelpTestTarget target;
    css.Debug_OutputAllCSSToRichEdit(target);
    EXPECT_EQ(target.Paragraphs(), QStringList({"Elements ------------", "0. P 0", "1. .X 1", "Properties ----------",
                                                "0. COLOR: RED 0", "1. FONT-SIZE: 9 1", "---------------------"}));
}

TEST(CSSParsing, DeclarationNameAndValue)
{
    EXPECT_EQ(TCSS::GetDeclarationName(u"FONT-FAMILY : 'A B', C"), u"FONT-FAMILY");
    EXPECT_EQ(TCSS::GetDeclarationValue(u"FONT-FAMILY : 'A B', C"), u"A B");
    EXPECT_EQ(TCSS::GetDeclarationValue(u"FONT-FAMILY: \"A\""), u"A");
    EXPECT_EQ(TCSS::GetDeclarationName(u"COLOR RED"), u"");
    EXPECT_EQ(TCSS::GetDeclarationValue(u"COLOR RED"), u"");
}

// The format a target ends with after DoCSS from a 10-point black start in `startStyle`.
struct TDoCSSCase
{
    const char* sheet;
    const char* element;
    const char* classval;
    const char* idval;
    TCharFormat expected;
    TAlignment alignment = paLeftJustify;
    TFontStyles startStyle = {};
};

TCharFormat Format(const char* name, int size, TColor color, TFontStyles style = {})
{
    return {QString::fromUtf8(name), size, color, style, clNoColor};
}

class DoCSSTest : public ::testing::TestWithParam<TDoCSSCase>
{
};

TEST_P(DoCSSTest, AppliesElementThenClassThenIdRules)
{
    const TDoCSSCase& c = GetParam();
    THelpTestTarget target;
    target.SetBaseFont(QStringLiteral("Base"), 10);
    target.SelAttributes().SetStyle(c.startStyle);
    TCSS css;
    css.LoadCSSFromString(QString::fromUtf8(c.sheet));
    css.DoCSS(target, QString::fromUtf8(c.classval), QString::fromUtf8(c.idval), QString::fromUtf8(c.element));
    TTextAttributes a = target.SelAttributes();
    EXPECT_EQ(a.Name(), c.expected.Name);
    EXPECT_EQ(a.Size(), c.expected.Size);
    EXPECT_EQ(a.Color(), c.expected.Color);
    EXPECT_EQ(a.Style(), c.expected.Style);
    EXPECT_EQ(target.Paragraph().Alignment(), c.alignment);
}

constexpr TColor kRed = RGBToColor(255, 0, 0);
constexpr TColor kGreen = RGBToColor(0, 128, 0);
constexpr TColor kBlue = RGBToColor(0, 0, 255);

INSTANTIATE_TEST_SUITE_P(
    Cases, DoCSSTest,
    ::testing::Values(
        TDoCSSCase{"p { color: red } p { color: blue }", "p", "", "", Format("Base", 10, kRed)},
        TDoCSSCase{"/* note */ H1 { FONT-SIZE: 150% }", "H1", "", "", Format("Base", 15, 0)},
        TDoCSSCase{".note { font-family: 'Courier New', monospace }", "", "note", "", Format("COURIER NEW", 10, 0)},
        TDoCSSCase{"p { color: red } .x { color: green } #y { color: blue }", "P", "x", "y", Format("Base", 10, kBlue)},
        TDoCSSCase{"p { color: red } .x { color: green }", "P", "x", "", Format("Base", 10, kGreen)},
        TDoCSSCase{"h1, h2 { color: red }", "H1", "", "", Format("Base", 10, 0)},
        TDoCSSCase{"p { COLOR RED }", "P", "", "", Format("Base", 10, 0)},
        TDoCSSCase{"p { color: #00ff00 }", "P", "", "", Format("Base", 10, RGBToColor(0, 255, 0))},
        TDoCSSCase{"p { color: red; color: #0f0 }", "P", "", "", Format("Base", 10, kRed)},
        TDoCSSCase{"p { color: Navy }", "P", "", "", Format("Base", 10, RGBToColor(0, 0, 128))},
        TDoCSSCase{"p { font-weight: bold; font-style: italic; font-style: underline; font-style: strikeout }", "P",
                   "", "", Format("Base", 10, 0, fsBold | fsItalic | fsUnderline | fsStrikeOut)},
        TDoCSSCase{"p { font-style: bold; font-weight: 400; font-weight: 700 }", "P", "", "",
                   Format("Base", 10, 0, fsBold)},
        TDoCSSCase{"p { font-style: oblique; font-style: normal; font-style: bold }", "P", "", "",
                   Format("Base", 10, 0, fsBold)},
        // A later declaration of a rule wins; sizes follow one another.
        TDoCSSCase{"p { font-size: 150%; font-size: 200%; color: red; color: blue }", "P", "", "",
                   Format("Base", 30, kBlue)},
        TDoCSSCase{"p { font-size: 150%; font-size: 12px; font-size: 50% }", "P", "", "", Format("Base", 6, 0)},
        TDoCSSCase{"p { font-size: 12PT; line-height: 3; text-decoration: underline }", "P", "", "",
                   Format("Base", 10, 0)},
        TDoCSSCase{"p { text-align: center }", "P", "", "", Format("Base", 10, 0), paCenter},
        TDoCSSCase{"p { text-align: right; text-align: justify }", "P", "", "", Format("Base", 10, 0),
                   paRightJustify},
        // Styles add to the style in force, and "normal" clears bold set before.
        TDoCSSCase{"p { font-weight: bold }", "P", "", "", Format("Base", 10, 0, fsBold | fsUnderline), paLeftJustify,
                   fsUnderline},
        TDoCSSCase{"p { font-style: normal }", "P", "", "", Format("Base", 10, 0), paLeftJustify, fsBold | fsUnderline}));

TEST(DoCSS, RuleLoadedLaterIsUsedFromThenOn)
{
    THelpTestTarget target;
    TCSS css;
    css.LoadCSSFromString(QStringLiteral("p { color: red }"));
    css.DoCSS(target, QString(), QString(), QStringLiteral("P"));
    // A declaration before any selector of a later sheet starts the last rule's declarations anew.
    css.LoadCSSFromString(QStringLiteral("\n{ font-size: 20 }"));
    target.SelAttributes().SetColor(0);
    css.DoCSS(target, QString(), QString(), QStringLiteral("P"));
    EXPECT_EQ(target.SelAttributes().Color(), 0u);
    EXPECT_EQ(target.SelAttributes().Size(), 20);
}

struct TValueCase
{
    const char* sheet;
    const char* element;
    const char* type;
    const char* expected;
};

class GetValueFromCSSTest : public ::testing::TestWithParam<TValueCase>
{
};

TEST_P(GetValueFromCSSTest, FindsTheLastNonEmptyValue)
{
    TCSS css;
    css.LoadCSSFromString(QString::fromUtf8(GetParam().sheet));
    EXPECT_EQ(css.GetValueFromCSS(QString::fromUtf8(GetParam().element), QStringLiteral("WIDTH"),
                                  QString::fromUtf8(GetParam().type)),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GetValueFromCSSTest,
    ::testing::Values(TValueCase{"img { width: 100px; width: 200px }", "IMG", "", "200PX"},
                      TValueCase{"img { width: 100px; width: }", "IMG", "", "100PX"},
                      TValueCase{".pic { width: 5 } #pic { width: 6 }", "pic", "CLASS", "6"},
                      TValueCase{".pic { width: 5 }", "pic", "CLASS", "5"},
                      TValueCase{"img { height: 5 }", "IMG", "", ""}, TValueCase{"", "IMG", "", ""}));

struct TSizeCase
{
    const char* text;
    int expected; // from 10 points
};

class SetFontSizeFromTextTest : public ::testing::TestWithParam<TSizeCase>
{
};

TEST_P(SetFontSizeFromTextTest, SetsPointsOrScales)
{
    THelpTestTarget target;
    target.SelAttributes().SetSize(10);
    SetFontSizeFromText(target, QString::fromUtf8(GetParam().text));
    EXPECT_EQ(target.SelAttributes().Size(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SetFontSizeFromTextTest,
                         ::testing::Values(TSizeCase{"12px", 12}, TSizeCase{"12", 12}, TSizeCase{"  14", 14},
                                           TSizeCase{"150%", 15}, TSizeCase{"125%", 12}, TSizeCase{"135%", 14},
                                           TSizeCase{"12PT", 10}, TSizeCase{"1.2EM", 10}, TSizeCase{"12 PX", 10},
                                           TSizeCase{"", 10}, TSizeCase{"99999999999", 10}, TSizeCase{"abc%", 10}));

struct TColorCase
{
    const char* text;
    TColor expected;
};

class HTMLColorToColorTest : public ::testing::TestWithParam<TColorCase>
{
};

TEST_P(HTMLColorToColorTest, ReadsNamesAndSixDigits)
{
    EXPECT_EQ(HTMLColorToColor(QString::fromUtf8(GetParam().text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HTMLColorToColorTest,
    ::testing::Values(TColorCase{"black", RGBToColor(0, 0, 0)}, TColorCase{" Navy ", RGBToColor(0, 0, 0x80)},
                      TColorCase{"GRAY", RGBToColor(0x80, 0x80, 0x80)}, TColorCase{"grey", clNoColor},
                      TColorCase{"silver", RGBToColor(0xC0, 0xC0, 0xC0)}, TColorCase{"fuchsia", RGBToColor(255, 0, 255)},
                      TColorCase{"aqua", RGBToColor(0, 255, 255)}, TColorCase{"olive", RGBToColor(0x80, 0x80, 0)},
                      TColorCase{"#123456", RGBToColor(0x12, 0x34, 0x56)}, TColorCase{"#00ff00", RGBToColor(0, 255, 0)},
                      TColorCase{"#abcdefXYZ", RGBToColor(0xAB, 0xCD, 0xEF)}, TColorCase{"#0f0", clNoColor},
                      TColorCase{"#12345G", clNoColor}, TColorCase{"#+12345", clNoColor},
                      TColorCase{"rgb(0,0,255)", clNoColor}, TColorCase{"", clNoColor}));

TEST(LoadCSSFromFile, ReadsAnExistingFileAndSkipsAMissingOne)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("help.css"));
    WriteFile(path, ".caf\xE9 { font-family: Caf\xE9 }"); // Windows-1252

    TCSS css;
    EXPECT_FALSE(css.LoadCSSFromFile(dir.filePath(QStringLiteral("missing.css"))));
    EXPECT_EQ(css.NumElements(), 0);
    EXPECT_TRUE(css.LoadCSSFromFile(path));
    EXPECT_EQ(Listing(css.Elements()), QStringList({QStringLiteral(".CAF\u00C9|0")}));
    EXPECT_EQ(Listing(css.Properties()), QStringList({QStringLiteral("FONT-FAMILY: CAF\u00C9|0")}));
}

} // namespace
