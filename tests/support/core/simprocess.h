#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTcpSocket>
#include <QTemporaryDir>

// Runs knitsim for a test: its own root, the test's port offset, a free control port; sends
// control lines and hands back the reply lines; stops it when done or destroyed.
class SimProcess
{
public:
    ~SimProcess() { stop(); }

    // Starts knitsim in a fresh temporary root, on KNIT_PORT_OFFSET of this process (or a free
    // offset that is then set in this process's environment), with more options if given
    // ("--seed", "7"), and waits until it is ready. Why it failed in error, and in error().
    bool start(QString *error = nullptr, const QStringList &options = {});
    QString error() const { return error_; }
    // Sends "quit", waits for the exit, kills it if it hangs.
    void stop();

    QString file(const QString &name) const { return root_.filePath(name); }
    int portOffset() const { return offset_; }

    // All reply lines of one control line, the final "ok" / "error ..." included; empty when
    // knitsim did not answer in time.
    QStringList send(const QString &line);
    // True when the reply ended with "ok".
    bool command(const QString &line)
    {
        const QStringList reply = send(line);
        return reply.value(reply.size() - 1) == QLatin1String("ok");
    }
    // The journal as the panel's traffic, in order: "RRQ name" / "WRQ name" for TFTP requests,
    // "cmd 20/5/0" (bytes 0, 5 and 6 in hex) for command datagrams; bare: "cmd 20", the
    // arguments left out.
    QStringList traffic(bool bare = false);
    // True once traffic() holds count copies of line within ms. A line without arguments
    // ("cmd 26") stands for its command whatever they are.
    bool waitFor(const QString &line, int ms, int count = 1);
    // True once every command datagram sent to knitsim before the call is in its journal: a
    // marker sent behind them reaches it (one port's queue keeps their order). What a panel did
    // not send by then it did not send.
    bool commandsJournaled(int ms = 10000);

private:
    QTemporaryDir root_;
    int offset_ = -1;
    quint16 commandPort_ = 0;
    int markers_ = 0;
    QString error_;
    QProcess process_;
    QTcpSocket control_;
};
