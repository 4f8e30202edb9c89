#pragma once

#include "messagecheck.h"
#include "record.h"

#include <deque>

// One machine's recent stops as its samples show them: a stop begins with the first sample that
// is online and not running, and ends with the next one that knits (offline time neither begins
// nor ends one). Reasons are placed on the stop that stood at their `since` (in knitfleet's
// time), give or take kSlackMs; the last pick, by the panel's time, wins. Each change is a
// Record of kind Stop, the stop's row as it stands now, to be written.
class StopBook
{
public:
    static constexpr int kKept = 64;
    static constexpr qint64 kSlackMs = 5000;
    enum class Pick { Taken, Same, Refused };

    // The row to write when the sample begins or ends a stop, or brings one its first alarm.
    bool sample(const Record &s, Record *row);
    // A reason whose stop began at placedMs: Taken (*row to write), Same (a copy or an older pick:
    // nothing changes) or Refused (no stop stood then, or none is known so far back).
    Pick reason(const MessageCheck::Stop &pick, qint64 placedMs, Record *row);
    // A stop read back from the database at start, oldest first.
    void seed(const Record &row);
    // The stop standing now, or nullptr.
    const Record *standing() const;
    bool isEmpty() const { return stops_.empty(); }

private:
    std::deque<Record> stops_;
};
