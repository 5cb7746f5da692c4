#include "core/text_decoding.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>

namespace plotwell {

namespace {

// Windows-1252 characters for the bytes 0x80..0x9F; the five undefined ones map to their
// C1 control code points, as most decoders do.
constexpr char16_t kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

bool IsValidUtf8(const char* data, std::size_t size)
{
    bool ascii = true;
    return IsValidUtf8(data, size, ascii);
}

bool IsValidUtf8(const char* data, std::size_t size, bool& ascii)
{
    ascii = true;
    const auto* s = reinterpret_cast<const unsigned char*>(data);
    std::size_t i = 0;
    while (i < size) {
        // Fast path over ASCII, eight bytes at a time.
        while (i + 8 <= size) {
            quint64 word;
            std::memcpy(&word, s + i, 8);
            if (word & 0x8080808080808080ULL)
                break;
            i += 8;
        }
        if (i >= size)
            break;
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        ascii = false;
        std::size_t len;
        unsigned int cp;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + len > size)
            return false;
        for (std::size_t k = 1; k < len; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        i += len;
    }
    return true;
}

TextLayout DetectLayout(const char* data, std::size_t size,
                        const std::function<bool(const char*, std::size_t)>& isValidUtf8)
{
    const auto startsWith = [&](const char* mark, std::size_t length) {
        return size >= length && std::memcmp(data, mark, length) == 0;
    };
    if (startsWith("\xFF\xFE", 2))
        return {TextEncoding::Utf16LE, 2};
    if (startsWith("\xFE\xFF", 2))
        return {TextEncoding::Utf16BE, 2};
    const std::size_t bom = startsWith("\xEF\xBB\xBF", 3) ? 3 : 0;
    // A mark followed by text that is not UTF-8 is still no part of the text.
    const bool valid = isValidUtf8 ? isValidUtf8(data + bom, size - bom) : IsValidUtf8(data + bom, size - bom);
    return {valid ? TextEncoding::Utf8 : TextEncoding::Windows1252, bom};
}

QString DecodeWindows1252(const char* data, std::size_t size)
{
    QString out(static_cast<qsizetype>(size), Qt::Uninitialized);
    QChar* d = out.data();
    for (std::size_t i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(data[i]);
        d[i] = (c >= 0x80 && c < 0xA0) ? QChar(kHighTable[c - 0x80]) : QChar(c);
    }
    return out;
}

QString Decode(const char* data, std::size_t size, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return QString::fromUtf8(data, static_cast<qsizetype>(size));
    case TextEncoding::Windows1252:
        return DecodeWindows1252(data, size);
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
        QStringDecoder decoder(encoding == TextEncoding::Utf16LE ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                               QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        QString text = decoder.decode(QByteArrayView(data, static_cast<qsizetype>(size)));
        // A surrogate without its partner is no character: it could not be written again as
        // UTF-8, so it reads as the replacement character, as invalid UTF-8 does.
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
            else if (text[i].isSurrogate())
                text[i] = QChar::ReplacementCharacter;
        }
        return text;
    }
    }
    return {};
}

QString DecodeText(QByteArrayView bytes)
{
    const auto size = static_cast<std::size_t>(bytes.size());
    const TextLayout layout = DetectLayout(bytes.data(), size);
    return Decode(bytes.data() + layout.start, size - layout.start, layout.encoding);
}

std::size_t CharacterCount(const char* data, std::size_t size, TextEncoding encoding)
{
    if (encoding == TextEncoding::Windows1252)
        return size;
    if (encoding != TextEncoding::Utf8) {
        const QString text = Decode(data, size, encoding);
        return static_cast<std::size_t>(text.size() - std::count_if(text.begin(), text.end(), [](QChar c) {
                                            return c.isLowSurrogate();
                                        }));
    }
    // Every byte but the continuation bytes (10xxxxxx) starts a character. Runs of ASCII are
    // passed over 32 bytes at a time; other words count their continuation bytes in place.
    const auto continuationsIn = [](quint64 word) {
        quint64 marks = (word & ~(word << 1) & 0x8080808080808080ULL) >> 7; // one bit per byte
        return static_cast<std::size_t>((marks * 0x0101010101010101ULL) >> 56);
    };
    std::size_t continuations = 0;
    std::size_t i = 0;
    for (; i + 32 <= size; i += 32) {
        quint64 words[4];
        std::memcpy(words, data + i, 32);
        if (((words[0] | words[1] | words[2] | words[3]) & 0x8080808080808080ULL) == 0)
            continue;
        for (const quint64 word : words)
            continuations += continuationsIn(word);
    }
    for (; i < size; ++i)
        continuations += (static_cast<unsigned char>(data[i]) & 0xC0) == 0x80;
    return size - continuations;
}

} // namespace plotwell
