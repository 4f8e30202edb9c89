#include "statuschannel.h"

#include "commandtrace.h"
#include "controlleraddress.h"
#include "controllerpresence.h"
#include "data/machinedata.h"
#include "datagramsocket.h"
#include "data/protocol.h"
#include "platform/panelenv.h"


namespace {

constexpr unsigned char kTestClass = Protocol::QueryCommand;
constexpr int kTestIoBase = Protocol::TestIoReportByte;
constexpr int kMotoLowBase = Protocol::TestMotoLowReportByte;
constexpr int kMotoHighBase = Protocol::TestMotoHighReportByte;
// Reports wait in the kernel while a modal dialog or a command round trip holds the thread.
constexpr int kReceiveBuffer = 1 << 20;

unsigned short value16(const unsigned char *r, int at)
{
    return static_cast<unsigned short>(r[at] | (r[at + 1] << 8));
}

bool bindSocket(DatagramSocket *socket, quint16 base)
{
    if (!socket->bind(PanelEnv::port(base)))
        return false;
    socket->setReceiveBuffer(kReceiveBuffer);
    return true;
}

} // namespace

StatusChannel::StatusChannel(MachineData &data, QObject *parent)
    : StatusReports(parent)
    , data_(data)
    , presence_(ControllerPresence::find())
    , status_(new DatagramSocket(this))
    , needle_(new DatagramSocket(this))
    , trace_(stdout)
{
    connect(status_, &DatagramSocket::readyRead, this, [this] { drain(status_, true); });
    connect(needle_, &DatagramSocket::readyRead, this, [this] { drain(needle_, false); });
}

bool StatusChannel::open()
{
    controller_ = ControllerAddress::ipv4();
    const bool needle = needleBound() || bindSocket(needle_, Protocol::NeedlePort);
    const bool status = statusBound() || bindSocket(status_, Protocol::StatusPort);
    return needle && status;
}

bool StatusChannel::statusBound() const
{
    return status_->isBound();
}

bool StatusChannel::needleBound() const
{
    return needle_->isBound();
}

void StatusChannel::drain(DatagramSocket *socket, bool status)
{
    // Everything queued is handled now, so a flood never waits on one wake-up per report.
    unsigned char bytes[kReportSize];
    quint32 sender = 0;
    for (;;) {
        const int got = socket->receive(bytes, kReportSize, &sender);
        if (got < 0)
            break;
        if (sender != controller_) {
            ++dropped_;
            continue;
        }
        if (presence_)
            presence_->reportArrived();
        if (status)
            handleStatus(bytes, got);
        else
            handleNeedle(bytes, got);
    }
    if (trace_)
        std::fflush(trace_);
    Q_EMIT drained();
}

bool StatusChannel::handleNeedle(const unsigned char *bytes, int length)
{
    if (length < kReportSize) {
        ++dropped_;
        return false;
    }
    ++needleCount_;
    data_.controllerState().setWord(Protocol::PulsesWord, value16(bytes, Protocol::FirstValueByte));
    data_.controllerState().setWord(Protocol::NeedleWord, value16(bytes, Protocol::SecondValueByte));
    Q_EMIT needleMoved();
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
    if (r[Protocol::ObjectByte] != Protocol::ReportValid)
        return;
    const int item = r[Protocol::FirstValueByte];
    const int block = r[Protocol::FirstValueByte + 1];
    const unsigned char value = r[Protocol::SecondValueByte];
    int target = -1;
    if (block == Protocol::IoTestBlock && kTestIoBase + item < int(kTestIoSize)) {
        target = kTestIoBase + item;
        data_.ioTest().setByte(std::size_t(target), value);
    } else if (block == Protocol::MotoTestBlock) {
        // Items 6-15 have no place in the block: their bytes would land on other readings.
        if (item <= 5)
            target = kMotoLowBase + item;
        else if (item >= 16 && kMotoHighBase + item < int(kTestMotoSize))
            target = kMotoHighBase + item;
        if (target >= 0)
            data_.carriageTest().setByte(std::size_t(target), value);
    }
    if (target >= 0)
        Q_EMIT testReport(block, item, value);
}

void StatusChannel::dispatchMachine(const unsigned char *r)
{
    const unsigned short a = value16(r, Protocol::FirstValueByte);
    const unsigned short b = value16(r, Protocol::SecondValueByte);
    switch (r[Protocol::ObjectByte]) {
    case Protocol::ZeroingStarted:
        data_.controllerState().setByte(Protocol::RunningByte, 0);
        Q_EMIT zeroingStarted();
        break;
    case Protocol::MachineStarted:
        Q_EMIT machineStarted(2);
        break;
    case Protocol::MachineStartedSecond:
        Q_EMIT machineStarted(3);
        break;
    case Protocol::MachineStopped:
        Q_EMIT machineStopped();
        break;
    case Protocol::RowReport: {
        const bool cancel = (data_.controllerState().word(Protocol::RowWord) & Protocol::RowCancelling) && !(b & Protocol::RowCancelling);
        data_.controllerState().setWord(Protocol::PiecesDoneWord, a);
        data_.controllerState().setWord(Protocol::RowWord, b);
        Q_EMIT rowReport(static_cast<unsigned short>(b & Protocol::RowMask), cancel);
        break;
    }
    case Protocol::AlarmReport: {
        // The alarm's type in the value's high byte, its code in the low one.
        const auto type = static_cast<unsigned char>(b >> 8);
        const auto code = static_cast<unsigned char>(b & 0xff);
        if (r[Protocol::FirstValueByte] != Protocol::ReportValid)
            break;
        if (type == 0 && code == 0)
            Q_EMIT alarmCleared();
        else
            Q_EMIT alarmRaised(type, code);
        break;
    }
    case Protocol::ZeroingFinished:
        data_.controllerState().setByte(Protocol::RunningByte, 1);
        data_.controllerState().setByte(Protocol::CarrierByte, 0);
        data_.controllerState().setWord(Protocol::RowWord, 1);
        Q_EMIT zeroingFinished();
        break;
    case Protocol::KnittingTime:
        Q_EMIT knittingTime(b, a);
        break;
    case Protocol::StopTime:
        Q_EMIT stopTime(b, a);
        break;
    case Protocol::LoopRows:
        Q_EMIT loopRows(a, b);
        break;
    case Protocol::LoopCounts:
        Q_EMIT loopCounts(a, b);
        break;
    default:
        break;
    }
}

// Its own moc output, so a program that links only one of the library's objects does not pull
// in the others through a shared moc file.
#include "moc_statuschannel.cpp"
