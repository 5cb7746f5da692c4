// Saving settings onto a disk that fills up half-way: the file size limit of the process stands
// in for the full disk, so the test needs no special file system.
#include "settings/ini_file.h"

#include "core/recording_sink.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using plotwell::IniFile;
using plotwell::RecordingSink;

namespace {

// Lowers the process's file size limit for its life. Writing past the limit then fails with
// EFBIG (as on a full disk) instead of killing the process, since SIGXFSZ is ignored meanwhile.
// Nothing may print while it lives: output redirected to a file would be cut too.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        if (getrlimit(RLIMIT_FSIZE, &saved_) != 0 || (saved_.rlim_max != RLIM_INFINITY && saved_.rlim_max < bytes))
            return;
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        active_ = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit()
    {
        if (!active_)
            return;
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool Active() const { return active_; }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = SIG_DFL;
    bool active_ = false;
};

constexpr rlim_t kLimit = 4096;

// Whether writing past the limit really fails here.
bool LimitHolds(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray bytes(2 * kLimit, 'x');
    FileSizeLimit limit(kLimit);
    return limit.Active() && file.write(bytes) < bytes.size();
}

} // namespace

TEST(IniFullDisk, OldFileStaysWholeAndTheUserIsToldOnce)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    if (!LimitHolds(dir.filePath(QStringLiteral("probe"))))
        GTEST_SKIP() << "this machine does not let a process limit the size of its files";
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("probe"))));

    // A new text that fits the write buffer (the failure shows only when the buffer is flushed at
    // commit) and one far larger (written straight through).
    for (const int valueSize : {6000, 200000}) {
        SCOPED_TRACE(valueSize);
        const QString path = dir.filePath(QStringLiteral("settings.ini"));
        const QByteArray old = "; kept\n[Settings]\nLeft=12\nTop=34\n";
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            ASSERT_EQ(file.write(old), old.size());
        }

        RecordingSink sink;
        IniFile ini(path, &sink);
        bool firstSaved = true;
        bool secondSaved = true;
        {
            const FileSizeLimit limit(kLimit);
            ASSERT_TRUE(limit.Active());
            firstSaved = ini.WriteString(QStringLiteral("Settings"), QStringLiteral("Title"), QString(valueSize, u't'));
            secondSaved = ini.WriteInteger(QStringLiteral("Settings"), QStringLiteral("Left"), 99);
        }
        EXPECT_FALSE(firstSaved);
        EXPECT_FALSE(secondSaved);
        EXPECT_EQ(ReadFile(path), old);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("settings.ini")})
            << "no temporary file left behind";
        EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(path)});

        // With room again, the next write saves everything held back.
        EXPECT_TRUE(ini.WriteInteger(QStringLiteral("Settings"), QStringLiteral("Top"), 56));
        const IniFile again(path);
        EXPECT_EQ(again.ReadString(QStringLiteral("Settings"), QStringLiteral("Title"), QString()).size(), valueSize);
        EXPECT_EQ(again.ReadInteger(QStringLiteral("Settings"), QStringLiteral("Left"), -1), 99);
        EXPECT_EQ(again.ReadInteger(QStringLiteral("Settings"), QStringLiteral("Top"), -1), 56);
        EXPECT_EQ(sink.Messages().size(), 1);
    }
}
