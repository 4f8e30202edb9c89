#include "callinbox.h"

#include <QSocketNotifier>

#include <sys/eventfd.h>
#include <unistd.h>

CallInbox::CallInbox(QObject *parent)
    : QObject(parent)
    , fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
    if (fd_ >= 0) {
        notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &CallInbox::drain);
    }
}

CallInbox::~CallInbox()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void CallInbox::post(std::function<void()> call)
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        waiting_.push_back(std::move(call));
    }
    if (fd_ < 0) {
        // Out of descriptors: Qt's queue wakes this thread instead.
        QMetaObject::invokeMethod(this, &CallInbox::drain, Qt::QueuedConnection);
        return;
    }
    // The counter need only be non-zero; one that is full already wakes.
    const quint64 one = 1;
    [[maybe_unused]] const ssize_t n = ::write(fd_, &one, sizeof one);
}

void CallInbox::drain()
{
    quint64 count = 0;
    if (fd_ >= 0) {
        [[maybe_unused]] const ssize_t n = ::read(fd_, &count, sizeof count);
    }
    std::vector<std::function<void()>> calls;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        calls.swap(waiting_);
    }
    for (const std::function<void()> &call : calls)
        call();
}
