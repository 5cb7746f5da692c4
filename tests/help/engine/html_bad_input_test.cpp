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

TEST(BadInput, LongRulesAppliedToManyElementsStayLinear)
{
    // 100,000 declarations in one rule and 20,000 elements that use it.
    const QString rule = QStringLiteral("p { ") + Repeat("font-size: 101%; color: red; font-weight: bold; ", 33334) + u'}';
    THelpTestTarget target;
    target.Convert(QStringLiteral("<style>") + rule + QStringLiteral("</style>") + Repeat("<p>x</p>", 20000) +
                   Repeat("<img src=m class=p>", 20000));
    EXPECT_EQ(target.FormatOf(QStringLiteral("x")).Color, RGBToColor(255, 0, 0));
    EXPECT_EQ(target.FormatOf(QStringLiteral("x")).Style, fsBold);
}

TEST(BadInput, ManySheetsLoadedBetweenElementsStayLinear)
{
    const QString rule = QStringLiteral("<style>p { ") + Repeat("color: red; ", 50000) + QStringLiteral("}</style>");
    THelpTestTarget target;
    target.Convert(rule + Repeat("<style>\n{ color: blue }</style><p>x", 5000));
    EXPECT_EQ(target.FormatOf(QStringLiteral("x")).Color, RGBToColor(0, 0, 255));
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
