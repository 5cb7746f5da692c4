#pragma once
// Decoding of text files: UTF-16 after a UTF-16 byte-order mark, UTF-8 when the bytes are valid
// UTF-8 (a leading byte-order mark is dropped), otherwise Windows-1252.

#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <functional>

namespace plotwell {

// Utf8 and Windows1252 keep ASCII as it is, so bytes in them can be parsed as they stand.
enum class TextEncoding { Utf8, Windows1252, Utf16LE, Utf16BE };

bool IsValidUtf8(const char* data, std::size_t size);
// The same, also telling whether every byte is ASCII.
bool IsValidUtf8(const char* data, std::size_t size, bool& ascii);

// How a text file is to be read: its encoding, and the bytes of byte-order mark before the text.
struct TextLayout
{
    TextEncoding encoding;
    std::size_t start;
};

// UTF-16 after its byte-order mark; otherwise UTF-8 when the bytes after any UTF-8 mark are
// valid UTF-8 (`isValidUtf8` decides; callers may check big files piece by piece), else
// Windows-1252, without the UTF-8 mark should there be one.
TextLayout DetectLayout(const char* data, std::size_t size,
                        const std::function<bool(const char*, std::size_t)>& isValidUtf8 = {});

QString DecodeWindows1252(const char* data, std::size_t size);
QString Decode(const char* data, std::size_t size, TextEncoding encoding);

// Detects and decodes a whole file's bytes; a leading byte-order mark is dropped.
// A lone last byte of UTF-16 text becomes a replacement character.
QString DecodeText(QByteArrayView bytes);

// Number of characters (UTF-16 code units would split pairs; these are code points) in
// `size` bytes of text in the given encoding.
std::size_t CharacterCount(const char* data, std::size_t size, TextEncoding encoding);

} // namespace plotwell
