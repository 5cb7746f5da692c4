#include "help/engine/html_converter.h"

#include "help_test_target.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextImageFormat>

#include <gtest/gtest.h>

using namespace plotwell;

namespace {

constexpr RgbColor kBlack = RGBToColor(0, 0, 0);
constexpr RgbColor kRed = RGBToColor(255, 0, 0);
constexpr RgbColor kBlue = HelpTestTarget::kLinkColor;
const QString kBullet = QStringLiteral("\u2022  ");

struct TextCase
{
    const char* html;
    QStringList paragraphs;
};

class ConvertedTextTest : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(ConvertedTextTest, GivesTheParagraphs)
{
    HelpTestTarget target;
    target.Convert(QString::fromUtf8(GetParam().html));
    EXPECT_EQ(target.Paragraphs(), GetParam().paragraphs);
}

INSTANTIATE_TEST_SUITE_P(
    TextRuns, ConvertedTextTest,
    ::testing::Values(TextCase{"a\r\nb", {"ab"}}, TextCase{"a \r\n b", {"a b"}}, TextCase{"a\tb  \t c", {"a b c"}},
                      TextCase{"<pre>a\r\n  b</pre>c", {"", "a", "  b", "c"}}, TextCase{"&nbsp;&nbsp;x", {"  x"}},
                      TextCase{"&lt;b&gt; &Auml; &AUML; &#65;&#x41; & x &unknownname;",
                                {QStringLiteral("<b> \u00C4 &AUML; AA & x &unknownname;")}},
                      TextCase{"\xCE\x94 \xE4\xB8\xAD &#8364;&#9829;", {QStringLiteral("\u0394 \u4E2D \u20AC\u2665")}}));

INSTANTIATE_TEST_SUITE_P(
    Blocks, ConvertedTextTest,
    ::testing::Values(
        TextCase{"<p>A</p><p>B</p>", {"", "A", "", "B", ""}}, TextCase{"x<p>A", {"x", "A"}},
        TextCase{"<ul><li>a<li>b</ul>x", {"", "", kBullet + "a", "", kBullet + "b", "x"}},
        TextCase{"<ol><li>a<li>b</ol>", {"", "", "1. a", "", "2. b", ""}},
        TextCase{"<li>a<li>b", {"", kBullet + "a", "", kBullet + "b"}},
        TextCase{"</ul></ol>x", {"x"}},
        TextCase{"<h1>T</h1>", {"", "", "T", ""}}, TextCase{"<p><h1>T</h1>", {"", "", "", "", "T", ""}},
        TextCase{"<h2>T</h2>x", {"", "T", "x"}}, TextCase{"<h4>Note</h4>text", {"", "Notetext"}},
        TextCase{"<table><tr><td>a<td>b</table>", {"", "", "---------", "", "a", "b", "---------", ""}},
        TextCase{"<tr><td>a<td>b", {"ab"}}, TextCase{"<th>a</th>b", {"ab"}},
        TextCase{"<blockquote>q</blockquote>x", {"", "q", "x"}}));

INSTANTIATE_TEST_SUITE_P(
    Tags, ConvertedTextTest,
    ::testing::Values(TextCase{"<!-- <b> -->x", {"x"}}, TextCase{"<!---->x", {"x"}}, TextCase{"a<!-- b > c", {"a c"}},
                      TextCase{"a<!-- b", {"a"}}, TextCase{"text <unclosed", {"text "}},
                      TextCase{"a<br/>b<br>c<BR>d</br>e< br >f", {"a", "b", "c", "d", "e", "f"}},
                      TextCase{"< b>x</ b>", {"x"}}, TextCase{"<!DOCTYPE html><html><body><div>x</div></body></html>", {"x"}},
                      TextCase{"<head><title>T</title><style>p { color: red }</style></head>x", {"x"}},
                      TextCase{"<script>x = 1;</script>y", {"y"}}, TextCase{"<b x=\"1>2\">y", {"2\">y"}}));

TEST(HTMLToRichText, PreKeepsLinesInCourierOnePointSmaller)
{
    HelpTestTarget target;
    target.Convert(QStringLiteral("<pre>a\r\n  b</pre>c"));
    const CharacterFormat pre = target.FormatOf(QStringLiteral("  b"));
    EXPECT_EQ(pre.name, u"Courier New");
    EXPECT_EQ(pre.size, 11);
    const CharacterFormat after = target.FormatOf(QStringLiteral("c"));
    EXPECT_EQ(after.name, u"DejaVu Sans");
    EXPECT_EQ(after.size, 12);
}

TEST(HTMLToRichText, CharacterStylesAndAlignment)
{
    HelpTestTarget target;
    target.Convert(QStringLiteral("<b>B</b><i>I</i><u>U</u>n<code>C</code><cite>T</cite><q>Q</q><th>H</th>z"
                                  "<center>c</center><p align=right>r</p>l"));
    EXPECT_EQ(target.FormatOf(QStringLiteral("B")).style, kBold);
    EXPECT_EQ(target.FormatOf(QStringLiteral("I")).style, kItalic);
    EXPECT_EQ(target.FormatOf(QStringLiteral("U")).style, kUnderline);
    EXPECT_EQ(target.FormatOf(QStringLiteral("n")).style, FontStyles());
    EXPECT_EQ(target.FormatOf(QStringLiteral("C")).name, u"Courier New");
    EXPECT_EQ(target.FormatOf(QStringLiteral("C")).size, 11);
    EXPECT_EQ(target.FormatOf(QStringLiteral("T")).style, kItalic);
    EXPECT_EQ(target.FormatOf(QStringLiteral("Q")).style, kItalic);
    EXPECT_EQ(target.FormatOf(QStringLiteral("H")).style, kBold);
    const CharacterFormat z = target.FormatOf(QStringLiteral("z"));
    EXPECT_EQ(z.style, FontStyles());
    EXPECT_EQ(z.name, u"DejaVu Sans");
    EXPECT_EQ(z.size, 12);
    const QStringList paragraphs = target.Paragraphs();
    ASSERT_EQ(paragraphs, QStringList({"BIUnCTQHzc", "r", "l"}));
    EXPECT_EQ(target.AlignmentOfParagraph(0), kLeftJustify); // the end tag of CENTER
    EXPECT_EQ(target.AlignmentOfParagraph(1), kRightJustify);
    EXPECT_EQ(target.AlignmentOfParagraph(2), kLeftJustify);
}

struct IndentCase
{
    const char* html;
    QStringList paragraphs;
    std::vector<int> indents;
};

class ListIndentTest : public ::testing::TestWithParam<IndentCase>
{
};

TEST_P(ListIndentTest, IndentsItemsTenPointsALevel)
{
    HelpTestTarget target;
    target.Convert(QString::fromUtf8(GetParam().html));
    EXPECT_EQ(target.Paragraphs(), GetParam().paragraphs);
    std::vector<int> indents;
    for (int i = 0; i < target.Document()->blockCount(); ++i)
        indents.push_back(target.IndentOfParagraph(i));
    EXPECT_EQ(indents, GetParam().indents);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ListIndentTest,
    ::testing::Values(
        IndentCase{"<ul><li>a<li>b</ul>x", {"", "", kBullet + "a", "", kBullet + "b", "x"}, {0, 0, 10, 0, 10, 0}},
        IndentCase{"<ul><li>a</ul><ul><li>b</ul>x",
                    {"", "", kBullet + "a", "", "", kBullet + "b", "x"},
                    {0, 0, 10, 0, 0, 10, 0}},
        IndentCase{"<ol><li>a<ul><li>b</ul></ol>x",
                    {"", "", "1. a", "", kBullet + "b", "", "x"},
                    {0, 0, 10, 10, 20, 10, 0}},
        IndentCase{"<blockquote>q</blockquote>x", {"", "q", "x"}, {0, 30, 0}}));

TEST(HTMLToRichText, ListsDeeperThanTwentyLevelsShareTheLastLevel)
{
    QString html;
    for (int i = 0; i < 25; ++i)
        html += QStringLiteral("<ol><li>x");
    for (int i = 0; i < 25; ++i)
        html += QStringLiteral("</ol>");
    html += QStringLiteral("end");
    HelpTestTarget target;
    target.Convert(html);
    int deepest = 0;
    for (int i = 0; i < target.Document()->blockCount(); ++i)
        deepest = std::max(deepest, target.IndentOfParagraph(i));
    EXPECT_EQ(deepest, 200);
    EXPECT_EQ(target.Paragraphs().last(), u"end");
    EXPECT_EQ(target.IndentOfParagraph(target.Document()->blockCount() - 1), 0);
    EXPECT_EQ(target.Paragraphs().filter(QStringLiteral("1. x")).size(), 25);
}

struct HeadingCase
{
    const char* html;
    const char* text;
    int size;
    FontStyles style;
};

class HeadingTest : public ::testing::TestWithParam<HeadingCase>
{
};

TEST_P(HeadingTest, GrowsTheSizeAndSetsTheStyle)
{
    HelpTestTarget target;
    target.Convert(QString::fromUtf8(GetParam().html));
    const CharacterFormat f = target.FormatOf(QString::fromUtf8(GetParam().text));
    EXPECT_EQ(f.size, GetParam().size);
    EXPECT_EQ(f.style, GetParam().style);
}

INSTANTIATE_TEST_SUITE_P(Cases, HeadingTest,
                         ::testing::Values(HeadingCase{"<h1>T</h1>", "T", 24, kBold},
                                           HeadingCase{"<u><h1>T</h1>", "T", 24, kBold | kUnderline},
                                           HeadingCase{"<i><h2>T</h2>", "T", 19, kItalic},
                                           HeadingCase{"<u><h3>T</h3>", "T", 17, kBold | kItalic},
                                           HeadingCase{"<i><h4>Note</h4>text", "Note", 14, kBold},
                                           HeadingCase{"<h4>Note</h4>text", "text", 12, {}},
                                           HeadingCase{"<h5>T</h5>", "T", 13, kBold},
                                           HeadingCase{"<h1>T</h1>x", "x", 12, {}},
                                           HeadingCase{"<h6>T</h6>", "T", 12, {}}));

TEST(HTMLToRichText, HeadingAlignmentLastsToItsEnd)
{
    HelpTestTarget target;
    target.Convert(QStringLiteral("<h2 align=center>T</h2>x"));
    EXPECT_EQ(target.Paragraphs(), QStringList({"", "T", "x"}));
    EXPECT_EQ(target.AlignmentOfParagraph(1), kCenter);
    EXPECT_EQ(target.AlignmentOfParagraph(2), kLeftJustify);
}

struct FontCase
{
    const char* html;
    const char* text;
    CharacterFormat expected;
};

class FontTest : public ::testing::TestWithParam<FontCase>
{
};

TEST_P(FontTest, SetsSizeColourAndFace)
{
    HelpTestTarget target;
    target.Convert(QString::fromUtf8(GetParam().html));
    const CharacterFormat f = target.FormatOf(QString::fromUtf8(GetParam().text));
    EXPECT_EQ(f.size, GetParam().expected.size);
    EXPECT_EQ(f.color, GetParam().expected.color);
    EXPECT_EQ(f.name, GetParam().expected.name);
    EXPECT_EQ(f.style, GetParam().expected.style);
    EXPECT_EQ(f.backColor, GetParam().expected.backColor);
}

CharacterFormat Font(int size, RgbColor color = kBlack, const char* name = "DejaVu Sans", FontStyles style = {},
                 RgbColor back = clNoColor)
{
    return {QString::fromUtf8(name), size, color, style, back};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FontTest,
    ::testing::Values(
        FontCase{"<font size=+2>x</font>", "x", Font(18)}, FontCase{"<font size=-1>x</font>", "x", Font(9)},
        FontCase{"<font size=3>x</font>", "x", Font(10)}, FontCase{"<h1><font size=3>x</font>", "x", Font(10, kBlack, "DejaVu Sans", kBold)},
        FontCase{"<font size=7>x</font>", "x", Font(27)}, FontCase{"<font size=9>x</font>", "x", Font(12)},
        FontCase{"<font size=abc>x</font>", "x", Font(12)},
        FontCase{"<font color=red face=\"Courier New\">x</font>y", "x", Font(12, kRed, "Courier New")},
        FontCase{"<font color=red face=\"Courier New\">x</font>y", "y", Font(12)},
        // One saved format per tag name: the inner end tag puts back the outer one's.
        FontCase{"<font color=red>a<font color=green>b</font>c</font>d", "c", Font(12, kRed)},
        FontCase{"<font color=red>a<font color=green>b</font>c</font>d", "d", Font(12, kRed)},
        FontCase{"<font style=\"font-size: 20px; font-family: Courier New; font-style: italic\">x</font>", "x",
                  Font(20, kBlack, "Courier New", kItalic)},
        // "color" is not read out of "background-color".
        FontCase{"<span style=\"background-color: yellow; color: red\">x</span>y", "x",
                  Font(12, kRed, "DejaVu Sans", {}, RGBToColor(255, 255, 0))},
        FontCase{"<span style=\"background-color: yellow; color: red\">x</span>y", "y", Font(12)},
        FontCase{"<span style=\"font-style: bold\"><i>x</i></span>", "x", Font(12, kBlack, "DejaVu Sans", kBold | kItalic)},
        FontCase{"<style>.note { color: red; font-weight: bold }</style><span class=note>x</span>y", "x",
                  Font(12, kRed, "DejaVu Sans", kBold)},
        FontCase{"<style>.note { color: red; font-weight: bold }</style><span class=note>x</span>y", "y", Font(12)}));

TEST(HTMLToRichText, StyleSheetsAffectOnlyLaterElementsOutsideHead)
{
    HelpTestTarget outside;
    outside.Convert(QStringLiteral("<p>a</p><style>p { color: red }</style><p>x"));
    EXPECT_EQ(outside.FormatOf(QStringLiteral("a")).color, kBlack);
    EXPECT_EQ(outside.FormatOf(QStringLiteral("x")).color, kRed);

    HelpTestTarget inHead;
    inHead.Convert(QStringLiteral("<head><style>p { color: red }</style></head><p>x"));
    EXPECT_EQ(inHead.FormatOf(QStringLiteral("x")).color, kBlack);

    HelpTestTarget commented;
    commented.Convert(QStringLiteral("<style><!-- p { color: red } --></style><p>x"));
    EXPECT_EQ(commented.FormatOf(QStringLiteral("x")).color, kBlack);
}

TEST(HTMLToRichText, LinkedStyleSheetIsFoundInThePageFolderWithoutChangingTheCurrentFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteFile(dir.filePath(QStringLiteral("help.css")), "p { color: red }");
    const QString before = QDir::currentPath();
    const QString html = QStringLiteral("<head><link rel=stylesheet href=help.css></head><p>x");

    HelpTestTarget withFolder;
    withFolder.Convert(html, dir.path());
    EXPECT_EQ(withFolder.FormatOf(QStringLiteral("x")).color, kRed);
    EXPECT_EQ(QDir::currentPath(), before);

    HelpTestTarget withoutFolder;
    withoutFolder.Convert(html);
    EXPECT_EQ(withoutFolder.FormatOf(QStringLiteral("x")).color, kBlack);

    HelpTestTarget otherRel;
    otherRel.Convert(QStringLiteral("<link rel=icon href=help.css><p>x"), dir.path());
    EXPECT_EQ(otherRel.FormatOf(QStringLiteral("x")).color, kBlack);
}

struct LinkCase
{
    const char* html;
    const char* target;
    LinkInfo info;
};

class LinkTest : public ::testing::TestWithParam<LinkCase>
{
};

TEST_P(LinkTest, FillsTheLinkList)
{
    HelpTestTarget target;
    const LinkList urls = target.Convert(QString::fromUtf8(GetParam().html));
    ASSERT_EQ(urls.size(), 1);
    EXPECT_EQ(urls[0].target, QString::fromUtf8(GetParam().target));
    EXPECT_EQ(urls[0].info.start, GetParam().info.start);
    EXPECT_EQ(urls[0].info.length, GetParam().info.length);
    EXPECT_EQ(urls[0].info.kind, GetParam().info.kind);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinkTest,
    ::testing::Values(LinkCase{"<a href=#intro>Go</a> on", "#intro", {0, 2, kUrlLink}},
                      LinkCase{"ab<a href=www.example.org>site</a>", "http://www.example.org", {2, 4, kUrlLink}},
                      LinkCase{"<a href=\"https://example.org/a b\">x</a>", "https://example.org/a b", {0, 1, kUrlLink}},
                      LinkCase{"<a href=other.html>x</a>", "other.html", {0, 1, kUrlLink}},
                      LinkCase{"<a href=file:///nowhere/x.txt>x</a>", "file:///nowhere/x.txt", {0, 8, kFileLink}},
                      LinkCase{"<a href=#a name=b>x</a>", "#a", {0, 1, kUrlLink}},
                      LinkCase{"<a href=#open>x", "#open", {0, 0, kUrlLink}},
                      LinkCase{"x<a name=top></a>y", "top", {1, 0, kAnchorLink}},
                      LinkCase{"<a name=Contents:Setup></a>Setup", "Setup", {0, 1, kContentsLink}},
                      LinkCase{"<img src=missing.jpg alt=Chart>", "missing.jpg", {0, 16, kImageLink}}));

TEST(HTMLToRichText, LinkTextIsUnderlinedInTheLinkColourAndThenPutBack)
{
    HelpTestTarget target;
    target.Convert(QStringLiteral("<b><a href=#intro>Go</a> on"));
    const CharacterFormat link = target.FormatOf(QStringLiteral("Go"));
    EXPECT_EQ(link.style, kBold | kUnderline);
    EXPECT_EQ(link.color, kBlue);
    const CharacterFormat after = target.FormatOf(QStringLiteral(" on"));
    EXPECT_EQ(after.style, kBold);
    EXPECT_EQ(after.color, kBlack);
}

TEST(HTMLToRichText, ContentsMarkerAndAnchorHaveNoTextOfTheirOwn)
{
    HelpTestTarget target;
    target.Convert(QStringLiteral("<a name=Contents:Setup></a>Setup <a name=here></a>text"));
    EXPECT_EQ(target.Paragraphs(), QStringList({"", "Setup text"}));
    const CharacterFormat f = target.FormatOf(QStringLiteral("Setup text"));
    EXPECT_EQ(f.style, FontStyles());
    EXPECT_EQ(f.color, kBlack);
}

TEST(HTMLToRichText, LinkToAnExistingFileGetsAFileMark)
{
    const QString path = TestDataPath(QStringLiteral("help/picture.jpg"));
    HelpTestTarget target;
    const LinkList urls = target.Convert(QStringLiteral("<a href=\"%1\">N</a>").arg(path));
    EXPECT_EQ(target.PlainText(), u"[FILE] N");
    ASSERT_EQ(urls.size(), 1);
    EXPECT_EQ(urls[0].target, QStringLiteral("file:///") + path);
    EXPECT_EQ(urls[0].info.kind, kFileLink);
    EXPECT_EQ(urls[0].info.length, 8);
    EXPECT_EQ(target.FormatAt(0).style, kUnderline);
}

TEST(HTMLToRichText, MissingImageGivesAClickablePlaceholder)
{
    HelpTestTarget target;
    target.Convert(QStringLiteral("<img src=missing.jpg alt=Chart>x<img src=\"dir\\pic.jpg\"><img alt=none>"));
    EXPECT_EQ(target.PlainText(), u"[IMAGE: \"Chart\"]x[IMAGE: \"pic.jpg\"]");
    const CharacterFormat placeholder = target.FormatAt(0);
    EXPECT_EQ(placeholder.style, kUnderline);
    EXPECT_EQ(placeholder.color, kBlue);
    EXPECT_EQ(target.FormatOf(QStringLiteral("x")).style, FontStyles());
    EXPECT_EQ(target.FormatOf(QStringLiteral("x")).color, kBlack);
}

TEST(HTMLToRichText, ImageInsideALinkTakesTheLinkEndAndLeavesTheTextAfterPlain)
{
    HelpTestTarget target;
    const LinkList urls = target.Convert(QStringLiteral("<a href=#x><img src=missing.jpg></a>after"));
    ASSERT_EQ(urls.size(), 2);
    EXPECT_EQ(urls[0].info.length, 0);
    EXPECT_EQ(urls[1].info.kind, kImageLink);
    EXPECT_EQ(urls[1].info.length, 22);
    const CharacterFormat after = target.FormatOf(QStringLiteral("after"));
    EXPECT_EQ(after.style, FontStyles());
    EXPECT_EQ(after.color, kBlack);
}

struct RuleCase
{
    const char* html;
    int underscores;
};

class HorizontalRuleTest : public ::testing::TestWithParam<RuleCase>
{
};

TEST_P(HorizontalRuleTest, FillsTheAvailableWidthWithUnderscores)
{
    // 600 pixels available and a 7-pixel underscore: 86 underscores at full width.
    HelpTestTarget target;
    target.Convert(QString::fromUtf8(GetParam().html));
    const QStringList paragraphs = target.Paragraphs();
    ASSERT_EQ(paragraphs.size(), 3);
    EXPECT_EQ(paragraphs[1], QString(GetParam().underscores, u'_'));
    EXPECT_EQ(paragraphs[2], u"");
}

INSTANTIATE_TEST_SUITE_P(Cases, HorizontalRuleTest,
                         ::testing::Values(RuleCase{"<hr>", 52}, RuleCase{"<hr width=100>", 15},
                                           RuleCase{"<hr width=100px>", 15}, RuleCase{"<hr width=100%>", 86},
                                           RuleCase{"<hr width=150%>", 86}, RuleCase{"<hr width=1000>", 86},
                                           RuleCase{"<hr width=abc>", 1}, RuleCase{"<hr width=-50%>", 0},
                                           RuleCase{"</hr>", 52}, RuleCase{"<hr/>", 52}));

TEST(HTMLToRichText, HorizontalRuleLeavesTheMarginsOutAndPutsTheFormatBack)
{
    HelpTestTarget target;
    LinkList urls;
    HTMLToRichText(target, QStringLiteral("<b><font color=red><hr align=center>x"), false, kBlue, QString(), urls, 60);
    const QStringList paragraphs = target.Paragraphs();
    ASSERT_EQ(paragraphs.size(), 3);
    EXPECT_EQ(paragraphs[1].size(), 47); // round(0.6 * (540 / 7 + 1))
    EXPECT_EQ(target.AlignmentOfParagraph(1), kCenter);
    const CharacterFormat rule = target.FormatAt(1);
    EXPECT_EQ(rule.color, kBlack);
    EXPECT_EQ(rule.size, 10);
    EXPECT_EQ(rule.style, FontStyles());
    EXPECT_EQ(target.AlignmentOfParagraph(2), kLeftJustify);
    const CharacterFormat x = target.FormatOf(QStringLiteral("x"));
    EXPECT_EQ(x.color, kRed);
    EXPECT_EQ(x.size, 12);
    EXPECT_EQ(x.style, FontStyles()); // the style is not put back
}

TEST(HTMLToRichText, AppendsOrClears)
{
    HelpTestTarget target;
    LinkList urls;
    HTMLToRichText(target, QStringLiteral("<a href=#a>one</a>"), false, kBlue, QString(), urls, 0);
    HTMLToRichText(target, QStringLiteral(" <a href=#b>two</a>"), false, kBlue, QString(), urls, 0);
    EXPECT_EQ(target.PlainText(), u"one two");
    ASSERT_EQ(urls.size(), 2);
    EXPECT_EQ(urls[1].info.start, 4);
    EXPECT_EQ(urls[1].info.length, 3);
    HTMLToRichText(target, QStringLiteral("<p>three"), true, kBlue, QString(), urls, 0);
    EXPECT_EQ(target.Paragraphs(), QStringList({"", "three"}));
}

TEST(HTMLToRichText, ParagraphCheckSeesTextAlreadyInTheTarget)
{
    HelpTestTarget target;
    target.SetSelText(QStringLiteral("a\r\nb"));
    target.Convert(QStringLiteral("</p>c"));
    EXPECT_EQ(target.Paragraphs(), QStringList({"a", "b", "c"}));
}

// Pictures: the fixture is a 40 x 30 JPEG, blue with a yellow top left and a red bottom right
// quarter, written by QImageWriter.
struct ImageCase
{
    const char* attributes;
    QSize size;
};

class ImageTest : public ::testing::TestWithParam<ImageCase>
{
};

TEST_P(ImageTest, ShowsThePictureAtTheAskedSize)
{
    HelpTestTarget target;
    const LinkList urls = target.Convert(
        QStringLiteral("<img src=\"%1\" %2>x").arg(TestDataPath(QStringLiteral("help/picture.jpg")), QString::fromUtf8(GetParam().attributes)));
    EXPECT_TRUE(urls.isEmpty());
    ASSERT_EQ(target.Document()->characterCount(), 3); // picture, "x", paragraph end
    QTextCursor c(target.Document());
    c.setPosition(1);
    const QTextImageFormat f = c.charFormat().toImageFormat();
    ASSERT_TRUE(f.isValid());
    EXPECT_EQ(QSize(qRound(f.width()), qRound(f.height())), GetParam().size);
    const QImage image = target.Document()->resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
    EXPECT_EQ(image.size(), GetParam().size);
    if (image.width() >= 10 && image.height() >= 10) {
        // The picture's colours survive: its top left quarter is yellow.
        const QColor corner = image.pixelColor(image.width() / 8, image.height() / 8);
        EXPECT_GT(corner.red(), 200);
        EXPECT_LT(corner.blue(), 100);
    }
    EXPECT_EQ(target.FormatOf(QStringLiteral("x")).style, FontStyles());
}

INSTANTIATE_TEST_SUITE_P(Cases, ImageTest,
                         ::testing::Values(ImageCase{"", {40, 30}}, ImageCase{"width=20", {20, 15}},
                                           ImageCase{"height=60", {80, 60}}, ImageCase{"width=50%", {300, 225}},
                                           ImageCase{"height=10%", {53, 40}}, ImageCase{"width=10 height=50", {10, 50}},
                                           ImageCase{"width=100px", {40, 30}}, ImageCase{"width=1", {1, 1}}));

TEST(HTMLToRichText, ImageSizeFromStyleSheetsAndThePageFolder)
{
    HelpTestTarget target;
    target.Convert(QStringLiteral("<style>img { width: 80px } .big { height: 90PX }</style>"
                                  "<img src=picture.jpg><img src=picture.jpg class=big width=4>"),
                   TestDataPath(QStringLiteral("help")));
    QList<QSize> sizes;
    for (QTextBlock::iterator it = target.Document()->begin().begin(); !it.atEnd(); ++it) {
        const QTextImageFormat f = it.fragment().charFormat().toImageFormat();
        if (f.isValid())
            sizes.append(QSize(qRound(f.width()), qRound(f.height())));
    }
    EXPECT_EQ(sizes, QList<QSize>({QSize(80, 60), QSize(80, 90)}));
}

struct PlaceholderCase
{
    const char* html;
    const char* text;
};

class ImageFallbackTest : public ::testing::TestWithParam<PlaceholderCase>
{
};

TEST_P(ImageFallbackTest, ShowsThePlaceholderAndGoesOn)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteFile(dir.filePath(QStringLiteral("bad.jpg")), "\xFF\xD8\xFF\xE0 this is not a picture");
    QImage(4, 4, QImage::Format_RGB32).save(dir.filePath(QStringLiteral("pic.png")));
    QFile::copy(TestDataPath(QStringLiteral("help/picture.jpg")), dir.filePath(QStringLiteral("picture.jpg")));

    HelpTestTarget target;
    const LinkList urls = target.Convert(QString::fromUtf8(GetParam().html), dir.path());
    EXPECT_EQ(target.PlainText(), QString::fromUtf8(GetParam().text));
    ASSERT_EQ(urls.size(), 1);
    EXPECT_EQ(urls[0].info.kind, kImageLink);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImageFallbackTest,
    ::testing::Values(PlaceholderCase{"<img src=bad.jpg>after", "[IMAGE: \"bad.jpg\"]after"},
                      PlaceholderCase{"<img src=pic.png>after", "[IMAGE: \"pic.png\"]after"},
                      PlaceholderCase{"<img src=picture.jpg width=4097>after", "[IMAGE: \"picture.jpg\"]after"},
                      PlaceholderCase{"<img src=picture.jpg height=4000>after", "[IMAGE: \"picture.jpg\"]after"},
                      PlaceholderCase{"<img src=picture.jpg width=99999%>after", "[IMAGE: \"picture.jpg\"]after"},
                      PlaceholderCase{"<img src=. alt=dot>after", "[IMAGE: \"dot\"]after"}));

} // namespace
