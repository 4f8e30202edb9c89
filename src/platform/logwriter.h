#pragma once

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// Appends lines to a log file from a thread of its own: the caller only queues. Each line is
// written whole with one write() and made durable with fdatasync() before the next, so a power
// cut loses at most the line being written, and what it left of that line is cut off before
// the next is appended. Past the bound the file is renamed to NAME.1.log
// (replacing the older one) and a new one begun, so the log stays bounded. A line that cannot
// be written (the disk full or read-only, the path a folder) is lost; whoever must know is told
// by the outcome, called on the writer's thread after each line.
class LogWriter
{
public:
    static constexpr qint64 kDefaultBound = 1 << 20;
    using Outcome = std::function<void(bool written)>;

    explicit LogWriter(const QString &path, qint64 bound = kDefaultBound, Outcome outcome = {});
    // Writes what is still queued, then stops.
    ~LogWriter();
    LogWriter(const LogWriter &) = delete;
    LogWriter &operator=(const LogWriter &) = delete;

    // line without its newline.
    void append(const QByteArray &line);
    // Returns once every line queued so far is on disk (or could not be written).
    void flush();
    QString path() const { return path_; }
    // Where a full log goes: NAME.1.log beside NAME.log.
    static QString rotatedPath(const QString &path);
    // Cuts a line torn by a crash off the end of the log (opening a writer does it too), so the
    // log ends at a whole line; true when it does, or when there is no log.
    static bool repair(const QString &path);

private:
    void run();
    bool openFile();
    bool write(const QByteArray &line);

    const QString path_;
    const qint64 bound_;
    const Outcome outcome_;
    int fd_ = -1;
    qint64 size_ = 0;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable written_;
    std::deque<QByteArray> queue_;
    quint64 queued_ = 0;
    quint64 done_ = 0;
    bool stop_ = false;
    std::thread thread_;
};
