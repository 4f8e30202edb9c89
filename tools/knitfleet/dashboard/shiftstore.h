#pragma once

#include "openshifts.h"
#include "shiftfigures.h"
#include "shiftplan.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <map>

class FleetDb;

// The shift summaries: each machine's figures per shift and job, worked out from the stored
// samples and kept for ever (the samples go after --keep-days). Closed shifts are summed once
// (again when a late reason changes a stop in them); the open one is summed again every five
// seconds, so the pages read summaries only and are at most ten seconds behind. A change of shift times sums again whatever the
// samples still cover. Work comes in small steps, so the event loop never waits long.
class ShiftStore
{
public:
    static constexpr qint64 kOpenRefreshMs = 5 * 1000;
    static constexpr qint64 kPaceDaysMs = 30LL * 86400 * 1000;
    static constexpr qint64 kMinPaceKnittingS = 900;
    static constexpr int kStepMs = 20; // a step stops after its first sum past this
    static constexpr int kRowsAStatement = 500;

    struct Row
    {
        QString machine; // empty: the floor
        qint64 start = 0;
        qint64 end = 0;
        ShiftFigures::Figures f; // times in ms
        double expected = 0;     // pieces at the jobs' best pace for the knitting time
    };

    ShiftStore(FleetDb *db, const ShiftPlan &plan);
    const ShiftPlan &plan() const { return plan_; }

    // Up to `budget` machine-shifts summed in one transaction, and none begun after kStepMs;
    // false when the database failed. nowMs: up to where the rows are written.
    bool step(qint64 nowMs, int budget = 500);
    // Sums wait that the last step left.
    bool behind() const { return !due_.isEmpty(); }
    // A row written: the open shift's figures go on from it.
    void written(int machine, int job, const Record &row) { open_.written(machine, job, row); }
    // Everything due now (tests, start-up).
    bool catchUp(qint64 nowMs);
    // One machine's figures for [from, to), straight from the samples.
    bool figures(int machine, qint64 from, qint64 to, QMap<QString, ShiftFigures::Figures> *out);
    // Per shift from the summaries: one machine's, or the whole floor's (machine empty).
    bool rows(qint64 from, qint64 to, const QString &machine, bool floor, QList<Row> *out);
    // The closed shifts of the machine that [from, to) touches are summed again.
    void redo(int machine, qint64 from, qint64 to, qint64 nowMs);
    // Where the closed shifts are summed up to (0: nothing yet).
    qint64 summarizedUntil();

private:
    struct Due
    {
        int machine;
        ShiftPlan::Shift shift;
    };
    // A statement prepared once per connection: a catch-up sums machine-shifts by the thousand.
    QSqlQuery &prepared(const QString &sql);
    bool load(const QString &columns, const QString &table, const QString &prior, int machine, qint64 from, qint64 to,
              QList<QVariantList> *out);
    // One machine's rows for [from, to), each list after the last row before it.
    bool read(int machine, qint64 from, qint64 to, QList<Record> *samples, QList<Record> *alarms, QList<Record> *stops);
    void reset();
    bool plan(qint64 nowMs);
    // A machine-shift's figures, and whether they were summed whole (its old rows then go).
    struct Summed
    {
        int machine;
        ShiftPlan::Shift shift;
        QMap<QString, ShiftFigures::Figures> figures;
        bool whole;
    };
    bool summarize(const Due &d, qint64 nowMs, Summed *out);
    // The batch's rows written, a few statements for all.
    bool store(const QList<Summed> &batch);
    bool setting(const QString &name, const QString &value);
    QString setting(const QString &name);

    FleetDb *const db_;
    const ShiftPlan plan_;
    QList<Due> due_;
    QList<Due> redo_; // closed shifts changed by late reasons, due at the next plan
    qint64 openDoneMs_ = 0;
    qint64 pendingUntil_ = 0; // summarized_until once the queue is done
    bool planChecked_ = false;
    std::map<QString, QSqlQuery> prepared_;
    OpenShifts open_;
    int preparedFor_ = -1; // the connection's generation
};
