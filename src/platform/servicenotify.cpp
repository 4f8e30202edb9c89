#include "servicenotify.h"

#include <QTimer>

#include <cstring>
#include <ctime>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

struct NotifyState
{
    sockaddr_un address{};
    socklen_t length = 0;
    int fd = -1;
    qint64 periodMs = 0;  // the watchdog's period; 0: no watchdog
    qint64 lastPingMs = -1;
    bool readySent = false;
};

NotifyState &state()
{
    static NotifyState s;
    return s;
}

qint64 monotonicMs()
{
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// NOTIFY_SOCKET: a path, or "@name" for the abstract namespace. False when unset or unusable.
bool openSocket(NotifyState &s)
{
    const QByteArray name = qgetenv("NOTIFY_SOCKET");
    if (name.isEmpty() || size_t(name.size()) >= sizeof s.address.sun_path || (name[0] != '/' && name[0] != '@'))
        return false;
    s.address.sun_family = AF_UNIX;
    std::memcpy(s.address.sun_path, name.constData(), size_t(name.size()));
    if (name[0] == '@')
        s.address.sun_path[0] = '\0';
    s.length = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(name.size()));
    s.fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    return s.fd >= 0;
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

void send(const QByteArray &message)
{
    NotifyState &s = state();
    if (s.fd < 0)
        return;
    ::sendto(s.fd, message.constData(), size_t(message.size()), MSG_NOSIGNAL,
             reinterpret_cast<const sockaddr *>(&s.address), s.length);
}

} // namespace

void ServiceNotify::armFromEnvironment(QObject *parent)
{
    NotifyState &s = state();
    if (s.fd >= 0 || !openSocket(s))
        return;
    s.periodMs = watchdogPeriodMs();
    if (s.periodMs > 0) {
        new ServiceNotify(int(qMin<qint64>(s.periodMs / 4, 60000)), parent);
        ping();
    }
}

ServiceNotify::ServiceNotify(int periodMs, QObject *parent)
    : QObject(parent)
{
    auto *timer = new QTimer(this);
    timer->setTimerType(Qt::CoarseTimer);
    connect(timer, &QTimer::timeout, this, &ServiceNotify::ping);
    timer->start(periodMs > 0 ? periodMs : 1);
}

void ServiceNotify::ready()
{
    NotifyState &s = state();
    if (s.fd < 0 || s.readySent)
        return;
    s.readySent = true;
    send(QByteArrayLiteral("READY=1\nSTATUS=main screen shown"));
}

void ServiceNotify::ping()
{
    NotifyState &s = state();
    if (s.fd < 0 || s.periodMs <= 0)
        return;
    const qint64 now = monotonicMs();
    if (s.lastPingMs >= 0 && now - s.lastPingMs < s.periodMs / 4)
        return;
    s.lastPingMs = now;
    // Before READY the start time-out is what watches: each ping moves it a period on.
    send(s.readySent ? QByteArrayLiteral("WATCHDOG=1")
                     : "WATCHDOG=1\nEXTEND_TIMEOUT_USEC=" + QByteArray::number(s.periodMs * 1000));
}

int ServiceNotify::slice(qint64 leftMs)
{
    return int(leftMs < kSliceMs ? (leftMs > 0 ? leftMs : 0) : kSliceMs);
}
