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

constexpr TColor kBlack = RGBToColor(0, 0, 0);
constexpr TColor kRed = RGBToColor(255, 0, 0);
constexpr TColor kBlue = THelpTestTarget::kLinkColor;
const QString kBullet = QStringLiteral("\u2022  ");

struct TTextCase
{
    const char* html;
    QStringList paragraphs;
};

class ConvertedTextTest : public ::testing::TestWithParam<TTextCase>
{
};

TEST_P(ConvertedTextTest, GivesTheParagraphs)
{
    THelpTestTarget target;
    target.Convert(QString::fromUtf8(GetParam().html));
    EXPECT_EQ(target.Paragraphs(), GetParam().paragraphs);
}

INSTANTIATE_TEST_SUITE_P(
    TextRuns, ConvertedTextTest,
    ::testing::Values(TTextCase{"a\r\nb", {"ab"}}, TTextCase{"a \r\n b", {"a b"}}, TTextCase{"a\tb  \t c", {"a b c"}},
                      TTextCase{"<pre>a\r\n  b</pre>c", {"", "a", "  b", "c"}}, TTextCase{"&nbsp;&nbsp;x", {"  x"}},
                      TTextCase{"&lt;b&gt; &Auml; &AUML; &#65;&#x41; & x &unknownname;",
                                {QStringLiteral("<b> \u00C4 &AUML; AA & x &unknownname;")}},
                      TTextCase{"\xCE\x94 \xE4\xB8\xAD &#8364;&#9829;", {QStringLiteral("\u0394 \u4E2D \u20AC\u2665")}}));

INSTANTIATE_TEST_SUITE_P(
    Blocks, ConvertedTextTest,
    ::testing::Values(
        TTextCase{"<p>A</p><p>B</p>", {"", "A", "", "B", ""}}, TTextCase{"x<p>A", {"x", "A"}},
        TTextCase{"<ul><li>a<li>b</ul>x", {"", "", kBullet + "a", "", kBullet + "b", "x"}},
        TTextCase{"<ol><li>a<li>b</ol>", {"", "", "1. a", "", "2. b", ""}},
        TTextCase{"<li>a<li>b", {"", kBullet + "a", "", kBullet + "b"}},
        TTextCase{"</ul></ol>x", {"x"}},
        TTextCase{"<h1>T</h1>", {"", "", "T", ""}}, TTextCase{"<p><h1>T</h1>", {"", "", "", "", "T", ""}},
        TTextCase{"<h2>T</h2>x", {"", "T", "x"}}, TTextCase{"<h4>Note</h4>text", {"", "Notetext"}},
        TTextCase{"<table><tr><td>a<td>b</table>", {"", "", "---------", "", "a", "b", "---------", ""}},
        TTextCase{"<tr><td>a<td>b", {"ab"}}, TTextCase{"<th>a</th>b", {"ab"}},
        TTextCase{"<blockquote>q</blockquote>x", {"", "q", "x"}}));

INSTANTIATE_TEST_SUITE_P(
    Tags, ConvertedTextTest,
    ::testing::Values(TTextCase{"<!-- <b> -->x", {"x"}}, TTextCase{"<!---->x", {"x"}}, TTextCase{"a<!-- b > c", {"a c"}},
                      TTextCase{"a<!-- b", {"a"}}, TTextCase{"text <unclosed", {"text "}},
                      TTextCase{"a<br/>b<br>c<BR>d</br>e< br >f", {"a", "b", "c", "d", "e", "f"}},
                      TTextCase{"< b>x</ b>", {"x"}}, TTextCase{"<!DOCTYPE html><html><body><div>x</div></body></html>", {"x"}},
                      TTextCase{"<head><title>T</title><style>p { color: red }</style></head>x", {"x"}},
                      TTextCase{"<script>x = 1;</script>y", {"y"}}, TTextCase{"<b x=\"1>2\">y", {"2\">y"}}));

