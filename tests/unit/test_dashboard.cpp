// knitfleet serve's recording and shift figures, without HTTP, on SQLite and on a throwaway
// PostgreSQL. Faults caught: a piece reset or a job change counted as output (or as negative
// output); an offline or silent machine counted as knitting; an alarm's standing time not
// split at a shift boundary; a version-1 database not migrated, or a newer one written to; rows
// lost, duplicated or reordered while PostgreSQL was down; a crash, a corrupt file or lost rows
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
    QByteArray leaf; // state, status or alarm
    QByteArray payload;
};

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

// Per shift: start offset, pieces, knitting, stopped, no-data, alarms, alarm seconds.
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
        const QList<qint64> kSilentAfter{600, 0, 30, 0, 570, 0, 0};
        for (const bool pg : {false, true}) {
            const char *db = pg ? "postgresql" : "sqlite";
            // 5 → 6 → 7 → 8, reset to 0, then 1, 2: five pieces, the first counted from the
            // sample before the shift.
            static const int reset[] = {5, 6, 7, 8, 0, 1, 2};
            QTest::addRow("%s: piece reset", db) << pg
                << (QList<Step>{online} + every30(-30, 600, [](int s) { return state("J1", true, reset[qMin(s / 30 + 1, 6)]); }))
                << Figures{{0, 5, 600, 0, 0, 0, 0}, kSilentAfter};
            // J1 10 → 11 → 12 and stopped for 120 s; J2 starts at its own 30 and makes one.
            QTest::addRow("%s: job change", db) << pg
                << (QList<Step>{online} + every30(-30, 600, [](int s) {
                       return s < 0 ? state("J1", true, 10) : s < 30 ? state("J1", true, 11)
                            : s < 150 ? state("J1", false, 12) : s < 180 ? state("J2", true, 30) : state("J2", true, 31);
                   }))
                << Figures{{0, 3, 480, 120, 0, 0, 0}, kSilentAfter};
            // Silent from 120 (heard until 180) to 300, offline from 450 to 510.
            QTest::addRow("%s: offline gap", db) << pg
                << (QList<Step>{online} + every30(-30, 150, [](int) { return state("J1", true, 3); })
                    + every30(300, 450, [](int) { return state("J1", true, 3); }) + QList<Step>{{450, "status", "offline"}, {510, "status", "online"}}
                    + every30(510, 600, [](int) { return state("J1", true, 3); }))
                << Figures{{0, 0, 420, 0, 180, 0, 0}, kSilentAfter};
            // Raised at 480 in shift A, cleared at 690 in shift B.
            QTest::addRow("%s: alarm across a shift boundary", db) << pg
                << (QList<Step>{online} + every30(-30, 480, [](int) { return state("J1", true, 0); })
                    + QList<Step>{{480, "alarm", alarm("raised", 480)}, {500, "alarm", alarm("acknowledged", 500)}}
                    + every30(480, 690, [](int) { return state("J1", false, 0, true); }) + QList<Step>{{690, "alarm", alarm("cleared", 690)}}
                    + every30(690, 1200, [](int) { return state("J1", true, 0); }))
                << Figures{{0, 0, 480, 120, 0, 1, 120}, {600, 0, 510, 90, 0, 0, 90}};
        }
    }

    void figures()
    {
        auto [postgres, steps, expected] = TestTable::fetch<bool, QList<Step>, Figures>("postgres", "steps", "expected");
        if (postgres && !pgReady_)
            QSKIP(qPrintable(pgWhy_));
        std::unique_ptr<Dashboard> d = dashboard(postgres);
        std::stable_sort(steps.begin(), steps.end(), [](const Step &a, const Step &b) { return a.s < b.s; });
        for (const Step &s : steps)
            d->take("knit/M1/" + s.leaf, s.payload, false, kT0 + s.s * 1000LL);
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
            for (const char *key : {"pieces", "knitting_s", "stopped_s", "nodata_s", "alarms", "alarm_s"})
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

    void pareto()
    {
        // 23 stands 100 s, again from 200 until 7 replaces it at 300; 7 stands until now (400),
        // not until the end of the span asked for.
        std::unique_ptr<Dashboard> d = dashboard(false);
        const QList<QPair<int, QByteArray>> events{{0, alarm("raised", 0)}, {100, alarm("cleared", 100)},
                                                   {200, alarm("raised", 200)}, {300, alarm("raised", 300).replace("23", "7")}};
        for (const auto &e : events)
            d->take("knit/M1/alarm", e.second, false, kT0 + e.first * 1000LL);
        QVERIFY(d->settle(kT0 + 400 * 1000));
        QUrlQuery q;
        q.addQueryItem(QStringLiteral("from"), IsoTime::text(kT0));
        q.addQueryItem(QStringLiteral("to"), IsoTime::text(kT0 + 86400 * 1000));
        const QJsonArray rows = QJsonDocument::fromJson(d->api(QStringLiteral("/api/alarms/pareto"), q, kT0 + 400 * 1000).body)
                                    .object().value(QLatin1String("alarms")).toArray();
        QCOMPARE(rows.size(), 2);
        const QList<QList<double>> expected{{23, 2, 200, 66.7}, {7, 1, 100, 100}};
        for (int i = 0; i < 2; ++i) {
            const QJsonObject r = rows[i].toObject();
            QCOMPARE((QList<double>{r[QLatin1String("code")].toDouble(), r[QLatin1String("count")].toDouble(),
                                    r[QLatin1String("standing_s")].toDouble(), r[QLatin1String("cumulative_pct")].toDouble()}),
                     expected[i]);
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

        // A full queue drops its oldest sample first, an alarm event only when no sample is left.
        WriteQueue queue(2);
        Record a;
        a.kind = Record::Alarm;
        queue.push(a);
        queue.push(Record());
        queue.push(Record());
        QCOMPARE(queue.at(0).kind, Record::Alarm);
        queue.push(a);
        queue.push(a);
        QCOMPARE(queue.dropped(), 3ULL);
        QCOMPARE(queue.at(0).kind, Record::Alarm);
        QCOMPARE(queue.size(), 2);
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
        d->start();
        QVERIFY(pg_.stop());
        const qint64 t = QDateTime::currentMSecsSinceEpoch();
        for (int i = 1; i <= 1000; ++i)
            d->take("knit/M1/state", state("J1", true, i), false, t + i * 100LL);
        QTRY_VERIFY(!d->writer().healthy());
        QString why;
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
