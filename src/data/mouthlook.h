#pragma once

#include <array>

// Which labels of the carrier start-position strip are dark: for each carrier the first
// program row that uses it decides the side (odd rows start at the left, even at the right);
// with replacement on and a single piece the replacing carrier is marked instead.
class MouthLook
{
public:
    static constexpr int kCarriers = 8;
    using Rows = std::array<int, kCarriers>; // 0: no row uses the carrier

    struct Strip
    {
        std::array<bool, kCarriers> left{};
        std::array<bool, kCarriers> right{};
    };

    // From the loaded program (rows 1 ... para_cur word 4).
    static Rows firstRows();
    // replacement[c]: the carrier that replaces carrier c + 1 (para_work word 696 + c).
    static Strip look(const Rows &first, bool replaceOn, int pieces, const std::array<int, kCarriers> &replacement);
    // look() from para_system and para_work.
    static Strip current(const Rows &first);
};
