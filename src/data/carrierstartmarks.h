#pragma once

#include <array>

class MachineData;

// Which labels of the carrier start-position strip are dark: for each carrier the first
// program row that uses it decides the side (odd rows start at the left, even at the right);
// with replacement on and a single piece the replacing carrier is marked instead.
class CarrierStartMarks
{
public:
    static constexpr int kCarriers = 8;
    using Rows = std::array<int, kCarriers>; // 0: no row uses the carrier

    struct Strip
    {
        std::array<bool, kCarriers> left{};
        std::array<bool, kCarriers> right{};
    };

    // From data's program (rows 1 ... the controller state's row count).
    static Rows firstRows(const MachineData &data);
    // replacement[c]: the carrier that replaces carrier c + 1 (work word 696 + c).
    static Strip look(const Rows &first, bool replaceOn, int pieces, const std::array<int, kCarriers> &replacement);
    // look() from data's system and work blocks.
    static Strip current(const MachineData &data, const Rows &first);
};
