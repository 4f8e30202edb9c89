// The main window's telemetry against a real mosquitto while knitsim knits. Faults caught: a
// retained state whose row, pieces, speed or running flag do not follow the row reports and the stop;
// alarm events missing, doubled or retained; a broker that hangs, dies and comes back holding
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
#include <QRegularExpression>
#include <QTest>

#include <memory>

namespace {

// The longest time between two turns of the event loop, leaving out the test's own waits.
struct GapProbe {
    QTimer timer;
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    GapProbe()
    {
        clock.start();
        QObject::connect(&timer, &QTimer::timeout, [this] {
            longest = qMax(longest, clock.elapsed() - last);
            last = clock.elapsed();
        });
        timer.start(2);
    }
    void skip() { last = clock.elapsed(); }
};

QJsonObject json(const QByteArray &payload)
{
    return QJsonDocument::fromJson(payload).object();
}

} // namespace

class TestTelemetryPanel : public QObject
{
    Q_OBJECT

private slots:
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
        w_->show();
        w_->statusChannel()->setTraceStream(nullptr);
        QVERIFY(w_->telemetry());
        QTRY_COMPARE(int(w_->labelTime()->link()), int(LinkState::Online));
    }
    void cleanupTestCase() { w_.reset(); }

    void stateFollowsRows()
    {
        QVERIFY(sim_.command(QStringLiteral("set speed 40")) && sim_.command(QStringLiteral("start M1")));
        QTest::qWait(1600);
        QVERIFY(sim_.command(QStringLiteral("stop")));
        const QRegularExpressionMatch knit =
            QRegularExpression(QStringLiteral("row (\\d+) of 20 pieces (\\d+)")).match(sim_.send(QStringLiteral("knit")).value(0));
        QVERIFY(knit.hasMatch() && knit.captured(2).toInt() >= 2);
        QTRY_VERIFY_WITH_TIMEOUT(retainedState().value(QLatin1String("running")) == false, 3000);
        const QJsonObject s = retainedState();
        QCOMPARE(s.value(QLatin1String("row")).toInt(), knit.captured(1).toInt());
        QCOMPARE(s.value(QLatin1String("pieces")).toInt(), knit.captured(2).toInt());
        QVERIFY(s.value(QLatin1String("rows")) == 20 && s.value(QLatin1String("job")) == QLatin1String("M1"));
        QVERIFY(s.value(QLatin1String("speed")).toDouble() > 0);
    }

    void alarmEvents()
    {
        QProcess *sub = broker_.subscribe(QStringLiteral("knit/W1/alarm"), this);
        QTest::qWait(300);
        QVERIFY(sim_.command(QStringLiteral("alarm 2 23")));
        QTRY_VERIFY(retainedState().value(QLatin1String("alarm")).toObject().value(QLatin1String("code")) == 23);
        QVERIFY(sim_.command(QStringLiteral("alarm clear")));
        QByteArray out;
        QTRY_COMPARE((out += sub->readAllStandardOutput()).count('\n'), 2);
        QTest::qWait(500);
        const QList<QByteArray> lines = (out + sub->readAllStandardOutput()).trimmed().split('\n');
        QCOMPARE(lines.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QVERIFY(lines[i].startsWith("0 knit/W1/alarm {"));
            const QJsonObject e = json(lines[i].mid(lines[i].indexOf('{')));
            QCOMPARE(e.value(QLatin1String("event")).toString(), i ? QStringLiteral("cleared") : QStringLiteral("raised"));
            QCOMPARE(e.value(QLatin1String("code")).toInt(), i ? 0 : 23);
        }
        sub->kill();
    }

    void brokerRestart()
    {
        QVERIFY(sim_.command(QStringLiteral("set speed 5")) && sim_.command(QStringLiteral("start M1")));
        GapProbe probe;
        broker_.pause(true);
        QTest::qWait(1500);
        broker_.kill();
        probe.skip();
        LabelTime *clock = w_->labelTime();
        QTRY_COMPARE(int(clock->link()), int(LinkState::Connecting));
        QImage mark = clock->grab().toImage();
        QCOMPARE(mark.pixelColor(clock->markCentre() - QPoint(0, 3)), LabelTime::markColour(LinkState::Connecting));
        QTest::qWait(1000);
        probe.skip();
        QVERIFY(broker_.start());
        probe.skip();
        QTRY_COMPARE_WITH_TIMEOUT(int(clock->link()), int(LinkState::Online), 8000);
        QTest::qWait(300);
        probe.timer.stop();
        qInfo("longest gap %lld ms", probe.longest);
        QVERIFY2(probe.longest < 50, qPrintable(QStringLiteral("the GUI thread stood %1 ms").arg(probe.longest)));
        mark = clock->grab().toImage();
        QCOMPARE(mark.pixelColor(clock->markCentre()), LabelTime::markColour(LinkState::Online));
        QCOMPARE(broker_.retained(QStringLiteral("knit/W1/status")), QByteArray("online"));
        QCOMPARE(retainedState().value(QLatin1String("running")), true);
    }

private:
    QJsonObject retainedState() const { return json(broker_.retained(QStringLiteral("knit/W1/state"))); }

    BrokerProcess broker_;
    std::unique_ptr<TestRoot> root_;
    SimProcess sim_;
    std::unique_ptr<wave> w_;
};

QTEST_MAIN(TestTelemetryPanel)
#include "test_telemetry.moc"
