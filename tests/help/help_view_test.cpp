// The help view: loading, history, links and their safety checks, hover, contents, building text.

#include "help/help_view.h"

#include "core/recording_launcher.h"
#include "core/recording_sink.h"
#include "help_test_support.h"

#include <QDir>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextFrame>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace plotwell;

namespace {

class HelpDisplayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        view.resize(400, 300);
        view.show();
    }

    // Writes a page into the temporary folder and loads it.
    void LoadPage(const QString& html, const QString& name = QStringLiteral("page.html"))
    {
        WriteFile(dir.filePath(name), html.toUtf8());
        ASSERT_TRUE(view.LoadHTMLFromFile(dir.filePath(name), true));
    }

    int TopLine() const { return view.GetScrollLine(); }

    QTemporaryDir dir;
    RecordingSink sink;
    RecordingLauncher launcher;
    HelpView view{sink, launcher};
};

TEST_F(HelpDisplayTest, HistoryKeepsTheTenNewestAndIgnoresARepeat)
{
    EXPECT_EQ(view.HistoryCount(), 1);
    EXPECT_EQ(view.HistoryEntry(1), 0);
    view.HistoryGoBack();
    EXPECT_EQ(view.HistoryIndex(), 1);
    EXPECT_EQ(view.CaretPosition(), 0);

    view.AddText(QStringLiteral("x").repeated(200));
    for (int i = 1; i <= 12; ++i)
        view.AddToHistory(i * 10);
    view.AddToHistory(120);
    ASSERT_EQ(view.HistoryCount(), 10);
    EXPECT_EQ(view.HistoryEntry(1), 120);
    EXPECT_EQ(view.HistoryEntry(10), 30);

    view.HistoryGoBack();
    view.HistoryGoBack();
    EXPECT_EQ(view.HistoryIndex(), 3);
    view.HistoryGoForwards();
    EXPECT_EQ(view.HistoryIndex(), 2);
    // A position added while moved back keeps the newer entries behind it.
    view.AddToHistory(5);
    EXPECT_EQ(view.HistoryIndex(), 1);
    EXPECT_EQ(view.HistoryEntry(2), 120);
}

TEST_F(HelpDisplayTest, InPageLinkScrollsToTheAnchorAndBackReturnsToTheClick)
{
    LoadPage(LongPage());
    EXPECT_EQ(TopLine(), 0);
    const int link = PositionOf(view, QStringLiteral("there"));
    ClickCharacter(view, link);

    const int anchorLine = view.LineOf(PositionOf(view, QStringLiteral("Setup begins")));
    EXPECT_EQ(TopLine(), anchorLine);
    ASSERT_EQ(view.HistoryCount(), 3);
    EXPECT_EQ(view.HistoryEntry(2), link + 1);
    EXPECT_TRUE(launcher.urls.isEmpty());

    view.HistoryGoBack();
    EXPECT_EQ(view.CaretPosition(), view.document()->findBlock(link).position());
    EXPECT_EQ(TopLine(), view.LineOf(link));
    view.HistoryGoForwards();
    EXPECT_EQ(TopLine(), anchorLine);
}

TEST_F(HelpDisplayTest, RefreshingKeepsThePlaceOfAReloadedPage)
{
    LoadPage(LongPage());
    view.ScrollToLine(120);
    ASSERT_EQ(TopLine(), 120);
    view.SetRefreshing(true);
    ASSERT_TRUE(view.LoadHTMLFromFile(dir.filePath(QStringLiteral("page.html")), true));
    EXPECT_EQ(TopLine(), 120);
    view.SetRefreshing(false);
    ASSERT_TRUE(view.LoadHTMLFromFile(dir.filePath(QStringLiteral("page.html")), true));
    EXPECT_EQ(TopLine(), 0);
}

