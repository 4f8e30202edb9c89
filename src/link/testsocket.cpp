#include "testsocket.h"

#include "commanddatagram.h"
#include "commandtrace.h"
#include "controlleraddress.h"
#include "controllerpresence.h"

#include "data/protocol.h"
#include "platform/panelenv.h"

#include <QUdpSocket>

namespace {

constexpr quint16 kCommandPort = 2900;
constexpr quint16 kControllerPort = 2800;
constexpr qint64 kLargest = 1500;

} // namespace

TestSocket::TestSocket(TestDatagram::Test test, QObject *parent)
    : QObject(parent)
    , test_(test)
    , socket_(new QUdpSocket(this))
    , controller_(ControllerAddress::current())
{
    connect(socket_, &QUdpSocket::readyRead, this, &TestSocket::drain);
}

TestSocket::~TestSocket()
{
    if (isBound())
        ControllerPresence::instance().holdPort(false);
}

bool TestSocket::open()
{
    if (isBound())
        return true;
    // Held alone: a command sent meanwhile must not take the controller's answers for its own.
    ControllerPresence::instance().commandStarting();
    if (!socket_->bind(QHostAddress::AnyIPv4, PanelEnv::port(kCommandPort), QAbstractSocket::DontShareAddress))
        return false;
    ControllerPresence::instance().holdPort(true);
    return true;
}

bool TestSocket::isBound() const
{
    return socket_->state() == QAbstractSocket::BoundState;
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
    socket_->writeDatagram(reinterpret_cast<const char *>(bytes), TestDatagram::kSize, controller_,
                           PanelEnv::port(kControllerPort));
}

void TestSocket::drain()
{
    char bytes[kLargest];
    QHostAddress sender;
    while (socket_->hasPendingDatagrams()) {
        const qint64 got = socket_->readDatagram(bytes, kLargest, &sender);
        if (got < 0)
            break;
        const auto *d = reinterpret_cast<const unsigned char *>(bytes);
        if (!sender.isEqual(controller_, QHostAddress::ConvertV4MappedToIPv4)) {
            ++dropped_;
            continue;
        }
        switch (TestDatagram::classify(d, got, test_)) {
        case TestDatagram::Report:
            Q_EMIT reportReceived(QByteArray(bytes, TestDatagram::kSize));
            break;
        case TestDatagram::Closed:
            // The page closes now; whatever follows belongs to nobody.
            Q_EMIT closedByController();
            return;
        case TestDatagram::Other:
            ++dropped_;
            if (plainTrace_)
                CommandTrace::print(CommandTrace::plainLine(d, int(qMin<qint64>(got, TestDatagram::kSize))));
            break;
        }
    }
}

#include "moc_testsocket.cpp"
