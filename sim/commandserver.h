#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class ControlServer;
class FaultLayer;
class QUdpSocket;
class SimJournal;
class SimState;

// knitsim's UDP command server: journals every datagram, answers it through CommandHandler,
// and misbehaves on request (dropped or no replies); the network's faults come from the
// fault layer.
class CommandServer : public QObject
{
    Q_OBJECT

public:
    CommandServer(SimState *state, SimJournal *journal, FaultLayer *faults, QObject *parent = nullptr);

    bool listen(const QHostAddress &address, quint16 port);
    // The port closed, as at power off; listen() opens it again.
    void close();
    quint16 port() const;
    QString errorString() const { return error_; }

    // How long the answer to a datagram waits besides the delay fault (a racking move).
    void setReplyDelay(std::function<int(const QByteArray &)> delay) { replyDelay_ = std::move(delay); }

    // Adds "fault drop N [CMD GROUP]|silent|clear", "set NAME VALUE" and "state".
    void registerCommands(ControlServer &control);

    // A subsystem that answers some datagrams itself: true when it took the datagram, with
    // its answer (empty: none). The first handler that takes it decides; the others go to
    // CommandHandler. The faults apply to every answer alike.
    using Handler = std::function<bool(const QByteArray &datagram, QByteArray *answer)>;
    void addHandler(Handler handler) { handlers_.push_back(std::move(handler)); }

    struct Faults
    {
        int drop = 0; // replies still to be dropped
        int dropCommand = -1; // only those to this command of dropGroup; -1: any reply
        int dropGroup = -1;
        bool silent = false;
    };
    const Faults &faults() const { return replyFaults_; }

    static constexpr int kMaxDrop = 1000000;

private:
    void onReadable();
    bool dropped(const QByteArray &datagram) const;
    void reply(const QByteArray &bytes, const QHostAddress &to, quint16 port);

    SimState *state_;
    SimJournal *journal_;
    FaultLayer *faults_;
    std::function<int(const QByteArray &)> replyDelay_;
    QUdpSocket *socket_;
    Faults replyFaults_;
    std::vector<Handler> handlers_;
    QString error_;
};