TEST_F(HelpDisplayTest, HoverShowsTheTargetAndClearsOffTheLink)
{
    QStatusBar bar;
    view.SetStatusBar(&bar);
    view.SetHTML(QStringLiteral("<p>Read <a href=\"https://example.org/a\">the page</a> plain words here</p>"));
    QTest::mouseMove(view.viewport(), PointOfCharacter(view, PositionOf(view, QStringLiteral("page"))));
    EXPECT_EQ(bar.currentMessage(), u"https://example.org/a");
    EXPECT_EQ(view.viewport()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(view.viewport(), PointOfCharacter(view, PositionOf(view, QStringLiteral("words"))));
    EXPECT_EQ(bar.currentMessage(), u"");
    EXPECT_EQ(view.viewport()->cursor().shape(), Qt::ArrowCursor);
}

struct AddressCase
{
    const char* href;
    const char* opened; // empty: nothing is handed over
};

void PrintTo(const AddressCase& c, std::ostream* os)
{
    *os << c.href;
}

class LinkSchemeTest : public HelpDisplayTest, public ::testing::WithParamInterface<AddressCase>
{
};

TEST_P(LinkSchemeTest, OnlyWebAndMailAddressesAreHandedOver)
{
    view.SetHTML(QStringLiteral("<p><a href=\"%1\">Link</a></p>").arg(QString::fromUtf8(GetParam().href)));
    ClickCharacter(view, PositionOf(view, QStringLiteral("ink")));
    const QString opened = QString::fromUtf8(GetParam().opened);
    EXPECT_EQ(launcher.urls, opened.isEmpty() ? QStringList() : QStringList{opened});
    EXPECT_TRUE(launcher.files.isEmpty());
    EXPECT_TRUE(sink.Messages().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinkSchemeTest,
    ::testing::Values(AddressCase{"https://example.org/x", "https://example.org/x"},
                      AddressCase{"HTTP://example.org", "HTTP://example.org"},
                      AddressCase{"www.example.org", "http://www.example.org"},
                      AddressCase{"mailto:help@example.org", "mailto:help@example.org"},
                      AddressCase{"javascript:alert(1)", ""}, AddressCase{"httpx://example.org", ""},
                      AddressCase{"smb://server/share", ""}, AddressCase{"ftp://www.example.org/f", ""},
                      AddressCase{"vbscript:run", ""}));

TEST_F(HelpDisplayTest, FileLinksOpenOnlyRegularFilesThatExist)
{
    WriteFile(dir.filePath(QStringLiteral("notes.txt")), "notes");
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    const QString existing = dir.filePath(QStringLiteral("notes.txt"));
    const QString folder = dir.filePath(QStringLiteral("folder"));
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    LoadPage(QStringLiteral("<p><a href=\"%1\">Notes</a></p><p><a href=\"file://%2\">Folder</a></p>"
                            "<p><a href=\"file:///gone.txt\">Gone</a></p><p><a href=\"file:///dev/zero\">Device</a></p>"
                            "<p><a href=\"notes.txt\">Beside</a></p><p><a href=\"pipe\">Fifo</a></p>"
                            "<p><a href=\"file:///notes.txt\">Old style</a></p>")
                 .arg(existing, folder));

    ClickCharacter(view, PositionOf(view, QStringLiteral("otes")));
    EXPECT_EQ(launcher.files, QStringList{existing});
    ClickCharacter(view, PositionOf(view, QStringLiteral("older")));
    ClickCharacter(view, PositionOf(view, QStringLiteral("one")));
    ClickCharacter(view, PositionOf(view, QStringLiteral("evice")));
    ClickCharacter(view, PositionOf(view, QStringLiteral("ifo")));
    // Whatever is there but is no regular file is named whole, with the reason.
    const QString notRegular = QStringLiteral("\r\n\r\nnot a regular file");
    EXPECT_EQ(sink.Messages(), QStringList({QStringLiteral("Cannot open file:\r\n\r\n") + folder + notRegular,
                                            QStringLiteral("File not found:\r\n\r\n/gone.txt"),
                                            QStringLiteral("Cannot open file:\r\n\r\n/dev/zero") + notRegular,
                                            QStringLiteral("Cannot open file:\r\n\r\n") + fifo + notRegular}));
    // A plain name is a file beside the page, and so is a "file:///" name that is found there.
    ClickCharacter(view, PositionOf(view, QStringLiteral("eside")));
    ClickCharacter(view, PositionOf(view, QStringLiteral("ld style")));
    EXPECT_EQ(launcher.files, QStringList({existing, existing, existing}));
    EXPECT_TRUE(launcher.urls.isEmpty());
}

TEST_F(HelpDisplayTest, MissingPictureShowsItsMessageWhenClicked)
{
    LoadPage(QStringLiteral("<p><img src=\"missing.jpg\" alt=Chart></p>"));
    ClickCharacter(view, PositionOf(view, QStringLiteral("Chart")));
    EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("File (image) not found:\r\n\r\nmissing.jpg")});
    EXPECT_TRUE(launcher.files.isEmpty());
}

TEST_F(HelpDisplayTest, AddressesInPlainTextOpenOrGoToTheHandler)
{
    view.AddText(QStringLiteral("Write to help@example.org or see www.example.org."));
    ClickCharacter(view, PositionOf(view, QStringLiteral("example.org.")) + 2);
    ClickCharacter(view, PositionOf(view, QStringLiteral("help@")) + 1);
    EXPECT_EQ(launcher.urls, QStringList({QStringLiteral("http://www.example.org"),
                                          QStringLiteral("mailto:help@example.org")}));

    QStringList handled;
    view.SetOnURLClick([&](HelpView*, const QString& url) { handled.append(url); });
    ClickCharacter(view, PositionOf(view, QStringLiteral("www")));
    EXPECT_EQ(handled, QStringList{QStringLiteral("www.example.org")});
    EXPECT_EQ(launcher.urls.size(), 2);
    EXPECT_EQ(view.textCursor().selectedText(), u"www.example.org");
}

TEST_F(HelpDisplayTest, CaretStaysHiddenOnEveryNewPage)
{
    EXPECT_EQ(view.cursorWidth(), 0);
    LoadPage(LongPage());
    EXPECT_EQ(view.cursorWidth(), 0);
    view.SetHTML(QStringLiteral("<p>x</p>"));
    EXPECT_EQ(view.cursorWidth(), 0);
}

