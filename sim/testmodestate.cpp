#include "testmodestate.h"

#include "commandhandler.h"

#include "data/protocol.h"
#include "data/testblocks.h"
#include "link/testdatagram.h"

namespace {

constexpr int kMotors = 8;

quint16 word(const QByteArray &d, int at)
{
    return quint16(quint8(d[at]) | (quint8(d[at + 1]) << 8));
}

void setWord(QByteArray &block, int w, unsigned short value)
{
    if (w >= 0 && 2 * w + 1 < block.size()) {
        block[2 * w] = char(value & 0xff);
        block[2 * w + 1] = char(value >> 8);
    }
}

} // namespace

TestModeState::TestModeState()
    : io_(defaultIo())
    , moto_(defaultMoto())
{
}

QByteArray TestModeState::defaultIo()
{
    QByteArray io(TestBlocks::kIoFileSize, '\0');
    // Output index: row + 4 x column of the page's grid.
    const int values[kOutputs] = {2, 0, 3, 2, 2, 0, 1, 3, 2, 0, 2, 0};
    for (int i = 0; i < kOutputs; ++i)
        io[2 * i] = char(values[i]);
    return io;
}

QByteArray TestModeState::defaultMoto()
{
    return QByteArray(TestBlocks::kMotoFileSize, '\0');
}

void TestModeState::setBlocks(const QByteArray &io, const QByteArray &moto)
{
    if (io.size() == TestBlocks::kIoFileSize)
        io_ = io;
    if (moto.size() == TestBlocks::kMotoFileSize)
        moto_ = moto;
}

int TestModeState::output(int index) const
{
    return index >= 0 && index < kOutputs ? word(io_, 2 * index) : -1;
}

bool TestModeState::setInput(int input, int value)
{
    if (input < 0 || input >= kInputs || value < 0 || value > 255)
        return false;
    io_[Protocol::TestIoReportByte + input] = char(value);
    return true;
}

void TestModeState::setCarriageSpeed(int value)
{
    io_[Protocol::TestSpeedByte] = char(qBound(0, value, 255));
}

bool TestModeState::applyOutput(int index, unsigned short value)
{
    if (index < 0 || index >= kOutputs)
        return false;
    setWord(io_, index, value);
    return true;
}

bool TestModeState::setMoto(int type, int object, unsigned short value)
{
    // Motor 2s is system s's first density motor (kind 0), 2s + 1 its second (kind 4);
    // selectors 2s and 2s + 1 are kinds 1 and 3.
    auto motorWord = [](int motor) { return TestBlocks::motoFileWord(motor / 2, motor % 2 ? 4 : 0); };
    switch (type) {
    case 0: // density motor position; object 8: every motor
        if (object == kMotors) {
            for (int m = 0; m < kMotors; ++m)
                setWord(moto_, motorWord(m), value);
            return true;
        }
        if (object < 0 || object >= kMotors)
            return false;
        setWord(moto_, motorWord(object), value);
        return true;
    case 1: // cams of system 0-3
        if (object < 0 || object > 3)
            return false;
        setWord(moto_, TestBlocks::motoFileWord(object, 2), value);
        return true;
    case 2: // selector 0-7
        if (object < 0 || object >= kMotors)
            return false;
        setWord(moto_, TestBlocks::motoFileWord(object / 2, object % 2 ? 3 : 1), value);
        return true;
    case 3: // yarn-guide set 0-1
        if (object < 0 || object > 1)
            return false;
        setWord(moto_, TestBlocks::guideFileWord(object), value);
        return true;
    case 0x82: // a selector's frequency test starts and stops; nothing is kept
    case 0x92:
        return object >= 0 && object < kMotors;
    default:
        return false;
    }
}

bool TestModeState::handle(SimState &state, const QByteArray &d, QByteArray *answer)
{
    answer->clear();
    if (d.size() != TestDatagram::kSize || quint8(d[Protocol::EscapeByte]) != Protocol::Escape)
        return false;
    const quint8 cmd = quint8(d[0]);
    const quint8 object = quint8(d[Protocol::ObjectByte]);
    if (cmd == Protocol::UpdateCommand && quint8(d[1]) == Protocol::ParameterForm[0]
        && quint8(d[Protocol::EndByte]) == Protocol::EndMark
        && (object == Protocol::IoTestMode || object == Protocol::CarriageTestMode)) {
        const bool enter = word(d, Protocol::FirstValueByte) != Protocol::Close;
        if (enter ? faults.refuseEntry : faults.silent)
            return true;
        *answer = CommandHandler::answer(state, d);
        mode_ = !enter ? None : object == Protocol::IoTestMode ? InputOutput : Carriage;
        return true;
    }
    if (cmd != Protocol::QueryCommand || quint8(d[1]) != Protocol::TestForm[0]
        || (object != TestDatagram::InputOutput && object != TestDatagram::Carriage))
        return false;
    if (faults.silent)
        return true;
    const bool taken = object == TestDatagram::InputOutput
        ? mode_ == InputOutput && applyOutput(word(d, 6), word(d, 8))
        : mode_ == Carriage && setMoto(quint8(d[6]), quint8(d[7]), word(d, 8));
    // The report of the new state is the command itself: same index or type and object, and
    // the value the element now has.
    if (taken)
        *answer = d;
    return true;
}

QStringList TestModeState::describe() const
{
    static const char *const names[] = {"none", "io", "moto"};
    QStringList out{QStringLiteral("test mode %1").arg(QLatin1String(names[mode_]))};
    for (int i = 0; i < kOutputs; ++i)
        out << QStringLiteral("test output %1 %2").arg(i).arg(output(i));
    return out;
}
