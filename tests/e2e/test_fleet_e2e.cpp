// Three real panels, each with its own knitsim knitting, publish to one mosquitto; knitfleet
// reads them. Faults caught: a panel missing from knitfleet's --once --json, or shown offline,
// stopped or without its rows and speed while it knits; a machine with an alarm not listed
// first; alarm events missing, retained or out of order; a stopped machine whose row and pieces
// are not the controller's; a killed panel whose broker never says offline (no last will); the
// clock's link mark absent on a real screen. Leaves the guide's pictures and a table sample.
#include "brokerprocess.h"
#include "panelprocess.h"
#include "portoffset.h"
#include "simprocess.h"
#include "testroot.h"
#include "xserver.h"

#include "platform/atomicfile.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>

#include <memory>

namespace {

struct Panel
{
    std::unique_ptr<TestRoot> root;
    SimProcess sim;
    PanelProcess panel;
};

// The clock's mark on the screen: LabelTime at (550, 390), 81 pixels wide, its mark 6 in.
const QPoint kMark(550 + 81 - 6, 390 + 6);

} // namespace

class TestFleetE2e : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QString why;
        if (!XServer::available(&why) || !BrokerProcess::available(&why))
            QSKIP(qPrintable(why));
        QVERIFY2(broker_.start(&why), qPrintable(why));
        QVERIFY(x_.start());
        for (int i = 0; i < 3; ++i) {
            Panel &p = panels_[i];
            p.root = std::make_unique<TestRoot>();
            PortOffset::useFree();
            QVERIFY2(p.sim.start(&why), qPrintable(why));
            QVERIFY(p.root->makeJob(QStringLiteral("M1"), 40, 100, 40) && p.sim.command(QStringLiteral("set job M1")));
            QVERIFY(p.root->writeReferences(p.sim.file(QStringLiteral("file.sys")), p.sim.file(QStringLiteral("config.cfg"))));
            QVERIFY(AtomicFile::save(p.root->file(QStringLiteral("/mnt/ide/knit/telemetry.ini")),
                                     QStringLiteral("[mqtt]\nurl = %1\nmachine = F%2\ninterval_ms = 300\n").arg(broker_.url()).arg(i + 1).toUtf8()));
            QProcessEnvironment env = x_.environment();
            if (i > 0) // one panel on the screen is enough
                env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            QVERIFY(p.panel.start(env, p.root->path(), p.sim.portOffset()));
        }
        // Each controller knits once its panel has sent it the job.
        for (Panel &p : panels_)
            QTRY_VERIFY_WITH_TIMEOUT(p.sim.command(QStringLiteral("set speed 10")) && p.sim.command(QStringLiteral("start M1")), 30000);
        QTRY_COMPARE_WITH_TIMEOUT(online(), 3, 30000);
    }
    void fleetOnce()
    {
        QProcess *alarms = broker_.subscribe(QStringLiteral("knit/F2/alarm"), this);
        QVERIFY(alarms);
        QVERIFY(panels_[1].sim.command(QStringLiteral("alarm 2 23")));
        QTRY_VERIFY(machines(fleet()).first().toObject().value(QLatin1String("machine")) == QLatin1String("F2"));
        const QJsonArray list = machines(fleet());
        QCOMPARE(list.size(), 3);
        for (const QJsonValue &v : list) {
            const QJsonObject s = v.toObject().value(QLatin1String("state")).toObject();
            QVERIFY2(s.value(QLatin1String("running")) == true && s.value(QLatin1String("rows")) == 40
                         && s.value(QLatin1String("row")).toInt() >= 1 && s.value(QLatin1String("speed")).toDouble() > 0,
                     QJsonDocument(s).toJson().constData());
        }
        const QByteArray table = run({QStringLiteral("--once")});
        QVERIFY2(table.split('\n').value(3).startsWith("F2 "), table.constData());
        AtomicFile::save(QStringLiteral(KNIT_BINARY_DIR "/e2e-fleet-table.txt"), table);
        const QString shot = QStringLiteral(KNIT_BINARY_DIR "/e2e-fleet-mark.png");
        QVERIFY(x_.screenshot(shot));
        QCOMPARE(QImage(shot).pixelColor(kMark), QColor(0, 200, 0));
        QImage(shot).copy(QRect(540, 385, 100, 35)).scaled(400, 140).save(QStringLiteral(KNIT_BINARY_DIR "/e2e-fleet-mark-zoom.png"));

        // The alarm log's events, not retained; a stopped machine's row and pieces as the controller's.
        QVERIFY(panels_[1].sim.command(QStringLiteral("alarm clear")) && panels_[0].sim.command(QStringLiteral("stop")));
        QByteArray events;
        QTRY_COMPARE((events += alarms->readAllStandardOutput()).count("0 knit/F2/alarm {"), 2);
        QVERIFY2(events.indexOf("\"event\":\"raised\"") < events.indexOf("\"event\":\"cleared\""), events.constData());
        const QRegularExpressionMatch knit = QRegularExpression(QStringLiteral("row (\\d+) of 40 pieces (\\d+)"))
                                                 .match(panels_[0].sim.send(QStringLiteral("knit")).value(0));
        QTRY_VERIFY(machines(fleet()).first().toObject().value(QLatin1String("state"))[QLatin1String("running")] == false);
        const QJsonValue f1 = machines(fleet()).first().toObject().value(QLatin1String("state"));
        QVERIFY(knit.hasMatch() && f1[QLatin1String("row")] == knit.captured(1).toInt() && f1[QLatin1String("pieces")] == knit.captured(2).toInt());

        // SIGKILL: the broker's last will.
        panels_[2].panel.stop();
        QTRY_COMPARE_WITH_TIMEOUT(broker_.retained(QStringLiteral("knit/F3/status")), QByteArray("offline"), 5000);
        QCOMPARE(online(), 2);
    }

private:
    QByteArray run(QStringList args)
    {
        QProcess p;
        p.start(QStringLiteral(KNITFLEET_PATH), args << QStringLiteral("--url") << broker_.url());
        p.waitForFinished(20000);
        return p.readAllStandardOutput();
    }
    QJsonObject fleet() { return QJsonDocument::fromJson(run({QStringLiteral("--once"), QStringLiteral("--json")})).object(); }
    static QJsonArray machines(const QJsonObject &fleet) { return fleet.value(QLatin1String("machines")).toArray(); }
    int online() { return int(run({QStringLiteral("--once"), QStringLiteral("--json")}).count("\"online\":true")); }

    BrokerProcess broker_;
    XServer x_;
    Panel panels_[3];
};

QTEST_GUILESS_MAIN(TestFleetE2e)
#include "test_fleet_e2e.moc"
