#pragma once

#include "paramblock.h"

#include <QByteArray>

#include <cstddef>
#include <cstring>
#include <functional>
#include <utility>

// A parameter block that tells its owner of every write that changed it: reads as ParamBlock
// does; each write compares first, so one that leaves the bytes as they were tells nothing,
// and a write of many bytes at once (assign, fill, clear) tells once.
template <std::size_t N>
class WatchedBlock
{
public:
    static constexpr std::size_t size = N;

    explicit WatchedBlock(std::function<void()> changed) : changed_(std::move(changed)) {}
    WatchedBlock(const WatchedBlock &) = delete;
    WatchedBlock &operator=(const WatchedBlock &) = delete;

    const ParamBlock<N> &block() const { return block_; }
    const unsigned char *data() const { return block_.data(); }
    unsigned char byte(std::size_t i) const { return block_.byte(i); }
    unsigned short word(std::size_t n) const { return block_.word(n); }
    QByteArray toByteArray() const { return block_.toByteArray(); }

    void setByte(std::size_t i, unsigned char v)
    {
        if (i < N && block_.byte(i) != v) {
            block_.setByte(i, v);
            changed_();
        }
    }
    void setWord(std::size_t n, unsigned short v)
    {
        if (n < N / 2 && block_.word(n) != v) {
            block_.setWord(n, v);
            changed_();
        }
    }
    void assign(const ParamBlock<N> &value)
    {
        if (value != block_) {
            block_ = value;
            changed_();
        }
    }
    // Copies at most N bytes of data over the start of the block; returns how many.
    std::size_t fill(const QByteArray &data)
    {
        ParamBlock<N> next = block_;
        const std::size_t n = next.fill(data);
        assign(next);
        return n;
    }
    void clear() { assign(ParamBlock<N>()); }

private:
    ParamBlock<N> block_;
    std::function<void()> changed_;
};
