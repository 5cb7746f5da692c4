#include "settings/property_text.h"

#include <QMetaEnum>
#include <QMetaProperty>
#include <QObject>
#include <QVariant>

namespace plotwell {

namespace {

std::optional<int> EnumValue(const QVariant& value)
{
    QVariant v = value;
    if (!v.convert(QMetaType::fromType<int>()))
        return std::nullopt;
    return v.toInt();
}

} // namespace

std::optional<QString> PropertyText(const QMetaProperty& property, const QObject& object)
{
    const QVariant value = property.read(&object);
    if (!value.isValid())
        return std::nullopt;
    if (property.isEnumType()) {
        const std::optional<int> number = EnumValue(value);
        if (!number)
            return std::nullopt;
        const QMetaEnum e = property.enumerator();
        const QByteArray keys = property.isFlagType() ? e.valueToKeys(*number) : QByteArray(e.valueToKey(*number));
        return keys.isEmpty() ? QString::number(*number) : QString::fromLatin1(keys);
    }
    if (!value.canConvert<QString>())
        return std::nullopt;
    return value.toString();
}

bool SetPropertyFromText(const QMetaProperty& property, QObject& object, const QString& text)
{
    if (property.isEnumType()) {
        const QMetaEnum e = property.enumerator();
        const QByteArray keys = text.trimmed().toLatin1();
        bool ok = false;
        int number = property.isFlagType() ? e.keysToValue(keys.constData(), &ok) : e.keyToValue(keys.constData(), &ok);
        if (!ok)
            number = text.trimmed().toInt(&ok);
        return ok && property.write(&object, number);
    }
    return property.write(&object, text);
}

} // namespace plotwell
