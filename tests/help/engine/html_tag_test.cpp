#include "help/engine/html_tag.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

using namespace plotwell;

namespace {

struct TTagCase
{
    const char* text;
    bool endTag;
    const char* name;
    bool expectedEnd;
    std::vector<std::pair<const char*, const char*>> attributes; // looked up by name
};

class THTMLTagTest : public ::testing::TestWithParam<TTagCase>
{
};

TEST_P(THTMLTagTest, ReadsNameEndAndAttributes)
{
    const TTagCase& c = GetParam();
    const THTMLTag tag = THTMLTag::Parse(QString::fromUtf8(c.text), c.endTag);
    EXPECT_EQ(tag.Name(), QString::fromUtf8(c.name));
    EXPECT_EQ(tag.IsEndTag(), c.expectedEnd);
    for (const auto& [name, value] : c.attributes)
        EXPECT_EQ(tag.Attribute(QString::fromUtf8(name)), QString::fromUtf8(value)) << name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, THTMLTagTest,
    ::testing::Values(
        TTagCase{"br/", false, "BR", true, {}}, TTagCase{"hr/", false, "HR", true, {}},
        TTagCase{"BR", false, "BR", false, {}}, TTagCase{"p", true, "P", true, {}},
        TTagCase{"img src=x /", false, "IMG", false, {{"src", "x"}}},
        TTagCase{"a href=\"a b.html\" name=top", false, "A", false, {{"HREF", "a b.html"}, {"name", "top"}}},
        // Blanks just inside an opening quote stay; quotes inside a value go.
        TTagCase{"img alt=\"  two words\" src=pic.jpg", false, "IMG", false, {{"ALT", "  two words"}, {"SRC", "pic.jpg"}}},
        TTagCase{"img alt=x\"y src=z", false, "IMG", false, {{"ALT", "xy"}, {"SRC", "z"}}},
        // Single quotes are ordinary characters.
        TTagCase{"img src='a.jpg'", false, "IMG", false, {{"SRC", "'a.jpg'"}}},
        // An attribute without a value ends the list.
        TTagCase{"td nowrap class=x", false, "TD", false, {{"CLASS", ""}, {"NOWRAP", ""}}},
        TTagCase{"font size = 3 color=red", false, "FONT", false, {{"SIZE", "3"}, {"COLOR", "red"}}},
        TTagCase{"a href=\"unclosed", false, "A", false, {{"HREF", "unclosed"}}},
        TTagCase{"a href=x href=y", false, "A", false, {{"HREF", "x"}}},
        // A tag may run over several lines.
        TTagCase{"img\r\n\tsrc=\"pic.jpg\"\r\n\talt=Pic", false, "IMG", false, {{"SRC", "pic.jpg"}, {"ALT", "Pic"}}},
        TTagCase{"", false, "", false, {{"X", ""}}}));

} // namespace
