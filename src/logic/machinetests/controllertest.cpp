#include "controllertest.h"

#include "link/testsocket.h"

ControllerTest::ControllerTest(Protocol::TestKind test, QObject *parent)
    : QObject(parent)
    , socket_(new TestSocket(test, this))
{
    connect(socket_, &TestSocket::reportReceived, this, &ControllerTest::reportReceived);
    connect(socket_, &TestSocket::closedByController, this, &ControllerTest::closedByController);
}

bool ControllerTest::open()
{
    return socket_->open();
}

bool ControllerTest::isBound() const
{
    return socket_->isBound();
}

void ControllerTest::setPlainTrace(bool on)
{
    socket_->setPlainTrace(on);
}

void ControllerTest::sendCommand(unsigned short first, unsigned short value)
{
    socket_->sendCommand(first, value);
}

void ControllerTest::sendLeave()
{
    socket_->sendLeave();
}
