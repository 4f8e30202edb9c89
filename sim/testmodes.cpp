#include "testmodes.h"

#include "controlserver.h"
#include "simstate.h"

#include "data/protocol.h"
#include "data/testblocks.h"
#include "link/commanddatagram.h"
#include "link/testdatagram.h"
#include "platform/atomicfile.h"

#include <QFile>

namespace {

const char kIoFile[] = "io.tst";
const char kMotoFile[] = "moto.tst";
constexpr int kSpeedItem = 26;
constexpr int kNeedleStep = 4;
constexpr int kNeedleEnd = 200;

QByteArray readBlock(const QString &path, int size)
{
    QFile f(path);
    const QByteArray b = f.open(QIODevice::ReadOnly) ? f.read(size + 1) : QByteArray();
    return b.size() == size ? b : QByteArray();
}

bool number(const QString &text, int high, int *out)
{
    bool ok = false;
    const int v = text.toInt(&ok, 0);
    if (!ok || v < 0 || v > high)
        return false;
    *out = v;
    return true;
}

} // namespace

TestModes::TestModes(SimState *state, QObject *parent)
    : QObject(parent)
    , state_(state)
{
    carriage_.setInterval(kCarriageMs);
    connect(&carriage_, &QTimer::timeout, this, &TestModes::moveCarriage);
}

bool TestModes::open(FaultLayer *network, QString *error)
{
    const QByteArray io = readBlock(state_->filePath(QLatin1String(kIoFile)), TestBlocks::kIoFileSize);
    const QByteArray moto = readBlock(state_->filePath(QLatin1String(kMotoFile)), TestBlocks::kMotoFileSize);
    modes_.setBlocks(io, moto);
    if ((io.isEmpty() && !AtomicFile::save(state_->filePath(QLatin1String(kIoFile)), modes_.io(), error))
        || (moto.isEmpty() && !AtomicFile::save(state_->filePath(QLatin1String(kMotoFile)), modes_.moto(), error)))
        return false;
    const QHostAddress loopback(QHostAddress::LocalHost);
    if (!sender_.open(loopback, loopback, network)) {
        if (error)
            *error = QStringLiteral("test report socket cannot be bound");
        return false;
    }
    return true;
}

void TestModes::powerOff()
{
    modes_.leave();
    carriage_.stop();
    sender_.close();
}

void TestModes::powerOn()
{
    sender_.reopen();
}

void TestModes::save()
{
    // The files are what the panel fetches on its next entry: the controller's current values.
    AtomicFile::save(state_->filePath(QLatin1String(kIoFile)), modes_.io());
    AtomicFile::save(state_->filePath(QLatin1String(kMotoFile)), modes_.moto());
}

bool TestModes::handle(const QByteArray &datagram, QByteArray *answer)
{
    const QByteArray io = modes_.io();
    const QByteArray moto = modes_.moto();
    if (!modes_.handle(*state_, datagram, answer))
        return false;
    if (io != modes_.io() || moto != modes_.moto())
        save();
    followCarriage();
    return true;
}

void TestModes::followCarriage()
{
    const int direction = modes_.output(TestModeState::kDirection);
    const bool moving = modes_.mode() == TestModeState::InputOutput && (direction == 1 || direction == 2);
    if (moving == carriage_.isActive())
        return;
    if (moving) {
        carriage_.start();
        return;
    }
    carriage_.stop();
    modes_.setCarriageSpeed(0);
    testReport(0, kSpeedItem, 0);
}

void TestModes::moveCarriage()
{
    const bool right = modes_.output(TestModeState::kDirection) == 2;
    needle_ = qBound(0, needle_ + (right ? kNeedleStep : -kNeedleStep), kNeedleEnd);
    pulses_ = static_cast<unsigned short>(pulses_ + kNeedleStep);
    sender_.needle(pulses_, needle_);
    const int speed = modes_.output(TestModeState::kSpeed);
    modes_.setCarriageSpeed(speed);
    testReport(0, kSpeedItem, speed);
}

