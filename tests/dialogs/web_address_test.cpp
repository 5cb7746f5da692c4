// Which addresses may be handed to the desktop.

#include "dialogs/desktop_launcher.h"
#include "dialogs/web_address.h"

#include "support/test_support.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace plotwell;

namespace {

struct AddressCase
{
    const char* address;
    bool openable;
};

void PrintTo(const AddressCase& c, std::ostream* os)
{
    *os << c.address;
}

class WebAddressTest : public ::testing::TestWithParam<AddressCase>
{
};

TEST_P(WebAddressTest, OnlyWebPagesAndMail)
{
    EXPECT_EQ(IsOpenableAddress(QString::fromUtf8(GetParam().address)), GetParam().openable);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WebAddressTest,
    ::testing::Values(AddressCase{"https://example.org/a?b=c", true}, AddressCase{"HTTP://EXAMPLE.ORG", true},
                      AddressCase{" http://example.org ", true}, AddressCase{"mailto:a@example.org?subject=Hi", true},
                      AddressCase{"mailto:", false}, AddressCase{"https://", false}, AddressCase{"http:/x", false},
                      AddressCase{"file:///etc/passwd", false}, AddressCase{"javascript:alert(1)", false},
                      AddressCase{"smb://server/share", false}, AddressCase{"ftp://example.org", false},
                      AddressCase{"x-scheme-handler:run", false}, AddressCase{"example.org", false},
                      AddressCase{"", false}));

TEST(DesktopLauncher, RefusesOtherSchemesWithoutStartingAnything)
{
    DesktopLauncher launcher;
    EXPECT_FALSE(launcher.OpenUrl(QStringLiteral("javascript:alert(1)")));
    EXPECT_FALSE(launcher.OpenUrl(QStringLiteral("file:///etc/passwd")));
}

TEST(DesktopLauncher, NamesTheMissingOpenerWhenNothingCouldBeStarted)
{
    // A system without xdg-open: nothing on the path can open a file.
    QTemporaryDir empty;
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(empty.path()));
    DesktopLauncher launcher;
    const bool opened = launcher.OpenFile(empty.filePath(QStringLiteral("data.txt")));
    qputenv("PATH", savedPath);
    EXPECT_FALSE(opened);
    EXPECT_TRUE(launcher.FailureReason().contains(QStringLiteral("xdg-open"))) << launcher.FailureReason().toStdString();
    EXPECT_TRUE(launcher.FailureReason().contains(QStringLiteral("xdg-utils"))) << launcher.FailureReason().toStdString();
}

} // namespace
