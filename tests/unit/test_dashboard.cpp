// knitfleet serve's recording and shift figures, without HTTP, on SQLite and on a throwaway
// PostgreSQL. Faults caught: a piece reset or a job change counted as output (or as negative
// output); an offline or silent machine counted as knitting; an alarm's standing time not
// split at a shift boundary; a stop's reason lost, misplaced by a panel clock hours off or by
// coming late (after its shift was summed), doubled by a QoS 1 copy, or not replaced by a later
// pick; a stop with an alarm counted as unexplained; a reason for a time the machine knitted
// taken; a flood of one machine delaying another's rows; machines whose samples are gone still
// counted toward the floor's cap; a version-1 database not migrated, or a newer one written to; rows
// lost, duplicated or reordered while PostgreSQL was down; a second knitfleet let write to the
// same PostgreSQL database; a crash, a corrupt file or lost rows
// when the file system is full; a panel's flood of messages or job names kept whole. (A second
// knitfleet on the same file is the server test's.)
#include "postgresprocess.h"
#include "testtable.h"

#include "dashboard/dashboard.h"
#include "dashboard/isotime.h"
#include "dashboard/migrations.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace {

// Shift A runs 08:00-08:10 (600 s), shift B from 08:10; T0 is A's start, in UTC.
const qint64 kT0 = QDateTime(QDate(2026, 3, 2), QTime(8, 0), Qt::UTC).toMSecsSinceEpoch();

struct Step
{
    int s;           // seconds after T0
    QByteArray leaf; // state, status, alarm, stop, or settle (the shifts due summed then)
    QByteArray payload;
};

// The panel's clock at s, offsetS ahead of knitfleet's.
QString panelTime(int s, int offsetS)
{
    return QDateTime::fromMSecsSinceEpoch(kT0 + (s + offsetS) * 1000LL, Qt::UTC).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

// States every 30 s from `from` to `to`, stopped in [stopFrom, stopTo), with the panel's clock.
QList<Step> stands(int from, int to, int stopFrom, int stopTo, int offsetS)
{
    QList<Step> out;
    for (int s = from; s < to; s += 30) {
        const bool running = s < stopFrom || s >= stopTo;
        out.append({s, "state", QStringLiteral("{\"job\":\"J1\",\"running\":%1,\"pieces\":0,\"time\":\"%2\"}")
                                      .arg(running ? "true" : "false", panelTime(s, offsetS)).toUtf8()});
    }
    return out;
}

// A reason picked at `at` for the stop that began at `since`, sent at s.
Step pick(int s, int code, bool planned, int since, int at, int offsetS)
{
    return {s, "stop", QStringLiteral("{\"code\":%1,\"job\":\"J1\",\"machine\":\"M1\",\"pieces\":0,\"planned\":%2,\"row\":1,"
                                      "\"since\":\"%3\",\"text\":\"<b>停\",\"time\":\"%4\"}")
                           .arg(code).arg(planned ? "true" : "false", panelTime(since, offsetS), panelTime(at, offsetS)).toUtf8()};
}

QByteArray state(const char *job, bool running, int pieces, bool alarm = false)
{
    return QStringLiteral("{\"job\":\"%1\",\"running\":%2,\"pieces\":%3,\"target\":50,\"row\":1,\"rows\":10,\"alarm\":%4}")
        .arg(QLatin1String(job), running ? "true" : "false").arg(pieces)
        .arg(alarm ? QLatin1String("{\"type\":2,\"code\":23,\"text\":\"撞针报警\"}") : QLatin1String("null")).toUtf8();
}

QByteArray alarm(const char *event, int s)
{
    const QString time = QDateTime::fromMSecsSinceEpoch(kT0 + s * 1000LL, Qt::UTC).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    return QStringLiteral("{\"event\":\"%1\",\"type\":2,\"code\":23,\"text\":\"撞针报警\",\"job\":\"J1\",\"row\":1,\"pieces\":0,\"time\":\"%2\"}")
        .arg(QLatin1String(event), time).toUtf8();
}

// States every 30 s from `from` to `to` (exclusive), pieces from `pieces(s)`.
template <class F>
QList<Step> every30(int from, int to, F make)
{
    QList<Step> out;
    for (int s = from; s < to; s += 30)
        out.append({s, "state", make(s)});
    return out;
}

// Per shift: start offset, pieces, knitting, stopped, no-data, alarms, alarm seconds, planned,
// unplanned and unexplained stopped seconds.
using Figures = QList<QList<qint64>>;

} // namespace

