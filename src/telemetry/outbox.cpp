#include "outbox.h"

#include "outboxjournal.h"

#include <algorithm>
#include <cstdio>

namespace {

// Told on the first drop and then every this many, so a flood of alarms does not flood the log.
constexpr quint64 kDropReportEvery = 100;

} // namespace

Outbox::Outbox(int capacity, int eventCapacity) : capacity_(std::max(capacity, 1)), eventCapacity_(std::max(eventCapacity, 1)) {}

Outbox::Outbox(const QString &journalPath, int capacity, int eventCapacity, std::function<void(bool ok)> written)
    : Outbox(capacity, eventCapacity)
{
    journal_ = std::make_unique<OutboxJournal>(journalPath, std::move(written));
    OutboxJournal::Contents c = journal_->open(eventCapacity_);
    if (c.damaged > 0)
        std::fprintf(stderr, "knitpanel: telemetry outbox %s: %d damaged records skipped\n",
                     journalPath.toLocal8Bit().constData(), c.damaged);
    countDropped(true, quint64(c.damaged), false);
    countDropped(true, quint64(c.overflow), true);
    nextId_ = c.lastSeq + 1;
    for (OutboxJournal::Entry &e : c.pending) {
        waiting_.push_back({e.stop ? Kind::Stop : Kind::Alarm, std::move(e.topic), std::move(e.payload), false, e.seq});
        ++events_;
    }
}

Outbox::~Outbox() = default;

void Outbox::push(Message message)
{
    const bool event = isEvent(message.kind);
    while ((event ? events_ >= eventCapacity_ : states_ >= capacity_) && dropOldest(event)) {
    }
    message.id = nextId_++;
    // A message too long for a journal record is still sent while the panel runs.
    if (event && journal_)
        journal_->append({message.id, message.kind == Kind::Stop, message.topic, message.payload});
    ++(event ? events_ : states_);
    waiting_.push_back(std::move(message));
    if (pushed_)
        pushed_();
}

bool Outbox::dropOldest(bool event)
{
    const auto oldest = std::find_if(waiting_.begin(), waiting_.end(), [event](const Message &m) { return isEvent(m.kind) == event; });
    if (oldest == waiting_.end())
        return false; // all of the kind in flight: only a window wider than the bound
    const Message gone = std::move(*oldest);
    waiting_.erase(oldest);
    left(gone.id, gone.kind);
    countDropped(event, 1, true);
    return true;
}

void Outbox::left(quint64 id, Kind kind)
{
    if (!isEvent(kind)) {
        --states_;
        return;
    }
    --events_;
    if (journal_)
        journal_->done(id);
}

void Outbox::countDropped(bool event, quint64 count, bool full)
{
    dropped_ += count;
    if (!event)
        return;
    eventsDropped_ += count;
    if (!full || count == 0)
        return;
    const quint64 before = overflowed_;
    overflowed_ += count;
    if (before == 0 || before / kDropReportEvery != overflowed_ / kDropReportEvery)
        std::fprintf(stderr, "knitpanel: telemetry outbox full: %llu alarm and stop messages dropped, the oldest first\n",
                     static_cast<unsigned long long>(overflowed_));
}

bool Outbox::take(Message *message, int window)
{
    if (waiting_.empty() || int(inFlight_.size()) >= window)
        return false;
    *message = std::move(waiting_.front());
    waiting_.pop_front();
    inFlight_[message->id] = message->kind;
    return true;
}

void Outbox::putBack(Message message)
{
    inFlight_.erase(message.id);
    waiting_.push_front(std::move(message));
}

void Outbox::delivered(quint64 id)
{
    const auto it = inFlight_.find(id);
    if (it == inFlight_.end())
        return;
    const Kind kind = it->second;
    inFlight_.erase(it);
    left(id, kind);
}

void Outbox::lost(quint64 id)
{
    const auto it = inFlight_.find(id);
    if (it == inFlight_.end())
        return;
    const bool event = isEvent(it->second);
    delivered(id);
    countDropped(event, 1, false);
}

int Outbox::waiting() const
{
    return int(waiting_.size());
}

int Outbox::inFlight() const
{
    return int(inFlight_.size());
}

quint64 Outbox::dropped() const
{
    return dropped_;
}

void Outbox::flush()
{
    if (journal_)
        journal_->flush();
}
