#include "help/engine/css_processing.h"

#include "core/regular_file.h"
#include "core/text_decoding.h"
#include "help/engine/html_utils.h"
#include "help/engine/rich_text_target.h"


namespace plotwell {

namespace {

// Far beyond any style sheet written by hand.
constexpr qint64 kMaxStyleSheetBytes = 64 * 1024 * 1024;

// Position of the first ";", "{" or "}" at or after `from`, or the end of the text.
qsizetype FindDelimiter(QStringView t, qsizetype from)
{
    for (qsizetype i = from; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == u';' || c == u'{' || c == u'}')
            return i;
    }
    return t.size();
}

// «i. text index», one line of the listing of a list.
QString ListingLine(qsizetype i, const StyleSheetEntry& entry)
{
    return QString::number(i) + QStringLiteral(". ") + entry.text + u' ' + QString::number(entry.index);
}

} // namespace

QString StyleSheet::RemoveComments(const QString& s)
{
    QString out;
    out.reserve(s.size());
    const qsizetype n = s.size();
    qsizetype pos = 0;
    while (true) {
        qsizetype searchFrom;
        if (!out.isEmpty() && out.back() == u'/' && pos < n && s[pos] == u'*') {
            // Deleting a comment can join a "/" before it and a "*" after it into a new opener.
            out.chop(1);
            searchFrom = pos + 1;
        } else {
            const qsizetype open = s.indexOf(QLatin1String("/*"), pos);
            if (open < 0) {
                out.append(QStringView(s).mid(pos));
                break;
            }
            out.append(QStringView(s).mid(pos, open - pos));
            searchFrom = open + 2;
        }
        const qsizetype close = s.indexOf(QLatin1String("*/"), searchFrom);
        if (close < 0)
            break;
        pos = close + 2;
    }
    return out;
}

void StyleSheet::LoadCSSFromString(const QString& s)
{
    // Declarations met before any selector of this sheet join the last rule loaded before.
    compiled_.remove(static_cast<int>(elements_.size()) - 1);
    const QString text = RemoveComments(s).toUpper();
    const QStringView t(text);
    const qsizetype n = t.size();
    qsizetype p = 0;
    bool insideBraces = false;
    bool newRule = true;
    while (p < n) {
        if (!insideBraces) {
            const QChar c = t[p];
            if (c == u' ' || c == u':' || c == u';' || c == u'{' || c == u'}') {
                ++p;
                continue;
            }
        }
        const qsizetype d = FindDelimiter(t, p);
        const QChar delimiter = d < n ? t[d] : QChar();
        if (!insideBraces) {
            if (delimiter == u'}') {
                // Stray text before a "}" outside any rule is dropped, up to that "}".
                p = d;
                continue;
            }
            if (delimiter == u'{')
                insideBraces = true;
            const QStringView token = TrimBlanks(t.mid(p, d - p));
            if (!token.isEmpty()) {
                const QString selector = token.toString();
                if (!firstElement_.contains(selector))
                    firstElement_.insert(selector, static_cast<int>(elements_.size()));
                elements_.append({selector, 0});
                newRule = true;
            }
        } else {
            if (delimiter == u'{') {
                // Text before a nested "{" is dropped; the rule goes on after it.
                p = d + 1;
                continue;
            }
            if (delimiter == u'}')
                insideBraces = false;
            const QStringView token = TrimBlanks(t.mid(p, d - p));
            if (!token.isEmpty()) {
                const int rule = static_cast<int>(elements_.size()) - 1;
                properties_.append({token.toString(), rule});
                if (newRule && rule >= 0)
                    elements_[rule].index = static_cast<int>(properties_.size()) - 1;
                newRule = false;
            }
        }
        p = d + 1;
    }
}

bool StyleSheet::LoadCSSFromFile(const QString& fname)
{
    // A pipe or a device is no style sheet; it would block or never end.
    const std::optional<QByteArray> bytes = ReadRegularFile(fname, kMaxStyleSheetBytes);
    if (!bytes)
        return false;
    LoadCSSFromString(DecodeText(*bytes));
    return true;
}

