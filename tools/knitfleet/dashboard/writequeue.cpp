#include "writequeue.h"

#include <algorithm>
#include <limits>

std::size_t WriteQueue::waiting(const QString &machine) const
{
    const auto it = rows_.constFind(machine);
    return it == rows_.constEnd() ? 0 : it->size();
}

void WriteQueue::push(const Record &r)
{
    if (size_ >= max_ && waiting(largest_) == 0) {
        for (auto it = rows_.cbegin(); it != rows_.cend(); ++it)
            largest_ = it->size() > waiting(largest_) ? it.key() : largest_;
    }
    if (size_ >= max_ && waiting(largest_) > 0) {
        std::deque<Record> &rows = rows_[largest_];
        const auto victim = std::find_if(rows.begin(), rows.end(), [](const Record &x) { return x.kind == Record::Sample; });
        rows.erase(victim == rows.end() ? rows.begin() : victim);
        --size_;
        ++dropped_;
    }
    std::deque<Record> &mine = rows_[r.machine];
    if (mine.empty())
        turn_.push_back(r.machine);
    mine.push_back(r);
    ++size_;
    if (r.machine != largest_ && mine.size() > waiting(largest_))
        largest_ = r.machine;
}

const std::vector<Record> &WriteQueue::next(int n)
{
    batch_.clear();
    taken_.clear();
    firstRound_ = 0;
    std::vector<QString> active(turn_.begin(), turn_.end());
    for (std::size_t depth = 0; int(batch_.size()) < n && !active.empty(); ++depth) {
        std::vector<QString> still;
        for (const QString &m : active) {
            const std::deque<Record> &rows = rows_[m];
            if (depth >= rows.size())
                continue;
            if (int(batch_.size()) >= n)
                break;
            batch_.push_back(rows[depth]);
            taken_[m] = int(depth) + 1;
            firstRound_ += depth == 0 ? 1 : 0;
            still.push_back(m);
        }
        active.swap(still);
    }
    return batch_;
}

void WriteQueue::done()
{
    for (auto it = taken_.cbegin(); it != taken_.cend(); ++it) {
        std::deque<Record> &rows = rows_[it.key()];
        rows.erase(rows.begin(), rows.begin() + std::min<std::size_t>(std::size_t(it.value()), rows.size()));
        size_ -= it.value();
    }
    // Those served first go to the back of the line.
    std::rotate(turn_.begin(), turn_.begin() + std::min<std::size_t>(std::size_t(firstRound_), turn_.size()), turn_.end());
    turn_.erase(std::remove_if(turn_.begin(), turn_.end(), [this](const QString &m) { return waiting(m) == 0; }), turn_.end());
    for (auto it = rows_.begin(); it != rows_.end();)
        it = it->empty() ? rows_.erase(it) : std::next(it);
    batch_.clear();
    taken_.clear();
    firstRound_ = 0;
}

qint64 WriteQueue::oldest() const
{
    qint64 t = std::numeric_limits<qint64>::max();
    for (const std::deque<Record> &rows : rows_) {
        const auto first = std::find_if(rows.begin(), rows.end(), [](const Record &r) { return r.kind != Record::Stop; });
        t = first == rows.end() ? t : std::min(t, first->t);
    }
    return t;
}
