// The malformed pages, style sheets and pictures of the corpus, each through the path the help
// viewer takes: file bytes decoded as a page is, converted into a document, style sheets linked
// from the page, pictures named by an IMG element. Each gives the text and format its rules give;
// pictures that cannot be read give the placeholder.

#include "core/text_decoding.h"
#include "help/engine/html_converter.h"

#include "help_test_target.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include <sys/stat.h>

using namespace plotwell;

namespace {

QStringList CorpusFiles(const QString& kind)
{
    return QDir(TestDataPath(QStringLiteral("bad/") + kind)).entryList(QDir::Files, QDir::Name);
}

// A page's bytes as the help viewer reads them.
QString DecodePage(const QByteArray& bytes)
{
    return DecodeText(bytes);
}

struct PageExpectation
{
    QString text;
    std::function<void(const HelpTestTarget&, const LinkList&)> check = {};
};

} // namespace

TEST(MalformedHelpPage, EveryCorpusPageGivesItsText)
{
    const QChar nul(0);
    const QMap<QString, PageExpectation> expected = {
        {QStringLiteral("bad-attributes.html"),
         {QStringLiteral("xy\n_\n\n_\nz"),
          [](const HelpTestTarget& t, const LinkList& urls) {
              EXPECT_EQ(t.FormatOf(QStringLiteral("x")).size, 12);
              EXPECT_EQ(t.FormatOf(QStringLiteral("y")).color, t.BaseFormat().color);
              EXPECT_TRUE(urls.isEmpty()) << "an IMG without SRC does nothing";
          }}},
        // "b and c " is read as a B tag with an attribute that has no value.
        {QStringLiteral("bare-less-than.html"),
         {QStringLiteral("a  d"),
          [](const HelpTestTarget& t, const LinkList&) { EXPECT_EQ(t.FormatOf(QStringLiteral("d")).style, kBold); }}},
        {QStringLiteral("broken-entities.html"), {QStringLiteral("<b> &unknownname; AT&T AAA Ä&AUML; & x")}},
        {QStringLiteral("invalid-utf8.html"), {QStringLiteral("\nCafé € naïve")}},
        {QStringLiteral("nul.html"), {QStringLiteral("\na") + nul + QStringLiteral("bc") + nul + u'd'}},
        {QStringLiteral("stray-end-tags.html"), {QStringLiteral("\n\n---------\n\n\nx")}},
        {QStringLiteral("truncated.html"), {QStringLiteral("\nIntro bold text ")}},
        // Without "-->" the comment is an unknown tag that ends at the first ">".
        {QStringLiteral("unclosed-comment.html"),
         {QStringLiteral("beforex after"),
          [](const HelpTestTarget& t, const LinkList&) { EXPECT_EQ(t.FormatOf(QStringLiteral("x")).style, FontStyles()); }}},
        {QStringLiteral("unclosed-quote.html"),
         {QStringLiteral("\nx link end"),
          [](const HelpTestTarget&, const LinkList& urls) {
              ASSERT_EQ(urls.size(), 1);
              EXPECT_EQ(urls[0].target, QStringLiteral("never closed"));
              EXPECT_EQ(urls[0].info.kind, kUrlLink);
              EXPECT_EQ(urls[0].info.start, 3);
              EXPECT_EQ(urls[0].info.length, 4);
          }}},
        {QStringLiteral("unclosed-script.html"), {QStringLiteral("a")}},
        {QStringLiteral("unclosed-style.html"), {QStringLiteral("\n")}},
        {QStringLiteral("unclosed-tags.html"),
         {QStringLiteral("deep text"),
          [](const HelpTestTarget& t, const LinkList&) {
              const CharacterFormat f = t.FormatOf(QStringLiteral("text"));
              EXPECT_EQ(f.style, kBold | kItalic | kUnderline);
              EXPECT_EQ(f.color, RGBToColor(255, 0, 0));
          }}},
        // Decoded as the UTF-16 its byte-order mark announces.
        {QStringLiteral("utf16.html"), {QStringLiteral("\nhi")}},
    };

    const QStringList files = CorpusFiles(QStringLiteral("html"));
    ASSERT_GE(files.size(), 12);
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(expected.contains(name)) << "no expectation for " << name.toStdString();
        HelpTestTarget target;
        const LinkList urls = target.Convert(DecodePage(ReadFile(TestDataPath(QStringLiteral("bad/html/") + name))));
        const PageExpectation& e = expected[name];
        EXPECT_EQ(target.PlainText(), e.text);
        if (e.check)
            e.check(target, urls);
    }
}

