#pragma once

#include "logic/controller/filetransfer.h"

#include <QByteArray>
#include <QString>

#include <functional>

class MachineData;

// The start-up exchange with the controller, apart from any window: fetch the system and
// personalisation blocks and compare them with the panel's check copies, fetch the running
// state and take the current job's name, check the job's files and send them back; then close
// the group the controller holds open and ask whether the machine runs. Questions, messages and
// copies are the caller's; so are the link's transfers and commands, so the exchange runs
// against a recorded link as well as against the controller.
class StartupExchange
{
public:
    struct Operator
    {
        std::function<void(const QString &text)> tell;
        std::function<bool(const QString &question)> ask; // true: Yes
        std::function<bool(const QString &from, const QString &to)> copy;
    };
    struct Link
    {
        FileTransfer transfer;
        std::function<bool(unsigned char cmd, unsigned char object, unsigned short value1, unsigned short value2)> command;
        std::function<unsigned int()> motoStatus; // kNoMotoStatus when unanswered
        // setParameter and queryCarriageStatus.
        static Link controller(FileTransfer transfer);
    };
    // What the closing status query found.
    enum class Machine { Offline, Stopped, Running };

    StartupExchange(MachineData &data, Operator op, Link link) : data_(data), op_(std::move(op)), link_(std::move(link)) {}

    // The exchange, before the main screen is built: data's system block, both personalisation
    // blocks, the controller state and the job name take what the controller sent.
    void run();
    // 0 to 3: 1 when the system block differed and the operator went on, 2 likewise for the
    // personalisation block.
    unsigned char checkResult() const { return checkresult_; }
    // False when a fetch went unanswered.
    bool connected() const { return connected_; }
    // After the main screen was built: the close of the group in the controller state's byte
    // 26, then the status query.
    Machine close();

    static Machine machineOf(unsigned int motoStatus);

private:
    bool fetch(const QString &name, int size, QByteArray *out);
    // False when the operator chose to shut the machine down.
    bool compare(const QString &fetched, const QString &reference, const QByteArray &block, int from, bool system);
    void checkAndSend(const QString &name);
    void shutDown();

    MachineData &data_;
    Operator op_;
    Link link_;
    unsigned char checkresult_ = 0;
    bool connected_ = true;
};
