// FileWatch on real files: saves by rename, a deleted file and its return, what takes the
// file's place, a burst of writes during loads, and the switch.
#include "control/file_watch.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

#include <cstdio>

using namespace plotwell;

namespace {

struct FileWatchTest : ::testing::Test
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("data.txt"));
    FileWatch watch;
    int wanted = 0;

    FileWatchTest()
    {
        WriteFile(path, "1 2 3\n");
        watch.SetQuietTime(50);
        watch.SetLongestWait(1000);
        QObject::connect(&watch, &FileWatch::reloadWanted, [this] { ++wanted; });
        watch.Watch(path);
    }

    // Waits until `count` reloads were asked for, then a little longer for any more.
    void WaitFor(int count, int settleMs = 300)
    {
        QDeadlineTimer deadline(5000);
        while (wanted < count && !deadline.hasExpired())
            QTest::qWait(5);
        QTest::qWait(settleMs);
    }

    // As an editor saves: a new file renamed over the old one.
    void SaveByRename(const QByteArray& text)
    {
        const QString temporary = dir.filePath(QStringLiteral(".data.txt.swp"));
        WriteFile(temporary, text);
        ASSERT_EQ(std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()), 0);
    }
};

} // namespace

TEST_F(FileWatchTest, SavesByRenameAndInPlaceEachAskOnce)
{
    SaveByRename("4 5 6\n");
    WaitFor(1);
    EXPECT_EQ(wanted, 1);
    // The file renamed over the old one is watched too.
    SaveByRename("7 8 9 10\n");
    WaitFor(2);
    EXPECT_EQ(wanted, 2);
    WriteFile(path, "1\n");
    WaitFor(3);
    EXPECT_EQ(wanted, 3);
    // Another file of the folder is no change of this one.
    WriteFile(dir.filePath(QStringLiteral("other.txt")), "1\n");
    QTest::qWait(300);
    EXPECT_EQ(wanted, 3);
}

TEST_F(FileWatchTest, DeletedReturnedAndReplacedFiles)
{
    ASSERT_TRUE(QFile::remove(path));
    WaitFor(1);
    EXPECT_EQ(wanted, 1); // the load then says the file is gone
    WriteFile(path, "1 2\n");
    WaitFor(2);
    EXPECT_EQ(wanted, 2);
    // A folder, a FIFO and a link in its place: each a change the load will refuse or follow.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkdir(path));
    WaitFor(3);
    ASSERT_TRUE(QDir().rmdir(path));
    ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    WaitFor(4);
    ASSERT_TRUE(QFile::remove(path));
    WriteFile(dir.filePath(QStringLiteral("target.txt")), "5\n");
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("target.txt")), path));
    WaitFor(5);
    EXPECT_EQ(wanted, 5);
}

TEST_F(FileWatchTest, ABurstDuringLoadsAsksAtMostTwiceAndNeverWhileLoading)
{
    // Each load takes 400 ms; writes come every 20 ms for half a second.
    bool loading = false;
    bool overlapped = false;
    QObject::connect(&watch, &FileWatch::reloadWanted, [&] {
        overlapped |= loading;
        loading = true;
        watch.SetLoading(true);
        QTimer::singleShot(400, [&] {
            loading = false;
            watch.SetLoading(false);
        });
    });
    watch.SetQuietTime(300);
    for (int k = 0; k < 25; ++k) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("4 5 6\n");
        file.close();
        QTest::qWait(20);
    }
    WaitFor(1, 1500);
    EXPECT_GE(wanted, 1);
    EXPECT_LE(wanted, 2);
    EXPECT_FALSE(overlapped);
}

TEST_F(FileWatchTest, AFileThatNeverSettlesIsStillReloaded)
{
    // A logger writing every 20 ms: reloaded after the longest wait, not never.
    watch.SetLongestWait(300);
    for (int k = 0; k < 30 && wanted == 0; ++k) {
        WriteFile(path, QByteArray::number(k) + "\n");
        QTest::qWait(20);
    }
    EXPECT_EQ(wanted, 1);
}

TEST_F(FileWatchTest, SwitchedOffOrUnwatchableNothingIsAsked)
{
    watch.SetEnabled(false);
    SaveByRename("4 5 6\n");
    QTest::qWait(300);
    EXPECT_EQ(wanted, 0);
    // On again: from the file as it is now.
    watch.SetEnabled(true);
    QTest::qWait(300);
    EXPECT_EQ(wanted, 0);
    SaveByRename("7\n");
    WaitFor(1);
    EXPECT_EQ(wanted, 1);

    watch.Watch(QStringLiteral("/nonexistent folder/data.txt"));
    watch.Look();
    QTest::qWait(200);
    EXPECT_EQ(wanted, 1);
    watch.Watch(QString());
    watch.Look();
    EXPECT_EQ(watch.Path(), QString());
}

TEST_F(FileWatchTest, ALoadThatReadTheNewFileNeedsNoReload)
{
    // F5 right after a save reads the new text; the change seen before it asks for nothing more.
    WriteFile(path, "4 5 6\n");
    watch.Look();
    watch.SetLoading(true);
    watch.SetLoading(false);
    QTest::qWait(300);
    EXPECT_EQ(wanted, 0);
}