int StyleSheet::FindRule(const QString& type, const QString& name) const
{
    const QString t = type.toUpper();
    const QString n = name.toUpper();
    const QString selector = t == u"CLASS" ? u'.' + n : t == u"ID" ? u'#' + n : n;
    return firstElement_.value(selector, -1);
}

QString StyleSheet::GetDeclarationName(QStringView declaration)
{
    const qsizetype colon = declaration.indexOf(u':');
    return colon < 0 ? QString() : TrimBlanks(declaration.left(colon)).toString();
}

QString StyleSheet::GetDeclarationValue(QStringView declaration)
{
    const qsizetype colon = declaration.indexOf(u':');
    if (colon < 0)
        return {};
    QStringView value = declaration.mid(colon + 1);
    const qsizetype comma = value.indexOf(u',');
    if (comma >= 0)
        value = value.left(comma);
    value = TrimBlanks(value);
    if (value.startsWith(u'"') || value.startsWith(u'\''))
        value = value.mid(1);
    if (value.endsWith(u'"') || value.endsWith(u'\''))
        value.chop(1);
    return value.toString();
}

const StyleSheet::CompiledRule& StyleSheet::Compiled(int rule) const
{
    auto it = compiled_.find(rule);
    if (it != compiled_.end())
        return *it;
    CompiledRule result;
    for (qsizetype i = elements_[rule].index; i < properties_.size() && properties_[i].index == rule; ++i) {
        ++composed_;
        const QString name = GetDeclarationName(properties_[i].text);
        const QString value = GetDeclarationValue(properties_[i].text);
        result.effect.Add(name, value);
        if (!value.isEmpty())
            result.values.insert(name, value);
    }
    return *compiled_.insert(rule, result);
}

void StyleSheet::ApplyRule(RichTextTarget& re, const QString& type, const QString& name) const
{
    const int rule = FindRule(type, name);
    if (rule >= 0)
        Compiled(rule).effect.ApplyTo(re);
}

void StyleSheet::DoCSS(RichTextTarget& re, const QString& classval, const QString& idval, const QString& fromelement) const
{
    if (!fromelement.isEmpty())
        ApplyRule(re, QString(), fromelement);
    if (!classval.isEmpty())
        ApplyRule(re, QStringLiteral("CLASS"), classval);
    if (!idval.isEmpty())
        ApplyRule(re, QStringLiteral("ID"), idval);
}

QString StyleSheet::GetValueFromCSS(const QString& element, const QString& prop, const QString& tagtype) const
{
    int rule = FindRule(tagtype, element);
    if (!tagtype.isEmpty()) {
        const int idRule = FindRule(QStringLiteral("ID"), element);
        if (idRule >= 0)
            rule = idRule;
    }
    if (rule < 0)
        return {};
    return Compiled(rule).values.value(prop.toUpper());
}

void StyleSheet::Debug_OutputAllCSSToRichEdit(RichTextTarget& re) const
{
    TextLines lines = re.Lines();
    lines.Add(QStringLiteral("Elements ------------"));
    for (qsizetype i = 0; i < elements_.size(); ++i)
        lines.Add(ListingLine(i, elements_[i]));
    lines.Add(QStringLiteral("Properties ----------"));
    for (qsizetype i = 0; i < properties_.size(); ++i)
        lines.Add(ListingLine(i, properties_[i]));
    lines.Add(QStringLiteral("---------------------"));
}

void StyleSheet::ApplyDeclaration(RichTextTarget& re, const QString& name, const QString& value)
{
    StyleEffect effect;
    effect.Add(name, value);
    effect.ApplyTo(re);
}

void SetFontSizeFromText(RichTextTarget& re, const QString& text)
{
    StyleEffect effect;
    effect.AddFontSize(text);
    effect.ApplyTo(re);
}

} // namespace plotwell
