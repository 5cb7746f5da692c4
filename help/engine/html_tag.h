#pragma once
// HTMLTag: the name, end-tag flag and attributes of one tag of a help page.

#include <QList>
#include <QString>
#include <QStringView>

namespace plotwell {

class HTMLTag
{
public:
    // Parses the text between "<" (or "</") and ">". `endTag` says whether a "/" followed the "<".
    static HTMLTag Parse(QStringView tagText, bool endTag);

    // Upper case.
    const QString& Name() const { return name_; }
    bool IsEndTag() const { return endTag_; }
    // The value of the first attribute of that name (letter case ignored); empty when absent.
    QString Attribute(QStringView name) const;
    int AttributeCount() const { return static_cast<int>(attributes_.size()); }

private:
    struct TagAttribute
    {
        QString name;
        QString value;
    };

    void ParseAttributes(QStringView text);

    QString name_;
    bool endTag_ = false;
    QList<TagAttribute> attributes_;
};

} // namespace plotwell
