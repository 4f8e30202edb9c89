#include "faultlayer.h"

#include "controlserver.h"
#include "simjournal.h"

#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace {

const char *const kChannelNames[FaultLayer::kChannels] = {"cmd", "report", "tftp"};

bool number(const QString &text, int limit, int *out)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < 0 || v > limit)
        return false;
    *out = v;
    return true;
}

} // namespace

FaultLayer::FaultLayer(quint32 seed, SimJournal *journal, QObject *parent)
    : QObject(parent), seed_(seed), random_(seed), journal_(journal)
{
}

bool FaultLayer::roll(int percent)
{
    // Drawn only for a fault that is on, so a run's draws depend on its faults and traffic alone.
    return percent > 0 && (percent >= 100 || int(random_() % 100) < percent);
}

bool FaultLayer::admit(Channel channel, const QByteArray &bytes)
{
    if (!roll(settings_[channel].loss))
        return true;
    if (journal_)
        journal_->append(QLatin1String(kChannelNames[channel]) + QStringLiteral("-lost"), bytes);
    return false;
}

void FaultLayer::send(Channel channel, QObject *lane, const QByteArray &bytes, const Sender &send)
{
    const Settings &s = settings_[channel];
    if (roll(s.loss))
        return;
    const int copies = roll(s.duplicate) ? 2 : 1;
    const int delay = s.delayMax > s.delayMin ? s.delayMin + int(random_() % quint32(s.delayMax - s.delayMin + 1)) : s.delayMin;
    if (delay <= 0) {
        deliver(channel, lane, bytes, send, copies);
        return;
    }
    QPointer<FaultLayer> self(this);
    QTimer::singleShot(delay, lane, [self, channel, lane, bytes, send, copies] {
        if (self)
            self->deliver(channel, lane, bytes, send, copies);
    });
}

void FaultLayer::transmit(FaultLayer *network, Channel channel, QObject *lane, const QByteArray &bytes, const Sender &send)
{
    if (network)
        network->send(channel, lane, bytes, send);
    else
        send(bytes);
}

int FaultLayer::maxLatencyMs(Channel channel) const
{
    const Settings &s = settings_[channel];
    return s.delayMax + (s.reorder > 0 ? kReorderMs : 0);
}

void FaultLayer::deliver(Channel channel, QObject *lane, const QByteArray &bytes, const Sender &send, int copies)
{
    if (!held_.contains(lane) && roll(settings_[channel].reorder)) {
        Held &h = held_[lane];
        h = {bytes, send, copies, ++nextId_, {}};
        h.gone = connect(lane, &QObject::destroyed, this, [this, lane] { held_.remove(lane); });
        const quint64 id = h.id;
        QTimer::singleShot(kReorderMs, lane, [this, lane, id] {
            if (held_.value(lane).id == id)
                release(lane);
        });
        return;
    }
    // Copies go back to back, as a network that duplicates a packet delivers them.
    for (int i = 0; i < copies; ++i)
        send(bytes);
    release(lane);
}

void FaultLayer::release(QObject *lane)
{
    const auto it = held_.find(lane);
    if (it == held_.end())
        return;
    const Held h = it.value();
    held_.erase(it);
    disconnect(h.gone);
    for (int i = 0; i < h.copies; ++i)
        h.send(h.bytes);
}

bool FaultLayer::apply(const QStringList &args, QString *why)
{
    const QString kind = args.value(0);
    QList<int> numbers;
    int at = 1;
    for (int v = 0; at < args.size() && number(args[at], kMaxDelayMs, &v); ++at)
        numbers << v;
    QList<int> channels;
    for (; at < args.size(); ++at) {
        int c = 0;
        while (c < kChannels && args[at] != QLatin1String(kChannelNames[c]))
            ++c;
        if (c == kChannels) {
            *why = QStringLiteral("unknown channel %1: cmd, report or tftp").arg(args[at]);
            return false;
        }
        channels << c;
    }
    if (channels.isEmpty())
        channels = {Commands, Reports, Tftp};

    const bool percent = std::all_of(numbers.begin(), numbers.end(), [](int v) { return v <= 100; });
    std::function<void(Settings &)> set;
    if (kind == QLatin1String("loss") && numbers.size() == 1 && percent) {
        set = [&](Settings &s) { s.loss = numbers[0]; };
    } else if (kind == QLatin1String("duplicate") && numbers.size() <= 1 && percent) {
        set = [&](Settings &s) { s.duplicate = numbers.value(0, 100); };
    } else if (kind == QLatin1String("reorder") && numbers.size() == 1 && percent) {
        set = [&](Settings &s) { s.reorder = numbers[0]; };
    } else if (kind == QLatin1String("delay") && !numbers.isEmpty() && numbers.size() <= 2 && numbers.last() >= numbers[0]) {
        set = [&](Settings &s) {
            s.delayMin = numbers[0];
            s.delayMax = numbers.last();
        };
    } else {
        *why = QStringLiteral("usage: fault loss P | duplicate [P] | reorder P | delay MIN [MAX] (P 0-100, ms 0-%1), "
                              "then the channels: cmd report tftp (none: all)").arg(kMaxDelayMs);
        return false;
    }
    for (int c : channels)
        set(settings_[c]);
    return true;
}

void FaultLayer::clear()
{
    for (Settings &s : settings_)
        s = Settings();
}

QStringList FaultLayer::describe() const
{
    QStringList out{QStringLiteral("seed %1").arg(seed_)};
    for (int c = 0; c < kChannels; ++c) {
        const Settings &s = settings_[c];
        if (s.loss || s.duplicate || s.reorder || s.delayMax)
            out << QStringLiteral("network %1 loss %2 duplicate %3 reorder %4 delay %5 %6")
                       .arg(QLatin1String(kChannelNames[c]))
                       .arg(s.loss)
                       .arg(s.duplicate)
                       .arg(s.reorder)
                       .arg(s.delayMin)
                       .arg(s.delayMax);
    }
    return out;
}

void FaultLayer::registerCommands(ControlServer &control)
{
    control.registerFaults({QStringLiteral("loss"), QStringLiteral("duplicate"), QStringLiteral("reorder"), QStringLiteral("delay")},
                           [this](const QStringList &args, QString *why) { return apply(args, why); });
    control.registerCommand(QStringLiteral("fault clear"), [this](const QStringList &) {
        clear();
        return ControlReply::ok();
    });
    control.registerCommand(QStringLiteral("state"), [this](const QStringList &) { return ControlReply::ok(describe()); });
}
