#pragma once
// Decoding of text files: UTF-8 when the bytes are valid UTF-8 (a leading byte-order mark is
// dropped), otherwise Windows-1252.

#include <QByteArrayView>
#include <QString>

#include <cstddef>

namespace plotwell {

enum class TextEncoding { Utf8, Windows1252 };

bool IsValidUtf8(const char* data, std::size_t size);

// Length of a leading UTF-8 byte-order mark (3) or 0.
std::size_t Utf8BomLength(const char* data, std::size_t size);

// UTF-8 when valid (after any byte-order mark), else Windows-1252.
TextEncoding DetectEncoding(const char* data, std::size_t size);

QString DecodeWindows1252(const char* data, std::size_t size);
QString Decode(const char* data, std::size_t size, TextEncoding encoding);

// Detects and decodes a whole file's bytes; a leading byte-order mark is dropped.
QString DecodeText(QByteArrayView bytes);

// Number of characters (UTF-16 code units would split pairs; these are code points) in
// `size` bytes of text in the given encoding.
std::size_t CharacterCount(const char* data, std::size_t size, TextEncoding encoding);

} // namespace plotwell
