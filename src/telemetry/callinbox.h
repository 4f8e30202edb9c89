#pragma once

#include <QObject>

#include <functional>
#include <mutex>
#include <vector>

class QSocketNotifier;

// Runs calls made on any thread on the thread that made the inbox, in order: a queue under a
// lock, and an eventfd whose notifier drains it. Unlike a queued invokeMethod, nothing crosses
// the threads through Qt's own locks, which a race checker cannot follow, so a fault in what a
// call carries shows. The caller still gives it values whose data its own thread does not keep.
class CallInbox : public QObject
{
    Q_OBJECT

public:
    explicit CallInbox(QObject *parent = nullptr);
    ~CallInbox() override;

    // Any thread.
    void post(std::function<void()> call);
    // The inbox's thread: every call posted so far, oldest first.
    void drain();

private:
    int fd_ = -1;
    QSocketNotifier *notifier_ = nullptr;
    std::mutex mutex_;
    std::vector<std::function<void()>> waiting_;
};
