#pragma once

#include <cstddef>
#include <functional>

// Where a page keeps its values: a word index read and written through two functions, so a
// page can work on the system block, the carrier speed table or a copy of its own alike.
struct WordStore
{
    std::function<unsigned short(int)> get;
    std::function<void(int, unsigned short)> set;

    template <typename Block>
    static WordStore of(Block &block)
    {
        return {[&block](int i) { return block.word(std::size_t(i)); },
                [&block](int i, unsigned short v) { block.setWord(std::size_t(i), v); }};
    }
};
