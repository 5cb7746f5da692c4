// Where the program finds the files it ships: beside itself in the build folder, in
// share/plotwell/ of its prefix when installed, then in the data folders.

#include "app/shared_files.h"
#include "support/test_support.h"

#include <QStandardPaths>
#include <QTemporaryDir>

using namespace plotwell;

namespace {

// A prefix laid out as an install leaves it: PREFIX/bin/ and PREFIX/share/plotwell/.
struct SharedFilesTest : ::testing::Test
{
    QTemporaryDir prefix;
    QString bin = prefix.filePath(QStringLiteral("bin")) + QLatin1Char('/');
    QString share = prefix.filePath(QStringLiteral("share/plotwell")) + QLatin1Char('/');
    const QString name = QStringLiteral("plotwell help.html");

    SharedFilesTest()
    {
        QDir().mkpath(bin);
        QDir().mkpath(share);
    }
};

} // namespace

TEST_F(SharedFilesTest, ProgramFolderFirstThenShareBesideIt)
{
    const SharedFiles files(bin);
    EXPECT_EQ(files.Folders().mid(0, 2), (QStringList{bin, share}));

    EXPECT_EQ(files.Existing(name), QString());
    // Nothing anywhere: the program folder's name, so the help view reports that file missing.
    EXPECT_EQ(files.PathOf(name), bin + name);

    WriteFile(share + name, "<html></html>");
    EXPECT_EQ(files.PathOf(name), share + name);
    WriteFile(bin + name, "<html></html>");
    EXPECT_EQ(files.PathOf(name), bin + name);
}

TEST_F(SharedFilesTest, AFolderOfThatNameIsNoFile)
{
    QDir().mkpath(bin + name);
    WriteFile(share + name, "<html></html>");
    EXPECT_EQ(SharedFiles(bin).Existing(name), share + name);
}

TEST_F(SharedFilesTest, DataFoldersComeLast)
{
    const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QLatin1Char('/');
    const QStringList folders = SharedFiles(bin).Folders();
    ASSERT_TRUE(folders.contains(appData));
    EXPECT_GT(folders.indexOf(appData), 1);
    const QString generic = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation).value(0);
    EXPECT_TRUE(folders.contains(generic + QStringLiteral("/plotwell/"))) << folders.join(QLatin1Char(' ')).toStdString();

    QDir().mkpath(appData);
    const QString unique = QStringLiteral("plotwell shared files test.txt");
    WriteFile(appData + unique, "1 2 3\n");
    EXPECT_EQ(SharedFiles(bin).Existing(unique), appData + unique);
    WriteFile(share + unique, "1 2 3\n");
    EXPECT_EQ(SharedFiles(bin).Existing(unique), share + unique);
    QFile::remove(appData + unique);
}
