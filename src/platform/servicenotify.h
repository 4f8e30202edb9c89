#pragma once

#include <QObject>

// Tells the service manager that started the panel how it is: READY=1 once the main screen is
// drawn, WATCHDOG=1 while the GUI thread makes progress. The datagrams go to $NOTIFY_SOCKET by
// the protocol itself, so the panel links no libsystemd and runs where there is none; with the
// variable unset a call finds the part and returns.
//
// Pings come from the GUI thread alone: from a timer on its event loop (nested loops of dialogs
// and questions included) and from inside the waits the panel is meant to make there (a command's
// reply, a transfer's pass, a beep, a system action), so a panel waiting for its controller or
// operator is never taken for hung, and a GUI thread that stops making progress is. Until READY
// each ping also extends the start time-out, so a start-up question may wait for good.
//
// The panel's main() makes one as a child of the application (ApplicationParts); the static
// calls find it there and do nothing without it or off the application's thread.
class ServiceNotify : public QObject
{
    Q_OBJECT

public:
    // A mandated wait longer than this is cut into slices with a ping between them.
    static constexpr int kSliceMs = 1000;

    // Reads NOTIFY_SOCKET and WATCHDOG_USEC (a WATCHDOG_PID other than ours turns the watchdog
    // off) and, while the watchdog is on, pings from a timer on the application's loop.
    explicit ServiceNotify(QObject *parent);
    ~ServiceNotify() override;

    // READY=1, once; later calls send nothing.
    static void ready();
    // WATCHDOG=1 when the last ping is older than a quarter of the watchdog's period.
    static void ping();
    // The part of a wait of left ms to spend before the next ping: at most kSliceMs, and at
    // most a quarter of the watchdog's period.
    static int slice(qint64 leftMs);

private:
    bool openSocket();
    void send(const QByteArray &message) const;
    void sendReady();
    void sendPing();

    QByteArray address_; // sockaddr_un's bytes
    int fd_ = -1;
    qint64 periodMs_ = 0; // the watchdog's period; 0: no watchdog
    qint64 lastPingMs_ = -1;
    bool readySent_ = false;
};
