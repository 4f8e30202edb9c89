#pragma once

#include "link/tftpsocket.h"
#include "link/tftptransfer.h"

#include <QFile>
#include <QHostAddress>
#include <QObject>
#include <QString>

#include <memory>

class AtomicFile;

class QSocketNotifier;
class QTimer;

// One TFTP transfer to or from the controller (octet mode, 512-byte blocks), driven by the
// event loop: a socket notifier for datagrams, a single-shot timer for the missing answer. The
// exchange itself is TftpTransfer's; this is its driver and its local file. A download goes to
// a temporary file and replaces the local file atomically only when complete; an upload is read
// a chunk ahead of the blocks. The file I/O of a chunk happens between sending a packet and its
// answer.
class TftpClient : public QObject, private TftpTransfer::File
{
    Q_OBJECT

public:
    // The codes of over(int).
    enum Result { Complete = 0, Failed = 1, CannotWrite = 2, CannotRead = 3 };

    static const quint16 kServerPort = TftpTransfer::kServerPort;
    static const quint16 kLocalPort = TftpTransfer::kLocalPort;
    static const int kRequestTimeoutMs = TftpTransfer::kRequestTimeoutMs;
    static const int kMaxRetransmissions = TftpTransfer::kMaxRetransmissions;
    static const int kMaxRequests = kMaxRetransmissions + 1;
    // A transfer that saw an answer fails after this many request time-outs without a packet.
    static const int kIdlePeriods = TftpTransfer::kIdlePeriods;
    static const qint64 kMaxFileSize = TftpTransfer::kMaxFileSize;
    // A run of packets handled in one wake-up ends when none came within kWaitMs, or after
    // kPassMs, so the event loop gets its turn at least every kPassMs + kWaitMs.
    static const int kPassMs = 20;
    static const int kWaitMs = 5;
    static const int kIoChunk = TftpTransfer::kIoChunk;

    // Binds the local port (3000 moved by KNIT_PORT_OFFSET) on every local address.
    explicit TftpClient(QObject *parent = nullptr);
    ~TftpClient() override;

    // The remote name of a local path: its last component.
    static QString remoteNameFor(const QString &localPath);

    // Start a transfer. False, with over(2) or over(3) (over(1) when the local port could not
    // be bound or the name cannot be sent) emitted before returning, when it cannot start.
    // The server is an IPv4 address in host byte order; 0 cannot be sent to. (Own names: a
    // QHostAddress::SpecialAddress would convert to quint32 silently.)
    bool getFrom(const QString &localPath, const QString &remoteName, quint32 server);
    bool putTo(const QString &localPath, const QString &remoteName, quint32 server);
    // The same with QHostAddress, inline so that programs without it need not load the network
    // library. An address that is not IPv4 becomes 0.
    bool get(const QString &localPath, const QHostAddress &server)
    {
        return getFrom(localPath, remoteNameFor(localPath), server.toIPv4Address());
    }
    bool get(const QString &localPath, const QString &remoteName, const QHostAddress &server)
    {
        return getFrom(localPath, remoteName, server.toIPv4Address());
    }
    bool put(const QString &localPath, const QHostAddress &server)
    {
        return putTo(localPath, remoteNameFor(localPath), server.toIPv4Address());
    }
    bool put(const QString &localPath, const QString &remoteName, const QHostAddress &server)
    {
        return putTo(localPath, remoteName, server.toIPv4Address());
    }

    // Downloads are saved durably (fsync of file and folder) unless turned off here; the panel
    // always keeps it on.
    void setDurable(bool durable) { durable_ = durable; }

    bool isRunning() const { return exchange_.isRunning(); }
    // Whether the server has answered the current transfer's request yet.
    bool answered() const { return exchange_.answered(); }
    int result() const { return exchange_.result(); } // -1 until the first transfer ends
    // One line, empty after success.
    QString reason() const { return QString::fromLocal8Bit(exchange_.reason().c_str()); }
    qint64 bytes() const { return exchange_.bytes(); }
    qint64 total() const { return exchange_.total(); } // upload: file size; download: size received

Q_SIGNALS:
    void connecting(bool upload);
    // The request went out for the attempt-th time (1 to kMaxRequests) with no answer yet.
    void requestSent(int attempt);
    // percent is -1 for downloads (their size is unknown beforehand). Sent once per pass over
    // the socket with the latest count, and before over(int).
    void progress(qint64 bytes, int percent);
    void over(int code);

private:
    // The notifier's slot: the datagrams of one pass.
    void receive();
    void reportProgress();
    void finished();
    bool failStart(int code, const QString &reason);
    bool append(const char *data, std::size_t length, std::string *why) override;
    bool commit(std::string *why) override;
    std::size_t read(char *buffer, std::size_t length) override;

    TftpSocket socket_;
    TftpTransfer exchange_;
    TftpTransfer::Peer peer_;
    QSocketNotifier *notifier_ = nullptr;
    QTimer *timer_ = nullptr;

    bool waitForNext_ = true;
    bool durable_ = true;
    QString localPath_;
    std::unique_ptr<AtomicFile> out_; // download
    QFile in_;                        // upload
};
