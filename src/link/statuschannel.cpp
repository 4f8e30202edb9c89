#include "statuschannel.h"

#include "commandtrace.h"
#include "controlleraddress.h"
#include "data/parablocks.h"
#include "platform/panelenv.h"

#include <QUdpSocket>
#include <QVariant>

namespace {

constexpr unsigned char kTestClass = 0x26;
constexpr int kTestIoBase = 40;
constexpr int kMotoLowBase = 84;
constexpr int kMotoHighBase = 36;
// Reports wait in the kernel while a modal dialog or a command round trip holds the thread.
constexpr int kReceiveBuffer = 1 << 20;

unsigned short value16(const unsigned char *r, int at)
{
    return static_cast<unsigned short>(r[at] | (r[at + 1] << 8));
}

bool bindSocket(QUdpSocket *socket, quint16 base)
{
    if (!socket->bind(QHostAddress::AnyIPv4, PanelEnv::port(base)))
        return false;
    socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(kReceiveBuffer));
    return true;
}

} // namespace

StatusChannel::StatusChannel(QObject *parent)
    : QObject(parent)
    , status_(new QUdpSocket(this))
    , needle_(new QUdpSocket(this))
    , trace_(stdout)
{
    connect(status_, &QUdpSocket::readyRead, this, [this] { drain(status_, true); });
    connect(needle_, &QUdpSocket::readyRead, this, [this] { drain(needle_, false); });
}

bool StatusChannel::open()
{
    controller_ = ControllerAddress::current();
    const bool needle = needleBound() || bindSocket(needle_, kNeedlePort);
    const bool status = statusBound() || bindSocket(status_, kStatusPort);
    return needle && status;
}

bool StatusChannel::statusBound() const
{
    return status_->state() == QAbstractSocket::BoundState;
}

bool StatusChannel::needleBound() const
{
    return needle_->state() == QAbstractSocket::BoundState;
}

bool StatusChannel::fromController(const QHostAddress &sender) const
{
    return sender.isEqual(controller_, QHostAddress::ConvertV4MappedToIPv4);
}

void StatusChannel::drain(QUdpSocket *socket, bool status)
{
    // Everything queued is handled now, so a flood never waits on one wake-up per report.
    unsigned char bytes[kReportSize];
    QHostAddress sender;
    while (socket->hasPendingDatagrams()) {
        const qint64 got = socket->readDatagram(reinterpret_cast<char *>(bytes), kReportSize, &sender);
        if (got < 0)
            break;
        if (!fromController(sender)) {
            ++dropped_;
            continue;
        }
        if (status)
            handleStatus(bytes, int(got));
        else
            handleNeedle(bytes, int(got));
    }
    if (trace_)
        std::fflush(trace_);
    emit drained();
}

bool StatusChannel::handleNeedle(const unsigned char *bytes, int length)
{
    if (length < kReportSize) {
        ++dropped_;
        return false;
    }
    ++needleCount_;
    para_cur.setWord(5, value16(bytes, 6));
    para_cur.setWord(6, value16(bytes, 8));
    emit needleMoved();
    return true;
}

bool StatusChannel::handleStatus(const unsigned char *bytes, int length)
{
    if (length < kReportSize) {
        ++dropped_;
        return false;
    }
    ++statusCount_;
    trace(bytes);
    if (bytes[0] == kTestClass)
        dispatchTest(bytes);
    else
        dispatchMachine(bytes);
    return true;
}

void StatusChannel::trace(const unsigned char *r)
{
    if (!trace_)
        return;
    const std::string line = CommandTrace::sendLine(r, kReportSize);
    std::fwrite(line.data(), 1, line.size(), trace_);
}

void StatusChannel::dispatchTest(const unsigned char *r)
{
    if (r[5] != 1)
        return;
    const int item = r[6];
    const int block = r[7];
    const unsigned char value = r[8];
    int target = -1;
    if (block == 0 && kTestIoBase + item < int(kTestIoSize)) {
        target = kTestIoBase + item;
        para_test_io.setByte(std::size_t(target), value);
    } else if (block == 3) {
        // Items 6-15 have no place in the block: their bytes would land on other readings.
        if (item <= 5)
            target = kMotoLowBase + item;
        else if (item >= 16 && kMotoHighBase + item < int(kTestMotoSize))
            target = kMotoHighBase + item;
        if (target >= 0)
            para_test_moto.setByte(std::size_t(target), value);
    }
    if (target >= 0)
        emit testReport(block, item, value);
}

void StatusChannel::dispatchMachine(const unsigned char *r)
{
    const unsigned short a = value16(r, 6);
    const unsigned short b = value16(r, 8);
    switch (r[5]) {
    case 16:
        para_cur.setByte(0, 0);
        emit zeroingStarted();
        break;
    case 17:
        emit machineStarted(2);
        break;
    case 18:
        emit machineStarted(3);
        break;
    case 19:
        emit machineStopped();
        break;
    case 20: {
        const bool cancel = (para_cur.word(3) & 0x8000) && !(b & 0x8000);
        para_cur.setWord(7, a);
        para_cur.setWord(3, b);
        emit rowReport(static_cast<unsigned short>(b & 0x7fff), cancel);
        break;
    }
    case 21:
        if (r[6] != 1)
            break;
        if (r[9] == 0 && r[8] == 0)
            emit alarmCleared();
        else
            emit alarmRaised(r[9], r[8]);
        break;
    case 23:
        para_cur.setByte(0, 1);
        para_cur.setByte(4, 0);
        para_cur.setWord(3, 1);
        emit zeroingFinished();
        break;
    case 32:
        emit knittingTime(b, a);
        break;
    case 33:
        emit stopTime(b, a);
        break;
    case 72:
        emit loopRows(a, b);
        break;
    case 73:
        emit loopCounts(a, b);
        break;
    default:
        break;
    }
}

// Its own moc output, so a program that links only one of the library's objects does not pull
// in the others through a shared moc file.
#include "moc_statuschannel.cpp"
