#pragma once

#include "record.h"

#include <QtGlobal>

#include <deque>

// One machine's pace and its open shift so far, from every state it sends: knitting time (each
// state holds until the next, at most kMaxGapMs), the pieces' completions within a job, and the
// shift's knitting, stopped and planned stopped time. The ETA is the pieces left over the pace
// of the last kWindowMs of knitting, known from the second piece seen on.
class MachinePace
{
public:
    static constexpr qint64 kWindowMs = 30 * 60 * 1000;
    static constexpr qint64 kMaxGapMs = 60000;
    static constexpr int kKept = 64;

    // A state as knitfleet read it (t, job, pieces, target, running, online); plannedStop: the
    // machine stands for a planned reason; shiftStart: the open shift's.
    void take(const Record &s, bool plannedStop, qint64 shiftStart);
    // When the target is reached at this pace (ms since the epoch), or -1 when unknown or done.
    qint64 eta(qint64 nowMs) const;
    // Knitting ÷ (knitting + stopped − planned stops) of the open shift, -1 when nothing counted.
    double availability() const;

private:
    struct Piece
    {
        qint64 knitMs;
        int pieces;
    };
    Record last_;
    bool heard_ = false;
    qint64 knitMs_ = 0; // knitting time in the job so far
    std::deque<Piece> pieces_;
    qint64 shiftStart_ = 0;
    qint64 shiftKnitMs_ = 0;
    qint64 shiftStopMs_ = 0;
    qint64 shiftPlannedMs_ = 0;
};