TEST(HTMLToRichText, PreKeepsLinesInCourierOnePointSmaller)
{
    THelpTestTarget target;
    target.Convert(QStringLiteral("<pre>a\r\n  b</pre>c"));
    const TCharFormat pre = target.FormatOf(QStringLiteral("  b"));
    EXPECT_EQ(pre.Name, u"Courier New");
    EXPECT_EQ(pre.Size, 11);
    const TCharFormat after = target.FormatOf(QStringLiteral("c"));
    EXPECT_EQ(after.Name, u"DejaVu Sans");
    EXPECT_EQ(after.Size, 12);
}

TEST(HTMLToRichText, CharacterStylesAndAlignment)
{
    THelpTestTarget target;
    target.Convert(QStringLiteral("<b>B</b><i>I</i><u>U</u>n<code>C</code><cite>T</cite><q>Q</q><th>H</th>z"
                                  "<center>c</center><p align=right>r</p>l"));
    EXPECT_EQ(target.FormatOf(QStringLiteral("B")).Style, fsBold);
    EXPECT_EQ(target.FormatOf(QStringLiteral("I")).Style, fsItalic);
    EXPECT_EQ(target.FormatOf(QStringLiteral("U")).Style, fsUnderline);
    EXPECT_EQ(target.FormatOf(QStringLiteral("n")).Style, TFontStyles());
    EXPECT_EQ(target.FormatOf(QStringLiteral("C")).Name, u"Courier New");
    EXPECT_EQ(target.FormatOf(QStringLiteral("C")).Size, 11);
    EXPECT_EQ(target.FormatOf(QStringLiteral("T")).Style, fsItalic);
    EXPECT_EQ(target.FormatOf(QStringLiteral("Q")).Style, fsItalic);
    EXPECT_EQ(target.FormatOf(QStringLiteral("H")).Style, fsBold);
    const TCharFormat z = target.FormatOf(QStringLiteral("z"));
    EXPECT_EQ(z.Style, TFontStyles());
    EXPECT_EQ(z.Name, u"DejaVu Sans");
    EXPECT_EQ(z.Size, 12);
    const QStringList paragraphs = target.Paragraphs();
    ASSERT_EQ(paragraphs, QStringList({"BIUnCTQHzc", "r", "l"}));
    EXPECT_EQ(target.AlignmentOfParagraph(0), paLeftJustify); // the end tag of CENTER
    EXPECT_EQ(target.AlignmentOfParagraph(1), paRightJustify);
    EXPECT_EQ(target.AlignmentOfParagraph(2), paLeftJustify);
}

struct TIndentCase
{
    const char* html;
    QStringList paragraphs;
    std::vector<int> indents;
};

class ListIndentTest : public ::testing::TestWithParam<TIndentCase>
{
};

TEST_P(ListIndentTest, IndentsItemsTenPointsALevel)
{
    THelpTestTarget target;
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
        TIndentCase{"<ul><li>a<li>b</ul>x", {"", "", kBullet + "a", "", kBullet + "b", "x"}, {0, 0, 10, 0, 10, 0}},
        TIndentCase{"<ul><li>a</ul><ul><li>b</ul>x",
                    {"", "", kBullet + "a", "", "", kBullet + "b", "x"},
                    {0, 0, 10, 0, 0, 10, 0}},
        TIndentCase{"<ol><li>a<ul><li>b</ul></ol>x",
                    {"", "", "1. a", "", kBullet + "b", "", "x"},
                    {0, 0, 10, 10, 20, 10, 0}},
        TIndentCase{"<blockquote>q</blockquote>x", {"", "q", "x"}, {0, 30, 0}}));

TEST(HTMLToRichText, ListsDeeperThanTwentyLevelsShareTheLastLevel)
{
    QString html;
    for (int i = 0; i < 25; ++i)
        html += QStringLiteral("<ol><li>x");
    for (int i = 0; i < 25; ++i)
        html += QStringLiteral("</ol>");
    html += QStringLiteral("end");
    THelpTestTarget target;
    target.Convert(html);
    int deepest = 0;
    for (int i = 0; i < target.Document()->blockCount(); ++i)
        deepest = std::max(deepest, target.IndentOfParagraph(i));
    EXPECT_EQ(deepest, 200);
    EXPECT_EQ(target.Paragraphs().last(), u"end");
    EXPECT_EQ(target.IndentOfParagraph(target.Document()->blockCount() - 1), 0);
    EXPECT_EQ(target.Paragraphs().filter(QStringLiteral("1. x")).size(), 25);
}

