#pragma once

#include "data/patfile.h"

#include <QByteArray>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>

class ControlServer;
class SimState;

// The controller's copies taking the editors' row commands: with the program update (group
// 13) open a byte of a program row, with the pattern update (group 14) open a byte of a line
// of the current job's .pat in the root, written back when the update closes. Commands that
// come with neither open are counted.
class RowEdits
{
public:

    // program: writes byte `offset` of program row `row`, false when the program has no such
    // byte; job: the current job's name (empty: none). An empty root keeps no pattern.
    RowEdits(SimState *state, const QString &root, std::function<bool(int row, int offset, quint8 value)> program,
             std::function<QString()> job);

    // Looks at every datagram the command port gets; never takes one (CommandHandler still
    // answers it), so the faults apply to these answers as to any.
    void observe(const QByteArray &datagram);
    // Adds the lines "cnt ROW OFFSET VALUE", "pat LINE BYTE VALUE" and "unbracketed N" to `state`.
    void registerCommands(ControlServer &control);
    QStringList describe() const;
    // Power off: pattern bytes not yet written are lost.
    void powerOff();

private:
    bool patternByte(int line, int k, quint8 value);
    void writePattern();

    SimState *state_;
    QString root_;
    std::function<bool(int, int, quint8)> program_;
    std::function<QString()> job_;
    QString patternPath_;
    QByteArray pattern_; // the .pat being changed, with its checksum kept up to date
    PatCheck patternCheck_;
    bool patternDirty_ = false;
    QMap<QPair<int, int>, quint8> cnt_;
    QMap<QPair<int, int>, quint8> pat_;
    int unbracketed_ = 0;
};
