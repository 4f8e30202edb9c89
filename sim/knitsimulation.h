#pragma once

#include "alarmsequence.h"
#include "reportsender.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class ControlServer;
class FaultLayer;
class SimState;

// The simulated carriage: walks the loaded program's rows at a settable speed and reports
// rows, pieces, needle positions, knitting and stop times, loop counters, zeroing, start,
// stop and alarms to the panel as the controller would. It finds its zero before it first
// knits and before a row skip, and keeps whether it stands at zero in file.knt byte 0.
class KnitSimulation : public QObject
{
    Q_OBJECT

public:
    static constexpr int kNeedleMs = 40;
    static constexpr int kMaxRowsPerSecond = 1000;
    static constexpr int kZeroingMs = 500;
    static constexpr int kMaxZeroingMs = 60000;

    KnitSimulation(SimState *state, const QString &root, QObject *parent = nullptr);
    ~KnitSimulation() override;

    // Opens the report socket on the fault layer's network (null: a perfect one).
    bool open(FaultLayer *network, QString *error);
    // Power off: the carriage stops where it is, without a word, and the row bytes its program
    // took are forgotten (the next start reads the program from the root again); the report
    // socket is closed. Power on opens it.
    void powerOff();
    void powerOn();
    // start [NAME], stop, zero, alarm TYPE CODE, alarm clear, set speed N, set zeroing MS, knit,
    // and the carriage's lines of state.
    void registerCommands(ControlServer &control);

    bool start(const QString &name, QString *error);
    // A job the panel sent: its program knitted by the next start, from row 1. Refused while
    // the carriage runs.
    bool loadProgram(const QString &name, QString *error);
    // A row command under the program update: byte offset of program row `row` of the
    // program the next start knits (loaded first if none is); false when there is no such byte.
    bool setProgramByte(int row, int offset, unsigned char value);
    void stop();
    void zero();
    void setSpeed(int rowsPerSecond);

    bool isRunning() const { return running_; }
    int row() const { return row_; }
    int rows() const { return rows_; }
    int pieces() const { return pieces_; }
    QStringList describe() const;

private:
    // What the carriage does once it has found its zero: stand at row 1, or knit from there.
    enum class AfterZeroing { Stand, Knit };

    void onAction(int code, unsigned short argument);
    void onHome();
    void beginZeroing(AfterZeroing after);
    void finishZeroing();
    void setZeroed(bool zeroed);
    void knit();
    QStringList carriageState() const;
    bool load(const QString &name, QString *error);
    QString newestProgram() const;
    void nextRow();
    void tickNeedle();
    void tickTimes();
    void reportRow();
    unsigned char rowByte(int row, int offset) const;

    SimState *state_;
    QString root_;
    ReportSender sender_;
    AlarmSequence sequence_{[this](unsigned char type, unsigned char code) { sender_.alarm(type, code); }};
    QTimer rowTimer_;
    QTimer needleTimer_;
    QTimer timeTimer_;
    QTimer zeroTimer_;
    QByteArray program_;
    QString programName_;
    int rows_ = 0;
    int row_ = 0;
    int pieces_ = 0;
    int speed_ = 5;
    int loopLeft_ = -1;
    int skipTo_ = 0; // action 8: the row a later start skips to (0: none)
    bool skipReady_ = false; // zeroed since the skip was asked for: the next start skips
    bool skipping_ = false;  // running through the rows before skipTo_, reporting them flagged
    bool zeroed_ = false;    // stands at its zero, or knits from it
    bool zeroArmed_ = false; // a home command: the next start zeroes and stands
    AfterZeroing afterZeroing_ = AfterZeroing::Stand;
    int zeroingMs_ = kZeroingMs;
    int stopAt_ = 0; // action 9: the row after which the carriage stops once (0: none)
    bool running_ = false;
    bool started_ = false;
    int needle_ = 0;
    int needleStep_ = 4;
    unsigned short pulses_ = 0;
    int width_ = 200;
    unsigned short pieceSeconds_ = 0;
    unsigned short knitSeconds_ = 0;
    unsigned short stopSeconds_ = 0;
    unsigned short stopTotal_ = 0;
};