struct THeadingCase
{
    const char* html;
    const char* text;
    int size;
    TFontStyles style;
};

class HeadingTest : public ::testing::TestWithParam<THeadingCase>
{
};

TEST_P(HeadingTest, GrowsTheSizeAndSetsTheStyle)
{
    THelpTestTarget target;
    target.Convert(QString::fromUtf8(GetParam().html));
    const TCharFormat f = target.FormatOf(QString::fromUtf8(GetParam().text));
    EXPECT_EQ(f.Size, GetParam().size);
    EXPECT_EQ(f.Style, GetParam().style);
}

INSTANTIATE_TEST_SUITE_P(Cases, HeadingTest,
                         ::testing::Values(THeadingCase{"<h1>T</h1>", "T", 24, fsBold},
                                           THeadingCase{"<u><h1>T</h1>", "T", 24, fsBold | fsUnderline},
                                           THeadingCase{"<i><h2>T</h2>", "T", 19, fsItalic},
                                           THeadingCase{"<u><h3>T</h3>", "T", 17, fsBold | fsItalic},
                                           THeadingCase{"<i><h4>Note</h4>text", "Note", 14, fsBold},
                                           THeadingCase{"<h4>Note</h4>text", "text", 12, {}},
                                           THeadingCase{"<h5>T</h5>", "T", 13, fsBold},
                                           THeadingCase{"<h1>T</h1>x", "x", 12, {}},
                                           THeadingCase{"<h6>T</h6>", "T", 12, {}}));

TEST(HTMLToRichText, HeadingAlignmentLastsToItsEnd)
{
    THelpTestTarget target;
    target.Convert(QStringLiteral("<h2 align=center>T</h2>x"));
    EXPECT_EQ(target.Paragraphs(), QStringList({"", "T", "x"}));
    EXPECT_EQ(target.AlignmentOfParagraph(1), paCenter);
    EXPECT_EQ(target.AlignmentOfParagraph(2), paLeftJustify);
}

struct TFontCase
{
    const char* html;
    const char* text;
    TCharFormat expected;
};

class FontTest : public ::testing::TestWithParam<TFontCase>
{
};

TEST_P(FontTest, SetsSizeColourAndFace)
{
    THelpTestTarget target;
    target.Convert(QString::fromUtf8(GetParam().html));
    const TCharFormat f = target.FormatOf(QString::fromUtf8(GetParam().text));
    EXPECT_EQ(f.Size, GetParam().expected.Size);
    EXPECT_EQ(f.Color, GetParam().expected.Color);
    EXPECT_EQ(f.Name, GetParam().expected.Name);
    EXPECT_EQ(f.Style, GetParam().expected.Style);
    EXPECT_EQ(f.BackColor, GetParam().expected.BackColor);
}

