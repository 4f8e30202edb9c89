// The main window's telemetry against a real mosquitto while knitsim knits (what it publishes
// is the end-to-end test's). Faults caught: a broker that hangs, dies and comes back holding
// the GUI thread (longest event-loop gap 50 ms), or not getting "online" and a fresh state
// again; a clock mark that does not follow the link.
#include "brokerprocess.h"
#include "portoffset.h"
#include "simprocess.h"
#include "testroot.h"

#include "link/statuschannel.h"
#include "mainwin/labeltime.h"
#include "mainwin/wave.h"
#include "platform/atomicfile.h"
#include "telemetry/telemetry.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <memory>
#include <utility>

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
        root_ = std::make_unique<TestRoot>();
        PortOffset::useFree();
        QVERIFY2(sim_.start(&why), qPrintable(why));
        QVERIFY(root_->makeJob(QStringLiteral("M1"), 20, 100, 20));
        QVERIFY(root_->writeReferences(sim_.file(QStringLiteral("file.sys")), sim_.file(QStringLiteral("config.cfg"))));
        QVERIFY(sim_.command(QStringLiteral("set job M1")));
        QVERIFY(AtomicFile::save(TelemetryConfig::path(),
                                 "[mqtt]\nurl = " + broker_.url().toUtf8() + "\nmachine = W1\ninterval_ms = 200\n"));
        w_ = std::make_unique<wave>();
        w_->start();
        w_->statusChannel()->setTraceStream(nullptr);
        QTRY_COMPARE(int(w_->labelTime()->link()), int(LinkState::Online));
    }
    void cleanupTestCase() { w_.reset(); }

    void brokerRestart()
    {
        QVERIFY(sim_.command(QStringLiteral("set speed 5")) && sim_.command(QStringLiteral("start M1")));
        // The longest time between two turns of the event loop, leaving out the test's own waits.
        QElapsedTimer elapsed;
        elapsed.start();
        qint64 last = 0, longest = 0;
        QTimer probe;
        connect(&probe, &QTimer::timeout, [&] { longest = qMax(longest, elapsed.elapsed() - std::exchange(last, elapsed.elapsed())); });
        probe.start(2);
        const auto skip = [&] { last = elapsed.elapsed(); };
        const Outbox &outbox = w_->telemetry()->outbox();
        broker_.pause(true);
        // Knitting, a state goes out every interval: five of them sent to a broker that does not answer.
        QTRY_VERIFY_WITH_TIMEOUT(outbox.inFlight() >= 5, 20000);
        broker_.kill();
        skip();
        LabelTime *clock = w_->labelTime();
        QTRY_COMPARE(int(clock->link()), int(LinkState::Connecting));
        QCOMPARE(clock->grab().toImage().pixelColor(clock->markCentre() - QPoint(0, 3)), LabelTime::markColour(LinkState::Connecting));
        // Five more states queued while the broker is gone.
        const int queued = outbox.waiting();
        QTRY_VERIFY_WITH_TIMEOUT(outbox.waiting() >= queued + 5, 20000);
        skip();
        QVERIFY(broker_.start());
        skip();
        QTRY_COMPARE_WITH_TIMEOUT(int(clock->link()), int(LinkState::Online), 8000);
        // Everything queued meanwhile handed to the broker and acknowledged.
        QTRY_VERIFY_WITH_TIMEOUT(outbox.waiting() == 0 && outbox.inFlight() == 0, 20000);
        probe.stop();
        qInfo("longest gap %lld ms", longest);
        QVERIFY2(longest < 50 * KNIT_TEST_SLOWDOWN, qPrintable(QStringLiteral("the GUI thread stood %1 ms").arg(longest)));
        QCOMPARE(clock->grab().toImage().pixelColor(clock->markCentre()), LabelTime::markColour(LinkState::Online));
        QCOMPARE(broker_.retained(QStringLiteral("knit/W1/status")), QByteArray("online"));
        const QJsonObject state = QJsonDocument::fromJson(broker_.retained(QStringLiteral("knit/W1/state"))).object();
        QCOMPARE(state.value(QLatin1String("running")), true);
    }

private:

    BrokerProcess broker_;
    std::unique_ptr<TestRoot> root_;
    SimProcess sim_;
    std::unique_ptr<wave> w_;
};

QTEST_MAIN(TestTelemetryPanel)
#include "test_telemetry.moc"
