#pragma once

#include <QByteArray>
#include <QString>

#include <deque>
#include <functional>
#include <map>
#include <memory>

class OutboxJournal;

// The telemetry messages on their way to the broker, in the order made: those waiting and those
// handed to the MQTT client and not yet acknowledged. States (retained, the latest wins) live in
// memory, at most capacity; past it the oldest waiting state goes. Alarms and stops are events:
// with a journal they are kept on disk until the broker acknowledges each, those a restart
// found first in line; past eventCapacity the oldest waiting one is dropped, counted and told
// on standard error. Filled and emptied on one thread: the client's owner's.
class Outbox
{
public:
    static constexpr int kCapacity = 1000;
    static constexpr int kEventCapacity = 10000;

    enum class Kind { State, Alarm, Stop };
    struct Message
    {
        Kind kind = Kind::State;
        QByteArray topic;
        QByteArray payload;
        bool retain = false;
        quint64 id = 0; // given by push
    };

    explicit Outbox(int capacity = kCapacity, int eventCapacity = kEventCapacity);
    // Events kept in the journal at journalPath (created when missing; a damaged one is read as
    // far as it is whole, what was lost counted as dropped). An event the journal could not
    // keep is still sent while the process lives; `written` hears of each journal write
    // (OutboxJournal::Written), so the operator can be told.
    Outbox(const QString &journalPath, int capacity = kCapacity, int eventCapacity = kEventCapacity,
           std::function<void(bool ok)> written = {});
    ~Outbox();
    Outbox(const Outbox &) = delete;
    Outbox &operator=(const Outbox &) = delete;

    void push(Message message);
    // Called after each push (the client that empties it).
    void setPushed(std::function<void()> pushed) { pushed_ = std::move(pushed); }
    // The oldest waiting message, now in flight; false when none waits or window are in flight.
    bool take(Message *message, int window);
    // A taken message the client could not accept: first in line again, no longer in flight.
    void putBack(Message message);
    // The broker acknowledged message id: it leaves the outbox.
    void delivered(quint64 id);
    // A taken message the client refused for good (too large): dropped.
    void lost(quint64 id);

    int waiting() const;
    int inFlight() const;
    // Messages dropped: states past their bound, events past theirs or lost with a damaged journal.
    quint64 dropped() const;
    // Of them, the alarms and stops.
    quint64 eventsDropped() const { return eventsDropped_; }
    // Returns once every event pushed so far is on disk (tests).
    void flush();

private:
    static bool isEvent(Kind kind) { return kind != Kind::State; }
    // Drops the oldest waiting state or event; false when none waits.
    bool dropOldest(bool event);
    void left(quint64 id, Kind kind);
    // full: past the bound (told on standard error), else lost otherwise.
    void countDropped(bool event, quint64 count, bool full);

    const int capacity_;
    const int eventCapacity_;
    std::unique_ptr<OutboxJournal> journal_;
    std::deque<Message> waiting_;
    std::map<quint64, Kind> inFlight_;
    std::function<void()> pushed_;
    int states_ = 0; // waiting and in flight
    int events_ = 0;
    quint64 nextId_ = 1;
    quint64 dropped_ = 0;
    quint64 eventsDropped_ = 0;
    quint64 overflowed_ = 0; // events dropped past eventCapacity
};