void TestModes::testReport(int block, int item, int value)
{
    QByteArray r(TestDatagram::kSize, '\0');
    r[0] = char(Protocol::QueryCommand);
    r[Protocol::ObjectByte] = char(Protocol::ReportValid);
    r[6] = char(item);
    r[7] = char(block);
    r[8] = char(value);
    sender_.send(r, Protocol::StatusPort);
}

void TestModes::registerCommands(ControlServer &control)
{
    control.registerCommand(QStringLiteral("test input"), [this](const QStringList &args) {
        int input = 0, value = 0;
        if (args.size() != 2 || !number(args[0], TestModeState::kInputs - 1, &input) || !number(args[1], 255, &value))
            return ControlReply::fail(QStringLiteral("usage: test input I V (I 0-25, V 0-255)"));
        modes_.setInput(input, value);
        save();
        testReport(0, input, value);
        return ControlReply::ok();
    });
    control.registerCommand(QStringLiteral("test report"), [this](const QStringList &args) {
        int block = 0, item = 0, value = 0;
        if (args.size() != 3 || !number(args[0], 255, &block) || !number(args[1], 255, &item) || !number(args[2], 255, &value))
            return ControlReply::fail(QStringLiteral("usage: test report BLOCK ITEM V (0-255 each)"));
        testReport(block, item, value);
        return ControlReply::ok();
    });
    control.registerCommand(QStringLiteral("test moto"), [this](const QStringList &args) {
        int type = 0, object = 0, value = 0;
        if (args.size() != 3 || !number(args[0], 255, &type) || !number(args[1], 255, &object) || !number(args[2], 65535, &value))
            return ControlReply::fail(QStringLiteral("usage: test moto TYPE OBJECT VALUE (0-255, 0-255, 0-65535)"));
        // Sent whatever the object, so a test can hand the panel reports of elements that do not exist.
        if (modes_.setMoto(type, object, quint16(value)))
            save();
        unsigned char r[TestDatagram::kSize];
        TestDatagram::command(r, TestDatagram::Carriage, quint16(type | object << 8), quint16(value));
        sender_.send(QByteArray(reinterpret_cast<const char *>(r), TestDatagram::kSize), Protocol::PanelCommandPort);
        return ControlReply::ok();
    });
    control.registerCommand(QStringLiteral("test end"), [this](const QStringList &) {
        if (modes_.mode() == TestModeState::None)
            return ControlReply::fail(QStringLiteral("no test mode"));
        unsigned char r[CommandDatagram::kSize];
        const unsigned char mode = modes_.mode() == TestModeState::InputOutput ? Protocol::IoTestMode : Protocol::CarriageTestMode;
        CommandDatagram::parameter(r, Protocol::UpdateCommand, mode, Protocol::Close, 0);
        modes_.leave();
        followCarriage();
        sender_.send(QByteArray(reinterpret_cast<const char *>(r), CommandDatagram::kSize), Protocol::PanelCommandPort);
        return ControlReply::ok();
    });
    control.registerCommand(QStringLiteral("fault test"), [this](const QStringList &args) {
        if (args.size() == 1 && args[0] == QLatin1String("silent"))
            modes_.faults.silent = true;
        else if (args.size() == 1 && args[0] == QLatin1String("entry"))
            modes_.faults.refuseEntry = true;
        else
            return ControlReply::fail(QStringLiteral("usage: fault test silent|entry"));
        return ControlReply::ok();
    });
    control.registerCommand(QStringLiteral("fault clear"), [this](const QStringList &) {
        modes_.faults = TestModeState::Faults();
        return ControlReply::ok();
    });
    control.registerCommand(QStringLiteral("state"), [this](const QStringList &) {
        return ControlReply::ok(modes_.describe());
    });
}
