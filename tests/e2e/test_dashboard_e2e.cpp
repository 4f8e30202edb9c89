// The office dashboard in a real headless Chromium: mosquitto, knitfleet serve and five fake
// panels. Faults caught: a machine missing from the floor page, an alarm not listed first; a
// change that needs a reload, or takes over 2 s; a job name with markup run as markup; no
// "disconnected" banner when knitfleet goes. Leaves docs/dashboard.png's picture.
#include "brokerprocess.h"
#include "browserprocess.h"
#include "fleetserve.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char *const kHostileJob = "<img src=x onerror=\"window.pwned=1\">";

QByteArray state(const QString &job, int pieces, bool alarm)
{
    return QStringLiteral("{\"job\":\"%1\",\"running\":%2,\"pieces\":%3,\"target\":120,\"row\":%4,\"rows\":400,\"speed\":0.6,"
                          "\"alarm\":%5,\"time\":\"2026-12-06T10:15:02\"}")
        .arg(QString(job).replace(QLatin1Char('"'), QStringLiteral("\\\"")), alarm ? "false" : "true")
        .arg(pieces).arg(pieces * 3 + 17)
        .arg(alarm ? QStringLiteral("{\"type\":2,\"code\":23,\"text\":\"撞针报警 !\"}") : QStringLiteral("null"))
        .toUtf8();
}

} // namespace

class TestDashboardE2e : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QString why;
        if (!BrokerProcess::available(&why) || !BrowserProcess::available(&why))
            QSKIP(qPrintable(why));
        QVERIFY2(broker_.start(&why), qPrintable(why));
        QVERIFY(fleet_.start({"--url", broker_.url(), "--db", dir_.filePath(QStringLiteral("fleet.sqlite"))}));
        const QStringList jobs{"M1-SWEATER", "M2-CARDIGAN", "毛衫-03", QLatin1String(kHostileJob), "M5-SCARF"};
        for (int i = 0; i < 5; ++i) {
            const QString id = QStringLiteral("HALL2-%1").arg(i + 1, 3, 10, QLatin1Char('0'));
            QVERIFY(publish(id, "status", "online"));
            QVERIFY(publish(id, "state", state(jobs[i], 10 * i + 5, i == 1)));
        }
        QVERIFY2(browser_.start(fleet_.url(), 1100, 420, &why), qPrintable(why));
    }

    void everyRowShows()
    {
        QTRY_COMPARE_WITH_TIMEOUT(browser_.evaluate(QStringLiteral("document.querySelectorAll('#machines tbody tr').length")).toInt(), 5, 10000);
        // The machine with an alarm first.
        QCOMPARE(browser_.evaluate(QStringLiteral("document.querySelector('#machines tbody tr').cells[0].textContent")).toString(),
                 QStringLiteral("HALL2-002"));
    }

    void markupShowsAsText()
    {
        QCOMPARE(browser_.evaluate(QStringLiteral("document.getElementById('m-HALL2-004').cells[2].textContent")).toString(),
                 QLatin1String(kHostileJob));
        QCOMPARE(browser_.evaluate(QStringLiteral("document.querySelectorAll('#machines img').length")).toInt(), 0);
        QVERIFY(browser_.evaluate(QStringLiteral("window.pwned === undefined")).toBool());
    }

    void changeArrivesWithoutReload()
    {
        QVERIFY(browser_.evaluate(QStringLiteral("window.sameDocument = 1")).toInt() == 1);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(publish(QStringLiteral("HALL2-003"), "state", state(QStringLiteral("毛衫-03"), 77, false)));
        QTRY_VERIFY_WITH_TIMEOUT(browser_.evaluate(QStringLiteral("document.getElementById('m-HALL2-003').cells[5].textContent"))
                                     .toString().startsWith(QLatin1String("77/")), 2000);
        qInfo("change shown after %lld ms", clock.elapsed());
        QCOMPARE(browser_.evaluate(QStringLiteral("window.sameDocument")).toInt(), 1);
        QVERIFY(browser_.screenshot(QStringLiteral(KNIT_BINARY_DIR "/e2e-dashboard.png")));
    }

    void disconnectedBanner()
    {
        fleet_.stop();
        QTRY_VERIFY_WITH_TIMEOUT(!browser_.evaluate(QStringLiteral("document.getElementById('banner-link').hidden")).toBool(), 5000);
        QCOMPARE(browser_.evaluate(QStringLiteral("document.getElementById('banner-link').textContent")).toString(),
                 QStringLiteral("disconnected"));
    }

private:
    bool publish(const QString &id, const char *leaf, const QByteArray &payload)
    {
        return broker_.publish(QStringLiteral("knit/%1/%2").arg(id, QLatin1String(leaf)), payload, true);
    }

    QTemporaryDir dir_;
    BrokerProcess broker_;
    FleetServe fleet_;
    BrowserProcess browser_;
};

QTEST_GUILESS_MAIN(TestDashboardE2e)
#include "test_dashboard_e2e.moc"