TEST_F(HelpDisplayTest, MissingFileIsReported)
{
    EXPECT_FALSE(view.LoadHTMLFromFile(dir.filePath(QStringLiteral("none.html")), true));
    EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("File not found.\r\n\r\n") + dir.filePath(QStringLiteral("none.html"))});
    EXPECT_FALSE(view.Loading());
}

TEST_F(HelpDisplayTest, PageIsReadAsUtf8WhenValidOtherwiseAsWindows1252)
{
    WriteFile(dir.filePath(QStringLiteral("utf8.html")), "<p>caf\xC3\xA9 \xE2\x80\x94 \xE2\x82\xAC</p>");
    ASSERT_TRUE(view.LoadHTMLFromFile(dir.filePath(QStringLiteral("utf8.html")), true));
    EXPECT_EQ(view.toPlainText().trimmed(), QStringLiteral("caf\u00E9 \u2014 \u20AC"));
    WriteFile(dir.filePath(QStringLiteral("ansi.html")), "<p>caf\xE9 \x97 \x80</p>");
    ASSERT_TRUE(view.LoadHTMLFromFile(dir.filePath(QStringLiteral("ansi.html")), true));
    EXPECT_EQ(view.toPlainText().trimmed(), QStringLiteral("caf\u00E9 \u2014 \u20AC"));
}

TEST_F(HelpDisplayTest, ContentsMarkersFromThePageAndFromCode)
{
    LoadPage(LongPage());
    ASSERT_EQ(view.Contents().size(), 2);
    EXPECT_EQ(view.Contents()[1].name, u"Setup");
    // A marker stands before the line break it adds; the paragraph adds its own.
    EXPECT_EQ(view.LineOf(view.Contents()[1].start), view.LineOf(PositionOf(view, QStringLiteral("Setup begins"))) - 2);
    view.AddContentsMarker(QStringLiteral("Say \"hi\""));
    EXPECT_EQ(view.Contents().size(), 2);
    view.AddContentsMarker(QStringLiteral("Extra"));
    ASSERT_EQ(view.Contents().size(), 3);
    EXPECT_EQ(view.Contents()[2].name, u"Extra");
    // Assigning HTML clears the page, its links and its history.
    view.SetHTML(QStringLiteral("<p>x</p>"));
    EXPECT_TRUE(view.Contents().isEmpty());
    EXPECT_TRUE(view.URLs().isEmpty());
    EXPECT_EQ(view.HistoryCount(), 1);
}

TEST_F(HelpDisplayTest, RightMarginMinusOneEqualsTheLeftOne)
{
    view.SetLeftMargin(1.0);
    view.SetRightMargin(-1);
    view.resize(410, 300);
    const QTextFrameFormat format = view.document()->rootFrame()->frameFormat();
    EXPECT_EQ(format.leftMargin(), qRound(view.logicalDpiX() / 2.54));
    EXPECT_EQ(format.rightMargin(), format.leftMargin());
}

TEST_F(HelpDisplayTest, BuildingOperationsFormatTheirText)
{
    view.AddMainHeading(QStringLiteral("Title"), RGBToColor(255, 0, 0));
    view.SetItalicHeading(false);
    view.AddSubHeading(QStringLiteral("Sub"));
    view.AddLine(QStringLiteral("line"));
    const CharacterFormat base = view.Target().BaseFormat();
    const QTextBlock title = view.document()->firstBlock();
    EXPECT_EQ(title.text(), u"Title");
    EXPECT_EQ(title.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    const QTextCharFormat titleFormat = title.begin().fragment().charFormat();
    EXPECT_EQ(qRound(titleFormat.fontPointSize()), base.size + 7);
    EXPECT_TRUE(titleFormat.fontWeight() >= QFont::Bold);
    EXPECT_EQ(FromQColor(titleFormat.foreground().color()), RGBToColor(255, 0, 0));
    const QTextBlock sub = view.document()->findBlockByNumber(3);
    EXPECT_EQ(sub.text(), u"Sub");
    EXPECT_EQ(sub.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_FALSE(sub.begin().fragment().charFormat().fontItalic());
    EXPECT_EQ(qRound(sub.begin().fragment().charFormat().fontPointSize()), base.size + 2);
    EXPECT_EQ(view.document()->lastBlock().text(), u"line");
}

TEST_F(HelpDisplayTest, StringLiteralsOfAPage)
{
    EXPECT_EQ(view.ConvertLongHTMLStringToStringLiterals(QStringLiteral("<p>it's</p>")),
              u"HTML = \r\n'<p>it''s</p>';\r\n");
    EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("HTML in string literals has been placed on the clipboard")});
    const QString longText = QStringLiteral("word ").repeated(50);
    const QString literals = view.ConvertLongHTMLStringToStringLiterals(longText);
    EXPECT_TRUE(literals.startsWith(QStringLiteral("HTML = \r\n'") + QStringLiteral("word ").repeated(40) + QStringLiteral("' +\r\n")));
    EXPECT_EQ(view.ConvertLongHTMLStringToStringLiterals(QString()), u"");
}

} // namespace
