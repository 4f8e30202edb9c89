#include "tftpclient.h"

#include "data/jobname.h"
#include "platform/atomicfile.h"
#include "platform/panelenv.h"
#include "platform/stallreport.h"

#include <QFile>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

namespace {

QString dotted(quint32 a)
{
    return QStringLiteral("%1.%2.%3.%4").arg(a >> 24).arg((a >> 16) & 0xFF).arg((a >> 8) & 0xFF).arg(a & 0xFF);
}

// The server's transfer ports of this process's latest transfers and of packets that belonged
// to none. The local port is fixed, so a server still repeating a packet of an earlier transfer
// (its acknowledgement lost, or our next request) reaches the next one: such a port never
// opens a transfer.
constexpr int kStalePorts = 4;
QList<quint16> &stalePorts()
{
    static QList<quint16> ports;
    return ports;
}

void markStale(quint16 port)
{
    QList<quint16> &ports = stalePorts();
    ports.removeAll(port);
    ports.append(port);
    if (ports.size() > kStalePorts)
        ports.removeFirst();
}

} // namespace

TftpClient::TftpClient(QObject *parent)
    : QObject(parent)
{
    if (socket_.bindIpv4(0, PanelEnv::port(kLocalPort))) {
        notifier_ = new QSocketNotifier(socket_.fd(), QSocketNotifier::Read, this);
        notifier_->setEnabled(false);
        socket_.setWaitMs(kWaitMs);
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

bool TftpClient::getFrom(const QString &localPath, const QString &remoteName, quint32 server)
{
    if (running_)
        return false;
    localPath_ = localPath;
    buffer_.clear();
    total_ = 0;
    // The data goes to a temporary file beside the target; the old file stays until the new
    // one is whole.
    const QFileInfo target(localPath);
    QString why;
    if (localPath.isEmpty() || target.isDir() || (target.exists() && !target.isWritable()))
        return failStart(CannotWrite, QStringLiteral("cannot write %1").arg(localPath));
    out_ = std::make_unique<AtomicFile>(localPath);
    if (!out_->open(&why))
        return failStart(CannotWrite, QStringLiteral("cannot write %1: %2").arg(localPath, why));
    return begin(false, remoteName, server);
}

bool TftpClient::putTo(const QString &localPath, const QString &remoteName, quint32 server)
{
    if (running_)
        return false;
    localPath_ = localPath;
    buffer_.clear();
    bufferPos_ = 0;
    total_ = 0;
    bytes_ = 0;
    in_.setFileName(localPath);
    if (!QFileInfo(localPath).isFile() || !in_.open(QIODevice::ReadOnly))
        return failStart(CannotRead, QStringLiteral("cannot read %1").arg(localPath));
    if (in_.size() > kMaxFileSize)
        return failStart(CannotRead, QStringLiteral("%1 is larger than %2 bytes").arg(localPath).arg(kMaxFileSize));
    // The size when the transfer starts is what is sent, read a chunk ahead of the blocks.
    total_ = in_.size();
    if (!readAhead())
        return failStart(CannotRead, QStringLiteral("cannot read %1").arg(localPath));
    return begin(true, remoteName, server);
}

bool TftpClient::begin(bool upload, const QString &remoteName, quint32 server)
{
    if (!notifier_)
        return failStart(Failed, bindError_);
    // 0.0.0.0 would reach this host itself.
    if (server == 0)
        return failStart(Failed, QStringLiteral("no IPv4 server address"));
    server_ = server;
    const QByteArray name = JobName::encode(remoteName);
    lastLength_ = TftpPacket::makereq(upload ? TftpPacket::Wrq : TftpPacket::Rrq, "octet",
                                      name.constData(), last_, int(sizeof last_));
    if (name.isEmpty() || name.contains('\0') || lastLength_ == 0)
        return failStart(Failed, QStringLiteral("remote name '%1' cannot be sent").arg(remoteName));

    state_ = upload ? WaitAck0 : WaitFirstData;
    upload_ = upload;
    progressDue_ = false;
    waitForNext_ = true;
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
    // Datagrams left over from an earlier transfer are not part of this one, nor are their
    // senders' later ones.
    quint32 a;
    quint16 p;
    while (socket_.receive(receive_, int(sizeof receive_), &a, &p) >= 0) {
        if (a == server_)
            markStale(p);
    }
    disconnect(notifier_, nullptr, this, nullptr);
    connect(notifier_, &QSocketNotifier::activated, this, upload ? &TftpClient::putdate : &TftpClient::getdate);
    notifier_->setEnabled(true);
    socket_.sendTo(last_, lastLength_, server_, peerPort_);
    Q_EMIT connecting(upload);
    Q_EMIT requestSent(1);
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
    // The transfer is lock-step: every packet handled here is answered at once, so the next
    // one is due a round trip later. Waiting for it here, in recvfrom on this one socket, spares
    // each block a pass through the event loop and its notifier; after kPassMs the loop gets
    // its turn again (progress, keys, the time-out timer).
    const StallReport::Wait mandated;
    const QDeadlineTimer pass(kPassMs);
    bool first = true;
    while (running_ && (first || !pass.hasExpired())) {
        const bool wait = !first && waitForNext_;
        first = false;
        quint32 address = 0;
        quint16 port = 0;
        const int n = wait ? socket_.receiveWithin(receive_, int(sizeof receive_), &address, &port)
                           : socket_.receive(receive_, int(sizeof receive_), &address, &port);
        if (n < 0) {
            // Nothing within kWaitMs: a slow peer, or one in this very thread that cannot answer
            // before we return. Waiting would only stall it, so not for the rest of the transfer.
            if (wait)
                waitForNext_ = false;
            break;
        }
        take(upload, n, address, port);
    }
    reportProgress();
}

void TftpClient::take(bool upload, int n, quint32 address, quint16 port)
{
    // Only the server's address is listened to; anything else is not ours to answer.
    if (address != server_ || n > int(sizeof receive_))
        return;
    const TftpPacket::View v = TftpPacket::parse(receive_, n);
    // Before the server's first answer only the packet that opens this transfer counts (DATA 1
    // of a download, ACK 0 of an upload), and not from a port of an earlier transfer; an ERROR
    // from a fresh port is the answer to our request.
    const bool opening = v.valid && v.opcode == (upload ? TftpPacket::Ack : TftpPacket::Data) && v.block == (upload ? 0 : 1);
    const bool earlier = stalePorts().contains(port);
    const bool foreign = answerSeen_ ? port != peerPort_
                                     : earlier || (v.opcode != TftpPacket::Error && v.valid && !opening);
    if (foreign) {
        // Another transfer's packet (RFC 1350): tell its sender, never take it as ours.
        if (v.opcode != TftpPacket::Error) {
            sendError(TftpPacket::UnknownTid, "Unknown transfer ID", address, port);
            if (!answerSeen_)
                markStale(port);
        }
        return;
    }
    if (!v.valid)
        return;
    if (v.opcode == TftpPacket::Error) {
        finish(Failed, QStringLiteral("server error %1: %2").arg(v.errorCode)
                           .arg(QString::fromLatin1(v.message ? v.message : "")));
        return;
    }
    if (v.opcode != (upload ? TftpPacket::Ack : TftpPacket::Data))
        return;
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

void TftpClient::reportProgress()
{
    if (!progressDue_)
        return;
    progressDue_ = false;
    Q_EMIT progress(bytes_, upload_ ? (total_ == 0 ? 100 : int(bytes_ * 100 / total_)) : -1);
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
    buffer_.append(data, length);
    bytes_ += length;
    lastBlock_ = block;
    lastLength_ = TftpPacket::makeack(block, last_, int(sizeof last_));
    progressDue_ = true;
    QString why;
    if (length < TftpPacket::kBlockSize) {
        // The last block is acknowledged only once the file is whole on disk; a file that
        // cannot be saved gets the server an error instead.
        if (!writeBuffer(&why) || !out_->commit(durable_, &why)) {
            sendError(TftpPacket::DiskFull, "Cannot write file", server_, peerPort_);
            finish(CannotWrite, QStringLiteral("cannot write %1: %2").arg(localPath_, why));
            return;
        }
        socket_.sendTo(last_, lastLength_, server_, peerPort_);
        finish(Complete, QString());
        return;
    }
    socket_.sendTo(last_, lastLength_, server_, peerPort_);
    // Written while the server makes its next block, a chunk at a time.
    if (buffer_.size() >= kIoChunk && !writeBuffer(&why)) {
        sendError(TftpPacket::DiskFull, "Cannot write file", server_, peerPort_);
        finish(CannotWrite, QStringLiteral("cannot write %1: %2").arg(localPath_, why));
    }
}

bool TftpClient::writeBuffer(QString *why)
{
    const bool ok = out_->append(buffer_.constData(), buffer_.size(), why);
    buffer_.clear();
    return ok;
}

bool TftpClient::readAhead()
{
    const qint64 want = qMin<qint64>(kIoChunk, total_ - bytes_ - (buffer_.size() - bufferPos_));
    if (bufferPos_ < buffer_.size() || want <= 0)
        return true;
    buffer_ = in_.read(want);
    bufferPos_ = 0;
    // A file that shrank under us would otherwise end the transfer early as if complete.
    return buffer_.size() == want;
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
    // Chunks are whole blocks, so a block never straddles two reads.
    const int length = int(qMin<qint64>(TftpPacket::kBlockSize, total_ - bytes_));
    bytes_ += length;
    if (length < TftpPacket::kBlockSize)
        state_ = LastSent;
    lastBlock_ = quint16(lastBlock_ + 1);
    lastLength_ = TftpPacket::makedata(lastBlock_, buffer_.constData() + bufferPos_, length, last_, int(sizeof last_));
    bufferPos_ += length;
    sendLast();
    progressDue_ = true;
    // Read on while the server answers.
    if (!readAhead()) {
        sendError(TftpPacket::NotDefined, "Cannot read file", server_, peerPort_);
        finish(CannotRead, QStringLiteral("cannot read %1").arg(localPath_));
    }
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
            Q_EMIT requestSent(retries_ + 1);
            timer_->start(period);
        } else {
            finish(Failed, QStringLiteral("no answer from %1 after %2 requests")
                               .arg(dotted(server_)).arg(kMaxRequests));
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
    if (answerSeen_)
        markStale(peerPort_);
    reportProgress();
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
    buffer_.clear();
    bufferPos_ = 0;
    in_.close();
    out_.reset(); // removes the temporary file of a download that did not complete
    Q_EMIT over(code);
}

bool TftpClient::failStart(int code, const QString &reason)
{
    finish(code, reason);
    return false;
}

// Its own moc output, so a program that links only one of the library's objects does not pull
// in the others through a shared moc file.
#include "moc_tftpclient.cpp"
