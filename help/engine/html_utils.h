#pragma once
// Small text helpers shared by the style-sheet processor and the HTML converter.

#include "help/engine/rich_text_target.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace plotwell {

// 0 to 15 for a hexadecimal digit, -1 for any other character.
int HexDigitValue(QChar c);

// The text without leading and trailing characters at or below the blank (controls included).
QStringView TrimBlanks(QStringView text);

// A whole number: optional leading blanks, an optional sign, decimal digits and nothing after
// them. Anything else, or a number beyond the 32-bit range, gives nothing.
std::optional<int> ParseWholeNumber(QStringView text);

// A colour from an HTML colour text: one of the sixteen basic names, or "#RRGGBB" (characters
// after the sixth digit ignored). Anything else gives clNoColor.
RgbColor HTMLColorToColor(QStringView text);

// The file-name part of a path written with either kind of separator.
QString FileNamePart(const QString& path);

// The file a page names: the name as given when such a file exists, otherwise a relative name
// taken in the page's own folder (when one is given). A name written with backslash separators is also
// tried with "/". Empty when there is no such file.
QString FindPageFile(const QString& name, const QString& pageFolder);

} // namespace plotwell
