// Which addresses may be handed to the desktop.

#include "dialogs/desktop_launcher.h"
#include "dialogs/web_address.h"

#include "support/test_support.h"

#include <QFile>
#include <QTemporaryDir>

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

TEST(DesktopLauncher, NamesTheMissingOpenerWhenNothingCouldBeStarted)
{
    // A system without xdg-open: nothing on the path can open a file.
    QTemporaryDir empty;
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(empty.path()));
    TDesktopLauncher launcher;
    const bool opened = launcher.OpenFile(empty.filePath(QStringLiteral("data.txt")));
    qputenv("PATH", savedPath);
    EXPECT_FALSE(opened);
    EXPECT_TRUE(launcher.FailureReason().contains(QStringLiteral("xdg-open"))) << launcher.FailureReason().toStdString();
    EXPECT_TRUE(launcher.FailureReason().contains(QStringLiteral("xdg-utils"))) << launcher.FailureReason().toStdString();
}

} // namespace
