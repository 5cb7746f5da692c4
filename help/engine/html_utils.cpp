#include "help/engine/html_utils.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace plotwell {

int HexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

QStringView TrimBlanks(QStringView text)
{
    qsizetype a = 0;
    qsizetype b = text.size();
    while (a < b && text[a].unicode() <= u' ')
        ++a;
    while (b > a && text[b - 1].unicode() <= u' ')
        --b;
    return text.mid(a, b - a);
}

std::optional<int> ParseWholeNumber(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > static_cast<qint64>(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

RgbColor HTMLColorToColor(QStringView text)
{
    struct NamedColor
    {
        const char16_t* name;
        RgbColor color;
    };
    static constexpr NamedColor kBasicColors[] = {
        {u"black", RGBToColor(0, 0, 0)},         {u"maroon", RGBToColor(0x80, 0, 0)},
        {u"green", RGBToColor(0, 0x80, 0)},      {u"olive", RGBToColor(0x80, 0x80, 0)},
        {u"navy", RGBToColor(0, 0, 0x80)},       {u"purple", RGBToColor(0x80, 0, 0x80)},
        {u"teal", RGBToColor(0, 0x80, 0x80)},    {u"gray", RGBToColor(0x80, 0x80, 0x80)},
        {u"silver", RGBToColor(0xC0, 0xC0, 0xC0)}, {u"red", RGBToColor(0xFF, 0, 0)},
        {u"lime", RGBToColor(0, 0xFF, 0)},       {u"yellow", RGBToColor(0xFF, 0xFF, 0)},
        {u"blue", RGBToColor(0, 0, 0xFF)},       {u"fuchsia", RGBToColor(0xFF, 0, 0xFF)},
        {u"aqua", RGBToColor(0, 0xFF, 0xFF)},    {u"white", RGBToColor(0xFF, 0xFF, 0xFF)},
    };
    const QStringView t = TrimBlanks(text);
    for (const NamedColor& c : kBasicColors) {
        if (t.compare(QStringView(c.name), Qt::CaseInsensitive) == 0)
            return c.color;
    }
    if (t.size() < 7 || t[0] != u'#')
        return clNoColor;
    uint rgb = 0;
    for (QChar c : t.mid(1, 6)) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return clNoColor;
        rgb = rgb * 16 + static_cast<uint>(digit);
    }
    return RGBToColor(static_cast<int>(rgb >> 16), static_cast<int>(rgb >> 8), static_cast<int>(rgb));
}

QString FileNamePart(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(cut + 1);
}

QString FindPageFile(const QString& name, const QString& pageFolder)
{
    if (name.isEmpty())
        return {};
    QStringList candidates{name};
    if (name.contains(u'\\'))
        candidates.append(QString(name).replace(u'\\', u'/'));
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    if (pageFolder.isEmpty())
        return {};
    for (const QString& candidate : candidates) {
        if (!QFileInfo(candidate).isRelative())
            continue;
        const QString inFolder = QDir(pageFolder).filePath(candidate);
        if (QFileInfo(inFolder).isFile())
            return inFolder;
    }
    return {};
}

} // namespace plotwell
