#pragma once

#include "controlreply.h"

#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QTcpServer;
class QTcpSocket;

// knitsim's control line protocol on a loopback TCP port. Each subsystem of the simulator
// registers the commands it understands; a command name is one or more words, and the
// longest registered name that starts a line takes it.
class ControlServer : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<ControlReply(const QStringList &args)>;

    explicit ControlServer(QObject *parent = nullptr);
    ~ControlServer() override;

    // Several handlers may share a name ("fault clear", "state"): all run, in the order they
    // were registered, their lines joined; the first error wins.
    void registerCommand(const QString &name, Handler handler);
    // "fault KIND ARGS..." for each kind, handed to apply as {KIND, ARGS...}: "ok", or the
    // reason apply gives.
    void registerFaults(const QStringList &kinds, const std::function<bool(const QStringList &args, QString *why)> &apply);
    QStringList commandNames() const;

    // A line's only argument as a number from low to high; false otherwise.
    static bool oneNumber(const QStringList &args, int low, int high, int *out);

    // Port 0 picks a free one; port() then tells which.
    bool listen(const QHostAddress &address, quint16 port);
    quint16 port() const;
    QString errorString() const { return error_; }

    // Runs one line and returns every reply line, the final "ok"/"error ..." included.
    // Empty for a blank line. quit (if given) is set by the "quit" command.
    QStringList execute(const QString &line, bool *quit = nullptr);

    static constexpr int kMaxLine = 4096;

Q_SIGNALS:
    void quitRequested();

private:
    void onConnection();
    void onReadable(QTcpSocket *socket);

    QHash<QString, std::vector<Handler>> commands_;
    QTcpServer *server_;
    QString error_;
};
