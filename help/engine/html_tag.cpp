#include "help/engine/html_tag.h"

#include "help/engine/html_utils.h"

namespace plotwell {

HTMLTag HTMLTag::Parse(QStringView tagText, bool endTag)
{
    // A tag may run over several lines; tabs and line ends inside it count as blanks.
    QString text = TrimBlanks(tagText).toString();
    for (QChar& c : text) {
        if (c.unicode() < u' ')
            c = u' ';
    }
    HTMLTag tag;
    tag.endTag_ = endTag;
    qsizetype cut = 0;
    while (cut < text.size() && text[cut] != u' ' && text[cut] != u'/' && text[cut] != u'>')
        ++cut;
    tag.name_ = text.left(cut).toUpper();
    if (cut < text.size() && text[cut] == u'/')
        tag.endTag_ = true;
    tag.ParseAttributes(TrimBlanks(QStringView(text).mid(cut + 1)));
    return tag;
}

void HTMLTag::ParseAttributes(QStringView rest)
{
    while (!rest.isEmpty()) {
        const qsizetype eq = rest.indexOf(u'=');
        if (eq < 0)
            break; // an attribute without a value ends the list
        TagAttribute attribute;
        attribute.name = TrimBlanks(rest.left(eq)).toString().toUpper();
        rest = TrimBlanks(rest.mid(eq + 1));
        QStringView value;
        if (rest.startsWith(u'"')) {
            const qsizetype close = rest.indexOf(u'"', 1);
            value = close < 0 ? rest : rest.left(close);
            // The closing quote and the character after it.
            rest = close < 0 ? QStringView() : rest.mid(close + 2);
        } else {
            const qsizetype blank = rest.indexOf(u' ');
            value = blank < 0 ? rest : rest.left(blank);
            rest = blank < 0 ? QStringView() : rest.mid(blank + 1);
        }
        attribute.value = TrimBlanks(value).toString();
        attribute.value.remove(u'"');
        attributes_.append(attribute);
        rest = TrimBlanks(rest);
    }
}

QString HTMLTag::Attribute(QStringView name) const
{
    for (const TagAttribute& a : attributes_) {
        if (a.name.compare(name, Qt::CaseInsensitive) == 0)
            return a.value;
    }
    return {};
}

} // namespace plotwell
