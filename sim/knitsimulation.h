#pragma once

#include "alarmsequence.h"
#include "reportsender.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class ControlServer;
class SimState;

// The simulated carriage: walks the loaded program's rows at a settable speed and reports
// rows, pieces, needle positions, knitting and stop times, loop counters, zeroing, start,
// stop and alarms to the panel as the controller would.
class KnitSimulation : public QObject
{
    Q_OBJECT

public:
    static constexpr int kNeedleMs = 40;
    static constexpr int kMaxRowsPerSecond = 1000;
    static constexpr int kZeroingMs = 500;

    KnitSimulation(SimState *state, const QString &root, QObject *parent = nullptr);
    ~KnitSimulation() override;

    bool open(QString *error);
    // start [NAME], stop, zero, alarm TYPE CODE, alarm clear, set speed N, knit.
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
    void onAction(int code, unsigned short argument);
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
    QByteArray program_;
    QString programName_;
    int rows_ = 0;
    int row_ = 0;
    int pieces_ = 0;
    int speed_ = 5;
    int loopLeft_ = -1;
    int skipTo_ = 0; // action 8: the row the next start knits from (0: none)
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