TCharFormat Font(int size, TColor color = kBlack, const char* name = "DejaVu Sans", TFontStyles style = {},
                 TColor back = clNoColor)
{
    return {QString::fromUtf8(name), size, color, style, back};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FontTest,
    ::testing::Values(
        TFontCase{"<font size=+2>x</font>", "x", Font(18)}, TFontCase{"<font size=-1>x</font>", "x", Font(9)},
        TFontCase{"<font size=3>x</font>", "x", Font(10)}, TFontCase{"<h1><font size=3>x</font>", "x", Font(10, kBlack, "DejaVu Sans", fsBold)},
        TFontCase{"<font size=7>x</font>", "x", Font(27)}, TFontCase{"<font size=9>x</font>", "x", Font(12)},
        TFontCase{"<font size=abc>x</font>", "x", Font(12)},
        TFontCase{"<font color=red face=\"Courier New\">x</font>y", "x", Font(12, kRed, "Courier New")},
        TFontCase{"<font color=red face=\"Courier New\">x</font>y", "y", Font(12)},
        // One saved format per tag name: the inner end tag puts back the outer one's.
        TFontCase{"<font color=red>a<font color=green>b</font>c</font>d", "c", Font(12, kRed)},
        TFontCase{"<font color=red>a<font color=green>b</font>c</font>d", "d", Font(12, kRed)},
        TFontCase{"<font style=\"font-size: 20px; font-family: Courier New; font-style: italic\">x</font>", "x",
                  Font(20, kBlack, "Courier New", fsItalic)},
        // "color" is not read out of "background-color".
        TFontCase{"<span style=\"background-color: yellow; color: red\">x</span>y", "x",
                  Font(12, kRed, "DejaVu Sans", {}, RGBToColor(255, 255, 0))},
        TFontCase{"<span style=\"background-color: yellow; color: red\">x</span>y", "y", Font(12)},
        TFontCase{"<span style=\"font-style: bold\"><i>x</i></span>", "x", Font(12, kBlack, "DejaVu Sans", fsBold | fsItalic)},
        TFontCase{"<style>.note { color: red; font-weight: bold }</style><span class=note>x</span>y", "x",
                  Font(12, kRed, "DejaVu Sans", fsBold)},
        TFontCase{"<style>.note { color: red; font-weight: bold }</style><span class=note>x</span>y", "y", Font(12)}));

TEST(HTMLToRichText, StyleSheetsAffectOnlyLaterElementsOutsideHead)
{
    THelpTestTarget outside;
    outside.Convert(QStringLiteral("<p>a</p><style>p { color: red }</style><p>x"));
    EXPECT_EQ(outside.FormatOf(QStringLiteral("a")).Color, kBlack);
    EXPECT_EQ(outside.FormatOf(QStringLiteral("x")).Color, kRed);

    THelpTestTarget inHead;
    inHead.Convert(QStringLiteral("<head><style>p { color: red }</style></head><p>x"));
    EXPECT_EQ(inHead.FormatOf(QStringLiteral("x")).Color, kBlack);

    THelpTestTarget commented;
    commented.Convert(QStringLiteral("<style><!-- p { color: red } --></style><p>x"));
    EXPECT_EQ(commented.FormatOf(QStringLiteral("x")).Color, kBlack);
}

TEST(HTMLToRichText, LinkedStyleSheetIsFoundInThePageFolderWithoutChangingTheCurrentFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteFile(dir.filePath(QStringLiteral("help.css")), "p { color: red }");
    const QString before = QDir::currentPath();
    const QString html = QStringLiteral("<head><link rel=stylesheet href=help.css></head><p>x");

    THelpTestTarget withFolder;
    withFolder.Convert(html, dir.path());
    EXPECT_EQ(withFolder.FormatOf(QStringLiteral("x")).Color, kRed);
    EXPECT_EQ(QDir::currentPath(), before);

    THelpTestTarget withoutFolder;
    withoutFolder.Convert(html);
    EXPECT_EQ(withoutFolder.FormatOf(QStringLiteral("x")).Color, kBlack);

    THelpTestTarget otherRel;
    otherRel.Convert(QStringLiteral("<link rel=icon href=help.css><p>x"), dir.path());
    EXPECT_EQ(otherRel.FormatOf(QStringLiteral("x")).Color, kBlack);
}

struct TLinkCase
{
    const char* html;
    const char* target;
    TLinkInfo info;
};

class LinkTest : public ::testing::TestWithParam<TLinkCase>
{
};

