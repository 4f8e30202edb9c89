#pragma once

#include "record.h"

#include <QHash>
#include <QString>

#include <deque>
#include <vector>

// The rows waiting for the database, each machine's in arrival order, at most kMax in all. The
// writer takes them in turn from every machine that has rows waiting, so a machine with a long
// backlog (a flood) gets the same share of a transaction as any other and delays no other's
// rows. When full, the machine with the most rows waiting loses its oldest sample (counted); an
// alarm event or stop only when it has no sample left.
class WriteQueue
{
public:
    static constexpr int kMax = 100000;

    explicit WriteQueue(int max = kMax)
        : max_(max)
    {
    }
    void push(const Record &r);
    int size() const { return size_; }
    bool isEmpty() const { return size_ == 0; }
    // Up to n rows, one from each machine in turn; they stay queued until done().
    const std::vector<Record> &next(int n);
    // The rows next() gave were written.
    void done();
    quint64 dropped() const { return dropped_; }
    // The time of the oldest sample or alarm event waiting (stops carry their start).
    qint64 oldest() const;

private:
    std::size_t waiting(const QString &machine) const;

    const int max_;
    QHash<QString, std::deque<Record>> rows_;
    std::deque<QString> turn_; // the machines with rows waiting, the next to be served first
    QString largest_;          // the machine with the most rows waiting, roughly
    std::vector<Record> batch_;
    QHash<QString, int> taken_; // of each machine, in the batch
    int firstRound_ = 0;        // machines served in the batch's first round
    int size_ = 0;
    quint64 dropped_ = 0;
};
