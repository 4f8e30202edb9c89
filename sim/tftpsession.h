#pragma once

#include "link/tftppacket.h"
#include "link/tftpsocket.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

class FaultLayer;
class QSocketNotifier;
class QTimer;

// One transfer of knitsim's TFTP server on its own port: sends a file (read request) or
// collects one (write request) and saves it whole, with the faults fixed when it began; its
// packets go through the fault layer's network.
class TftpSession : public QObject
{
    Q_OBJECT

public:
    struct Faults
    {
        int silentAfter = -1; // send nothing beyond this block (-1: no limit)
    };

    static const int kRetransmitMs = 1000;
    static const int kMaxRetransmissions = 5;
    // How long a finished write stays to acknowledge its last block again: longer than a
    // client's own retransmission time-out, so a client that lost the final acknowledgement
    // and repeats its last block hears it.
    static const int kDallyMs = 15000;

    // network may be null: a perfect one.
    TftpSession(quint32 serverAddress, quint32 client, quint16 clientPort, const Faults &faults,
                FaultLayer *network, QObject *parent = nullptr);
    ~TftpSession() override;

    bool isOpen() const { return socket_.isOpen(); }
    // The transfer is over; the session only lingers for a lost final acknowledgement.
    bool isDone() const { return done_; }
    // Read request: payload is the whole file.
    void startRead(const QByteArray &payload);
    // Write request: the file is saved to path when its last block arrives.
    void startWrite(const QString &path);
    void refuse(int code, const char *message);

Q_SIGNALS:
    void datagram(const QByteArray &bytes);
    void received(const QString &path);
    void finished();

private:
    void onReadable();
    void onTimer();
    void handle(const TftpPacket::View &v);
    void sendBlock();
    void sendAck(quint16 block);
    void transmit();
    void sendRaw(const QByteArray &packet);
    void sendTo(const QByteArray &packet, quint32 address, quint16 port);
    int retransmitMs() const;
    void end();

    TftpSocket socket_;
    QSocketNotifier *notifier_ = nullptr;
    QTimer *timer_ = nullptr;
    quint32 client_;
    quint16 clientPort_;
    Faults faults_;
    FaultLayer *network_;

    bool writing_ = false;
    bool done_ = false;   // last block sent and acknowledged, or saved and acknowledged
    bool silent_ = false;
    QByteArray payload_;
    QString path_;
    quint16 block_ = 0;   // block last sent (read) or last received (write)
    qint64 offset_ = 0;
    qint64 sequence_ = -1; // blocks sent (read) or acknowledgements sent, 0 for the first (write)
    bool lastSent_ = false;
    int retries_ = 0;
    QByteArray last_;     // the packet last sent, for retransmission
    QElapsedTimer acked_; // since the acknowledgement of the block last received went out
    char receive_[TftpPacket::kMaxPacket];
};