TEST_P(LinkTest, FillsTheLinkList)
{
    THelpTestTarget target;
    const TLinkList urls = target.Convert(QString::fromUtf8(GetParam().html));
    ASSERT_EQ(urls.size(), 1);
    EXPECT_EQ(urls[0].Target, QString::fromUtf8(GetParam().target));
    EXPECT_EQ(urls[0].Info.Start, GetParam().info.Start);
    EXPECT_EQ(urls[0].Info.Length, GetParam().info.Length);
    EXPECT_EQ(urls[0].Info.Kind, GetParam().info.Kind);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinkTest,
    ::testing::Values(TLinkCase{"<a href=#intro>Go</a> on", "#intro", {0, 2, lkURL}},
                      TLinkCase{"ab<a href=www.example.org>site</a>", "http://www.example.org", {2, 4, lkURL}},
                      TLinkCase{"<a href=\"https://example.org/a b\">x</a>", "https://example.org/a b", {0, 1, lkURL}},
                      TLinkCase{"<a href=other.html>x</a>", "other.html", {0, 1, lkURL}},
                      TLinkCase{"<a href=file:///nowhere/x.txt>x</a>", "file:///nowhere/x.txt", {0, 8, lkFile}},
                      TLinkCase{"<a href=#a name=b>x</a>", "#a", {0, 1, lkURL}},
                      TLinkCase{"<a href=#open>x", "#open", {0, 0, lkURL}},
                      TLinkCase{"x<a name=top></a>y", "top", {1, 0, lkAnchor}},
                      TLinkCase{"<a name=Contents:Setup></a>Setup", "Setup", {0, 1, lkContents}},
                      TLinkCase{"<img src=missing.jpg alt=Chart>", "missing.jpg", {0, 16, lkImage}}));

TEST(HTMLToRichText, LinkTextIsUnderlinedInTheLinkColourAndThenPutBack)
{
    THelpTestTarget target;
    target.Convert(QStringLiteral("<b><a href=#intro>Go</a> on"));
    const TCharFormat link = target.FormatOf(QStringLiteral("Go"));
    EXPECT_EQ(link.Style, fsBold | fsUnderline);
    EXPECT_EQ(link.Color, kBlue);
    const TCharFormat after = target.FormatOf(QStringLiteral(" on"));
    EXPECT_EQ(after.Style, fsBold);
    EXPECT_EQ(after.Color, kBlack);
}

TEST(HTMLToRichText, ContentsMarkerAndAnchorHaveNoTextOfTheirOwn)
{
    THelpTestTarget target;
    target.Convert(QStringLiteral("<a name=Contents:Setup></a>Setup <a name=here></a>text"));
    EXPECT_EQ(target.Paragraphs(), QStringList({"", "Setup text"}));
    const TCharFormat f = target.FormatOf(QStringLiteral("Setup text"));
    EXPECT_EQ(f.Style, TFontStyles());
    EXPECT_EQ(f.Color, kBlack);
}

TEST(HTMLToRichText, LinkToAnExistingFileGetsAFileMark)
{
    const QString path = testDataPath(QStringLiteral("help/picture.jpg"));
    THelpTestTarget target;
    const TLinkList urls = target.Convert(QStringLiteral("<a href=\"%1\">N</a>").arg(path));
    EXPECT_EQ(target.PlainText(), u"[FILE] N");
    ASSERT_EQ(urls.size(), 1);
    EXPECT_EQ(urls[0].Target, QStringLiteral("file:///") + path);
    EXPECT_EQ(urls[0].Info.Kind, lkFile);
    EXPECT_EQ(urls[0].Info.Length, 8);
    EXPECT_EQ(target.FormatAt(0).Style, fsUnderline);
}

TEST(HTMLToRichText, MissingImageGivesAClickablePlaceholder)
{
    THelpTestTarget target;
    target.Convert(QStringLiteral("<img src=missing.jpg alt=Chart>x<img src=\"dir\\pic.jpg\"><img alt=none>"));
    EXPECT_EQ(target.PlainText(), u"[IMAGE: \"Chart\"]x[IMAGE: \"pic.jpg\"]");
    const TCharFormat placeholder = target.FormatAt(0);
    EXPECT_EQ(placeholder.Style, fsUnderline);
    EXPECT_EQ(placeholder.Color, kBlue);
    EXPECT_EQ(target.FormatOf(QStringLiteral("x")).Style, TFontStyles());
    EXPECT_EQ(target.FormatOf(QStringLiteral("x")).Color, kBlack);
}

