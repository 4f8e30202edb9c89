#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class ControllerPresence;
class DatagramSocket;

// The status query that notices the controller's return while the panel is offline: every
// 5 s, unless a test page holds the command port, it sends queryCarriageStatus's datagram from that
// port and waits for the reply in the event loop, so an absent controller never freezes the
// screen. A command that wants the port meanwhile takes it back at once.
class StatusProbe : public QObject
{
    Q_OBJECT

public:
    static constexpr int kIntervalMs = 5000;

    explicit StatusProbe(QObject *parent = nullptr);
    ~StatusProbe() override;

    bool waiting() const { return socket_ != nullptr; }

Q_SIGNALS:
    // The controller answered: the status as queryCarriageStatus gives it (0 stands, else runs).
    void answered(unsigned int status);

private:
    void tick();
    void receive();
    void release();

    QPointer<ControllerPresence> presence_; // the application's
    QTimer interval_;
    QTimer deadline_;
    DatagramSocket *socket_ = nullptr;
    unsigned char request_[12] = {};
};
