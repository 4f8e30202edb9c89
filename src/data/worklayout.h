#pragma once

// Where the work-parameter groups keep their values in the work block: the setting index a group's
// SetCommand carries and the word it stands for, both ways. The density table is sent transposed
// (index k * 30 + group for word group * 8 + k); the others are a run of words from a base.
class WorkLayout
{
public:
    enum Group { Density = 2, Speed = 3, Rollers = 4, CarrierParking = 5, YarnFeeders = 9, Replace = 15 };

    static constexpr int kWords = 778;
    static constexpr int kGroups30 = 30;
    static constexpr int kDensityWordsPerGroup = 8;

    // The word of the work block; -1 for a group or index that is not a work parameter.
    static int word(int group, int address);
    // The index sent for a word of the group; -1 when the word is not the group's.
    static int address(int group, int word);
};
