#pragma once

#include "testdatagram.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>

class ControllerPresence;
class DatagramSocket;

// A test page's own datagram socket on the panel's command port (2900): sends the test's
// commands and the leave command to the controller, and hands on the reports and the closing
// answer that come back, taken from the controller's address only.
class TestSocket : public QObject
{
    Q_OBJECT

public:
    explicit TestSocket(TestDatagram::Test test, QObject *parent = nullptr);
    ~TestSocket() override;

    // Binds the command port on every local IPv4 address. False when it is taken: commands still
    // go out, but nothing the controller sends can come back.
    bool open();
    bool isBound() const;
    // The carriage test prints every datagram it sends, and every one it drops, as bare hex.
    void setPlainTrace(bool on) { plainTrace_ = on; }

    void sendCommand(unsigned short first, unsigned short value);
    // UpdateCommand, the mode's group, Close, 0: the bytes setParameterNoReply sends, traced "send:" as it
    // does, but from this socket, so that the controller's answer comes back here.
    void sendLeave();

    quint64 dropped() const { return dropped_; }

Q_SIGNALS:
    void reportReceived(const QByteArray &report);
    void closedByController();

private:
    void send(const unsigned char *bytes);
    void drain();

    TestDatagram::Test test_;
    DatagramSocket *socket_;
    quint32 controller_;
    QPointer<ControllerPresence> presence_; // the application's
    bool plainTrace_ = false;
    quint64 dropped_ = 0;
};
