#include "help/engine/html_tag.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

using namespace plotwell;

namespace {

struct TagCase
{
    const char* text;
    bool endTag;
    const char* name;
    bool expectedEnd;
    std::vector<std::pair<const char*, const char*>> attributes; // looked up by name
};

class HTMLTagTest : public ::testing::TestWithParam<TagCase>
{
};

TEST_P(HTMLTagTest, ReadsNameEndAndAttributes)
{
    const TagCase& c = GetParam();
    const HTMLTag tag = HTMLTag::Parse(QString::fromUtf8(c.text), c.endTag);
    EXPECT_EQ(tag.Name(), QString::fromUtf8(c.name));
    EXPECT_EQ(tag.IsEndTag(), c.expectedEnd);
    for (const auto& [name, value] : c.attributes)
        EXPECT_EQ(tag.Attribute(QString::fromUtf8(name)), QString::fromUtf8(value)) << name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HTMLTagTest,
    ::testing::Values(
        TagCase{"br/", false, "BR", true, {}}, TagCase{"hr/", false, "HR", true, {}},
        TagCase{"BR", false, "BR", false, {}}, TagCase{"p", true, "P", true, {}},
        TagCase{"img src=x /", false, "IMG", false, {{"src", "x"}}},
        TagCase{"a href=\"a b.html\" name=top", false, "A", false, {{"HREF", "a b.html"}, {"name", "top"}}},
        // Blanks just inside an opening quote stay; quotes inside a value go.
        TagCase{"img alt=\"  two words\" src=pic.jpg", false, "IMG", false, {{"ALT", "  two words"}, {"SRC", "pic.jpg"}}},
        TagCase{"img alt=x\"y src=z", false, "IMG", false, {{"ALT", "xy"}, {"SRC", "z"}}},
        // Single quotes are ordinary characters.
        TagCase{"img src='a.jpg'", false, "IMG", false, {{"SRC", "'a.jpg'"}}},
        // An attribute without a value ends the list.
        TagCase{"td nowrap class=x", false, "TD", false, {{"CLASS", ""}, {"NOWRAP", ""}}},
        TagCase{"font size = 3 color=red", false, "FONT", false, {{"SIZE", "3"}, {"COLOR", "red"}}},
        TagCase{"a href=\"unclosed", false, "A", false, {{"HREF", "unclosed"}}},
        TagCase{"a href=x href=y", false, "A", false, {{"HREF", "x"}}},
        // A tag may run over several lines.
        TagCase{"img\r\n\tsrc=\"pic.jpg\"\r\n\talt=Pic", false, "IMG", false, {{"SRC", "pic.jpg"}, {"ALT", "Pic"}}},
        TagCase{"", false, "", false, {{"X", ""}}}));

} // namespace
