#pragma once

#include "tftpsession.h"

#include "link/tftpsocket.h"

#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

class ControlServer;
class FaultLayer;
class QSocketNotifier;
class SimJournal;

// knitsim's TFTP server: serves and accepts files under its root by plain name, one
// session per transfer, with the faults the control protocol injects; every packet goes
// through the fault layer's network.
class TftpServer : public QObject
{
    Q_OBJECT

public:
    // network may be null: a perfect one.
    explicit TftpServer(const QString &root, FaultLayer *network = nullptr, QObject *parent = nullptr);
    ~TftpServer() override;

    // Binds the request port. False, with errorString(), when it is taken.
    bool listen(const QHostAddress &address, quint16 port);
    // The request port closed and every transfer forgotten, as at power off.
    void close();
    quint16 port() const { return socket_.localPort(); }
    QString errorString() const { return error_; }

    // The control protocol's "fault" kinds for TFTP: "error NAME", "silent-after N" and
    // "clear". False, with the reason in why, for anything else.
    bool applyFault(const QStringList &args, QString *why = nullptr);
    void clearFaults();
    // Adds "fault error", "fault silent-after" and "fault clear" to the control protocol, and
    // every packet received to the journal.
    void registerCommands(ControlServer &control, SimJournal &journal);

    // A name the server takes as one file under its root: not empty, no '/' or NUL, no "..",
    // no leading '.' ('\\' stays: it is a trail byte of many GBK names).
    static bool isPlainName(const QByteArray &name);
    int sessionCount() const { return sessions_.size(); }

Q_SIGNALS:
    void datagram(const QByteArray &bytes); // every packet received, for the journal
    void received(const QString &name);     // a file arrived whole

private:
    void onRequest();
    void request(const TftpPacket::View &v, quint32 address, quint16 port);
    static quint64 key(quint32 address, quint16 port);

    QString root_;
    FaultLayer *network_;
    TftpSocket socket_;
    quint32 address_ = 0;
    QSocketNotifier *notifier_ = nullptr;
    QString error_;
    QHash<quint64, TftpSession *> sessions_;
    QHash<quint64, QByteArray> requests_; // what each session was asked for
    QSet<QString> errorNames_;
    TftpSession::Faults faults_;
    char receive_[TftpPacket::kMaxPacket];
};
