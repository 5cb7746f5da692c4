// Which addresses may be handed to the desktop.

#include "dialogs/desktop_launcher.h"
#include "dialogs/web_address.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

using namespace plotwell;

namespace {

struct TAddressCase
{
    const char* address;
    bool openable;
};

void PrintTo(const TAddressCase& c, std::ostream* os)
{
    *os << c.address;
}

class WebAddressTest : public ::testing::TestWithParam<TAddressCase>
{
};

TEST_P(WebAddressTest, OnlyWebPagesAndMail)
{
    EXPECT_EQ(IsOpenableAddress(QString::fromUtf8(GetParam().address)), GetParam().openable);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WebAddressTest,
    ::testing::Values(TAddressCase{"https://example.org/a?b=c", true}, TAddressCase{"HTTP://EXAMPLE.ORG", true},
                      TAddressCase{" http://example.org ", true}, TAddressCase{"mailto:a@example.org?subject=Hi", true},
                      TAddressCase{"mailto:", false}, TAddressCase{"https://", false}, TAddressCase{"http:/x", false},
                      TAddressCase{"file:///etc/passwd", false}, TAddressCase{"javascript:alert(1)", false},
                      TAddressCase{"smb://server/share", false}, TAddressCase{"ftp://example.org", false},
                      TAddressCase{"x-scheme-handler:run", false}, TAddressCase{"example.org", false},
                      TAddressCase{"", false}));

TEST(DesktopLauncher, RefusesOtherSchemesWithoutStartingAnything)
{
    TDesktopLauncher launcher;
    EXPECT_FALSE(launcher.OpenUrl(QStringLiteral("javascript:alert(1)")));
    EXPECT_FALSE(launcher.OpenUrl(QStringLiteral("file:///etc/passwd")));
}

} // namespace
