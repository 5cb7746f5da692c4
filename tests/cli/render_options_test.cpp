// plotwell-render's command line as its parser reads it: what each faulty line is told, and
// the spellings that name the data file.

#include "cli/render_options.h"
#include "support/test_support.h"

#include <utility>

using namespace plotwell;

TEST(RenderOptions, EachFaultyCommandLineNamesItsFault)
{
    const struct {
        QStringList args;
        const char* error;
    } cases[] = {
        {{}, "no DATAFILE given"},
        {{QStringLiteral("--bogus"), QStringLiteral("f")}, "unknown option --bogus"},
        {{QStringLiteral("--bogus=3"), QStringLiteral("f")}, "unknown option --bogus=3"},
        {{QStringLiteral("-bogus"), QStringLiteral("f")}, "unknown option -bogus"},
        {{QStringLiteral("f"), QStringLiteral("--hide")}, "--hide needs a value"},
        {{QStringLiteral("f"), QStringLiteral("-o")}, "-o needs a value"},
        {{QStringLiteral("-o"), QString(), QStringLiteral("f")}, "-o needs a file name"},
        {{QStringLiteral("--hide"), QStringLiteral("0"), QStringLiteral("f")}, "--hide takes a series number from 1 to 8"},
        {{QStringLiteral("--hide=9"), QStringLiteral("f")}, "--hide takes a series number from 1 to 8"},
        // Every value is checked, not only the last.
        {{QStringLiteral("--type"), QStringLiteral("donut"), QStringLiteral("--type"), QStringLiteral("bar"), QStringLiteral("f")},
         "--type takes line, curve, bar, stacked or pie"},
        {{QStringLiteral("--line-width"), QStringLiteral("31"), QStringLiteral("f")}, "--line-width takes a width from 1 to 30"},
        {{QStringLiteral("--summary=yes"), QStringLiteral("f")}, "unexpected value after '--summary'"},
        {{QStringLiteral("a"), QStringLiteral("b")}, "only one DATAFILE may be given"},
        {{QStringLiteral("--layout"), QStringLiteral("rows"), QStringLiteral("f")}, "--layout takes lines or columns"},
        {{QStringLiteral("--x-column"), QStringLiteral("--no-x-column"), QStringLiteral("f")},
         "--x-column and --no-x-column exclude each other"},
        {{QStringLiteral("--"), QStringLiteral("a"), QStringLiteral("--summary")}, "only one DATAFILE may be given"},
        // A fault wins over --help, as it did before the parser knew --help.
        {{QStringLiteral("--help"), QStringLiteral("--hide"), QStringLiteral("9")}, "--hide takes a series number from 1 to 8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        QString error;
        EXPECT_FALSE(ParseRenderArguments(c.args, error).has_value());
        EXPECT_EQ(error, QLatin1String(c.error));
    }
}

TEST(RenderOptions, EachGraphTypeByItsName)
{
    const std::pair<const char*, GraphKind> names[] = {
        {"line", kLineGraph}, {"curve", kCurveGraph}, {"bar", kBarGraph}, {"stacked", kStackedGraph}, {"pie", kPieGraph}};
    for (const auto& [name, type] : names) {
        QString error;
        const auto options =
            ParseRenderArguments({QStringLiteral("--type"), QLatin1String(name), QStringLiteral("f")}, error);
        ASSERT_TRUE(options) << name << " " << error.toStdString();
        EXPECT_EQ(options->graphType, type) << name;
    }
    EXPECT_TRUE(RenderUsage().contains(QStringLiteral("line, curve, bar, stacked or pie (default line).")));
}

TEST(RenderOptions, LayoutAndXColumn)
{
    const struct {
        QStringList args;
        DataLayout layout;
        XColumnRule xColumn;
    } cases[] = {
        {{QStringLiteral("f.csv")}, DataLayout::ByName, XColumnRule::Auto},
        {{QStringLiteral("--layout"), QStringLiteral("lines"), QStringLiteral("f.csv")}, DataLayout::Lines,
         XColumnRule::Auto},
        {{QStringLiteral("--layout=columns"), QStringLiteral("--x-column"), QStringLiteral("f")}, DataLayout::Columns,
         XColumnRule::Always},
        {{QStringLiteral("--no-x-column"), QStringLiteral("f.tsv")}, DataLayout::ByName, XColumnRule::Never},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        QString error;
        const auto options = ParseRenderArguments(c.args, error);
        ASSERT_TRUE(options) << error.toStdString();
        EXPECT_EQ(options->load.layout, c.layout);
        EXPECT_EQ(options->load.xColumn, c.xColumn);
    }
    for (const char* option : {"--layout", "--x-column", "--no-x-column"})
        EXPECT_TRUE(RenderUsage().contains(QLatin1String(option))) << option;
}

TEST(RenderOptions, DataFileSpellingsAndRepeatedOptions)
{
    QString error;
    auto options = ParseRenderArguments({QStringLiteral("-")}, error);
    ASSERT_TRUE(options) << error.toStdString();
    EXPECT_EQ(options->dataFile, QStringLiteral("-"));

    // After -- a name that starts with a dash is the data file; a value may start with one too.
    options = ParseRenderArguments({QStringLiteral("--title"), QStringLiteral("--summary"), QStringLiteral("--"),
                                    QStringLiteral("-data.txt")},
                                   error);
    ASSERT_TRUE(options) << error.toStdString();
    EXPECT_EQ(options->dataFile, QStringLiteral("-data.txt"));
    EXPECT_EQ(options->title, QStringLiteral("--summary"));
    EXPECT_FALSE(options->summary);

    options = ParseRenderArguments({QStringLiteral("--hide"), QStringLiteral("2"), QStringLiteral("--hide=3"),
                                    QStringLiteral("--size"), QStringLiteral("10x10"), QStringLiteral("--size"),
                                    QStringLiteral("300x200"), QStringLiteral("--xlabel"), QString(), QStringLiteral("f")},
                                   error);
    ASSERT_TRUE(options) << error.toStdString();
    EXPECT_EQ(options->hidden, (QList<int>{2, 3}));
    EXPECT_EQ(QSize(options->width, options->height), QSize(300, 200));
    EXPECT_EQ(options->xLabel, QString());
    EXPECT_FALSE(options->yLabel.has_value());

    for (const char* ask : {"--help", "-h", "--version", "-v"}) {
        options = ParseRenderArguments({QLatin1String(ask)}, error);
        ASSERT_TRUE(options) << ask;
        EXPECT_TRUE(options->help || options->version) << ask;
        EXPECT_TRUE(options->dataFile.isEmpty());
    }
}