class TestDashboard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("TZ", "UTC");
        ::tzset();
        if (PostgresProcess::available(&pgWhy_))
            QVERIFY2(pg_.start(&pgWhy_), qPrintable(pgWhy_));
        pgReady_ = pg_.port() != 0;
    }

    void figures_data()
    {
        TestTable::columns<bool, QList<Step>, Figures>("postgres", "steps", "expected");
        const Step online{-31, "status", "online"};
        // Shift B of the first three: the last state (570) holds 60 s, then nothing is heard.
        const QList<qint64> kSilentAfter{600, 0, 30, 0, 570, 0, 0, 0, 0, 0};
        const int hours3 = 3 * 3600;
        for (const bool pg : {false, true}) {
            const char *db = pg ? "postgresql" : "sqlite";
            // 5 → 6 → 7 → 8, reset to 0, then 1, 2: five pieces, the first counted from the
            // sample before the shift.
            static const int reset[] = {5, 6, 7, 8, 0, 1, 2};
            QTest::addRow("%s: piece reset", db) << pg
                << (QList<Step>{online, {61, "settle", {}}, {95, "settle", {}}} + every30(-30, 600, [](int s) { return state("J1", true, reset[qMin(s / 30 + 1, 6)]); }))
                << Figures{{0, 5, 600, 0, 0, 0, 0, 0, 0, 0}, kSilentAfter};
            // J1 10 → 11 → 12 and stopped for 120 s; J2 starts at its own 30 and makes one.
            QTest::addRow("%s: job change", db) << pg
                << (QList<Step>{online} + every30(-30, 600, [](int s) {
                       return s < 0 ? state("J1", true, 10) : s < 30 ? state("J1", true, 11)
                            : s < 150 ? state("J1", false, 12) : s < 180 ? state("J2", true, 30) : state("J2", true, 31);
                   }))
                << Figures{{0, 3, 480, 120, 0, 0, 0, 0, 0, 120}, kSilentAfter};
            // Silent from 120 (heard until 180) to 300, offline from 450 to 510.
            QTest::addRow("%s: offline gap", db) << pg
                << (QList<Step>{online} + every30(-30, 150, [](int) { return state("J1", true, 3); })
                    + every30(300, 450, [](int) { return state("J1", true, 3); }) + QList<Step>{{450, "status", "offline"}, {510, "status", "online"}}
                    + every30(510, 600, [](int) { return state("J1", true, 3); }))
                << Figures{{0, 0, 420, 0, 180, 0, 0, 0, 0, 0}, kSilentAfter};
            // Raised at 480 in shift A, cleared at 690 in shift B.
            // Summed at 650 and 900 on the way: the open shift goes on from those sums.
            QTest::addRow("%s: alarm across a shift boundary", db) << pg
                << (QList<Step>{online, {650, "settle", {}}, {900, "settle", {}}} + every30(-30, 480, [](int) { return state("J1", true, 0); })
                    + QList<Step>{{480, "alarm", alarm("raised", 480)}, {500, "alarm", alarm("acknowledged", 500)}}
                    + every30(480, 690, [](int) { return state("J1", false, 0, true); }) + QList<Step>{{690, "alarm", alarm("cleared", 690)}}
                    + every30(690, 1200, [](int) { return state("J1", true, 0); }))
                << Figures{{0, 0, 480, 120, 0, 1, 120, 0, 120, 0}, {600, 0, 510, 90, 0, 0, 90, 0, 90, 0}};
            // Stopped 120-300 on a panel 3 h ahead; the break is picked at 130 and arrives at
            // 800, after shift A was summed: all 180 s planned.
            QTest::addRow("%s: late reason, panel clock 3 h off", db) << pg
                << (QList<Step>{online} + stands(-30, 600, 120, 300, hours3)
                    + QList<Step>{{700, "settle", {}}, pick(800, 7, true, 120, 130, hours3)})
                << Figures{{0, 0, 420, 180, 0, 0, 0, 180, 0, 0}, kSilentAfter};
            // A yarn change (unplanned) 60-120, then a stop no one explains 300-360, and a reason
            // for a time the machine knitted (200), which changes nothing.
            QTest::addRow("%s: unplanned and unexplained", db) << pg
                << (QList<Step>{online} + stands(-30, 300, 60, 120, 0) + stands(300, 600, 300, 360, 0)
                    + QList<Step>{pick(90, 1, false, 60, 90, 0), pick(400, 9, true, 200, 210, 0)})
                << Figures{{0, 0, 480, 120, 0, 0, 0, 0, 60, 60}, kSilentAfter};
            // A stop 90-390: yarn change picked at 100, then maintenance at 200 (it replaces it),
            // then the first pick's QoS 1 copy at 250 (older: it replaces nothing).
            QTest::addRow("%s: a later pick replaces, a copy does not", db) << pg
                << (QList<Step>{online} + stands(-30, 600, 90, 390, 0)
                    + QList<Step>{pick(100, 1, false, 90, 100, 0), pick(200, 9, true, 90, 200, 0), pick(250, 1, false, 90, 100, 0)})
                << Figures{{0, 0, 300, 300, 0, 0, 0, 300, 0, 0}, kSilentAfter};
            // Stopped from 510 across the shift boundary to 720, cleaning picked at 520.
            QTest::addRow("%s: a planned stop across shifts", db) << pg
                << (QList<Step>{online} + stands(-30, 1200, 510, 720, 0) + QList<Step>{pick(520, 6, true, 510, 520, 0)})
                << Figures{{0, 0, 510, 90, 0, 0, 0, 90, 0, 0}, {600, 0, 480, 120, 0, 0, 0, 120, 0, 0}};
        }
    }

    void figures()
    {
        auto [postgres, steps, expected] = TestTable::fetch<bool, QList<Step>, Figures>("postgres", "steps", "expected");
        if (postgres && !pgReady_)
            QSKIP(qPrintable(pgWhy_));
        std::unique_ptr<Dashboard> d = dashboard(postgres);
        std::stable_sort(steps.begin(), steps.end(), [](const Step &a, const Step &b) { return a.s < b.s; });
        for (const Step &s : steps) {
            if (s.leaf == "settle")
                QVERIFY(d->settle(kT0 + s.s * 1000LL));
            else
                d->take("knit/M1/" + s.leaf, s.payload, false, kT0 + s.s * 1000LL);
        }
        QVERIFY(d->settle(kT0 + 1200 * 1000));
        QUrlQuery q(QStringLiteral("by=machine&machine=M1"));
        q.addQueryItem(QStringLiteral("from"), IsoTime::text(kT0));
        q.addQueryItem(QStringLiteral("to"), IsoTime::text(kT0 + 1200 * 1000));
        const DashboardApi::Answer a = d->api(QStringLiteral("/api/shifts"), q, kT0 + 1200 * 1000);
        QCOMPARE(a.status, 200);
        Figures got;
        for (const QJsonValue &v : QJsonDocument::fromJson(a.body).object().value(QLatin1String("shifts")).toArray()) {
            const QJsonObject o = v.toObject();
            qint64 start = 0;
            QVERIFY(IsoTime::parse(o.value(QLatin1String("start")).toString(), &start));
            got.append(QList<qint64>{(start - kT0) / 1000});
            for (const char *key : {"pieces", "knitting_s", "stopped_s", "nodata_s", "alarms", "alarm_s", "planned_stop_s",
                                    "unplanned_stop_s", "unexplained_stop_s"})
                got.last().append(o.value(QLatin1String(key)).toInteger());
        }
        QCOMPARE(got, expected);
    }

    void migration()
    {
        QTemporaryDir dir;
        DbTarget target;
        target.path = dir.filePath(QStringLiteral("fleet.sqlite"));
        QString why;
        {
            FleetDb v1(target);
            QVERIFY2(v1.open(&why, 1), qPrintable(why));
            QVERIFY(QSqlQuery(v1.db()).exec(QStringLiteral("INSERT INTO samples VALUES (1, 1000, 0, 1, 1, 1, 7, 9, NULL)")));
        }
        {
            FleetDb now(target);
            QVERIFY2(now.open(&why), qPrintable(why));
            QCOMPARE(Migrations::version(now.db()), Migrations::latest());
            QSqlQuery q(now.db());
            QVERIFY(q.exec(QStringLiteral("SELECT pieces FROM samples")) && q.next());
            QCOMPARE(q.value(0).toInt(), 7);
            QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*) FROM shift_summaries")));
            QVERIFY(q.exec(QStringLiteral("UPDATE schema_version SET version = 99")));
        }
        FleetDb newer(target);
        QVERIFY(!newer.open(&why));
        QVERIFY(newer.refused());
        QVERIFY2(why.contains(QLatin1String("newer")), qPrintable(why));
    }

    void pareto_data()
    {
        // Alarms: 23 stands 100 s, again from 200 until 7 replaces it at 300; 7 stands until now.
        // Stops: 90-240 a break (picked), from 300 on unexplained. At 400 shift A is open and
        // summed when asked; at 1200 it is over and summed once, shift B open.
        TestTable::columns<bool, int, QList<QList<double>>, QList<QList<double>>>("postgres", "now", "alarms", "stops");
        for (const bool pg : {false, true}) {
            const char *db = pg ? "postgresql" : "sqlite";
            QTest::addRow("%s: open shift", db) << pg << 400 << QList<QList<double>>{{23, 2, 200, 66.7}, {7, 1, 100, 100}}
                                                << QList<QList<double>>{{7, 1, 150, 60}, {-2, 1, 100, 100}};
            QTest::addRow("%s: summed shift and an open one", db) << pg << 1200
                                                                  << QList<QList<double>>{{23, 2, 200, 66.7}, {7, 1, 900, 100}}
                                                                  << QList<QList<double>>{{-2, 1, 900, 85.7}, {7, 1, 150, 100}};
        }
    }

    void pareto()
    {
        auto [postgres, now, alarms, stops]
            = TestTable::fetch<bool, int, QList<QList<double>>, QList<QList<double>>>("postgres", "now", "alarms", "stops");
        if (postgres && !pgReady_)
            QSKIP(qPrintable(pgWhy_));
        std::unique_ptr<Dashboard> d = dashboard(postgres);
        QList<Step> steps = stands(-30, 300, 90, 240, 0) + stands(300, now, 300, 100000, 0)
                            + QList<Step>{{0, "alarm", alarm("raised", 0)}, {100, "alarm", alarm("cleared", 100)},
                                          {200, "alarm", alarm("raised", 200)}, {300, "alarm", alarm("raised", 300).replace("23", "7")},
                                          pick(110, 7, true, 90, 110, 0)};
        std::stable_sort(steps.begin(), steps.end(), [](const Step &a, const Step &b) { return a.s < b.s; });
        d->take("knit/M1/status", "online", false, kT0 - 31000);
        for (const Step &s : steps)
            d->take("knit/M1/" + s.leaf, s.payload, false, kT0 + s.s * 1000LL);
        QVERIFY(d->settle(kT0 + now * 1000LL));
        QUrlQuery q;
        q.addQueryItem(QStringLiteral("from"), IsoTime::text(kT0));
        q.addQueryItem(QStringLiteral("to"), IsoTime::text(kT0 + 86400 * 1000));
        for (const bool stop : {false, true}) {
            const DashboardApi::Answer a = d->api(stop ? QStringLiteral("/api/stops/pareto") : QStringLiteral("/api/alarms/pareto"), q,
                                                  kT0 + now * 1000LL);
            QList<QList<double>> got;
            for (const QJsonValue &v : QJsonDocument::fromJson(a.body).object().value(stop ? "reasons" : "alarms").toArray()) {
                const QJsonObject r = v.toObject();
                got.append({r[QLatin1String("code")].isNull() ? -2 : r[QLatin1String("code")].toDouble(), r[QLatin1String("count")].toDouble(),
                            r[QLatin1String(stop ? "stopped_s" : "standing_s")].toDouble(), r[QLatin1String("cumulative_pct")].toDouble()});
            }
            QCOMPARE(got, stop ? stops : alarms);
        }
    }

    void retentionAndQueue()
    {
        // Samples past --keep-days go, younger ones and alarm events under 400 days stay, in
        // steps of at most an hour of one machine.
        std::unique_ptr<Dashboard> d = dashboard(false);
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        const qint64 day = 86400000;
        for (int h = 0; h < 48; ++h)
            d->take("knit/M1/state", state("J1", true, h), false, now - 40 * day + h * 3600000LL);
        d->take("knit/M1/state", state("J1", true, 99), false, now - day);
        d->take("knit/M1/alarm", alarm("raised", 0), false, now - 40 * day);
        QVERIFY(d->settle(now));
        Retention retention(&d->db(), 30);
        int steps = 0;
        while (retention.step(now) && steps < 1000)
            ++steps;
        QVERIFY2(steps >= 48, "an old day's samples went in one step");
        QSqlQuery q(d->db().db());
        QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*), MIN(pieces) FROM samples")) && q.next());
        QCOMPARE(q.value(0).toInt(), 1);
        QCOMPARE(q.value(1).toInt(), 99);
        QVERIFY(q.exec(QStringLiteral("SELECT (SELECT COUNT(*) FROM alarms), (SELECT COUNT(*) FROM shift_summaries)")) && q.next());
        QCOMPARE(q.value(0).toInt(), 1);
        QVERIFY(q.value(1).toInt() > 0);

        // A flood of M1 takes no more of a transaction than M2's one row; full, the queue drops
        // the flood's oldest sample, its alarm event only when no sample of it is left.
        WriteQueue queue(4);
        Record a;
        a.kind = Record::Alarm;
        a.machine = QStringLiteral("M1");
        queue.push(a);
        for (int i = 0; i < 3; ++i) {
            Record flood;
            flood.machine = QStringLiteral("M1");
            flood.pieces = i;
            queue.push(flood);
        }
        Record other;
        other.machine = QStringLiteral("M2");
        queue.push(other);
        QCOMPARE(queue.dropped(), 1ULL);
        const std::vector<Record> &first = queue.next(2);
        QCOMPARE(int(first.size()), 2);
        QCOMPARE((QStringList{first[0].machine, first[1].machine}), (QStringList{"M1", "M2"}));
        QCOMPARE(first[0].kind, Record::Alarm);
        queue.done();
        QCOMPARE(queue.next(5).front().pieces, 1);
        queue.done();
        QVERIFY(queue.isEmpty());
    }

    void hostilePanel()
    {
        // 1,000 job names a tenth of a second apart: 200 kept and "(other)"; 100 messages of
        // another machine within a second: 10 taken.
        std::unique_ptr<Dashboard> d = dashboard(false);
        for (int i = 0; i < 1000; ++i)
            d->take("knit/M1/state", state(QByteArray("J" + QByteArray::number(i)).constData(), true, 1), false, kT0 + i * 100LL);
        for (int i = 0; i < 100; ++i)
            d->take("knit/M2/state", state("J1", true, i), false, kT0 + i);
        QVERIFY(d->flush());
        QSqlQuery q(d->db().db());
        QVERIFY(q.exec(QStringLiteral("SELECT COUNT(DISTINCT j.name), MAX(j.name) FROM samples s JOIN jobs j ON j.id = s.job"
                                      " JOIN machines m ON m.id = s.machine WHERE m.name = 'M1'")) && q.next());
        QCOMPARE(q.value(0).toInt(), 201);
        QCOMPARE(d->recorder().dropped(), 90ULL);

        // A floor full of ids once heard: those whose samples are gone are forgotten, and a new
        // machine finds room again.
        WriteQueue queue(10);
        Recorder recorder(10, &queue);
        for (int i = 0; i < FleetState::kMaxMachines; ++i)
            recorder.take("knit/OLD" + QByteArray::number(i) + "/status", "online", false, kT0);
        QVERIFY(!recorder.take("knit/NEW/status", "online", false, kT0 + 2000));
        recorder.forget(kT0 + 1000);
        QCOMPARE(recorder.machines(), 0);
        QVERIFY(recorder.take("knit/NEW/status", "online", false, kT0 + 2000));
        QCOMPARE(recorder.fleet().size(), 1);
    }

    void samplesPaged()
    {
        // 10,001 samples: a page of 10,000, and the next page holds the last one.
        std::unique_ptr<Dashboard> d = dashboard(false);
        for (int i = 0; i < 10001; ++i)
            d->take("knit/M1/state", state("J1", true, i), false, kT0 + i * 100LL);
        QVERIFY(d->flush());
        QJsonObject page = QJsonDocument::fromJson(d->api(QStringLiteral("/api/machines/M1/samples"), QUrlQuery(), kT0 + 3600000).body).object();
        QCOMPARE(page.value(QLatin1String("samples")).toArray().size(), 10000);
        const QUrl next(page.value(QLatin1String("next")).toString());
        page = QJsonDocument::fromJson(d->api(next.path(), QUrlQuery(next), kT0 + 3600000).body).object();
        QCOMPARE(page.value(QLatin1String("samples")).toArray().size(), 1);
        QVERIFY(!page.contains(QLatin1String("next")));
    }

    void postgresOutage()
    {
        if (!pgReady_)
            QSKIP(qPrintable(pgWhy_));
        std::unique_ptr<Dashboard> d = dashboard(true);
        // A second knitfleet on the same database is refused while the first records.
        Dashboard second(d->options());
        QString why;
        QVERIFY(!second.open(&why));
        QVERIFY2(why.contains(QLatin1String("advisory lock")), qPrintable(why));
        d->start();
        QVERIFY(pg_.stop());
        const qint64 t = QDateTime::currentMSecsSinceEpoch();
        for (int i = 1; i <= 1000; ++i)
            d->take("knit/M1/state", state("J1", true, i), false, t + i * 100LL);
        QTRY_VERIFY(!d->writer().healthy());
        QVERIFY2(pg_.start(&why), qPrintable(why));
        QTRY_COMPARE_WITH_TIMEOUT(d->queue().size(), 0, 20000);
        QSqlQuery q(d->db().db());
        QVERIFY(q.exec(QStringLiteral("SELECT pieces FROM samples ORDER BY t")));
        int expected = 1;
        while (q.next())
            QCOMPARE(q.value(0).toInt(), expected++);
        QCOMPARE(expected, 1001);
    }

    void fileSystemFull()
    {
        // The database's file system fills up (a file-size limit stands in for a full disk:
        // writes fail with an error as they would with ENOSPC), then has room again.
        std::unique_ptr<Dashboard> d = dashboard(false);
        const qint64 t = QDateTime::currentMSecsSinceEpoch();
        d->take("knit/M1/status", "online", false, t);
        QVERIFY(d->flush());
        rlimit old{};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &old) == 0);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit full{128 * 1024, old.rlim_max};
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &full) == 0);
        for (int i = 1; i <= 5000; ++i)
            d->take("knit/M1/state", state("J1", true, i), false, t + i * 100LL);
        const bool wrote = d->flush();
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &old) == 0);
        QVERIFY(!wrote);
        QCOMPARE(d->queue().size(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(d->flush(), 5000);
        QSqlQuery q(d->db().db());
        QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*), MIN(pieces), MAX(pieces) FROM samples WHERE pieces > 0")) && q.next());
        QCOMPARE(q.value(0).toInt(), 5000);
        QCOMPARE(q.value(2).toInt(), 5000);
        QVERIFY(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
    }

private:
    std::unique_ptr<Dashboard> dashboard(bool postgres)
    {
        Dashboard::Options o;
        QString why;
        if (postgres) {
            DbTarget::parse(pg_.url(), &o.db, &why);
            // A fresh schema for every case.
            FleetDb wipe(o.db);
            if (wipe.open(&why, 0))
                QSqlQuery(wipe.db()).exec(QStringLiteral("DROP SCHEMA public CASCADE; CREATE SCHEMA public"));
        } else {
            dirs_.push_back(std::make_unique<QTemporaryDir>());
            o.db.path = dirs_.back()->filePath(QStringLiteral("fleet.sqlite"));
        }
        ShiftPlan::parse(QStringLiteral("08:00,08:10"), &o.shifts, &why);
        auto d = std::make_unique<Dashboard>(o);
        if (!d->open(&why))
            qWarning("%s", qPrintable(why));
        return d;
    }

    PostgresProcess pg_;
    QString pgWhy_;
    bool pgReady_ = false;
    std::vector<std::unique_ptr<QTemporaryDir>> dirs_;
};

QTEST_GUILESS_MAIN(TestDashboard)
#include "test_dashboard.moc"
