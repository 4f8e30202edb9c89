#pragma once

#include <QElapsedTimer>
#include <QMap>
#include <QObject>
#include <QString>

class ControlServer;
class SimState;
class TftpServer;

// The controller's software update as the panel meets it: `0x20 48|49 1/0` opens and closes
// the update mode of the main / slave controller; an image uploaded while a mode is open is
// kept and "programmed" for `set flash MS` ms, during which the closing command goes
// unanswered, as the controller answers it only once it has finished. A 404-byte `*.sys`
// upload becomes the controller's system parameters, file.sys.
class UpdateMode : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxFlashMs = 600000;

    explicit UpdateMode(SimState *state, QObject *parent = nullptr);

    void attach(TftpServer &tftp);
    // `set flash MS`, and the lines "update N open|closed" and "image NAME SIZE" of `state`.
    void registerCommands(ControlServer &control);
    // The command server's handler: takes 0x20 48/49, with its answer (empty while programming).
    bool handle(const QByteArray &datagram, QByteArray *answer);
    // Power off: both modes closed, a programming under way lost.
    void powerOff();

private:
    void onReceived(const QString &name);

    SimState *state_;
    QMap<int, bool> open_;
    QMap<int, qint64> programmedAt_; // when each controller finishes programming, on clock_
    QMap<QString, qint64> images_;
    QElapsedTimer clock_;
    int flashMs_ = 0;
};
