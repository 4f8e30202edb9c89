#pragma once

#include "record.h"

#include <deque>

// The rows waiting for the database, in arrival order, at most kMax. When full the oldest
// sample goes first (counted); an alarm event only when no sample is left to drop.
class WriteQueue
{
public:
    static constexpr int kMax = 100000;

    explicit WriteQueue(int max = kMax)
        : max_(max)
    {
    }
    void push(const Record &r);
    int size() const { return int(rows_.size()); }
    bool isEmpty() const { return rows_.empty(); }
    const Record &at(int i) const { return rows_[std::size_t(i)]; }
    // The first n rows were written.
    void drop(int n);
    quint64 dropped() const { return dropped_; }

private:
    const int max_;
    std::deque<Record> rows_;
    quint64 dropped_ = 0;
};
