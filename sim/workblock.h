#pragma once

#include "data/blocksizes.h"

#include <QString>
#include <QtGlobal>

class SimState;

// The controller's work block, kept as work.blk in the root: the last .wrk it received, with
// every value the work-parameter pages set since then at the word its group and index stand
// for, so a test can compare it with the job's .wrk the panel saved.
class WorkBlock
{
public:
    static constexpr char kName[] = "work.blk";
    static constexpr int kSize = int(kWorkSize);

    // A received file: a .wrk becomes the block (cut or zero-filled to the block's size).
    static void received(SimState &state, const QString &name);
    // A 0x22 the controller took; groups other than the work groups are left alone.
    static void setValue(SimState &state, int group, int index, quint16 value);
};
