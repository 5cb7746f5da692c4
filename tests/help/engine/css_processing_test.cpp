#include "help/engine/css_processing.h"
#include "help/engine/html_utils.h"

#include "help_test_target.h"
#include "support/test_support.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace plotwell;

namespace {

QStringList Listing(const QList<StyleSheetEntry>& entries)
{
    QStringList result;
    for (const StyleSheetEntry& e : entries)
        result.append(e.text + u'|' + QString::number(e.index));
    return result;
}

struct ParseCase
{
    const char* sheet;
    QStringList elements;   // "selector|first declaration"
    QStringList properties; // "declaration|rule"
};

class CSSParsingTest : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(CSSParsingTest, FillsBothLists)
{
    StyleSheet css;
    css.LoadCSSFromString(QString::fromUtf8(GetParam().sheet));
    EXPECT_EQ(Listing(css.Elements()), GetParam().elements);
    EXPECT_EQ(Listing(css.Properties()), GetParam().properties);
    EXPECT_EQ(css.NumElements(), GetParam().elements.size());
    EXPECT_EQ(css.NumProperties(), GetParam().properties.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CSSParsingTest,
    ::testing::Values(
        ParseCase{"p { color: red } p { color: blue }", {"P|0", "P|1"}, {"COLOR: RED|0", "COLOR: BLUE|1"}},
        ParseCase{"h1, h2 { color: red; font-family : 'Times New Roman', serif }",
                   {"H1, H2|0"},
                   {"COLOR: RED|0", "FONT-FAMILY : 'TIMES NEW ROMAN', SERIF|0"}},
        // The stray "*/" stays in the text and becomes a selector without declarations.
        ParseCase{"p { color: red } */ /* x */", {"P|0", "*/|0"}, {"COLOR: RED|0"}},
        ParseCase{"/* note */ H1 { FONT-SIZE: 150% }", {"H1|0"}, {"FONT-SIZE: 150%|0"}},
        ParseCase{"p { color: red } /* open", {"P|0"}, {"COLOR: RED|0"}},
        ParseCase{"/* open", {}, {}},
        // Text before a "}" outside a rule is dropped; so is text before a nested "{".
        ParseCase{"junk here } p { color: red }", {"P|0"}, {"COLOR: RED|0"}},
        ParseCase{"p { a: 1 { b: 2 } i { c: 3 }", {"P|0", "I|1"}, {"B: 2|0", "C: 3|1"}},
        ParseCase{"p; .note { color: red }", {"P|0", ".NOTE|0"}, {"COLOR: RED|1"}},
        ParseCase{"p { color: red", {"P|0"}, {"COLOR: RED|0"}},
        ParseCase{"\n{ color: red }", {}, {"COLOR: RED|-1"}},
        ParseCase{"a:hover { color: red } p b {}", {"A:HOVER|0", "P B|0"}, {"COLOR: RED|0"}}));

TEST(CSSParsing, RemoveCommentsDeletesEachCommentAndAnUnclosedTail)
{
    EXPECT_EQ(StyleSheet::RemoveComments(QStringLiteral("a/* x */b/**/c")), u"abc");
    EXPECT_EQ(StyleSheet::RemoveComments(QStringLiteral("a/*/b*/c")), u"ac");
    EXPECT_EQ(StyleSheet::RemoveComments(QStringLiteral("a /* open")), u"a ");
    // Removing a comment joins "/" and "*" into the start of another one.
    EXPECT_EQ(StyleSheet::RemoveComments(QStringLiteral("a//* x */* y */b")), u"ab");
}

TEST(CSSParsing, LaterSheetsAppend)
{
    StyleSheet css;
    css.LoadCSSFromString(QStringLiteral("p { color: red }"));
    css.LoadCSSFromString(QStringLiteral("i { color: blue }"));
    EXPECT_EQ(Listing(css.Elements()), QStringList({"P|0", "I|1"}));
    EXPECT_EQ(Listing(css.Properties()), QStringList({"COLOR: RED|0", "COLOR: BLUE|1"}));
}

TEST(CSSParsing, DebugListingGoesToTheTargetLines)
{
    StyleSheet css;
    css.LoadCSSFromString(QStringLiteral("p { color: red } .x { font-size: 9 }"));
    HelpTestTarget target;
    css.Debug_OutputAllCSSToRichEdit(target);
    EXPECT_EQ(target.Paragraphs(), QStringList({"Elements ------------", "0. P 0", "1. .X 1", "Properties ----------",
                                                "0. COLOR: RED 0", "1. FONT-SIZE: 9 1", "---------------------"}));
}

TEST(CSSParsing, DeclarationNameAndValue)
{
    EXPECT_EQ(StyleSheet::GetDeclarationName(u"FONT-FAMILY : 'A B', C"), u"FONT-FAMILY");
    EXPECT_EQ(StyleSheet::GetDeclarationValue(u"FONT-FAMILY : 'A B', C"), u"A B");
    EXPECT_EQ(StyleSheet::GetDeclarationValue(u"FONT-FAMILY: \"A\""), u"A");
    EXPECT_EQ(StyleSheet::GetDeclarationName(u"COLOR RED"), u"");
    EXPECT_EQ(StyleSheet::GetDeclarationValue(u"COLOR RED"), u"");
}

// The format a target ends with after DoCSS from a 10-point black start in `startStyle`.
struct DoCSSCase
{
    const char* sheet;
    const char* element;
    const char* classval;
    const char* idval;
    CharacterFormat expected;
    ParagraphAlignment alignment = kLeftJustify;
    FontStyles startStyle = {};
};

CharacterFormat Format(const char* name, int size, RgbColor color, FontStyles style = {})
{
    return {QString::fromUtf8(name), size, color, style, clNoColor};
}

class DoCSSTest : public ::testing::TestWithParam<DoCSSCase>
{
};

TEST_P(DoCSSTest, AppliesElementThenClassThenIdRules)
{
    const DoCSSCase& c = GetParam();
    HelpTestTarget target;
    target.SetBaseFont(QStringLiteral("Base"), 10);
    target.SelAttributes().SetStyle(c.startStyle);
    StyleSheet css;
    css.LoadCSSFromString(QString::fromUtf8(c.sheet));
    css.DoCSS(target, QString::fromUtf8(c.classval), QString::fromUtf8(c.idval), QString::fromUtf8(c.element));
    TextAttributes a = target.SelAttributes();
    EXPECT_EQ(a.Name(), c.expected.name);
    EXPECT_EQ(a.Size(), c.expected.size);
    EXPECT_EQ(a.Color(), c.expected.color);
    EXPECT_EQ(a.Style(), c.expected.style);
    EXPECT_EQ(target.Paragraph().Alignment(), c.alignment);
}

constexpr RgbColor kRed = RGBToColor(255, 0, 0);
constexpr RgbColor kGreen = RGBToColor(0, 128, 0);
constexpr RgbColor kBlue = RGBToColor(0, 0, 255);

INSTANTIATE_TEST_SUITE_P(
    Cases, DoCSSTest,
    ::testing::Values(
        DoCSSCase{"p { color: red } p { color: blue }", "p", "", "", Format("Base", 10, kRed)},
        DoCSSCase{"/* note */ H1 { FONT-SIZE: 150% }", "H1", "", "", Format("Base", 15, 0)},
        DoCSSCase{".note { font-family: 'Courier New', monospace }", "", "note", "", Format("COURIER NEW", 10, 0)},
        DoCSSCase{"p { color: red } .x { color: green } #y { color: blue }", "P", "x", "y", Format("Base", 10, kBlue)},
        DoCSSCase{"p { color: red } .x { color: green }", "P", "x", "", Format("Base", 10, kGreen)},
        DoCSSCase{"h1, h2 { color: red }", "H1", "", "", Format("Base", 10, 0)},
        DoCSSCase{"p { COLOR RED }", "P", "", "", Format("Base", 10, 0)},
        DoCSSCase{"p { color: #00ff00 }", "P", "", "", Format("Base", 10, RGBToColor(0, 255, 0))},
        DoCSSCase{"p { color: red; color: #0f0 }", "P", "", "", Format("Base", 10, kRed)},
        DoCSSCase{"p { color: Navy }", "P", "", "", Format("Base", 10, RGBToColor(0, 0, 128))},
        DoCSSCase{"p { font-weight: bold; font-style: italic; font-style: underline; font-style: strikeout }", "P",
                   "", "", Format("Base", 10, 0, kBold | kItalic | kUnderline | kStrikeOut)},
        DoCSSCase{"p { font-style: bold; font-weight: 400; font-weight: 700 }", "P", "", "",
                   Format("Base", 10, 0, kBold)},
        DoCSSCase{"p { font-style: oblique; font-style: normal; font-style: bold }", "P", "", "",
                   Format("Base", 10, 0, kBold)},
        // A later declaration of a rule wins; sizes follow one another.
        DoCSSCase{"p { font-size: 150%; font-size: 200%; color: red; color: blue }", "P", "", "",
                   Format("Base", 30, kBlue)},
        DoCSSCase{"p { font-size: 150%; font-size: 12px; font-size: 50% }", "P", "", "", Format("Base", 6, 0)},
        DoCSSCase{"p { font-size: 12PT; line-height: 3; text-decoration: underline }", "P", "", "",
                   Format("Base", 10, 0)},
        DoCSSCase{"p { text-align: center }", "P", "", "", Format("Base", 10, 0), kCenter},
        DoCSSCase{"p { text-align: right; text-align: justify }", "P", "", "", Format("Base", 10, 0),
                   kRightJustify},
        // Styles add to the style in force, and "normal" clears bold set before.
        DoCSSCase{"p { font-weight: bold }", "P", "", "", Format("Base", 10, 0, kBold | kUnderline), kLeftJustify,
                   kUnderline},
        DoCSSCase{"p { font-style: normal }", "P", "", "", Format("Base", 10, 0), kLeftJustify, kBold | kUnderline}));

TEST(DoCSS, RuleLoadedLaterIsUsedFromThenOn)
{
    HelpTestTarget target;
    StyleSheet css;
    css.LoadCSSFromString(QStringLiteral("p { color: red }"));
    css.DoCSS(target, QString(), QString(), QStringLiteral("P"));
    // A declaration before any selector of a later sheet starts the last rule's declarations anew.
    css.LoadCSSFromString(QStringLiteral("\n{ font-size: 20 }"));
    target.SelAttributes().SetColor(0);
    css.DoCSS(target, QString(), QString(), QStringLiteral("P"));
    EXPECT_EQ(target.SelAttributes().Color(), 0u);
    EXPECT_EQ(target.SelAttributes().Size(), 20);
}

struct ValueCase
{
    const char* sheet;
    const char* element;
    const char* type;
    const char* expected;
};

class GetValueFromCSSTest : public ::testing::TestWithParam<ValueCase>
{
};

TEST_P(GetValueFromCSSTest, FindsTheLastNonEmptyValue)
{
    StyleSheet css;
    css.LoadCSSFromString(QString::fromUtf8(GetParam().sheet));
    EXPECT_EQ(css.GetValueFromCSS(QString::fromUtf8(GetParam().element), QStringLiteral("WIDTH"),
                                  QString::fromUtf8(GetParam().type)),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GetValueFromCSSTest,
    ::testing::Values(ValueCase{"img { width: 100px; width: 200px }", "IMG", "", "200PX"},
                      ValueCase{"img { width: 100px; width: }", "IMG", "", "100PX"},
                      ValueCase{".pic { width: 5 } #pic { width: 6 }", "pic", "CLASS", "6"},
                      ValueCase{".pic { width: 5 }", "pic", "CLASS", "5"},
                      ValueCase{"img { height: 5 }", "IMG", "", ""}, ValueCase{"", "IMG", "", ""}));

struct SizeCase
{
    const char* text;
    int expected; // from 10 points
};

class SetFontSizeFromTextTest : public ::testing::TestWithParam<SizeCase>
{
};

TEST_P(SetFontSizeFromTextTest, SetsPointsOrScales)
{
    HelpTestTarget target;
    target.SelAttributes().SetSize(10);
    SetFontSizeFromText(target, QString::fromUtf8(GetParam().text));
    EXPECT_EQ(target.SelAttributes().Size(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SetFontSizeFromTextTest,
                         ::testing::Values(SizeCase{"12px", 12}, SizeCase{"12", 12}, SizeCase{"  14", 14},
                                           SizeCase{"150%", 15}, SizeCase{"125%", 12}, SizeCase{"135%", 14},
                                           SizeCase{"12PT", 10}, SizeCase{"1.2EM", 10}, SizeCase{"12 PX", 10},
                                           SizeCase{"", 10}, SizeCase{"99999999999", 10}, SizeCase{"abc%", 10}));

struct ColorCase
{
    const char* text;
    RgbColor expected;
};

class HTMLColorToColorTest : public ::testing::TestWithParam<ColorCase>
{
};

TEST_P(HTMLColorToColorTest, ReadsNamesAndSixDigits)
{
    EXPECT_EQ(HTMLColorToColor(QString::fromUtf8(GetParam().text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HTMLColorToColorTest,
    ::testing::Values(ColorCase{"black", RGBToColor(0, 0, 0)}, ColorCase{" Navy ", RGBToColor(0, 0, 0x80)},
                      ColorCase{"GRAY", RGBToColor(0x80, 0x80, 0x80)}, ColorCase{"grey", clNoColor},
                      ColorCase{"silver", RGBToColor(0xC0, 0xC0, 0xC0)}, ColorCase{"fuchsia", RGBToColor(255, 0, 255)},
                      ColorCase{"aqua", RGBToColor(0, 255, 255)}, ColorCase{"olive", RGBToColor(0x80, 0x80, 0)},
                      ColorCase{"#123456", RGBToColor(0x12, 0x34, 0x56)}, ColorCase{"#00ff00", RGBToColor(0, 255, 0)},
                      ColorCase{"#abcdefXYZ", RGBToColor(0xAB, 0xCD, 0xEF)}, ColorCase{"#0f0", clNoColor},
                      ColorCase{"#12345G", clNoColor}, ColorCase{"#+12345", clNoColor},
                      ColorCase{"rgb(0,0,255)", clNoColor}, ColorCase{"", clNoColor}));

TEST(LoadCSSFromFile, ReadsAnExistingFileAndSkipsAMissingOne)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("help.css"));
    WriteFile(path, ".caf\xE9 { font-family: Caf\xE9 }"); // Windows-1252

    StyleSheet css;
    EXPECT_FALSE(css.LoadCSSFromFile(dir.filePath(QStringLiteral("missing.css"))));
    EXPECT_EQ(css.NumElements(), 0);
    EXPECT_TRUE(css.LoadCSSFromFile(path));
    EXPECT_EQ(Listing(css.Elements()), QStringList({QStringLiteral(".CAF\u00C9|0")}));
    EXPECT_EQ(Listing(css.Properties()), QStringList({QStringLiteral("FONT-FAMILY: CAF\u00C9|0")}));
}

} // namespace
