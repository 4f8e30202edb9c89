#pragma once

#include "data/protocol.h"

#include <QByteArray>
#include <QObject>

class TestSocket;

// A test page's exchange with the controller while it is in that test mode: the test's
// commands and the leave command out, on the panel's command port, and the reports and the
// closing answer that come back from the controller.
class ControllerTest : public QObject
{
    Q_OBJECT

public:
    explicit ControllerTest(Protocol::TestKind test, QObject *parent = nullptr);

    // Binds the command port. False when it is taken: commands still go out, but nothing the
    // controller sends can come back, not even its answer to the leave command.
    bool open();
    bool isBound() const;
    // The carriage test prints every datagram it sends, and every one it drops, as bare hex.
    void setPlainTrace(bool on);

    void sendCommand(unsigned short first, unsigned short value);
    void sendLeave();

Q_SIGNALS:
    // One report of this test, 12 bytes.
    void reportReceived(const QByteArray &report);
    void closedByController();

private:
    TestSocket *socket_;
};
