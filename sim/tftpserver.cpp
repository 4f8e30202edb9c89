#include "tftpserver.h"

#include "controlserver.h"
#include "faultlayer.h"
#include "simjournal.h"
#include "tftparrival.h"

#include "data/jobname.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

namespace {

const qint64 kMaxFileSize = 256 * 1024 * 1024;

} // namespace

TftpServer::TftpServer(const QString &root, FaultLayer *network, QObject *parent)
    : QObject(parent), root_(root), network_(network)
{
}

TftpServer::~TftpServer() = default;

bool TftpServer::listen(const QHostAddress &address, quint16 port)
{
    bool ok = false;
    address_ = address.toIPv4Address(&ok);
    if (!ok) {
        error_ = QStringLiteral("%1 is not an IPv4 address").arg(address.toString());
        return false;
    }
    if (!socket_.bind(address, port)) {
        error_ = QStringLiteral("TFTP port %1: %2").arg(port).arg(socket_.errorString());
        return false;
    }
    delete notifier_;
    notifier_ = new QSocketNotifier(socket_.fd(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TftpServer::onRequest);
    return true;
}

void TftpServer::close()
{
    delete notifier_;
    notifier_ = nullptr;
    socket_.close();
    for (TftpSession *session : std::as_const(sessions_)) {
        session->disconnect(this);
        session->deleteLater();
    }
    sessions_.clear();
    requests_.clear();
}

bool TftpServer::applyFault(const QStringList &args, QString *why)
{
    const QString kind = args.value(0);
    bool ok = true;
    if (kind == QLatin1String("error") && args.size() == 2) {
        errorNames_.insert(args.at(1));
    } else if (kind == QLatin1String("silent-after") && args.size() == 2) {
        const int n = args.at(1).toInt(&ok);
        ok = ok && n >= 0;
        if (ok)
            faults_.silentAfter = n;
    } else if (kind == QLatin1String("clear") && args.size() == 1) {
        clearFaults();
    } else {
        ok = false;
    }
    if (why)
        *why = ok ? QString() : QStringLiteral("bad TFTP fault: %1").arg(args.join(QLatin1Char(' ')));
    return ok;
}

void TftpServer::registerCommands(ControlServer &control, SimJournal &journal)
{
    control.registerFaults({QStringLiteral("error"), QStringLiteral("silent-after")},
                           [this](const QStringList &args, QString *why) { return applyFault(args, why); });
    control.registerCommand(QStringLiteral("fault clear"), [this](const QStringList &) {
        clearFaults();
        return ControlReply::ok();
    });
    connect(this, &TftpServer::datagram, this, [&journal](const QByteArray &bytes) {
        journal.append(QStringLiteral("tftp"), bytes);
    });
}

void TftpServer::clearFaults()
{
    errorNames_.clear();
    faults_ = TftpSession::Faults();
}

bool TftpServer::isPlainName(const QByteArray &name)
{
    return !name.isEmpty() && name.size() <= TftpPacket::kMaxNameLength && !name.contains('/')
        && !name.contains('\0') && !name.contains("..") && !name.startsWith('.')
        && JobName::isSafe(JobName::decode(name));
}

quint64 TftpServer::key(quint32 address, quint16 port)
{
    return (quint64(address) << 16) | port;
}

void TftpServer::onRequest()
{
    receiveTftp(socket_, receive_, network_, [this](const TftpArrival &a) {
        Q_EMIT datagram(a.bytes);
        const TftpPacket::View &v = a.view;
        if (v.valid && (v.opcode == TftpPacket::Rrq || v.opcode == TftpPacket::Wrq)) {
            request(v, a.address, a.port);
        } else if (v.opcode != TftpPacket::Error) {
            char packet[64];
            const QByteArray error(packet, TftpPacket::makeError(TftpPacket::IllegalOperation, "Illegal TFTP operation",
                                                                  packet, int(sizeof packet)));
            FaultLayer::transmit(network_, FaultLayer::Tftp, this, error, [this, address = a.address, port = a.port](const QByteArray &b) {
                socket_.sendTo(b.constData(), b.size(), address, port);
            });
        }
    });
}

void TftpServer::request(const TftpPacket::View &v, quint32 address, quint16 port)
{
    const quint64 k = key(address, port);
    const QByteArray signature = QByteArray::number(v.opcode) + ' ' + QByteArray(v.name);
    if (TftpSession *old = sessions_.value(k)) {
        // The same request again is a retransmission while its transfer runs. Another request
        // from the same port is the client's next transfer: the panel always uses one local
        // port, and its next request can overtake the last acknowledgement of the one before.
        // The same file put again after its transfer ended is a new transfer, not a repeat.
        if (requests_.value(k) == signature && !old->isDone())
            return;
        sessions_.remove(k);
        old->disconnect(this);
        old->deleteLater();
    }
    requests_.insert(k, signature);
    auto *session = new TftpSession(address_, address, port, faults_, network_, this);
    if (!session->isOpen()) {
        delete session;
        return;
    }
    sessions_.insert(k, session);
    connect(session, &TftpSession::datagram, this, &TftpServer::datagram);
    connect(session, &TftpSession::received, this, [this](const QString &path) {
        Q_EMIT received(QFileInfo(path).fileName());
    });
    connect(session, &TftpSession::finished, this, [this, k, session] {
        if (sessions_.value(k) == session) {
            sessions_.remove(k);
            requests_.remove(k);
        }
        session->deleteLater();
    });

    const QByteArray rawName(v.name);
    const QString name = JobName::decode(rawName);
    if (qstricmp(v.mode, "octet") != 0) {
        session->refuse(TftpPacket::IllegalOperation, "Only octet mode");
        return;
    }
    if (!isPlainName(rawName)) {
        session->refuse(TftpPacket::AccessViolation, "Access violation");
        return;
    }
    if (errorNames_.contains(name)) {
        session->refuse(TftpPacket::NotDefined, "Refused");
        return;
    }
    const QString path = QDir(root_).filePath(name);
    if (v.opcode == TftpPacket::Wrq) {
        session->startWrite(path);
        return;
    }
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        session->refuse(TftpPacket::NotFound, "File not found");
        return;
    }
    if (file.size() > kMaxFileSize) {
        session->refuse(TftpPacket::DiskFull, "File too large");
        return;
    }
    session->startRead(file.readAll());
}
