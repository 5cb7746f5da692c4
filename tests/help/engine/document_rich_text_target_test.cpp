#include "help/engine/document_rich_text_target.h"

#include "help_test_target.h"
#include "support/test_support.h"

#include <QImage>
#include <QTextDocument>
#include <QTextImageFormat>

#include <gtest/gtest.h>

using namespace plotwell;

namespace {

constexpr RgbColor kRed = RGBToColor(255, 0, 0);
constexpr RgbColor kBlue = RGBToColor(0, 0, 255);

TEST(DocumentRichTextTarget, LineEndsStartParagraphsWithTheSameFormat)
{
    HelpTestTarget t;
    t.Paragraph().SetFirstIndent(10);
    t.Paragraph().SetRightIndent(5);
    t.Paragraph().SetAlignment(kCenter);
    t.SetSelText(QStringLiteral("a\r\nb\nc\rd"));
    EXPECT_EQ(t.Paragraphs(), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(t.SelStart(), 7);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(t.IndentOfParagraph(i), 10) << i;
        EXPECT_EQ(t.AlignmentOfParagraph(i), kCenter) << i;
    }
    EXPECT_EQ(t.Paragraph().RightIndent(), 5);
    // A change after a line break reaches only the new paragraph.
    t.SetSelText(QStringLiteral("\r\n"));
    t.Paragraph().SetFirstIndent(0);
    EXPECT_EQ(t.IndentOfParagraph(3), 10);
    EXPECT_EQ(t.IndentOfParagraph(4), 0);
}

TEST(DocumentRichTextTarget, InsertionFormatReachesOnlyTheTextThatFollows)
{
    HelpTestTarget t;
    t.SetSelText(QStringLiteral("ab"));
    TextAttributes a = t.SelAttributes();
    a.SetSize(20);
    a.SetColor(kRed);
    a.SetStyle(kBold | kStrikeOut);
    a.SetName(QStringLiteral("Courier New"));
    a.SetBackColor(kBlue);
    t.SetSelText(QStringLiteral("cd"));
    const CharacterFormat before = t.FormatAt(1);
    EXPECT_EQ(before.size, 12);
    EXPECT_EQ(before.color, 0u);
    EXPECT_EQ(before.style, FontStyles());
    EXPECT_EQ(before.backColor, clNoColor);
    const CharacterFormat after = t.FormatAt(2);
    EXPECT_EQ(after.name, u"Courier New");
    EXPECT_EQ(after.size, 20);
    EXPECT_EQ(after.color, kRed);
    EXPECT_EQ(after.style, kBold | kStrikeOut);
    EXPECT_EQ(after.backColor, kBlue);
    a.SetBackColor(clNoColor);
    EXPECT_EQ(a.BackColor(), clNoColor);
}

TEST(DocumentRichTextTarget, SizesStayWithinWholePointsTheTextCanShow)
{
    HelpTestTarget t;
    TextAttributes a = t.SelAttributes();
    a.SetSize(-15);
    EXPECT_EQ(a.Size(), 1);
    a.SetSize(100000);
    EXPECT_EQ(a.Size(), DocumentRichTextTarget::kMaxFontSize);
}

TEST(DocumentRichTextTarget, SelectionIsChangedAndReplaced)
{
    HelpTestTarget t;
    t.SetSelText(QStringLiteral("hello world"));
    t.SetSelStart(6);
    t.SetSelLength(5);
    EXPECT_EQ(t.SelStart(), 6);
    EXPECT_EQ(t.SelLength(), 5);
    t.SelAttributes().SetColor(kRed);
    EXPECT_EQ(t.FormatAt(5).color, 0u);
    EXPECT_EQ(t.FormatAt(6).color, kRed);
    EXPECT_EQ(t.FormatAt(10).color, kRed);
    EXPECT_EQ(t.SelAttributes().Color(), kRed);
    t.SetSelText(QStringLiteral("there"));
    EXPECT_EQ(t.PlainText(), u"hello there");
    // Replacing text takes the format of the text it replaced.
    EXPECT_EQ(t.FormatAt(8).color, kRed);
    // A selection beyond the end is cut at the end.
    t.SetSelStart(8);
    t.SetSelLength(1000);
    EXPECT_EQ(t.SelLength(), 3);
    t.SetSelStart(-4);
    EXPECT_EQ(t.SelStart(), 0);
}

TEST(DocumentRichTextTarget, MovingTheInsertionPointTakesTheFormatBeforeIt)
{
    HelpTestTarget t;
    t.SetSelText(QStringLiteral("ab"));
    t.SelAttributes().SetColor(kRed);
    t.SetSelText(QStringLiteral("cd"));
    t.SetSelStart(1);
    EXPECT_EQ(t.SelAttributes().Color(), 0u);
    t.SetSelText(QStringLiteral("x"));
    EXPECT_EQ(t.PlainText(), u"axbcd");
    EXPECT_EQ(t.FormatAt(1).color, 0u);
}

TEST(DocumentRichTextTarget, WordAttributesChangeTheWordAroundTheInsertionPoint)
{
    HelpTestTarget t;
    t.SetSelText(QStringLiteral("one two"));
    // At the end of the text only what follows changes.
    t.WordAttributes().SetStyle(kBold);
    t.SetSelText(QStringLiteral("x"));
    EXPECT_EQ(t.FormatAt(6).style, FontStyles());
    EXPECT_EQ(t.FormatAt(7).style, kBold);
    // Inside a word the whole word changes.
    t.SetSelStart(1);
    t.WordAttributes().SetStyle(kItalic);
    EXPECT_EQ(t.FormatAt(0).style, kItalic);
    EXPECT_EQ(t.FormatAt(2).style, kItalic);
    EXPECT_EQ(t.FormatAt(4).style, FontStyles());
}

TEST(DocumentRichTextTarget, LinesCountAndAddParagraphs)
{
    HelpTestTarget t;
    TextLines lines = t.Lines();
    EXPECT_EQ(lines.Count(), 1);
    lines.BeginUpdate();
    lines.Add(QStringLiteral("first"));
    lines.Add(QStringLiteral("second"));
    lines.EndUpdate();
    EXPECT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines.Strings(1), u"second");
    EXPECT_EQ(lines.Strings(7), u"");
    EXPECT_EQ(t.LineFromChar(0), 0);
    EXPECT_EQ(t.LineFromChar(6), 1);
    EXPECT_EQ(t.LineFromChar(999), 1);
}

