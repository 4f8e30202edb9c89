// The stop reasons on the real panel against knitsim and a real mosquitto. Faults caught: a
// list that does not open by itself once the machine has stood ask_after_s, or by key G; a pick
// by digit that is not published (QoS 1, not retained, with the stop's begin and the list's
// text), not in the alarm log, or not shown on the main screen; a second pick that does not
// replace the first; knitting that leaves the list open; an office list with a code twice
// taken, or refused without config_error in the state; a pick made while the broker is down
// lost when the panel is killed before it comes back. Leaves the guide's pictures.
#include "brokerprocess.h"
#include "panelfixture.h"
#include "testbytes.h"

#include "platform/atomicfile.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

// The reason line, where the message line shows.
const QRect kReasonLine(QPoint(10, 290), QPoint(629, 326));

} // namespace

class TestStopsE2e : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        PANEL_FIXTURE_START(BrokerProcess::available(&why) && broker_.start(&why)
                            && f_.prepare({{QStringLiteral("M1"), 40, 100, 40}}, &why));
        QVERIFY(AtomicFile::save(f_.file(QStringLiteral("/mnt/ide/knit/telemetry.ini")),
                                 "[mqtt]\nurl = " + broker_.url().toUtf8() + "\nmachine = E1\ninterval_ms = 200\n"));
        QVERIFY(AtomicFile::save(f_.file(QStringLiteral("/mnt/ide/knit/stops.json")),
                                 "{\"ask_after_s\":10,\"reasons\":[{\"code\":1,\"zh\":\"换纱\",\"en\":\"Yarn change\",\"planned\":false},"
                                 "{\"code\":7,\"zh\":\"休息\",\"en\":\"Break\",\"planned\":true}]}"));
        stops_ = broker_.subscribe(QStringLiteral("knit/E1/stop"), this);
        QVERIFY(stops_ && f_.startPanel() && f_.waitForMainScreen());
        before_ = f_.x().pictureWhen("stops-before", [](const QImage &) { return true; }).copy(kReasonLine);
    }

    void askedAfterStanding()
    {
        // knitsim stands from the start: ten seconds on, the list comes by itself.
        QVERIFY2(f_.waitForWindow("StopReasonDialog", PanelFixture::kMain, 30000), "the list never opened by itself");
        QVERIFY(f_.picture("stops-dialog"));
        QVERIFY(f_.walk({"7>MainScreen"}));
        const QJsonObject pick = nextStop();
        QCOMPARE(pick.value(QLatin1String("code")), 7);
        QCOMPARE(pick.value(QLatin1String("planned")), true);
        QCOMPARE(pick.value(QLatin1String("text")), QStringLiteral("休息"));
        QCOMPARE(pick.value(QLatin1String("job")), QStringLiteral("M1"));
        QVERIFY(pick.value(QLatin1String("since")).toString() < pick.value(QLatin1String("time")).toString());
        f_.x().pictureWhen("stops-reason", [this](const QImage &i) { return i.copy(kReasonLine) != before_; });
        QVERIFY(f_.waitForFile(f_.file(QStringLiteral("/mnt/ide/knit/log/alarms.log"))));
        QTRY_VERIFY(TestBytes::readFile(f_.file(QStringLiteral("/mnt/ide/knit/log/alarms.log"))).contains("\treason\t1\t7\t休息\tM1\t"));

        // Key G again: a new pick replaces the old.
        QVERIFY(f_.walk({"g>StopReasonDialog", "1>MainScreen"}));
        const QJsonObject again = nextStop();
        QCOMPARE(again.value(QLatin1String("code")), 1);
        QCOMPARE(again.value(QLatin1String("since")), pick.value(QLatin1String("since")));
    }

    void knittingCloses()
    {
        QVERIFY(f_.walk({"g>StopReasonDialog"}));
        QVERIFY(f_.sim().command(QStringLiteral("set speed 5")) && f_.sim().command(QStringLiteral("start M1")));
        QVERIFY2(f_.waitForWindow(PanelFixture::kMain, "StopReasonDialog"), "knitting left the list open");
    }

    void officeList()
    {
        // Refused whole: code 3 twice; the state says why.
        QVERIFY(broker_.publish(QStringLiteral("knit/E1/config"),
                                "{\"reasons\":[{\"code\":3,\"zh\":\"甲\",\"en\":\"A\"},{\"code\":3,\"zh\":\"乙\",\"en\":\"B\"}]}", true));
        QTRY_COMPARE(state().value(QLatin1String("config_error")), QStringLiteral("code 3 is listed twice"));
        // A good one wins, is kept as the panel's list and clears the error.
        const QByteArray good = "{\"ask_after_s\":0,\"reasons\":[{\"code\":4,\"zh\":\"机械故障\",\"en\":\"Mechanical fault\"}]}";
        QVERIFY(broker_.publish(QStringLiteral("knit/E1/config"), good, true));
        QVERIFY(f_.waitForFile(f_.file(QStringLiteral("/mnt/ide/knit/stops.json")), good));
        QTRY_VERIFY(!state().contains(QLatin1String("config_error")));
    }

    // A pick made while the broker is down outlives the panel killed before it could be sent.
    void keptOverKill()
    {
        QVERIFY(f_.sim().command(QStringLiteral("stop")));
        QTRY_COMPARE(state().value(QLatin1String("running")), false);
        broker_.kill();
        QVERIFY(f_.walk({"g>StopReasonDialog", "4>MainScreen"}));
        const QString outbox = f_.file(QStringLiteral("/mnt/ide/knit/log/outbox.log"));
        QTRY_VERIFY(TestBytes::readFile(outbox).contains(QByteArray("knit/E1/stop").toBase64()));
        f_.panel().stop();
        QString why;
        QVERIFY2(broker_.start(&why), qPrintable(why));
        delete stops_;
        stops_ = broker_.subscribe(QStringLiteral("knit/E1/stop"), this);
        buffer_ = "\n";
        QVERIFY(stops_ && f_.startPanel() && f_.waitForMainScreen());
        QCOMPARE(nextStop().value(QLatin1String("code")), 4);
    }

private:
    // The next stop message the broker delivered, as published: not retained ("0 "); empty
    // when none came within ten seconds.
    QJsonObject nextStop()
    {
        const QByteArray prefix = "\n0 knit/E1/stop ";
        const auto whole = [&] {
            buffer_ += stops_->readAllStandardOutput();
            const qsizetype at = buffer_.indexOf(prefix);
            return at >= 0 && buffer_.indexOf('\n', at + 1) > 0;
        };
        if (!QTest::qWaitFor(whole, 10000))
            return {};
        const qsizetype at = buffer_.indexOf(prefix) + prefix.size();
        const qsizetype end = buffer_.indexOf('\n', at);
        const QByteArray payload = buffer_.mid(at, end - at);
        buffer_.remove(0, end);
        return QJsonDocument::fromJson(payload).object();
    }
    QJsonObject state() const { return QJsonDocument::fromJson(broker_.retained(QStringLiteral("knit/E1/state"))).object(); }

    BrokerProcess broker_;
    PanelFixture f_;
    QProcess *stops_ = nullptr;
    QByteArray buffer_ = "\n";
    QImage before_;
};

QTEST_GUILESS_MAIN(TestStopsE2e)
#include "test_stops_e2e.moc"
