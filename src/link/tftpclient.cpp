#include "tftpclient.h"

#include "data/jobname.h"
#include "platform/atomicfile.h"
#include "platform/panelenv.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

TftpClient::TftpClient(QObject *parent)
    : QObject(parent)
{
    if (socket_.bind(QHostAddress(QHostAddress::AnyIPv4), PanelEnv::port(kLocalPort))) {
        notifier_ = new QSocketNotifier(socket_.fd(), QSocketNotifier::Read, this);
        notifier_->setEnabled(false);
    } else {
        bindError_ = QStringLiteral("local port %1: %2").arg(PanelEnv::port(kLocalPort)).arg(socket_.errorString());
    }
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &TftpClient::timestart);
}

TftpClient::~TftpClient() = default;

QString TftpClient::remoteNameFor(const QString &localPath)
{
    return QFileInfo(localPath).fileName();
}

bool TftpClient::get(const QString &localPath, const QHostAddress &server)
{
    return get(localPath, remoteNameFor(localPath), server);
}

bool TftpClient::get(const QString &localPath, const QString &remoteName, const QHostAddress &server)
{
    if (running_)
        return false;
    localPath_ = localPath;
    payload_.clear();
    total_ = 0;
    // The old file stays until the new one is whole, so only check that it can be replaced.
    const QFileInfo target(localPath);
    const QFileInfo dir(target.absolutePath());
    if (localPath.isEmpty() || target.isDir() || !dir.isDir() || !dir.isWritable()
        || (target.exists() && !target.isWritable()))
        return failStart(CannotWrite, QStringLiteral("cannot write %1").arg(localPath));
    return begin(false, remoteName, server);
}

bool TftpClient::put(const QString &localPath, const QHostAddress &server)
{
    return put(localPath, remoteNameFor(localPath), server);
}

bool TftpClient::put(const QString &localPath, const QString &remoteName, const QHostAddress &server)
{
    if (running_)
        return false;
    localPath_ = localPath;
    payload_.clear();
    total_ = 0;
    QFile file(localPath);
    if (!QFileInfo(localPath).isFile() || !file.open(QIODevice::ReadOnly))
        return failStart(CannotRead, QStringLiteral("cannot read %1").arg(localPath));
    if (file.size() > kMaxFileSize)
        return failStart(CannotRead, QStringLiteral("%1 is larger than %2 bytes").arg(localPath).arg(kMaxFileSize));
    payload_ = file.readAll();
    total_ = payload_.size();
    if (payload_.size() != file.size())
        return failStart(CannotRead, QStringLiteral("cannot read %1").arg(localPath));
    return begin(true, remoteName, server);
}

bool TftpClient::begin(bool upload, const QString &remoteName, const QHostAddress &server)
{
    if (!notifier_)
        return failStart(Failed, bindError_);
    bool ok = false;
    server_ = server.toIPv4Address(&ok);
    if (!ok)
        return failStart(Failed, QStringLiteral("server address %1 is not IPv4").arg(server.toString()));
    const QByteArray name = JobName::encode(remoteName);
    lastLength_ = TftpPacket::makereq(upload ? TftpPacket::Wrq : TftpPacket::Rrq, "octet",
                                      name.constData(), last_, int(sizeof last_));
    if (name.isEmpty() || name.contains('\0') || lastLength_ == 0)
        return failStart(Failed, QStringLiteral("remote name '%1' cannot be sent").arg(remoteName));

    state_ = upload ? WaitAck0 : WaitFirstData;
    running_ = true;
    result_ = -1;
    reason_.clear();
    peerPort_ = PanelEnv::port(kServerPort);
    answerSeen_ = false;
    activity_ = false;
    retries_ = 0;
    idlePeriods_ = 0;
    bytes_ = 0;
    lastBlock_ = 0;
    // Datagrams left over from an earlier transfer are not part of this one.
    quint32 a;
    quint16 p;
    while (socket_.receive(receive_, int(sizeof receive_), &a, &p) >= 0) {
    }
    disconnect(notifier_, nullptr, this, nullptr);
    connect(notifier_, &QSocketNotifier::activated, this, upload ? &TftpClient::putdate : &TftpClient::getdate);
    notifier_->setEnabled(true);
    socket_.sendTo(last_, lastLength_, server_, peerPort_);
    emit connecting(upload);
    timer_->start(PanelEnv::scaledMs(kRequestTimeoutMs));
    return true;
}

void TftpClient::getdate()
{
    receive(false);
}

void TftpClient::putdate()
{
    receive(true);
}

void TftpClient::receive(bool upload)
{
    quint32 address = 0;
    quint16 port = 0;
    int n;
    while (running_ && (n = socket_.receive(receive_, int(sizeof receive_), &address, &port)) >= 0) {
        // Only the server's address is listened to; anything else is not ours to answer.
        if (address != server_)
            continue;
        if (n > int(sizeof receive_))
            continue;
        const TftpPacket::View v = TftpPacket::parse(receive_, n);
        if (answerSeen_ && port != peerPort_) {
            // Another transfer's packet (RFC 1350): tell its sender, never take it as ours.
            if (v.opcode != TftpPacket::Error)
                sendError(TftpPacket::UnknownTid, "Unknown transfer ID", address, port);
            continue;
        }
        if (!v.valid)
            continue;
        if (v.opcode == TftpPacket::Error) {
            finish(Failed, QStringLiteral("server error %1: %2").arg(v.errorCode)
                               .arg(QString::fromLatin1(v.message ? v.message : "")));
            return;
        }
        if (v.opcode != (upload ? TftpPacket::Ack : TftpPacket::Data))
            continue;
        if (!answerSeen_) {
            // The server's first answer fixes its transfer port; the retransmission timer
            // becomes the inactivity watch from here on.
            answerSeen_ = true;
            peerPort_ = port;
            timer_->start(PanelEnv::scaledMs(kRequestTimeoutMs));
        }
        activity_ = true;
        if (upload)
            handleUpload(v.block);
        else
            handleDownload(v.block, v.data, v.dataLength);
    }
}