TEST(DocumentRichTextTarget, ClearEmptiesTextAndFormats)
{
    HelpTestTarget t;
    t.Lines().BeginUpdate();
    t.Paragraph().SetFirstIndent(20);
    t.SelAttributes().SetColor(kRed);
    t.SetSelText(QStringLiteral("a\r\nb"));
    t.Clear();
    t.SetSelText(QStringLiteral("c"));
    t.Lines().EndUpdate();
    EXPECT_EQ(t.PlainText(), u"c");
    EXPECT_EQ(t.IndentOfParagraph(0), 0);
    EXPECT_EQ(t.FormatAt(0).color, 0u);
    EXPECT_EQ(t.FormatAt(0).size, 12);
    t.SetReadOnly(true);
    EXPECT_TRUE(t.ReadOnly());
}

TEST(DocumentRichTextTarget, InsertsAPictureAsOneCharacter)
{
    HelpTestTarget t;
    t.SetSelText(QStringLiteral("a"));
    QImage image(8, 5, QImage::Format_RGB32);
    image.fill(Qt::green);
    t.InsertImage(image);
    t.SetSelText(QStringLiteral("b"));
    EXPECT_EQ(t.SelStart(), 3);
    QTextCursor c(t.Document());
    c.setPosition(2);
    const QTextImageFormat f = c.charFormat().toImageFormat();
    ASSERT_TRUE(f.isValid());
    EXPECT_EQ(f.width(), 8);
    EXPECT_EQ(f.height(), 5);
    const QImage stored = t.Document()->resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
    EXPECT_EQ(stored.size(), QSize(8, 5));
}

TEST(DocumentRichTextTarget, WritesIntoADocumentItIsGiven)
{
    QTextDocument doc;
    DocumentRichTextTarget t(&doc);
    t.SetSelText(QStringLiteral("x"));
    EXPECT_EQ(doc.toPlainText(), u"x");
    EXPECT_EQ(t.Document(), &doc);
}

} // namespace
