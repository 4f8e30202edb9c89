#pragma once

#include <QByteArray>

#include <deque>
#include <functional>

// The telemetry messages on their way to the broker: those waiting and those handed to the MQTT
// client and not yet acknowledged, at most kCapacity together. When full, the oldest waiting
// state goes first; an alarm is dropped only when no state waits (then the oldest alarm).
// Filled and emptied on one thread: the client's owner's.
class Outbox
{
public:
    static constexpr int kCapacity = 1000;

    enum class Kind { State, Alarm, Stop }; // alarms and stops are events: a state goes first
    struct Message
    {
        Kind kind = Kind::State;
        QByteArray topic;
        QByteArray payload;
        bool retain = false;
    };

    explicit Outbox(int capacity = kCapacity);

    void push(Message message);
    // Called after each push (the client that empties it).
    void setPushed(std::function<void()> pushed) { pushed_ = std::move(pushed); }
    // The oldest waiting message, now in flight; false when none waits or window are in flight.
    bool take(Message *message, int window);
    // A taken message the client could not accept: first in line again, no longer in flight.
    void putBack(Message message);
    // A message in flight was acknowledged by the broker.
    void delivered();
    // A taken message the client refused for good (too large): dropped.
    void lost();

    int waiting() const;
    int inFlight() const;
    quint64 dropped() const;

private:
    void makeRoom();

    const int capacity_;
    std::deque<Message> waiting_;
    std::function<void()> pushed_;
    int inFlight_ = 0;
    quint64 dropped_ = 0;
};
