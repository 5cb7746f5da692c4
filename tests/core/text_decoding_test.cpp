#include "core/text_decoding.h"

#include <gtest/gtest.h>

#include <QByteArray>

using namespace plotwell;

TEST(TextDecoding, Utf8WhenValidElseWindows1252)
{
    const struct {
        QByteArray bytes;
        QString text;
    } cases[] = {
        {"plain", QStringLiteral("plain")},
        {"\xEF\xBB\xBFwith bom", QStringLiteral("with bom")},
        {"caf\xC3\xA9", QStringLiteral("caf\u00E9")},
        {"caf\xE9", QStringLiteral("caf\u00E9")},          // lone Latin-1 byte: not UTF-8
        {"\x80 euro", QStringLiteral("\u20AC euro")},       // Windows-1252 specials
        {"\xED\xA0\x80", QString::fromUtf16(u"\u00ED\u00A0\u20AC")}, // encoded surrogate is invalid UTF-8
        {"\xC0\xAF", QString::fromUtf16(u"\u00C0\u00AF")},  // overlong form is invalid
        {QByteArray("a\0b", 3), QString::fromUtf16(u"a\0b", 3)},
        {"\xEF\xBB\xBF" "caf\xE9", QStringLiteral("caf\u00E9")}, // the mark is dropped before Windows-1252 too
        {QByteArray("\xFF\xFE" "a\0\xAC\x20", 6), QStringLiteral("a\u20AC")},
        {QByteArray("\xFE\xFF\0a\x20\xAC", 6), QStringLiteral("a\u20AC")},
        {QByteArray("\xFE\xFF\0a\0", 5), QStringLiteral("a\uFFFD")}, // a lone last byte
        {QByteArray("\xFF\xFE", 2), QString()},
        {QByteArray("\xFF\xFE" "\x00\xD8" "a\0" "\x00\xDC" "\x3D\xD8\x00\xDE", 12),
         QStringLiteral("\uFFFDa\uFFFD") + QString::fromUcs4(U"\U0001F600", 1)}, // lone surrogates, then a pair
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeText(c.bytes), c.text) << c.bytes.toHex().constData();
}

TEST(TextDecoding, ValidatorAcceptsEveryLengthAndRejectsTruncation)
{
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80 smile, then many ascii bytes to pass the fast path", 55));
    EXPECT_FALSE(IsValidUtf8("abcdefgh\xF0\x9F\x98", 11));
    EXPECT_FALSE(IsValidUtf8("\xF5\x80\x80\x80", 4)); // beyond U+10FFFF
    EXPECT_EQ(CharacterCount("\xC3\xA9t\xC3\xA9", 5, TextEncoding::Utf8), 3u);
    EXPECT_EQ(CharacterCount("\xC3\xA9t\xC3\xA9", 5, TextEncoding::Windows1252), 5u);
}
