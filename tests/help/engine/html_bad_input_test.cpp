// Pages, style sheets and pictures that no one should write still convert to some text, quickly
// and without a crash. The sizes are such that any work growing faster than the input would take
// minutes.

#include "help/engine/css_processing.h"
#include "help/engine/html_converter.h"
#include "help/engine/html_entities.h"

#include "help_test_target.h"
#include "support/test_support.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace plotwell;

namespace {

QString Repeat(const char* piece, int times)
{
    return QString::fromUtf8(piece).repeated(times);
}

struct BadPage
{
    const char* name;
    QString html;
    const char* mustContain;
};

// Printable names for the parameterised cases.
void PrintTo(const BadPage& page, std::ostream* os)
{
    *os << page.name;
}

class BadPageTest : public ::testing::TestWithParam<BadPage>
{
};

TEST_P(BadPageTest, ConvertsToSomeText)
{
    HelpTestTarget target;
    target.Convert(GetParam().html);
    EXPECT_TRUE(target.Document()->toPlainText().contains(QString::fromUtf8(GetParam().mustContain)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadPageTest,
    ::testing::Values(
        BadPage{"unclosed quote", QStringLiteral("a<img alt=\"never closed>b"), "a"},
        BadPage{"unclosed comments", QStringLiteral("a") + Repeat("<!--x>", 200000) + QStringLiteral("end"), "end"},
        BadPage{"comment openers", QStringLiteral("a") + Repeat("<!-- ", 200000), "a"},
        BadPage{"nested bold", Repeat("<b>", 10000) + QStringLiteral("deep") + Repeat("</b>", 10000), "deep"},
        BadPage{"nested font", Repeat("<font size=+7 color=red face=x>", 10000) + QStringLiteral("deep"), "deep"},
        BadPage{"nested headings", Repeat("<h1>", 10000) + QStringLiteral("deep"), "deep"},
        BadPage{"nested lists", Repeat("<ul><li>", 10000) + QStringLiteral("deep") + Repeat("</ul>", 10001), "deep"},
        BadPage{"nested quotes", Repeat("<blockquote>", 10000) + QStringLiteral("deep"), "deep"},
        BadPage{"closing quotes", Repeat("</blockquote>", 10000) + QStringLiteral("x"), "x"},
        BadPage{"nested spans", Repeat("<span style=\"background-color:#123456\">", 10000) + QStringLiteral("deep"), "deep"},
        BadPage{"nested links", Repeat("<a href=#x>", 10000) + QStringLiteral("deep") + Repeat("</a>", 10000), "deep"},
        BadPage{"huge attribute", QStringLiteral("<img alt=\"") + QString(10'000'000, u'x') + QStringLiteral("\" src=m>z"), "xxx"},
        BadPage{"huge link", QStringLiteral("<a href=") + QString(10'000'000, u'w') + QStringLiteral(">z</a>"), "z"},
        BadPage{"many attributes", QStringLiteral("<font ") + Repeat("a=b ", 1'000'000) + QStringLiteral("color=red>z"), "z"},
        BadPage{"entity soup", Repeat("&amp&#;&#x;&#99999999;&&;&lt;&#x10FFFF;&nbsp", 100000), "<"},
        BadPage{"blank paragraphs", Repeat("&nbsp;", 200000) + Repeat("</p>", 200000) + QStringLiteral("z"), "z"},
        BadPage{"many rules", Repeat("<hr width=100%>", 20000) + QStringLiteral("z"), "z"},
        BadPage{"style soup", QStringLiteral("<style>") + Repeat("}a{b;c:d{", 200000) + QStringLiteral("</style>z"), "z"},
        BadPage{"control characters",
                 QStringLiteral("a") + QChar(0) + QStringLiteral("b\u2029c\uFDD0d\uFFFCe\U0001F600") + QChar(0xDC00) + u'f',
                 "f"}));

// A target that counts every operation the converter asks of it: the converter's steps.
class CountingTarget : public HelpTestTarget
{
public:
    mutable qint64 steps = 0;

    void SetSelText(const QString& text) override { ++steps; HelpTestTarget::SetSelText(text); }
    int SelStart() const override { ++steps; return HelpTestTarget::SelStart(); }
    void SetSelStart(int position) override { ++steps; HelpTestTarget::SetSelStart(position); }
    int SelLength() const override { ++steps; return HelpTestTarget::SelLength(); }
    void SetSelLength(int length) override { ++steps; HelpTestTarget::SetSelLength(length); }
    int LineFromChar(int position) const override { ++steps; return HelpTestTarget::LineFromChar(position); }
    void InsertImage(const QImage& image) override { ++steps; HelpTestTarget::InsertImage(image); }
    int ClientWidth() const override { ++steps; return HelpTestTarget::ClientWidth(); }
    int ClientHeight() const override { ++steps; return HelpTestTarget::ClientHeight(); }
    int UITextWidth(const QString& text) const override { ++steps; return HelpTestTarget::UITextWidth(text); }

protected:
    CharacterFormat CharFormat(AttributeScope scope) const override { ++steps; return HelpTestTarget::CharFormat(scope); }
    void ChangeCharFormat(AttributeScope scope, const CharacterFormat& format, CharFields fields) override
    {
        ++steps;
        HelpTestTarget::ChangeCharFormat(scope, format, fields);
    }
    ParagraphStyle ParagraphFormat() const override { ++steps; return HelpTestTarget::ParagraphFormat(); }
    void ChangeParagraphFormat(const ParagraphStyle& format, ParaFields fields) override
    {
        ++steps;
        HelpTestTarget::ChangeParagraphFormat(format, fields);
    }
    int LineCount() const override { ++steps; return HelpTestTarget::LineCount(); }
    QString LineText(int index) const override { ++steps; return HelpTestTarget::LineText(index); }
};

// The steps of converting a page, and the format of its first "x".
qint64 StepsOf(const QString& html, CharacterFormat* formatOfX = nullptr)
{
    CountingTarget target;
    target.Convert(html);
    if (formatOfX)
        *formatOfX = target.FormatOf(QStringLiteral("x"));
    return target.steps;
}

TEST(BadInput, LongRulesAppliedToManyElementsStayLinear)
{
    // A rule of d declarations used by e elements: the work must not grow with d at all, and
    // only in proportion with e. The sizes are small enough that a fault fails here quickly
    // instead of running into the suite's time-out.
    const auto page = [](int repeats, int elements) {
        const QString rule = QStringLiteral("p { ") + Repeat("font-size: 101%; color: red; font-weight: bold; ", repeats) + u'}';
        return QStringLiteral("<style>") + rule + QStringLiteral("</style>") + Repeat("<p>x</p>", elements) +
            Repeat("<img src=m class=p>", elements);
    };
    CharacterFormat format;
    const qint64 shortRule = StepsOf(page(100, 300));
    const qint64 longRule = StepsOf(page(2000, 300), &format);
    EXPECT_EQ(longRule, shortRule);
    EXPECT_EQ(format.color, RGBToColor(255, 0, 0));
    EXPECT_EQ(format.style, kBold);
    const qint64 tenTimesTheElements = StepsOf(page(100, 3000));
    EXPECT_LE(tenTimesTheElements, 11 * shortRule);
    EXPECT_GE(tenTimesTheElements, 9 * shortRule);

    // The rule is composed once, not once per element.
    StyleSheet css;
    HelpTestTarget target;
    css.LoadCSSFromString(QStringLiteral("p { ") + Repeat("font-size: 101%; color: red; ", 2000) + u'}');
    for (int i = 0; i < 300; ++i)
        css.DoCSS(target, QString(), QString(), QStringLiteral("P"));
    EXPECT_EQ(css.ComposedDeclarations(), css.NumProperties());
}

TEST(BadInput, ManySheetsLoadedBetweenElementsStayLinear)
{
    const QString rule = QStringLiteral("<style>p { ") + Repeat("color: red; ", 2000) + QStringLiteral("}</style>");
    const auto page = [&](int sheets) { return rule + Repeat("<style>\n{ color: blue }</style><p>x", sheets); };
    CharacterFormat format;
    const qint64 few = StepsOf(page(200));
    const qint64 many = StepsOf(page(2000), &format);
    EXPECT_EQ(format.color, RGBToColor(0, 0, 255));
    EXPECT_LE(many, 11 * few);

    // Each declaration is composed once, however many sheets come between the elements.
    StyleSheet css;
    HelpTestTarget target;
    css.LoadCSSFromString(QStringLiteral("p { ") + Repeat("color: red; ", 2000) + u'}');
    for (int i = 0; i < 1000; ++i) {
        css.LoadCSSFromString(QStringLiteral("\n{ color: blue }"));
        css.DoCSS(target, QString(), QString(), QStringLiteral("P"));
    }
    EXPECT_LE(css.ComposedDeclarations(), css.NumProperties());
    EXPECT_EQ(target.SelAttributes().Color(), RGBToColor(0, 0, 255));
}

TEST(BadInput, RandomBytesAsPageStyleSheetAndPicture)
{
    QRandomGenerator random(20240611);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const char alphabet[] = "<>/=\"' &#;!-abpimgsrc{}:.%\r\n\t\xC3\xA9\x80\xFF";
    for (int round = 0; round < 40; ++round) {
        QByteArray bytes(20000, Qt::Uninitialized);
        for (char& b : bytes)
            b = round % 2 ? alphabet[random.bounded(static_cast<int>(sizeof alphabet - 1))] : static_cast<char>(random.bounded(256));
        WriteFile(dir.filePath(QStringLiteral("pic.jpg")), QByteArray("\xFF\xD8\xFF\xE0", 4) + bytes);
        WriteFile(dir.filePath(QStringLiteral("s.css")), bytes);

        HelpTestTarget target;
        const QString page = QStringLiteral("<link rel=stylesheet href=s.css><p>start<img src=pic.jpg>") +
            QString::fromLatin1(bytes);
        target.Convert(page, dir.path());
        EXPECT_TRUE(target.Document()->toPlainText().startsWith(QStringLiteral("\nstart"))) << round;

        StyleSheet css;
        css.LoadCSSFromString(QString::fromLatin1(bytes));
        css.DoCSS(target, QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("P"));
        DecodeHTMLEntities(QString::fromLatin1(bytes));
    }
}

TEST(BadInput, CorruptJpegShowsThePlaceholder)
{
    QFile fixture(TestDataPath(QStringLiteral("help/picture.jpg")));
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    const QByteArray good = fixture.readAll();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The header alone, and a header claiming 9000 x 8000 pixels, beyond the limit of 64 million.
    QByteArray huge = good;
    const qsizetype sof = huge.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GE(sof, 0);
    huge[sof + 5] = '\x1F'; // height 8000
    huge[sof + 6] = '\x40';
    huge[sof + 7] = '\x23'; // width 9000
    huge[sof + 8] = '\x28';
    const QList<QByteArray> pictures = {good.left(20), huge};
    for (const QByteArray& bytes : pictures) {
        WriteFile(dir.filePath(QStringLiteral("pic.jpg")), bytes);
        HelpTestTarget target;
        const LinkList urls = target.Convert(QStringLiteral("<img src=pic.jpg>after"), dir.path());
        EXPECT_EQ(target.PlainText(), u"[IMAGE: \"pic.jpg\"]after");
        EXPECT_EQ(urls.size(), 1);
    }
}

} // namespace
