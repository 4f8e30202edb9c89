#pragma once

class FleetDb;

// Drops samples older than keepDays, alarm events and audit rows older than 400 days; shift summaries stay
// for ever. Each step deletes one machine's rows of at most an hour, so a delete never holds
// the writer (and with it the event loop) for long, however much is due. At the end of each
// round the ids nothing needs any more go too, a batch at a time: job names unused since the
// samples' cutoff and in no alarm event, machines without samples, events or summaries.
class Retention
{
public:
    static constexpr int kAlarmDays = 400;
    static constexpr long long kBatchMs = 3600LL * 1000;

    Retention(FleetDb *db, int keepDays);
    // One batch; true when more is due now, false when done (or the database failed).
    bool step(long long nowMs);
    // Whether ids were deleted since the last call: whoever keeps ids must forget them.
    bool takeIdsPruned();

private:
    static constexpr int kIdBatch = 500;

    bool prune(const char *table, int machine, long long cutoff, bool *more);
    bool pruneIds(long long nowMs);

    FleetDb *const db_;
    const int keepDays_;
    int machine_ = 0; // the last machine pruned; the next step takes the next one
    bool idsPruned_ = false;
};
