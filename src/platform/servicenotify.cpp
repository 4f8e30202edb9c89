#include "servicenotify.h"

#include "applicationparts.h"

#include <QTimer>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

qint64 monotonicMs()
{
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// The period in ms, or 0 when the watchdog is off or meant for another process.
qint64 watchdogPeriodMs()
{
    bool ok = false;
    const qint64 usec = qEnvironmentVariable("WATCHDOG_USEC").toLongLong(&ok);
    if (!ok || usec <= 0)
        return 0;
    const QByteArray pid = qgetenv("WATCHDOG_PID");
    if (!pid.isEmpty() && pid.toLongLong() != qint64(::getpid()))
        return 0;
    return usec / 1000 > 0 ? usec / 1000 : 1;
}

} // namespace

ServiceNotify::ServiceNotify(QObject *parent)
    : QObject(parent)
{
    if (!openSocket())
        return;
    periodMs_ = watchdogPeriodMs();
    if (periodMs_ <= 0)
        return;
    auto *timer = new QTimer(this);
    timer->setTimerType(Qt::CoarseTimer);
    connect(timer, &QTimer::timeout, this, &ServiceNotify::sendPing);
    timer->start(int(std::clamp<qint64>(periodMs_ / 4, 1, 60000)));
    sendPing();
}

ServiceNotify::~ServiceNotify()
{
    if (fd_ >= 0)
        ::close(fd_);
}

// NOTIFY_SOCKET: a path, or "@name" for the abstract namespace. False when unset or unusable.
bool ServiceNotify::openSocket()
{
    const QByteArray name = qgetenv("NOTIFY_SOCKET");
    sockaddr_un a{};
    if (name.isEmpty() || size_t(name.size()) >= sizeof a.sun_path || (name[0] != '/' && name[0] != '@'))
        return false;
    a.sun_family = AF_UNIX;
    std::memcpy(a.sun_path, name.constData(), size_t(name.size()));
    if (name[0] == '@')
        a.sun_path[0] = '\0';
    address_ = QByteArray(reinterpret_cast<const char *>(&a), qsizetype(offsetof(sockaddr_un, sun_path) + size_t(name.size())));
    fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    return fd_ >= 0;
}

void ServiceNotify::send(const QByteArray &message) const
{
    if (fd_ < 0)
        return;
    ::sendto(fd_, message.constData(), size_t(message.size()), MSG_NOSIGNAL,
             reinterpret_cast<const sockaddr *>(address_.constData()), socklen_t(address_.size()));
}

void ServiceNotify::sendReady()
{
    if (fd_ < 0 || readySent_)
        return;
    readySent_ = true;
    send(QByteArrayLiteral("READY=1\nSTATUS=main screen shown"));
}

void ServiceNotify::sendPing()
{
    if (fd_ < 0 || periodMs_ <= 0)
        return;
    const qint64 now = monotonicMs();
    if (lastPingMs_ >= 0 && now - lastPingMs_ < periodMs_ / 4)
        return;
    lastPingMs_ = now;
    // Before READY the start time-out is what watches: each ping moves it a period on.
    send(readySent_ ? QByteArrayLiteral("WATCHDOG=1") : "WATCHDOG=1\nEXTEND_TIMEOUT_USEC=" + QByteArray::number(periodMs_ * 1000));
}

void ServiceNotify::ready()
{
    if (ServiceNotify *n = ApplicationParts::find<ServiceNotify>())
        n->sendReady();
}

void ServiceNotify::ping()
{
    if (ServiceNotify *n = ApplicationParts::find<ServiceNotify>())
        n->sendPing();
}

int ServiceNotify::slice(qint64 leftMs)
{
    // A short watchdog (a test's) wants its pings oftener than once a slice.
    const ServiceNotify *n = ApplicationParts::find<ServiceNotify>();
    const qint64 most = n && n->periodMs_ > 0 ? std::clamp<qint64>(n->periodMs_ / 4, 1, kSliceMs) : kSliceMs;
    return int(std::clamp<qint64>(leftMs, 0, most));
}
