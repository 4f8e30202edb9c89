#include "worklayout.h"

namespace {

struct Run
{
    int group;
    int base;
    int count;
};

// Object 15 covers the single-piece row, the multi-piece table and the single-piece second row.
constexpr Run kRuns[] = {
    {WorkLayout::Speed, 240, 30}, {WorkLayout::Rollers, 270, 90}, {WorkLayout::CarrierParking, 360, 128},
    {WorkLayout::YarnFeeders, 504, 30}, {WorkLayout::Replace, 696, 80},
};

constexpr int kDensityWords = WorkLayout::kGroups30 * WorkLayout::kDensityWordsPerGroup;

} // namespace

int WorkLayout::word(int group, int address)
{
    if (group == Density) {
        if (address < 0 || address >= kDensityWords)
            return -1;
        return (address % kGroups30) * kDensityWordsPerGroup + address / kGroups30;
    }
    for (const Run &run : kRuns) {
        if (run.group == group)
            return address >= 0 && address < run.count ? run.base + address : -1;
    }
    return -1;
}

int WorkLayout::address(int group, int word)
{
    if (group == Density) {
        if (word < 0 || word >= kDensityWords)
            return -1;
        return (word % kDensityWordsPerGroup) * kGroups30 + word / kDensityWordsPerGroup;
    }
    for (const Run &run : kRuns) {
        if (run.group == group)
            return word >= run.base && word < run.base + run.count ? word - run.base : -1;
    }
    return -1;
}
