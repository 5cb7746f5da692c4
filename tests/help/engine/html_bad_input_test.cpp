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

struct TBadPage
{
    const char* name;
    QString html;
    const char* mustContain;
};

// Printable names for the parameterised cases.
void PrintTo(const TBadPage& page, std::ostream* os)
{
    *os << page.name;
}

class BadPageTest : public ::testing::TestWithParam<TBadPage>
{
};

TEST_P(BadPageTest, ConvertsToSomeText)
{
    THelpTestTarget target;
    target.Convert(GetParam().html);
    EXPECT_TRUE(target.Document()->toPlainText().contains(QString::fromUtf8(GetParam().mustContain)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadPageTest,
    ::testing::Values(
        TBadPage{"unclosed quote", QStringLiteral("a<img alt=\"never closed>b"), "a"},
        TBadPage{"unclosed comments", QStringLiteral("a") + Repeat("<!--x>", 200000) + QStringLiteral("end"), "end"},
        TBadPage{"comment openers", QStringLiteral("a") + Repeat("<!-- ", 200000), "a"},
        TBadPage{"nested bold", Repeat("<b>", 10000) + QStringLiteral("deep") + Repeat("</b>", 10000), "deep"},
        TBadPage{"nested font", Repeat("<font size=+7 color=red face=x>", 10000) + QStringLiteral("deep"), "deep"},
        TBadPage{"nested headings", Repeat("<h1>", 10000) + QStringLiteral("deep"), "deep"},
        TBadPage{"nested lists", Repeat("<ul><li>", 10000) + QStringLiteral("deep") + Repeat("</ul>", 10001), "deep"},
        TBadPage{"nested quotes", Repeat("<blockquote>", 10000) + QStringLiteral("deep"), "deep"},
        TBadPage{"closing quotes", Repeat("</blockquote>", 10000) + QStringLiteral("x"), "x"},
        TBadPage{"nested spans", Repeat("<span style=\"background-color:#123456\">", 10000) + QStringLiteral("deep"), "deep"},
        TBadPage{"nested links", Repeat("<a href=#x>", 10000) + QStringLiteral("deep") + Repeat("</a>", 10000), "deep"},
        TBadPage{"huge attribute", QStringLiteral("<img alt=\"") + QString(10'000'000, u'x') + QStringLiteral("\" src=m>z"), "xxx"},
        TBadPage{"huge link", QStringLiteral("<a href=") + QString(10'000'000, u'w') + QStringLiteral(">z</a>"), "z"},
        TBadPage{"many attributes", QStringLiteral("<font ") + Repeat("a=b ", 1'000'000) + QStringLiteral("color=red>z"), "z"},
        TBadPage{"entity soup", Repeat("&amp&#;&#x;&#99999999;&&;&lt;&#x10FFFF;&nbsp", 100000), "<"},
        TBadPage{"blank paragraphs", Repeat("&nbsp;", 200000) + Repeat("</p>", 200000) + QStringLiteral("z"), "z"},
        TBadPage{"many rules", Repeat("<hr width=100%>", 20000) + QStringLiteral("z"), "z"},
        TBadPage{"style soup", QStringLiteral("<style>") + Repeat("}a{b;c:d{", 200000) + QStringLiteral("</style>z"), "z"},
        TBadPage{"control characters",
                 QStringLiteral("a") + QChar(0) + QStringLiteral("b\u2029c\uFDD0d\uFFFCe\U0001F600") + QChar(0xDC00) + u'f',
                 "f"}));

// A target that counts every operation the converter asks of it: the converter's steps.
class TCountingTarget : public THelpTestTarget
{
public:
    mutable qint64 steps = 0;

    void SetSelText(const QString& text) override { ++steps; THelpTestTarget::SetSelText(text); }
    int SelStart() const override { ++steps; return THelpTestTarget::SelStart(); }
    void SetSelStart(int position) override { ++steps; THelpTestTarget::SetSelStart(position); }
    int SelLength() const override { ++steps; return THelpTestTarget::SelLength(); }
    void SetSelLength(int length) override { ++steps; THelpTestTarget::SetSelLength(length); }
    int LineFromChar(int position) const override { ++steps; return THelpTestTarget::LineFromChar(position); }
    void InsertImage(const QImage& image) override { ++steps; THelpTestTarget::InsertImage(image); }
    int ClientWidth() const override { ++steps; return THelpTestTarget::ClientWidth(); }
    int ClientHeight() const override { ++steps; return THelpTestTarget::ClientHeight(); }
    int UITextWidth(const QString& text) const override { ++steps; return THelpTestTarget::UITextWidth(text); }

protected:
    TCharFormat CharFormat(TAttributeScope scope) const override { ++steps; return THelpTestTarget::CharFormat(scope); }
    void ChangeCharFormat(TAttributeScope scope, const TCharFormat& format, TCharFields fields) override
    {
        ++steps;
        THelpTestTarget::ChangeCharFormat(scope, format, fields);
    }
    TParagraphFormat ParagraphFormat() const override { ++steps; return THelpTestTarget::ParagraphFormat(); }
    void ChangeParagraphFormat(const TParagraphFormat& format, TParaFields fields) override
    {
        ++steps;
        THelpTestTarget::ChangeParagraphFormat(format, fields);
    }
    int LineCount() const override { ++steps; return THelpTestTarget::LineCount(); }
    QString LineText(int index) const override { ++steps; return THelpTestTarget::LineText(index); }
};

// The steps of converting a page, and the format of its first "x".
qint64 StepsOf(const QString& html, TCharFormat* formatOfX = nullptr)
{
    TCountingTarget target;
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
    TCharFormat format;
    const qint64 shortRule = StepsOf(page(100, 300));
    const qint64 longRule = StepsOf(page(2000, 300), &format);
    EXPECT_EQ(longRule, shortRule);
    EXPECT_EQ(format.Color, RGBToColor(255, 0, 0));
    EXPECT_EQ(format.Style, fsBold);
    const qint64 tenTimesTheElements = StepsOf(page(100, 3000));
    EXPECT_LE(tenTimesTheElements, 11 * shortRule);
    EXPECT_GE(tenTimesTheElements, 9 * shortRule);

    // The rule is composed once, not once per element.
    TCSS css;
    THelpTestTarget target;
    css.LoadCSSFromString(QStringLiteral("p { ") + Repeat("font-size: 101%; color: red; ", 2000) + u'}');
    for (int i = 0; i < 300; ++i)
        css.DoCSS(target, QString(), QString(), QStringLiteral("P"));
    EXPECT_EQ(css.ComposedDeclarations(), css.NumProperties());
}

TEST(BadInput, ManySheetsLoadedBetweenElementsStayLinear)
{
    const QString rule = QStringLiteral("<style>p { ") + Repeat("color: red; ", 2000) + QStringLiteral("}</style>");
    const auto page = [&](int sheets) { return rule + Repeat("<style>\n{ color: blue }</style><p>x", sheets); };
    TCharFormat format;
    const qint64 few = StepsOf(page(200));
    const qint64 many = StepsOf(page(2000), &format);
    EXPECT_EQ(format.Color, RGBToColor(0, 0, 255));
    EXPECT_LE(many, 11 * few);

    // Each declaration is composed once, however many sheets come between the elements.
    TCSS css;
    THelpTestTarget target;
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

        THelpTestTarget target;
        const QString page = QStringLiteral("<link rel=stylesheet href=s.css><p>start<img src=pic.jpg>") +
            QString::fromLatin1(bytes);
        target.Convert(page, dir.path());
        EXPECT_TRUE(target.Document()->toPlainText().startsWith(QStringLiteral("\nstart"))) << round;

        TCSS css;
        css.LoadCSSFromString(QString::fromLatin1(bytes));
        css.DoCSS(target, QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("P"));
        DecodeHTMLEntities(QString::fromLatin1(bytes));
    }
}

TEST(BadInput, CorruptJpegShowsThePlaceholder)
{
    QFile fixture(testDataPath(QStringLiteral("help/picture.jpg")));
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
        THelpTestTarget target;
        const TLinkList urls = target.Convert(QStringLiteral("<img src=pic.jpg>after"), dir.path());
        EXPECT_EQ(target.PlainText(), u"[IMAGE: \"pic.jpg\"]after");
        EXPECT_EQ(urls.size(), 1);
    }
}

} // namespace
