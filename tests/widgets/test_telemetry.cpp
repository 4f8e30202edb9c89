// The main window's telemetry against a real mosquitto while knitsim knits (what it publishes
// is the end-to-end test's). Faults caught: a broker that hangs, dies and comes back holding
// the GUI thread (200 ms of an event-loop gap its own, not the machine's load), or not getting
// "online" and a fresh state again; a clock mark that does not follow the link; a journal that
// cannot be written not said on the message line.
#include "brokerprocess.h"
#include "mainscreeninternals.h"
#include "portoffset.h"
#include "simprocess.h"
#include "testroot.h"

#include "data/machinedata.h"
#include "link/statuschannel.h"
#include "mainwin/labelmessage.h"
#include "mainwin/labeltime.h"
#include "mainwin/mainscreen.h"
#include "platform/atomicfile.h"
#include "platform/stallreport.h"
#include "telemetry/telemetry.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestTelemetryPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QString why;
        if (!BrokerProcess::available(&why))
            QSKIP(qPrintable(why));
        QVERIFY2(broker_.start(&why), qPrintable(why));
        PortOffset::useFree();
        QVERIFY2(sim_.start(&why), qPrintable(why));
        QVERIFY(root_.makeJob(QStringLiteral("M1"), 20, 100, 20));
        QVERIFY(root_.writeReferences(sim_.file(QStringLiteral("file.sys")), sim_.file(QStringLiteral("config.cfg"))));
        QVERIFY(sim_.command(QStringLiteral("set job M1")));
        QVERIFY(AtomicFile::save(TelemetryConfig::path(),
                                 "[mqtt]\nurl = " + broker_.url().toUtf8() + "\nmachine = W1\ninterval_ms = 200\n"));
        w_ = std::make_unique<MainScreen>(machine_);
        w_->start();
        MainScreenInternals::statusChannel(*w_)->setTraceStream(nullptr);
        QTRY_COMPARE(int(MainScreenInternals::labelTime(*w_)->link()), int(LinkState::Online));
    }
    void cleanupTestCase() { w_.reset(); }

    void brokerRestart()
    {
        QVERIFY(sim_.command(QStringLiteral("set speed 5")) && sim_.command(QStringLiteral("start M1")));
        // The event loop's longest gap less the time the thread stood ready while the machine ran
        // others: a loaded machine delays the loop, only a wait of the panel's own holds it. The
        // test's own blocking calls are marked as waits.
        QTemporaryDir dir;
        auto report = std::make_unique<StallReport>(dir.filePath(QStringLiteral("stalls")), qApp);
        const Outbox &outbox = w_->telemetry()->outbox();
        broker_.pause(true);
        // Knitting, a state goes out every interval: five of them sent to a broker that does not answer.
        QTRY_VERIFY_WITH_TIMEOUT(outbox.inFlight() >= 5, 20000);
        {
            const StallReport::Wait own;
            broker_.kill();
        }
        LabelTime *clock = MainScreenInternals::labelTime(*w_);
        QTRY_COMPARE(int(clock->link()), int(LinkState::Connecting));
        QCOMPARE(clock->grab().toImage().pixelColor(clock->markCentre() - QPoint(0, 3)), LabelTime::markColour(LinkState::Connecting));
        // Five more states queued while the broker is gone.
        const int queued = outbox.waiting();
        QTRY_VERIFY_WITH_TIMEOUT(outbox.waiting() >= queued + 5, 20000);
        {
            const StallReport::Wait own;
            QVERIFY(broker_.start());
        }
        QTRY_COMPARE_WITH_TIMEOUT(int(clock->link()), int(LinkState::Online), 8000);
        // Everything queued meanwhile handed to the broker and acknowledged.
        QTRY_VERIFY_WITH_TIMEOUT(outbox.waiting() == 0 && outbox.inFlight() == 0, 20000);
        const StallRecorder stalls = report->recorder();
        report.reset();
        qInfo("longest gap %lld ms, of the thread's own %lld ms", stalls.maxMs(), stalls.ownMaxMs());
        // A wait on a broker that does not answer lasts until a time-out of seconds.
        QVERIFY2(stalls.ownMaxMs() < 200 * KNIT_TEST_SLOWDOWN, qPrintable(stalls.text()));
        QCOMPARE(clock->grab().toImage().pixelColor(clock->markCentre()), LabelTime::markColour(LinkState::Online));
        QCOMPARE(broker_.retained(QStringLiteral("knit/W1/status")), QByteArray("online"));
        const QJsonObject state = QJsonDocument::fromJson(broker_.retained(QStringLiteral("knit/W1/state"))).object();
        QCOMPARE(state.value(QLatin1String("running")), true);
    }

    // The outbox's journal failing is said on the message line.
    void journalFailed()
    {
        Q_EMIT w_->telemetry()->journalFailed();
        QCOMPARE(MainScreenInternals::labelMessage(*w_)->getMessage1(), QStringLiteral("遥测发件箱写盘失败, 报警和停机记录只在内存中. "));
    }

private:
    BrokerProcess broker_;
    TestRoot root_;
    SimProcess sim_;
    MachineData machine_;
    std::unique_ptr<MainScreen> w_;
};

QTEST_MAIN(TestTelemetryPanel)
#include "test_telemetry.moc"
