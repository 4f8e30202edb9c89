#pragma once

#include "data/blocksizes.h"

#include <QByteArray>
#include <QMap>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

// The simulated controller's state: open parameter updates, the values it was sent, the
// carriage's running status, machine actions, and the blocks it serves from its root
// (file.sys, config.cfg, file.knt).
class SimState
{
public:
    // An empty root keeps everything in memory (the fuzzer's case).
    explicit SimState(const QString &root);

    // Creates the served blocks under the root when missing or of the wrong size; keeps the
    // ones a former run left. False, with a reason, when the root cannot be written.
    bool prepareFiles(QString *error = nullptr);
    QString root() const { return root_; }
    QString filePath(const QString &name) const;

    // Every opening and closing of a parameter update is told to the listener (the job receiver).
    void setGroupOpen(int group, bool open);
    void setGroupListener(std::function<void(int group, bool open)> listener) { groupListener_ = std::move(listener); }
    bool isGroupOpen(int group) const { return open_.contains(group); }
    // Values sent with 0x22; group 1 words also land in file.sys, group 32 in config.cfg.
    void setValue(int group, int index, quint16 value);
    bool hasValue(int group, int index) const;
    quint16 value(int group, int index) const;
    void setRowByte(quint16 row, quint16 offset, quint8 byte);
    int rowCommands() const { return rowCommands_; }

    // Power off: open updates and row bytes are forgotten, the carriage stands.
    void powerOff();

    quint16 motoStatus() const { return motoStatus_; }
    void setMotoStatus(quint16 status) { motoStatus_ = status; }
    // A machine action (0x2A) keeps its argument as the action's state, then tells the
    // listener (the carriage), so a `set action.C` acts as the datagram does.
    void setAction(int code, quint16 argument);
    quint16 action(int code) const { return actions_.value(code, 0); }
    void setActionListener(std::function<void(int code, quint16 argument)> listener) { actionListener_ = std::move(listener); }
    // What 0x2A answers for the action: a test's override, else the action's state.
    quint16 actionReply(int code) const { return replies_.value(code, action(code)); }
    int homeCount() const { return homes_; }
    // A home command (0x2E): counted and told to the listener (the carriage).
    void home();
    void setHomeListener(std::function<void()> listener) { homeListener_ = std::move(listener); }

    // The word of a served block as it is on disk now (0 when absent).
    quint16 fileWord(const QString &name, int word) const;

    // `set NAME VALUE`: motostatus, action.N, value.G.I. False with a reason otherwise.
    bool set(const QString &name, const QString &value, QString *error);
    // `set reply action.C [N]`: action C answered with N from now on; without N, its state.
    bool setReply(const QStringList &args, QString *error);
    // `state`: one line per open group, value, action, reply override and status.
    QStringList describe() const;

    // The served blocks as the panel's machine data holds them: file.sys, config.cfg, file.knt.
    static constexpr int kSysSize = int(kSystemSize);
    static constexpr int kConfigSize = int(kConfigCheckSize);
    static constexpr int kKntSize = int(kCurSize);

    // Bytes or a word of a served block rewritten on disk (a missing or wrong-sized block starts
    // from its default); false without a root or beyond the block.
    bool updateFileBytes(const QString &name, int size, int offset, const QByteArray &bytes);
    bool updateFileWord(const QString &name, int size, int word, quint16 value);

private:
    QByteArray defaultBlock(const QString &name) const;

    QString root_;
    QSet<int> open_;
    QMap<QPair<int, int>, quint16> values_;
    QMap<int, quint16> actions_;
    QMap<int, quint16> replies_;
    std::function<void(int, quint16)> actionListener_;
    std::function<void(int, bool)> groupListener_;
    std::function<void()> homeListener_;
    QMap<QPair<quint16, quint16>, quint8> rows_;
    int rowCommands_ = 0;
    quint16 motoStatus_ = 0;
    int homes_ = 0;
};
