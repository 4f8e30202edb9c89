#include "writequeue.h"

#include <algorithm>

void WriteQueue::push(const Record &r)
{
    if (int(rows_.size()) >= max_) {
        auto victim = std::find_if(rows_.begin(), rows_.end(), [](const Record &x) { return x.kind == Record::Sample; });
        rows_.erase(victim == rows_.end() ? rows_.begin() : victim);
        ++dropped_;
    }
    rows_.push_back(r);
}

void WriteQueue::drop(int n)
{
    rows_.erase(rows_.begin(), rows_.begin() + std::min<std::size_t>(std::size_t(n), rows_.size()));
}
