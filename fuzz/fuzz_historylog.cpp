// Feeds arbitrary bytes to the history log reader as the page and knitjob read a damaged or
// hostile log: it must not crash, every entry it keeps must be a whole event, and the sums over
// them must stay sane.
#include "data/historylog.h"
#include "seeds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const HistoryLog::Read r = HistoryLog::parse(bytes);
    for (const HistoryLog::Entry &e : r.entries)
        ABORT_IF(!e.time.isValid() || e.count < 3 || e.fields().size() != e.count);
    const QDateTime now(QDate(2026, 12, 6), QTime(12, 0));
    for (const HistoryLog::Frequent &f : HistoryLog::frequentAlarms(r.entries, now.addDays(-7), now))
        ABORT_IF(f.count <= 0 || f.standingSeconds < 0);
    for (const HistoryLog::Day &d : HistoryLog::days(r.entries, now.date().addDays(-6), now.date(), now))
        ABORT_IF(d.knittingSeconds < 0 || d.stoppedSeconds < 0 || d.knittingSeconds + d.stoppedSeconds > 86400);
    HistoryLog::csv(HistoryLog::alarmHeader(), r.entries);
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    return {"2026-12-06T10:00:00\traised\t2\t23\t撞针报警 ! \tJ\t0005\t4\n"
            "2026-12-06T10:05:00\tcleared\t0\t0\t\tJ\t0005\t4\n"
            "2026-12-06T10:09:00\treason\t1\t7\t休息\tJ\t0005\t4\n",
            "2026-12-05T22:00:00\tstart\tJ\n2026-12-05T23:00:00\tpiece\tJ\t1\t9\n2026-12-06T02:00:00\tstop\tJ\n"};
}