TEST(HTMLToRichText, ImageInsideALinkTakesTheLinkEndAndLeavesTheTextAfterPlain)
{
    THelpTestTarget target;
    const TLinkList urls = target.Convert(QStringLiteral("<a href=#x><img src=missing.jpg></a>after"));
    ASSERT_EQ(urls.size(), 2);
    EXPECT_EQ(urls[0].Info.Length, 0);
    EXPECT_EQ(urls[1].Info.Kind, lkImage);
    EXPECT_EQ(urls[1].Info.Length, 22);
    const TCharFormat after = target.FormatOf(QStringLiteral("after"));
    EXPECT_EQ(after.Style, TFontStyles());
    EXPECT_EQ(after.Color, kBlack);
}

struct TRuleCase
{
    const char* html;
    int underscores;
};

class HorizontalRuleTest : public ::testing::TestWithParam<TRuleCase>
{
};

TEST_P(HorizontalRuleTest, FillsTheAvailableWidthWithUnderscores)
{
    // 600 pixels available and a 7-pixel underscore: 86 underscores at full width.
    THelpTestTarget target;
    target.Convert(QString::fromUtf8(GetParam().html));
    const QStringList paragraphs = target.Paragraphs();
    ASSERT_EQ(paragraphs.size(), 3);
    EXPECT_EQ(paragraphs[1], QString(GetParam().underscores, u'_'));
    EXPECT_EQ(paragraphs[2], u"");
}

INSTANTIATE_TEST_SUITE_P(Cases, HorizontalRuleTest,
                         ::testing::Values(TRuleCase{"<hr>", 52}, TRuleCase{"<hr width=100>", 15},
                                           TRuleCase{"<hr width=100px>", 15}, TRuleCase{"<hr width=100%>", 86},
                                           TRuleCase{"<hr width=150%>", 86}, TRuleCase{"<hr width=1000>", 86},
                                           TRuleCase{"<hr width=abc>", 1}, TRuleCase{"<hr width=-50%>", 0},
                                           TRuleCase{"</hr>", 52}, TRuleCase{"<hr/>", 52}));

TEST(HTMLToRichText, HorizontalRuleLeavesTheMarginsOutAndPutsTheFormatBack)
{
    THelpTestTarget target;
    TLinkList urls;
    HTMLToRichText(target, QStringLiteral("<b><font color=red><hr align=center>x"), false, kBlue, QString(), urls, 60);
    const QStringList paragraphs = target.Paragraphs();
    ASSERT_EQ(paragraphs.size(), 3);
    EXPECT_EQ(paragraphs[1].size(), 47); // round(0.6 * (540 / 7 + 1))
    EXPECT_EQ(target.AlignmentOfParagraph(1), paCenter);
    const TCharFormat rule = target.FormatAt(1);
    EXPECT_EQ(rule.Color, kBlack);
    EXPECT_EQ(rule.Size, 10);
    EXPECT_EQ(rule.Style, TFontStyles());
    EXPECT_EQ(target.AlignmentOfParagraph(2), paLeftJustify);
    const TCharFormat x = target.FormatOf(QStringLiteral("x"));
    EXPECT_EQ(x.Color, kRed);
    EXPECT_EQ(x.Size, 12);
    EXPECT_EQ(x.Style, TFontStyles()); // the style is not put back
}

TEST(HTMLToRichText, AppendsOrClears)
{
    THelpTestTarget target;
    TLinkList urls;
    HTMLToRichText(target, QStringLiteral("<a href=#a>one</a>"), false, kBlue, QString(), urls, 0);
    HTMLToRichText(target, QStringLiteral(" <a href=#b>two</a>"), false, kBlue, QString(), urls, 0);
    EXPECT_EQ(target.PlainText(), u"one two");
    ASSERT_EQ(urls.size(), 2);
    EXPECT_EQ(urls[1].Info.Start, 4);
    EXPECT_EQ(urls[1].Info.Length, 3);
    HTMLToRichText(target, QStringLiteral("<p>three"), true, kBlue, QString(), urls, 0);
    EXPECT_EQ(target.Paragraphs(), QStringList({"", "three"}));
}

