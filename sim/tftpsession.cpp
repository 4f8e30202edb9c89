#include "tftpsession.h"

#include "faultlayer.h"
#include "tftparrival.h"

#include "platform/atomicfile.h"
#include "platform/panelenv.h"

#include <QHostAddress>
#include <QSocketNotifier>
#include <QTimer>

namespace {

const qint64 kMaxFileSize = 256 * 1024 * 1024;

bool isLoopback(quint32 address)
{
    return (address >> 24) == 127;
}

} // namespace

TftpSession::TftpSession(quint32 serverAddress, quint32 client, quint16 clientPort,
                         const Faults &faults, FaultLayer *network, QObject *parent)
    : QObject(parent), client_(client), clientPort_(clientPort), faults_(faults), network_(network)
{
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &TftpSession::onTimer);
    if (!socket_.bind(QHostAddress(serverAddress), 0))
        return;
    notifier_ = new QSocketNotifier(socket_.fd(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TftpSession::onReadable);
}

TftpSession::~TftpSession() = default;

void TftpSession::startRead(const QByteArray &payload)
{
    payload_ = payload;
    sequence_ = 0;
    sendBlock();
}

void TftpSession::startWrite(const QString &path)
{
    writing_ = true;
    path_ = path;
    sendAck(0);
}

void TftpSession::refuse(int code, const char *message)
{
    char packet[TftpPacket::kMaxPacket];
    const int n = TftpPacket::makeError(code, message, packet, int(sizeof packet));
    sendRaw(QByteArray(packet, n));
    done_ = true;
    // The error leaves before the session goes.
    timer_->start(network_ ? network_->maxLatencyMs(FaultLayer::Tftp) : 0);
}

void TftpSession::onReadable()
{
    receiveTftp(socket_, receive_, network_, [this](const TftpArrival &a) {
        Q_EMIT datagram(a.bytes);
        if (a.address != client_ || a.port != clientPort_) {
            if (isLoopback(a.address) && a.view.opcode != TftpPacket::Error) {
                char packet[64];
                const int length = TftpPacket::makeError(TftpPacket::UnknownTid, "Unknown transfer ID",
                                                         packet, int(sizeof packet));
                sendTo(QByteArray(packet, length), a.address, a.port);
            }
        } else if (a.view.valid) {
            handle(a.view);
        }
    });
}

void TftpSession::handle(const TftpPacket::View &v)
{
    if (v.opcode == TftpPacket::Error) {
        end();
        return;
    }
    if (!writing_) {
        if (v.opcode != TftpPacket::Ack || v.block != block_)
            return; // a repeated acknowledgement is not answered: that way lies the apprentice
        if (lastSent_) {
            done_ = true;
            end();
            return;
        }
        sendBlock();
        return;
    }
    if (v.opcode != TftpPacket::Data)
        return;
    if (v.block == block_) {
        // Our acknowledgement went missing, or the DATA came twice. A copy right behind the
        // first is a duplicate, or the panel's answer to a duplicated acknowledgement; acked
        // again it would double every block from here on. The timer repeats it otherwise.
        if (acked_.isValid() && acked_.elapsed() >= retransmitMs() / 2)
            sendAck(block_);
        return;
    }
    if (done_ || v.block != quint16(block_ + 1))
        return;
    if (payload_.size() + v.dataLength > kMaxFileSize) {
        refuse(TftpPacket::DiskFull, "File too large");
        return;
    }
    payload_.append(v.data, v.dataLength);
    if (v.dataLength < TftpPacket::kBlockSize) {
        if (!AtomicFile::save(path_, payload_)) {
            refuse(TftpPacket::DiskFull, "Cannot write file");
            return;
        }
        done_ = true;
        payload_.clear();
        Q_EMIT received(path_);
    }
    sendAck(v.block);
}

void TftpSession::sendBlock()
{
    const int length = int(qMin<qint64>(TftpPacket::kBlockSize, payload_.size() - offset_));
    char packet[TftpPacket::kMaxPacket];
    block_ = quint16(block_ + 1);
    const int n = TftpPacket::makeData(block_, payload_.constData() + offset_, length, packet, int(sizeof packet));
    offset_ += length;
    ++sequence_;
    lastSent_ = length < TftpPacket::kBlockSize;
    last_ = QByteArray(packet, n);
    retries_ = 0;
    transmit();
}

void TftpSession::sendAck(quint16 block)
{
    if (block != block_ || sequence_ < 0)
        ++sequence_;
    block_ = block;
    char packet[4];
    last_ = QByteArray(packet, TftpPacket::makeAck(block, packet, 4));
    retries_ = 0;
    acked_.start();
    transmit();
}

void TftpSession::transmit()
{
    // Block numbers wrap, so "beyond block N" counts the blocks, not their numbers.
    if (faults_.silentAfter >= 0 && sequence_ > faults_.silentAfter)
        silent_ = true;
    if (!silent_)
        sendRaw(last_);
    timer_->start(done_ && writing_ ? PanelEnv::scaledMs(kDallyMs) + retransmitMs() : retransmitMs());
}

int TftpSession::retransmitMs() const
{
    // A delayed packet must leave before its repeat is due.
    return PanelEnv::scaledMs(kRetransmitMs) + (network_ ? network_->maxLatencyMs(FaultLayer::Tftp) : 0);
}

void TftpSession::sendRaw(const QByteArray &packet)
{
    sendTo(packet, client_, clientPort_);
}

void TftpSession::sendTo(const QByteArray &packet, quint32 address, quint16 port)
{
    FaultLayer::transmit(network_, FaultLayer::Tftp, this, packet, [this, address, port](const QByteArray &b) {
        socket_.sendTo(b.constData(), b.size(), address, port);
    });
}

void TftpSession::onTimer()
{
    if (done_ || silent_ || retries_ >= kMaxRetransmissions) {
        // A finished write lingers so a lost final acknowledgement can be repeated.
        end();
        return;
    }
    ++retries_;
    sendRaw(last_);
    timer_->start(retransmitMs());
}

void TftpSession::end()
{
    timer_->stop();
    if (notifier_)
        notifier_->setEnabled(false);
    Q_EMIT finished();
}
