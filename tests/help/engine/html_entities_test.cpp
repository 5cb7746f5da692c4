#include "help/engine/html_entities.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

using namespace plotwell;

namespace {

struct TEntityCase
{
    const char16_t* input;
    const char16_t* expected;
};

class DecodeHTMLEntitiesTest : public ::testing::TestWithParam<TEntityCase>
{
};

TEST_P(DecodeHTMLEntitiesTest, DecodesAsTheTableSays)
{
    EXPECT_EQ(DecodeHTMLEntities(QStringView(GetParam().input)), QString::fromUtf16(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeHTMLEntitiesTest,
    ::testing::Values(
        // Named references, exactly by name.
        TEntityCase{u"&lt;b&gt;", u"<b>"}, TEntityCase{u"&Auml;", u"\u00C4"}, TEntityCase{u"&AUML;", u"&AUML;"},
        TEntityCase{u"&AMP;", u"&AMP;"}, TEntityCase{u"&amp;lt;", u"&lt;"}, TEntityCase{u"&apos;", u"'"},
        TEntityCase{u"&copy;&euro;&bull;&mdash;&Oslash;&thorn;", u"\u00A9\u20AC\u2022\u2014\u00D8\u00FE"},
        TEntityCase{u"&nbsp;&ensp;&emsp;&thinsp;&zwnj;&zwj;", u"      "},
        TEntityCase{u"&minus;&radic;&infin;&alpha;&beta;&mu;", u"-v8a\u00DF\u00B5"},
        TEntityCase{u"&empty;&le;&ge;&prime;", u"\u00D8=='"},
        TEntityCase{u"&forall;&larr;&hearts;", u"???"},
        // Names left out of the table stay as typed.
        TEntityCase{u"&rArr;&lang;&image;", u"&rArr;&lang;&image;"},
        // Numeric references give the character of their code.
        TEntityCase{u"&#65;&#x41;&#X41;&#$41;&#0x41;", u"AAAAA"}, TEntityCase{u"&#8364;", u"\u20AC"},
        TEntityCase{u"&#9829;", u"\u2665"}, TEntityCase{u"&#x1F600;", u"\U0001F600"},
        TEntityCase{u"&#150;", u"\u2013"},
        // Unreadable numbers, 0, surrogates and codes beyond U+10FFFF stay as typed.
        TEntityCase{u"&#abc;&#;&#0;&#xD800;&#x110000;&#-5;", u"&#abc;&#;&#0;&#xD800;&#x110000;&#-5;"},
        // A reference needs its ";" within ten characters of the "&".
        TEntityCase{u"& x", u"& x"}, TEntityCase{u"AT&T", u"AT&T"}, TEntityCase{u"&unknownname;", u"&unknownname;"},
        TEntityCase{u"&123456789;", u"&123456789;"}, TEntityCase{u"&#00000065;", u"A"}, TEntityCase{u"&#000000065;", u"&#000000065;"},
        TEntityCase{u"&&amp;;", u"&&;"}, TEntityCase{u"&", u"&"}, TEntityCase{u"a&b;c", u"a&b;c"},
        // Characters of any script pass through.
        TEntityCase{u"\u0394\u4E2D&amp;", u"\u0394\u4E2D&"}));

TEST(DecodeHTMLEntities, TableHasTheKnownNames)
{
    EXPECT_EQ(HTMLEntityCount(), 241);
}

} // namespace
