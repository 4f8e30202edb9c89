#pragma once

#include "dashboard/headreader.h"

#include <QHash>
#include <QHostAddress>
#include <QSslConfiguration>
#include <QTcpServer>

#include <memory>
#include <optional>

// The dashboard's listening socket, plain or TLS: refuses a connection at once past
// kMaxConnections open, or kMaxPerAddress from one client address, and puts a ConnectionGuard
// on every other before the web server sees it (before the TLS handshake, too, so a handshake
// that trickles is cut off like a head that does). Hands the server a socket only once it is
// encrypted.
class GuardedServer : public QTcpServer
{
    Q_OBJECT

public:
    static constexpr int kMaxConnections = 500;
    static constexpr int kMaxPerAddress = 16;

    explicit GuardedServer(HeadReader::BodyLimit limit, QObject *parent = nullptr);
    // HTTPS from now on.
    void setTls(const QSslConfiguration &tls) { tls_ = tls; }
    bool tls() const { return tls_.has_value(); }
    // HTTPS with the PEM certificate chain and key (RSA or EC) of these files; false with a reason.
    bool loadTls(const QString &cert, const QString &key, QString *why);
    QTcpSocket *nextPendingConnection() override;

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    struct Counts
    {
        QHash<QHostAddress, int> perAddress;
        int total = 0;
    };

    const HeadReader::BodyLimit limit_;
    std::optional<QSslConfiguration> tls_;
    // Shared with the guards, which may outlive the server at exit.
    std::shared_ptr<Counts> counts_ = std::make_shared<Counts>();
};
