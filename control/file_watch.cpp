#include "control/file_watch.h"

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>

#include <sys/stat.h>

namespace plotwell {

namespace {

constexpr int kQuietMs = 300;
constexpr int kLongestWaitMs = 2000;

} // namespace

FileWatch::FileWatch(QObject* parent) : QObject(parent), watcher_(new QFileSystemWatcher(this))
{
    quiet_.setSingleShot(true);
    quiet_.setInterval(kQuietMs);
    longest_.setSingleShot(true);
    longest_.setInterval(kLongestWaitMs);
    connect(&quiet_, &QTimer::timeout, this, &FileWatch::Settled);
    connect(&longest_, &QTimer::timeout, this, &FileWatch::Settled);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, &FileWatch::Look);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &FileWatch::Look);
}

FileWatch::~FileWatch() = default;

FileWatch::Stamp FileWatch::StampOf(const QString& path)
{
    // Through a link to what it names; a folder or a FIFO in the file's place is a change too,
    // which the load then refuses.
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    Stamp stamp;
    stamp.exists = true;
    stamp.device = static_cast<std::uint64_t>(info.st_dev);
    stamp.inode = static_cast<std::uint64_t>(info.st_ino);
    stamp.size = static_cast<std::int64_t>(info.st_size);
    stamp.modifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    stamp.mode = static_cast<std::uint32_t>(info.st_mode);
    return stamp;
}

// No paths watched and no reload pending.
void FileWatch::StopWatching()
{
    if (!watcher_->files().isEmpty())
        watcher_->removePaths(watcher_->files());
    if (!watcher_->directories().isEmpty())
        watcher_->removePaths(watcher_->directories());
    quiet_.stop();
    longest_.stop();
    waiting_ = false;
}

void FileWatch::SetEnabled(bool on)
{
    if (enabled_ == on)
        return;
    enabled_ = on;
    if (on) {
        stamp_ = StampOf(path_);
        Arm();
        return;
    }
    StopWatching();
}

void FileWatch::Watch(const QString& path)
{
    const QString absolute = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    if (absolute == path_)
        return;
    StopWatching();
    path_ = absolute;
    folder_ = absolute.isEmpty() ? QString() : QFileInfo(absolute).absolutePath();
    stamp_ = StampOf(path_);
    if (enabled_)
        Arm();
}

// Watches the file again after every change (a file renamed over it is a new file) and its
// folder; what cannot be watched is left out.
void FileWatch::Arm()
{
    if (path_.isEmpty())
        return;
    if (!folder_.isEmpty() && !watcher_->directories().contains(folder_) && QFileInfo(folder_).isDir())
        watcher_->addPath(folder_);
    if (!watcher_->files().contains(path_) && QFileInfo(path_).isFile())
        watcher_->addPath(path_);
}

void FileWatch::Look()
{
    if (!enabled_ || path_.isEmpty())
        return;
    Arm();
    const Stamp now = StampOf(path_);
    if (now == stamp_)
        return; // another file of the folder
    stamp_ = now;
    quiet_.start();
    if (!longest_.isActive())
        longest_.start();
}

void FileWatch::Settled()
{
    quiet_.stop();
    longest_.stop();
    if (loading_) {
        waiting_ = true;
        return;
    }
    emit reloadWanted();
}

void FileWatch::SetLoading(bool loading)
{
    loading_ = loading;
    if (loading) {
        readStamp_ = StampOf(path_);
        return;
    }
    // The load read the file as it is now (an F5 after a save, say): no need to read it again.
    if (readStamp_.exists && readStamp_ == StampOf(path_)) {
        stamp_ = readStamp_;
        quiet_.stop();
        longest_.stop();
        waiting_ = false;
        return;
    }
    if (waiting_ && enabled_) {
        waiting_ = false;
        emit reloadWanted();
    }
}

} // namespace plotwell
