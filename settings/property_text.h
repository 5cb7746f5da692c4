#pragma once
// A Qt property's value as settings text and back; enumerations and flags by their names.

#include <QString>

#include <optional>

class QMetaProperty;
class QObject;

namespace plotwell {

// The text of a readable property, or none for a value that has no text form.
std::optional<QString> PropertyText(const QMetaProperty& property, const QObject& object);

// Sets a writable property from text; false when the text does not fit the property's type.
bool SetPropertyFromText(const QMetaProperty& property, QObject& object, const QString& text);

} // namespace plotwell