TEST(MalformedHelpPage, TenThousandNestedElementsAndATenMegabyteLine)
{
    {
        HelpTestTarget target;
        target.Convert(QStringLiteral("<table><tr><td><pre><code><center><th><cite><q><blockquote><h3><ol><li><font size=+1>")
                           .repeated(10000) +
                       QStringLiteral("deep"));
        EXPECT_TRUE(target.PlainText().endsWith(QStringLiteral("\n1. deep")));
    }
    {
        // Inside PRE every blank and tab of the line stays, as a blank.
        const QString line = QStringLiteral("ab\t").repeated(3'500'000);
        HelpTestTarget target;
        target.Convert(QStringLiteral("<pre>") + line + QStringLiteral("</pre>end"));
        QString kept = line;
        kept.replace(u'\t', u' ');
        EXPECT_EQ(target.PlainText(), u'\n' + kept + QStringLiteral("\nend"));
    }
}

namespace {

// Changes from the format of text with no style sheet; nothing means unchanged.
struct SheetExpectation
{
    std::optional<RgbColor> color;
    std::optional<int> size;
    FontStyles style;
    std::optional<QString> name;
};

// The page links the sheet and opens an element that its element, class and id rules all reach.
void CheckSheet(const QString& folder, const QString& file, const SheetExpectation& e)
{
    HelpTestTarget plain;
    plain.Convert(QStringLiteral("<p class=note id=top>x"));
    const CharacterFormat base = plain.FormatOf(QStringLiteral("x"));

    HelpTestTarget target;
    target.Convert(QStringLiteral("<link rel=stylesheet href=\"%1\"><p class=note id=top>x").arg(file), folder);
    EXPECT_EQ(target.PlainText(), QStringLiteral("\nx"));
    const CharacterFormat f = target.FormatOf(QStringLiteral("x"));
    EXPECT_EQ(f.color, e.color.value_or(base.color));
    EXPECT_EQ(f.size, e.size.value_or(base.size));
    EXPECT_EQ(f.style, e.style);
    EXPECT_EQ(f.name, e.name.value_or(base.name));
}

constexpr RgbColor kRed = RGBToColor(255, 0, 0);

} // namespace

TEST(MalformedStyleSheet, EveryCorpusSheetGivesItsFormat)
{
    const QMap<QString, SheetExpectation> expected = {
        {QStringLiteral("huge-values.css"), {RGBToColor(255, 255, 255), {}, {}, {}}},
        {QStringLiteral("invalid-utf8.css"), {{}, {}, {}, QStringLiteral("CAFÉ SANS")}},
        // The target holds sizes below 1 point at 1.
        {QStringLiteral("negative-size.css"), {{}, 1, {}, {}}},
        // "*/ .NOTE" is a selector that no class reaches.
        {QStringLiteral("nested-comments.css"), {kRed, {}, kItalic, {}}},
        {QStringLiteral("nul.css"), {RGBToColor(0, 128, 0), {}, kBold, {}}},
        {QStringLiteral("percent-sizes.css"), {{}, 18, {}, {}}},
        {QStringLiteral("selectors-only.css"), {}},
        {QStringLiteral("stray-braces.css"), {kRed, {}, {}, {}}},
        {QStringLiteral("truncated.css"), {kRed, 15, {}, {}}},
        // Text before a nested "{" is dropped; the declaration after it still belongs to P.
        {QStringLiteral("unclosed-brace.css"), {RGBToColor(0, 128, 0), {}, kItalic, {}}},
        {QStringLiteral("unclosed-comment.css"), {RGBToColor(0, 0, 255), {}, {}, {}}},
        {QStringLiteral("unclosed-quote.css"), {kRed, {}, {}, QStringLiteral("TIMES NEW ROMAN")}},
        {QStringLiteral("utf16.css"), {kRed, {}, {}, {}}},
    };

    const QString folder = TestDataPath(QStringLiteral("bad/css"));
    const QStringList files = CorpusFiles(QStringLiteral("css"));
    ASSERT_GE(files.size(), 12);
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(expected.contains(name)) << "no expectation for " << name.toStdString();
        CheckSheet(folder, name, expected[name]);
    }
}

