#pragma once

#include <QByteArray>
#include <QStringList>

class SimState;

// The controller's side of its two test modes, without sockets: the mode it is in, the
// input/output test's block (io.tst: outputs, inputs, carriage speed) and the carriage test's
// (moto.tst: motor positions, selector blades, cams, yarn guides by system), and the answer
// to each datagram of the modes. The fuzzer drives it with the command handler.
class TestModeState
{
public:
    enum Mode { None, InputOutput, Carriage };
    // The groups of the mode command that enter and leave each mode.
    static constexpr int kOutputs = 12;
    static constexpr int kInputs = 26;
    static constexpr int kDirection = 7; // output of the carriage direction: 1 left, 2 right, 3 stop
    static constexpr int kSpeed = 11;

    struct Faults
    {
        bool silent = false;      // test commands and the leave are not heard: no answer, no effect
        bool refuseEntry = false; // the entry command is ignored
    };

    TestModeState();

    // A machine as it stands: lamps, transfer and collision off, rollers and carriage stopped,
    // racking at 00; every motor at 0 and every element off.
    static QByteArray defaultIo();
    static QByteArray defaultMoto();
    void setBlocks(const QByteArray &io, const QByteArray &moto);
    const QByteArray &io() const { return io_; }
    const QByteArray &moto() const { return moto_; }

    Mode mode() const { return mode_; }
    void leave() { mode_ = None; }
    Faults faults;

    // True for a datagram of the test modes (0x20 with group 128 or 129, a test command), with
    // the answer to send (empty: none): the mode's entry and leave echoed as every command is,
    // a test command echoed with the new state as its report. A test command outside its mode,
    // or for an output or object that does not exist, is ignored. False: not a test datagram.
    bool handle(SimState &state, const QByteArray &datagram, QByteArray *answer);

    int output(int index) const;
    // Input I's state as the controller reads it (io.tst byte 40 + I); false outside 0-25.
    bool setInput(int input, int value);
    // The carriage test state of a test type and object (the values its report carries);
    // false when no element answers to the object.
    bool setMoto(int type, int object, unsigned short value);
    void setCarriageSpeed(int value);

    QStringList describe() const;

private:
    bool applyOutput(int index, unsigned short value);

    Mode mode_ = None;
    QByteArray io_;
    QByteArray moto_;
};