void TftpClient::handleDownload(quint16 block, const char *data, int length)
{
    if (state_ == WaitFirstData) {
        if (block != 1)
            return;
        state_ = Receiving;
        writeBlock(block, data, length);
        return;
    }
    const quint16 ahead = quint16(block - lastBlock_);
    if (ahead == 1) {
        writeBlock(block, data, length);
    } else if (ahead == 0 || ahead > 0x8000) {
        // Already written: the server missed our acknowledgement.
        char ack[4];
        socket_.sendTo(ack, TftpPacket::makeack(block, ack, 4), server_, peerPort_);
    }
}

void TftpClient::writeBlock(quint16 block, const char *data, int length)
{
    if (bytes_ + length > kMaxFileSize) {
        sendError(TftpPacket::DiskFull, "File too large", server_, peerPort_);
        finish(CannotWrite, QStringLiteral("remote file is larger than %1 bytes").arg(kMaxFileSize));
        return;
    }
    payload_.append(data, length);
    bytes_ += length;
    lastBlock_ = block;
    lastLength_ = TftpPacket::makeack(block, last_, int(sizeof last_));
    if (length < TftpPacket::kBlockSize) {
        QString why;
        if (!AtomicFile::save(localPath_, payload_, &why)) {
            sendError(TftpPacket::DiskFull, "Cannot write file", server_, peerPort_);
            finish(CannotWrite, QStringLiteral("cannot write %1: %2").arg(localPath_, why));
            return;
        }
        socket_.sendTo(last_, lastLength_, server_, peerPort_);
        emit progress(bytes_, -1);
        finish(Complete, QString());
        return;
    }
    socket_.sendTo(last_, lastLength_, server_, peerPort_);
    emit progress(bytes_, -1);
}

void TftpClient::handleUpload(quint16 block)
{
    switch (state_) {
    case WaitAck0:
        if (block == 0) {
            state_ = Sending;
            sendNextBlock();
        }
        break;
    case Sending:
        if (block == lastBlock_)
            sendNextBlock();
        else if (block == quint16(lastBlock_ - 1))
            sendLast();
        break;
    case LastSent:
        // A repeated acknowledgement of the block before the last asks for the last again.
        if (block == lastBlock_)
            finish(Complete, QString());
        else if (block == quint16(lastBlock_ - 1))
            sendLast();
        else
            finish(CannotRead, QStringLiteral("server acknowledged block %1, expected %2").arg(block).arg(lastBlock_));
        break;
    default:
        break;
    }
}

void TftpClient::sendNextBlock()
{
    const qint64 offset = bytes_;
    const int length = int(qMin<qint64>(TftpPacket::kBlockSize, payload_.size() - offset));
    bytes_ += length;
    if (length < TftpPacket::kBlockSize)
        state_ = LastSent;
    lastBlock_ = quint16(lastBlock_ + 1);
    lastLength_ = TftpPacket::makedata(lastBlock_, payload_.constData() + offset, length, last_, int(sizeof last_));
    sendLast();
    const int percent = total_ == 0 ? 100 : int(bytes_ * 100 / total_);
    emit progress(bytes_, percent);
}

void TftpClient::sendLast()
{
    socket_.sendTo(last_, lastLength_, server_, peerPort_);
}

void TftpClient::sendError(int code, const char *message, quint32 address, quint16 port)
{
    char packet[64];
    const int length = TftpPacket::makeerror(code, message, packet, int(sizeof packet));
    socket_.sendTo(packet, length, address, port);
}

void TftpClient::timestart()
{
    if (!running_)
        return;
    const int period = PanelEnv::scaledMs(kRequestTimeoutMs);
    if (!answerSeen_) {
        if (retries_ < kMaxRetransmissions) {
            ++retries_;
            sendLast();
            timer_->start(period);
        } else {
            finish(Failed, QStringLiteral("no answer from %1 after %2 requests")
                               .arg(QHostAddress(server_).toString()).arg(kMaxRetransmissions + 1));
        }
        return;
    }
    if (activity_) {
        activity_ = false;
        idlePeriods_ = 0;
    } else if (++idlePeriods_ >= kIdlePeriods) {
        finish(Failed, QStringLiteral("server stopped answering (nothing for %1 s)")
                           .arg(double(period) * kIdlePeriods / 1000.0));
        return;
    }
    timer_->start(period);
}

void TftpClient::finish(int code, const QString &reason)
{
    const State state = state_;
    running_ = false;
    state_ = Idle;
    if (notifier_)
        notifier_->setEnabled(false);
    timer_->stop();
    result_ = code;
    reason_ = reason;
    if (state == WaitFirstData || state == Receiving)
        total_ = bytes_;
    payload_.clear();
    emit over(code);
}

bool TftpClient::failStart(int code, const QString &reason)
{
    payload_.clear();
    finish(code, reason);
    return false;
}