TEST(HTMLToRichText, ParagraphCheckSeesTextAlreadyInTheTarget)
{
    THelpTestTarget target;
    target.SetSelText(QStringLiteral("a\r\nb"));
    target.Convert(QStringLiteral("</p>c"));
    EXPECT_EQ(target.Paragraphs(), QStringList({"a", "b", "c"}));
}

// Pictures: the fixture is a 40 x 30 JPEG, blue with a yellow top left and a red bottom right
// quarter, written by QImageWriter.
struct TImageCase
{
    const char* attributes;
    QSize size;
};

class ImageTest : public ::testing::TestWithParam<TImageCase>
{
};

TEST_P(ImageTest, ShowsThePictureAtTheAskedSize)
{
    THelpTestTarget target;
    const TLinkList urls = target.Convert(
        QStringLiteral("<img src=\"%1\" %2>x").arg(testDataPath(QStringLiteral("help/picture.jpg")), QString::fromUtf8(GetParam().attributes)));
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
    EXPECT_EQ(target.FormatOf(QStringLiteral("x")).Style, TFontStyles());
}

INSTANTIATE_TEST_SUITE_P(Cases, ImageTest,
                         ::testing::Values(TImageCase{"", {40, 30}}, TImageCase{"width=20", {20, 15}},
                                           TImageCase{"height=60", {80, 60}}, TImageCase{"width=50%", {300, 225}},
                                           TImageCase{"height=10%", {53, 40}}, TImageCase{"width=10 height=50", {10, 50}},
                                           TImageCase{"width=100px", {40, 30}}, TImageCase{"width=1", {1, 1}}));

TEST(HTMLToRichText, ImageSizeFromStyleSheetsAndThePageFolder)
{
    THelpTestTarget target;
    target.Convert(QStringLiteral("<style>img { width: 80px } .big { height: 90PX }</style>"
                                  "<img src=picture.jpg><img src=picture.jpg class=big width=4>"),
                   testDataPath(QStringLiteral("help")));
    QList<QSize> sizes;
    for (QTextBlock::iterator it = target.Document()->begin().begin(); !it.atEnd(); ++it) {
        const QTextImageFormat f = it.fragment().charFormat().toImageFormat();
        if (f.isValid())
            sizes.append(QSize(qRound(f.width()), qRound(f.height())));
    }
    EXPECT_EQ(sizes, QList<QSize>({QSize(80, 60), QSize(80, 90)}));
}

struct TPlaceholderCase
{
    const char* html;
    const char* text;
};

class ImageFallbackTest : public ::testing::TestWithParam<TPlaceholderCase>
{
};

TEST_P(ImageFallbackTest, ShowsThePlaceholderAndGoesOn)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteFile(dir.filePath(QStringLiteral("bad.jpg")), "\xFF\xD8\xFF\xE0 this is not a picture");
    QImage(4, 4, QImage::Format_RGB32).save(dir.filePath(QStringLiteral("pic.png")));
    QFile::copy(testDataPath(QStringLiteral("help/picture.jpg")), dir.filePath(QStringLiteral("picture.jpg")));

    THelpTestTarget target;
    const TLinkList urls = target.Convert(QString::fromUtf8(GetParam().html), dir.path());
    EXPECT_EQ(target.PlainText(), QString::fromUtf8(GetParam().text));
    ASSERT_EQ(urls.size(), 1);
    EXPECT_EQ(urls[0].Info.Kind, lkImage);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImageFallbackTest,
    ::testing::Values(TPlaceholderCase{"<img src=bad.jpg>after", "[IMAGE: \"bad.jpg\"]after"},
                      TPlaceholderCase{"<img src=pic.png>after", "[IMAGE: \"pic.png\"]after"},
                      TPlaceholderCase{"<img src=picture.jpg width=4097>after", "[IMAGE: \"picture.jpg\"]after"},
                      TPlaceholderCase{"<img src=picture.jpg height=4000>after", "[IMAGE: \"picture.jpg\"]after"},
                      TPlaceholderCase{"<img src=picture.jpg width=99999%>after", "[IMAGE: \"picture.jpg\"]after"},
                      TPlaceholderCase{"<img src=. alt=dot>after", "[IMAGE: \"dot\"]after"}));

} // namespace
