// plotwell's command line: --help and --version answer, anything else goes to the window, whose
// first argument names the data file.

#include "app/program_arguments.h"
#include "support/test_support.h"

#include <QCoreApplication>

using namespace plotwell;

TEST(ProgramArgumentsTest, HelpAndVersionAnswerEverythingElseGoesToTheWindow)
{
    QCoreApplication::setApplicationVersion(QStringLiteral("1.11"));
    const struct {
        QStringList arguments;
        const char* answerContains; // nullptr: the window opens
        QStringList window;
    } cases[] = {
        {{}, nullptr, {}},
        {{QStringLiteral("a.txt"), QStringLiteral("b.txt")}, nullptr, {QStringLiteral("a.txt"), QStringLiteral("b.txt")}},
        {{QStringLiteral("--help")}, "[FILE]", {}},
        {{QStringLiteral("-h")}, "--version", {}},
        {{QStringLiteral("--version")}, "plotwell 1.11\n", {}},
        {{QStringLiteral("-v")}, "plotwell 1.11\n", {}},
        // After the file everything is an ignored argument.
        {{QStringLiteral("a.txt"), QStringLiteral("--help")}, nullptr, {QStringLiteral("a.txt"), QStringLiteral("--help")}},
        // Unknown options name a file, as any first argument does.
        {{QStringLiteral("--bogus"), QStringLiteral("--help")}, nullptr, {QStringLiteral("--bogus"), QStringLiteral("--help")}},
        {{QStringLiteral("--"), QStringLiteral("--help")}, nullptr, {QStringLiteral("--help")}},
        {{QStringLiteral("-")}, nullptr, {QStringLiteral("-")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const ProgramArguments parsed(QStringList{QStringLiteral("plotwell")} + c.arguments);
        if (c.answerContains) {
            ASSERT_TRUE(parsed.Answer().has_value());
            EXPECT_TRUE(parsed.Answer()->contains(QLatin1String(c.answerContains))) << parsed.Answer()->toStdString();
        } else {
            EXPECT_FALSE(parsed.Answer().has_value());
            EXPECT_EQ(parsed.WindowArguments(), c.window);
        }
    }
}