TEST(MalformedStyleSheet, HugeAndDeeplyNestedSheets)
{
    struct Case
    {
        const char* name;
        QByteArray sheet;
        SheetExpectation expected;
    };
    const Case cases[] = {
        {"10 MB declaration", "p { color: red; " + QByteArray(10'000'000, 'x') + "; font-weight: bold }", {kRed, {}, kBold, {}}},
        {"10 MB selector", QByteArray(10'000'000, 'x') + " { color: blue } p { font-weight: bold }", {{}, {}, kBold, {}}},
        {"10,000 nested braces", "p {" + QByteArray("a {").repeated(10000) + " color: red }", {kRed, {}, {}, {}}},
        {"10,000 comment openers", "p { color: red }" + QByteArray("/*").repeated(10000) + ".note { color: blue }",
         {kRed, {}, {}, {}}},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(dir.filePath(QStringLiteral("sheet.css")), c.sheet);
        CheckSheet(dir.path(), QStringLiteral("sheet.css"), c.expected);
    }
}

TEST(MalformedPicture, UnreadablePicturesGiveThePlaceholder)
{
    // Cut in the middle of the scan or before the end marker, the picture shows as far as it goes.
    const QStringList shown = {QStringLiteral("cut-at-eoi.jpg"), QStringLiteral("cut-in-scan.jpg")};
    const QStringList files = CorpusFiles(QStringLiteral("jpeg"));
    ASSERT_GE(files.size(), 12);
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        HelpTestTarget target;
        const LinkList urls =
            target.Convert(QStringLiteral("<img src=\"%1\">after").arg(name), TestDataPath(QStringLiteral("bad/jpeg")));
        if (shown.contains(name)) {
            EXPECT_EQ(target.PlainText(), QStringLiteral("\uFFFCafter"));
            EXPECT_TRUE(urls.isEmpty());
        } else {
            EXPECT_EQ(target.PlainText(), QStringLiteral("[IMAGE: \"%1\"]after").arg(name));
            ASSERT_EQ(urls.size(), 1);
            EXPECT_EQ(urls[0].info.kind, kImageLink);
            EXPECT_EQ(urls[0].target, name);
        }
    }
}

TEST(MalformedPicture, PipesAndDevicesAreNeitherPicturesNorSheets)
{
    // Opening a pipe would wait for a writer for ever; a device would be read without end.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe.jpg"))).constData(), 0600), 0);
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe.css"))).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), dir.filePath(QStringLiteral("zero.jpg"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), dir.filePath(QStringLiteral("zero.css"))));
    for (const char* name : {"pipe", "zero"}) {
        SCOPED_TRACE(name);
        HelpTestTarget target;
        target.Convert(QStringLiteral("<img src=\"%1.jpg\">after").arg(QLatin1String(name)), dir.path());
        EXPECT_EQ(target.PlainText(), QStringLiteral("[IMAGE: \"%1.jpg\"]after").arg(QLatin1String(name)));
        CheckSheet(dir.path(), QLatin1String(name) + QStringLiteral(".css"), {});
    }
}
