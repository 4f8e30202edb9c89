#include "testsocket.h"

#include "commanddatagram.h"
#include "commandtrace.h"
#include "controlleraddress.h"
#include "controllerpresence.h"
#include "datagramsocket.h"

#include "data/protocol.h"
#include "platform/panelenv.h"

namespace {

constexpr int kLargest = 1500;

} // namespace

TestSocket::TestSocket(TestDatagram::Test test, QObject *parent)
    : QObject(parent)
    , test_(test)
    , socket_(new DatagramSocket(this))
    , controller_(ControllerAddress::ipv4())
    , presence_(ControllerPresence::find())
{
    connect(socket_, &DatagramSocket::readyRead, this, &TestSocket::drain);
}

TestSocket::~TestSocket()
{
    if (isBound())
        if (presence_)
            presence_->holdPort(false);
}

bool TestSocket::open()
{
    if (isBound())
        return true;
    // Held alone: a command sent meanwhile must not take the controller's answers for its own.
    if (presence_)
        presence_->commandStarting();
    if (!socket_->bind(PanelEnv::port(Protocol::PanelCommandPort)))
        return false;
    if (presence_)
        presence_->holdPort(true);
    return true;
}

bool TestSocket::isBound() const
{
    return socket_->isBound();
}

void TestSocket::sendCommand(unsigned short first, unsigned short value)
{
    unsigned char bytes[TestDatagram::kSize];
    TestDatagram::command(bytes, test_, first, value);
    send(bytes);
    if (plainTrace_)
        CommandTrace::print(CommandTrace::plainLine(bytes, TestDatagram::kSize));
}

void TestSocket::sendLeave()
{
    unsigned char bytes[CommandDatagram::kSize];
    CommandDatagram::parameter(bytes, Protocol::UpdateCommand, TestDatagram::modeOf(test_), Protocol::Close, 0);
    send(bytes);
    CommandTrace::print(CommandTrace::sendLine(bytes, CommandDatagram::kSize));
}

void TestSocket::send(const unsigned char *bytes)
{
    socket_->sendTo(bytes, TestDatagram::kSize, controller_, PanelEnv::port(Protocol::ControllerPort));
}

void TestSocket::drain()
{
    unsigned char d[kLargest];
    quint32 sender = 0;
    for (;;) {
        const int got = socket_->receive(d, kLargest, &sender);
        if (got < 0)
            break;
        if (sender != controller_) {
            ++dropped_;
            continue;
        }
        switch (TestDatagram::classify(d, got, test_)) {
        case TestDatagram::Report:
            Q_EMIT reportReceived(QByteArray(reinterpret_cast<const char *>(d), TestDatagram::kSize));
            break;
        case TestDatagram::Closed:
            // The page closes now; whatever follows belongs to nobody.
            Q_EMIT closedByController();
            return;
        case TestDatagram::Other:
            ++dropped_;
            if (plainTrace_)
                CommandTrace::print(CommandTrace::plainLine(d, qMin(got, TestDatagram::kSize)));
            break;
        }
    }
}

#include "moc_testsocket.cpp"
