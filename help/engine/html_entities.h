#pragma once
// DecodeHTMLEntities: replaces the character references of HTML text by their characters.

#include <QString>
#include <QStringView>

namespace plotwell {

// Named references («&amp;», «&copy;») are looked up exactly, letter case included; numeric ones
// («&#65;», «&#x41;», «&#$41;», «&#0x41;») give the character of their code. A reference that
// cannot be decoded stays as typed.
QString DecodeHTMLEntities(QStringView text);

// The number of known entity names.
int HTMLEntityCount();

} // namespace plotwell
