#include "outbox.h"

#include <algorithm>

Outbox::Outbox(int capacity) : capacity_(std::max(capacity, 1)) {}

void Outbox::push(Message message)
{
    while (int(waiting_.size()) + inFlight_ >= capacity_ && !waiting_.empty())
        makeRoom();
    waiting_.push_back(std::move(message));
    if (pushed_)
        pushed_();
}

void Outbox::makeRoom()
{
    auto state = std::find_if(waiting_.begin(), waiting_.end(), [](const Message &m) { return m.kind == Kind::State; });
    waiting_.erase(state != waiting_.end() ? state : waiting_.begin());
    ++dropped_;
}

bool Outbox::take(Message *message, int window)
{
    if (waiting_.empty() || inFlight_ >= window)
        return false;
    *message = std::move(waiting_.front());
    waiting_.pop_front();
    ++inFlight_;
    return true;
}

void Outbox::putBack(Message message)
{
    waiting_.push_front(std::move(message));
    inFlight_ = std::max(inFlight_ - 1, 0);
}

void Outbox::delivered()
{
    inFlight_ = std::max(inFlight_ - 1, 0);
}

void Outbox::lost()
{
    inFlight_ = std::max(inFlight_ - 1, 0);
    ++dropped_;
}

int Outbox::waiting() const
{
    return int(waiting_.size());
}

int Outbox::inFlight() const
{
    return inFlight_;
}

quint64 Outbox::dropped() const
{
    return dropped_;
}
