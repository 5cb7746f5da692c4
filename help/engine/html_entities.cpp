#include "help/engine/html_entities.h"

#include "core/text_decoding.h"
#include "help/engine/html_utils.h"

#include <algorithm>
#include <iterator>
#include <optional>

namespace plotwell {

namespace {

struct Entity
{
    const char16_t* name;
    char16_t character;
};

// The entity names of HTML 4.01 less alefsym, dArr, frasl, hArr, image, lArr, lang, rArr, rang,
// real, uArr and weierp, plus apos; sorted by name. Each gives its Windows-1252 character; the
// spaces a plain blank; a character outside Windows-1252 a similar one, or "?" where none is.
constexpr Entity THTMLSpecialChar[] = {
    {u"AElig", 0x00C6}, {u"Aacute", 0x00C1}, {u"Acirc", 0x00C2}, {u"Agrave", 0x00C0}, {u"Alpha", 0x0041},
    {u"Aring", 0x00C5}, {u"Atilde", 0x00C3}, {u"Auml", 0x00C4}, {u"Beta", 0x0042}, {u"Ccedil", 0x00C7},
    {u"Chi", 0x0058}, {u"Dagger", 0x2021}, {u"Delta", 0x003F}, {u"ETH", 0x00D0}, {u"Eacute", 0x00C9},
    {u"Ecirc", 0x00CA}, {u"Egrave", 0x00C8}, {u"Epsilon", 0x0045}, {u"Eta", 0x0048}, {u"Euml", 0x00CB},
    {u"Gamma", 0x003F}, {u"Iacute", 0x00CD}, {u"Icirc", 0x00CE}, {u"Igrave", 0x00CC}, {u"Iota", 0x0049},
    {u"Iuml", 0x00CF}, {u"Kappa", 0x004B}, {u"Lambda", 0x003F}, {u"Mu", 0x004D}, {u"Ntilde", 0x00D1},
    {u"Nu", 0x004E}, {u"OElig", 0x0152}, {u"Oacute", 0x00D3}, {u"Ocirc", 0x00D4}, {u"Ograve", 0x00D2},
    {u"Omega", 0x003F}, {u"Omicron", 0x004F}, {u"Oslash", 0x00D8}, {u"Otilde", 0x00D5}, {u"Ouml", 0x00D6},
    {u"Phi", 0x003F}, {u"Pi", 0x003F}, {u"Prime", 0x003F}, {u"Psi", 0x003F}, {u"Rho", 0x0050},
    {u"Scaron", 0x0160}, {u"Sigma", 0x003F}, {u"THORN", 0x00DE}, {u"Tau", 0x0054}, {u"Theta", 0x003F},
    {u"Uacute", 0x00DA}, {u"Ucirc", 0x00DB}, {u"Ugrave", 0x00D9}, {u"Upsilon", 0x0059}, {u"Uuml", 0x00DC},
    {u"Xi", 0x003F}, {u"Yacute", 0x00DD}, {u"Yuml", 0x0178}, {u"Zeta", 0x005A}, {u"aacute", 0x00E1},
    {u"acirc", 0x00E2}, {u"acute", 0x00B4}, {u"aelig", 0x00E6}, {u"agrave", 0x00E0}, {u"alpha", 0x0061},
    {u"amp", 0x0026}, {u"and", 0x003F}, {u"ang", 0x003F}, {u"apos", 0x0027}, {u"aring", 0x00E5},
    {u"asymp", 0x003F}, {u"atilde", 0x00E3}, {u"auml", 0x00E4}, {u"bdquo", 0x201E}, {u"beta", 0x00DF},
    {u"brvbar", 0x00A6}, {u"bull", 0x2022}, {u"cap", 0x003F}, {u"ccedil", 0x00E7}, {u"cedil", 0x00B8},
    {u"cent", 0x00A2}, {u"chi", 0x003F}, {u"circ", 0x02C6}, {u"clubs", 0x003F}, {u"cong", 0x003F},
    {u"copy", 0x00A9}, {u"crarr", 0x003F}, {u"cup", 0x003F}, {u"curren", 0x00A4}, {u"dagger", 0x2020},
    {u"darr", 0x003F}, {u"deg", 0x00B0}, {u"delta", 0x003F}, {u"diams", 0x003F}, {u"divide", 0x00F7},
    {u"eacute", 0x00E9}, {u"ecirc", 0x00EA}, {u"egrave", 0x00E8}, {u"empty", 0x00D8}, {u"emsp", 0x0020},
    {u"ensp", 0x0020}, {u"epsilon", 0x003F}, {u"equiv", 0x003F}, {u"eta", 0x003F}, {u"eth", 0x00F0},
    {u"euml", 0x00EB}, {u"euro", 0x20AC}, {u"exist", 0x003F}, {u"fnof", 0x0192}, {u"forall", 0x003F},
    {u"frac12", 0x00BD}, {u"frac14", 0x00BC}, {u"frac34", 0x00BE}, {u"gamma", 0x003F}, {u"ge", 0x003D},
    {u"gt", 0x003E}, {u"harr", 0x003F}, {u"hearts", 0x003F}, {u"hellip", 0x2026}, {u"iacute", 0x00ED},
    {u"icirc", 0x00EE}, {u"iexcl", 0x00A1}, {u"igrave", 0x00EC}, {u"infin", 0x0038}, {u"int", 0x003F},
    {u"iota", 0x003F}, {u"iquest", 0x00BF}, {u"isin", 0x003F}, {u"iuml", 0x00EF}, {u"kappa", 0x003F},
    {u"lambda", 0x003F}, {u"laquo", 0x00AB}, {u"larr", 0x003F}, {u"lceil", 0x003F}, {u"ldquo", 0x201C},
    {u"le", 0x003D}, {u"lfloor", 0x003F}, {u"lowast", 0x002A}, {u"loz", 0x003F}, {u"lrm", 0x003F},
    {u"lsaquo", 0x2039}, {u"lsquo", 0x2018}, {u"lt", 0x003C}, {u"macr", 0x00AF}, {u"mdash", 0x2014},
    {u"micro", 0x00B5}, {u"middot", 0x00B7}, {u"minus", 0x002D}, {u"mu", 0x00B5}, {u"nabla", 0x003F},
    {u"nbsp", 0x0020}, {u"ndash", 0x2013}, {u"ne", 0x003F}, {u"ni", 0x003F}, {u"not", 0x00AC},
    {u"notin", 0x003F}, {u"nsub", 0x003F}, {u"ntilde", 0x00F1}, {u"nu", 0x003F}, {u"oacute", 0x00F3},
    {u"ocirc", 0x00F4}, {u"oelig", 0x0153}, {u"ograve", 0x00F2}, {u"oline", 0x003F}, {u"omega", 0x003F},
    {u"omicron", 0x006F}, {u"oplus", 0x003F}, {u"or", 0x003F}, {u"ordf", 0x00AA}, {u"ordm", 0x00BA},
    {u"oslash", 0x00F8}, {u"otilde", 0x00F5}, {u"otimes", 0x003F}, {u"ouml", 0x00F6}, {u"para", 0x00B6},
    {u"part", 0x003F}, {u"permil", 0x2030}, {u"perp", 0x003F}, {u"phi", 0x003F}, {u"pi", 0x003F},
    {u"piv", 0x003F}, {u"plusmn", 0x00B1}, {u"pound", 0x00A3}, {u"prime", 0x0027}, {u"prod", 0x003F},
    {u"prop", 0x003F}, {u"psi", 0x003F}, {u"quot", 0x0022}, {u"radic", 0x0076}, {u"raquo", 0x00BB},
    {u"rarr", 0x003F}, {u"rceil", 0x003F}, {u"rdquo", 0x201D}, {u"reg", 0x00AE}, {u"rfloor", 0x003F},
    {u"rho", 0x003F}, {u"rlm", 0x003F}, {u"rsaquo", 0x203A}, {u"rsquo", 0x2019}, {u"sbquo", 0x201A},
    {u"scaron", 0x0161}, {u"sdot", 0x003F}, {u"sect", 0x00A7}, {u"shy", 0x00AD}, {u"sigma", 0x003F},
    {u"sigmaf", 0x003F}, {u"sim", 0x007E}, {u"spades", 0x003F}, {u"sub", 0x003F}, {u"sube", 0x003F},
    {u"sum", 0x003F}, {u"sup", 0x003F}, {u"sup1", 0x00B9}, {u"sup2", 0x00B2}, {u"sup3", 0x00B3},
    {u"supe", 0x003F}, {u"szlig", 0x00DF}, {u"tau", 0x003F}, {u"there4", 0x003F}, {u"theta", 0x003F},
    {u"thetasym", 0x003F}, {u"thinsp", 0x0020}, {u"thorn", 0x00FE}, {u"tilde", 0x02DC}, {u"times", 0x00D7},
    {u"trade", 0x2122}, {u"uacute", 0x00FA}, {u"uarr", 0x003F}, {u"ucirc", 0x00FB}, {u"ugrave", 0x00F9},
    {u"uml", 0x00A8}, {u"upsih", 0x003F}, {u"upsilon", 0x003F}, {u"uuml", 0x00FC}, {u"xi", 0x003F},
    {u"yacute", 0x00FD}, {u"yen", 0x00A5}, {u"yuml", 0x00FF}, {u"zeta", 0x003F}, {u"zwj", 0x0020},
    {u"zwnj", 0x0020},
};

static_assert(std::size(THTMLSpecialChar) == 241);

std::optional<char16_t> LookUpEntity(QStringView name)
{
    const auto* end = std::end(THTMLSpecialChar);
    const auto* it = std::lower_bound(std::begin(THTMLSpecialChar), end, name,
                                      [](const Entity& e, QStringView n) { return QStringView(e.name).compare(n) < 0; });
    if (it == end || QStringView(it->name) != name)
        return std::nullopt;
    return it->character;
}

// The code of a numeric reference: decimal digits, or hexadecimal ones after "x", "X", "$" or "0x".
std::optional<char32_t> ParseReferenceNumber(QStringView number)
{
    int base = 10;
    if (number.startsWith(u'x') || number.startsWith(u'X') || number.startsWith(u'$')) {
        base = 16;
        number = number.mid(1);
    } else if (number.startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        number = number.mid(2);
    }
    if (number.isEmpty())
        return std::nullopt;
    char32_t code = 0;
    for (QChar c : number) {
        const int digit = HexDigitValue(c);
        if (digit < 0 || digit >= base)
            return std::nullopt;
        code = code * static_cast<char32_t>(base) + static_cast<char32_t>(digit);
        if (code > 0x10FFFF)
            return std::nullopt;
    }
    if (code == 0 || (code >= 0xD800 && code <= 0xDFFF))
        return std::nullopt;
    return code;
}

// The text of a numeric reference's code. Codes 128 to 159 are the Windows-1252 characters, as
// browsers read them and as pages written for single-byte text mean them.
QString CharacterOfCode(char32_t code)
{
    if (code >= 0x80 && code <= 0x9F) {
        const char byte = static_cast<char>(code);
        return DecodeWindows1252(&byte, 1);
    }
    return QString::fromUcs4(&code, 1);
}

// A reference ends within ten characters of its "&".
constexpr qsizetype kMaxReferenceLength = 10;

} // namespace

int HTMLEntityCount()
{
    return static_cast<int>(std::size(THTMLSpecialChar));
}

QString DecodeHTMLEntities(QStringView text)
{
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype amp = text.indexOf(u'&', i);
        if (amp < 0) {
            out.append(text.mid(i));
            break;
        }
        out.append(text.mid(i, amp - i));
        i = amp + 1;
        const qsizetype semicolon = text.mid(i, kMaxReferenceLength).indexOf(u';');
        if (semicolon < 0) {
            out.append(u'&');
            continue;
        }
        const QStringView body = text.mid(i, semicolon);
        if (body.startsWith(u'#')) {
            if (const auto code = ParseReferenceNumber(body.mid(1))) {
                out.append(CharacterOfCode(*code));
                i += semicolon + 1;
                continue;
            }
        } else if (const auto c = LookUpEntity(body)) {
            out.append(QChar(*c));
            i += semicolon + 1;
            continue;
        }
        out.append(u'&');
    }
    return out;
}

} // namespace plotwell
