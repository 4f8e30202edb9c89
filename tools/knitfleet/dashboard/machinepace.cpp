#include "machinepace.h"

#include <algorithm>

void MachinePace::take(const Record &s, bool plannedStop, qint64 shiftStart)
{
    if (shiftStart != shiftStart_) {
        shiftStart_ = shiftStart;
        shiftKnitMs_ = shiftStopMs_ = shiftPlannedMs_ = 0;
    }
    if (heard_ && last_.online) {
        // The last state held until this one, from the shift's start on.
        const qint64 held = qBound<qint64>(0, s.t - std::max(last_.t, shiftStart), kMaxGapMs);
        const qint64 knitted = qBound<qint64>(0, s.t - last_.t, kMaxGapMs);
        if (last_.running) {
            knitMs_ += knitted;
            shiftKnitMs_ += held;
        } else {
            shiftStopMs_ += held;
            shiftPlannedMs_ += plannedStop ? held : 0;
        }
    }
    if (!heard_ || s.job != last_.job || s.pieces < last_.pieces) {
        pieces_.clear();
        knitMs_ = 0;
    } else if (s.pieces > last_.pieces) {
        if (pieces_.size() >= std::size_t(kKept))
            pieces_.pop_front();
        pieces_.push_back({knitMs_, s.pieces});
    }
    last_ = s;
    heard_ = true;
}

qint64 MachinePace::eta(qint64 nowMs) const
{
    const int left = last_.target - last_.pieces;
    if (pieces_.size() < 2 || left <= 0)
        return -1;
    const Piece &newest = pieces_.back();
    // The oldest completion within the window, or the one just before it.
    auto first = std::find_if(pieces_.begin(), pieces_.end(), [&](const Piece &p) { return p.knitMs >= newest.knitMs - kWindowMs; });
    if (first == pieces_.end() - 1)
        --first;
    const double msPerPiece = double(newest.knitMs - first->knitMs) / double(newest.pieces - first->pieces);
    const qint64 into = last_.running ? knitMs_ - newest.knitMs : 0;
    return nowMs + std::max<qint64>(0, qint64(msPerPiece * left) - into);
}

double MachinePace::availability() const
{
    const qint64 counted = shiftKnitMs_ + shiftStopMs_ - shiftPlannedMs_;
    return counted > 0 ? double(shiftKnitMs_) / double(counted) : -1;
}
