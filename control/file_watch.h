#pragma once
// FileWatch: follows a data file on disk and asks for it to be loaded again once its writes
// have settled. It watches the file and its folder (editors save by renaming a new file over
// the old one), compares what the file is now with what it was, and never asks twice while a
// load runs: at most one load runs and one waits.

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>

class QFileSystemWatcher;

namespace plotwell {

class FileWatch : public QObject
{
    Q_OBJECT

public:
    explicit FileWatch(QObject* parent = nullptr);
    ~FileWatch() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    // Follows `path` from now on; empty follows nothing. The same path again changes nothing.
    void Watch(const QString& path);
    const QString& Path() const { return path_; }
    // Whether a load of the file runs: a reload then waits for its end.
    void SetLoading(bool loading);
    // No change for this long: the writes have settled (300 ms).
    void SetQuietTime(int ms) { quiet_.setInterval(ms); }
    // A file that never settles (a logger) is still reloaded this long after its first change.
    void SetLongestWait(int ms) { longest_.setInterval(ms); }
    // Looks at the file again, as a notice from the system does.
    void Look();

signals:
    // The file changed and its writes have settled: load it again.
    void reloadWanted();

private:
    // What the file is: a change of any of these is a change of the file.
    struct Stamp
    {
        bool exists = false;
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = 0;
        std::int64_t modifiedNs = 0;
        std::uint32_t mode = 0;
        bool operator==(const Stamp&) const = default;
    };
    static Stamp StampOf(const QString& path);
    void Arm();
    void Settled();
    void StopWatching();

    QFileSystemWatcher* watcher_ = nullptr;
    QTimer quiet_;
    QTimer longest_;
    QString path_;
    QString folder_;
    Stamp stamp_;
    Stamp readStamp_; // the file as the load that runs began to read it
    bool enabled_ = true;
    bool loading_ = false;
    bool waiting_ = false; // a reload waits for the load that runs
};

} // namespace plotwell
