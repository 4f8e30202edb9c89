#pragma once

#include <QByteArray>
#include <QHash>
#include <QMetaObject>
#include <QObject>
#include <QStringList>

#include <functional>
#include <random>

class ControlServer;
class SimJournal;

// The network between knitsim and the panel, as bad as a test asks: every datagram knitsim
// receives or sends on its UDP ports (commands, reports, TFTP) passes here and may be lost,
// duplicated, delayed or overtaken by the next one. The faults are drawn from one random
// stream seeded at start, so the same seed and the same traffic make the same faults.
class FaultLayer : public QObject
{
    Q_OBJECT

public:
    enum Channel { Commands, Reports, Tftp, kChannels };
    using Sender = std::function<void(const QByteArray &)>;

    static constexpr int kMaxDelayMs = 60000;
    // A datagram held back goes after the next one of its sender, or after this long.
    static constexpr int kReorderMs = 100;

    explicit FaultLayer(quint32 seed, SimJournal *journal = nullptr, QObject *parent = nullptr);

    quint32 seed() const { return seed_; }

    // A datagram that arrived on the channel: false when the network lost it on its way in
    // (it is journaled as "CHANNEL-lost", never as received).
    bool admit(Channel channel, const QByteArray &bytes);
    // Sends bytes by send for lane, the sending object: at once, not at all, twice, later, or
    // after the lane's next datagram. Datagrams still waiting go with their lane.
    void send(Channel channel, QObject *lane, const QByteArray &bytes, const Sender &send);
    // The same through network, or straight through send when there is none.
    static void transmit(FaultLayer *network, Channel channel, QObject *lane, const QByteArray &bytes, const Sender &send);
    // How much later than sent a datagram of the channel may leave: a sender that repeats
    // unanswered packets, or goes away after its last one, waits that much longer.
    int maxLatencyMs(Channel channel) const;

    // One fault as the control line gives it, without the word "fault": "loss P",
    // "duplicate [P]", "reorder P", "delay MIN [MAX]", each followed by the channels it is
    // for ("cmd", "report", "tftp"; none: all three). False, with the reason, otherwise.
    bool apply(const QStringList &args, QString *why);
    void clear();
    // fault loss|duplicate|reorder|delay, fault clear, and the seed and faults in state.
    void registerCommands(ControlServer &control);
    QStringList describe() const;

private:
    struct Settings
    {
        int loss = 0;      // percent of datagrams lost, either way
        int duplicate = 0; // percent of datagrams sent twice
        int reorder = 0;   // percent of datagrams held back behind the next one
        int delayMin = 0;
        int delayMax = 0;
    };
    struct Held
    {
        QByteArray bytes;
        Sender send;
        int copies = 1;
        quint64 id = 0;
        QMetaObject::Connection gone;
    };

    bool roll(int percent);
    void deliver(Channel channel, QObject *lane, const QByteArray &bytes, const Sender &send, int copies);
    void release(QObject *lane);

    Settings settings_[kChannels];
    quint32 seed_;
    std::mt19937 random_;
    SimJournal *journal_;
    QHash<QObject *, Held> held_;
    quint64 nextId_ = 0;
};
