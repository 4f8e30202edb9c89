// The test menu and both test pages in the real knitpanel against the real knitsim, under a
// private X server, driven by keys as an operator would: menu, entry, a few outputs and
// elements, a report from the machine, and the leave. Faults caught: a key 6 that opens
// nothing, an entry that never shows its page, an output or element that does not follow the
// controller's report, an input report that never reaches its label, a carriage that does not
// report while it is driven, a cycle that goes on after its message is closed, a leave that
// closes the page before the controller answered or never closes it; the carriage test's trace
// with a prefix.
#include "panelprocess.h"
#include "portoffset.h"
#include "simprocess.h"
#include "testroot.h"
#include "xserver.h"

#include <QImage>
#include <QTest>

#include <memory>

namespace {

QString shot(const QByteArray &name)
{
    return QStringLiteral(KNIT_BINARY_DIR "/e2e-") + QString::fromLatin1(name) + QStringLiteral(".png");
}

// Pixels of the rectangle that are clearly red.
int redPixels(const QImage &image, const QRect &rect)
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += c.red() > 180 && c.green() < 90 && c.blue() < 90 ? 1 : 0;
        }
    }
    return n;
}

} // namespace

class TestMachineTestsE2e : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QString why;
        if (!XServer::available(&why))
            QSKIP(qPrintable(why));
        root_ = std::make_unique<TestRoot>();
        PortOffset::useFree();
        x_ = std::make_unique<XServer>();
        QVERIFY2(x_->start(), "Xvfb did not start");
        sim_ = std::make_unique<SimProcess>();
        QVERIFY2(sim_->start(&why), qPrintable(why));
        QVERIFY(root_->makeJob(QStringLiteral("M1"), 40, 100, 100));
        QVERIFY(root_->writeReferences(sim_->file(QStringLiteral("file.sys")), sim_->file(QStringLiteral("config.cfg"))));
        QVERIFY(sim_->command(QStringLiteral("set job M1")));
        QVERIFY(panel_.start(x_->environment(), root_->path(), sim_->portOffset()));
        QVERIFY2(sim_->waitFor(QStringLiteral("cmd 26/21/0"), 20000), qPrintable(sim_->traffic().join(',')));
        QTest::qWait(1500);
        QVERIFY(x_->key(QStringLiteral("6")));
        QTest::qWait(500);
        QVERIFY(x_->screenshot(shot("testmenu")));
    }
    void cleanupTestCase()
    {
        panel_.stop();
        sim_.reset();
        x_.reset();
    }

    void inputOutput()
    {
        QVERIFY(sim_->command(QStringLiteral("journal clear")));
        QVERIFY(x_->key(QStringLiteral("2")));
        QVERIFY(sim_->waitFor(QStringLiteral("RRQ io.tst"), 5000));
        QTest::qWait(500);
        // Red lamp on; speed 5; carriage to the left: it reports needle pulses and its speed.
        keys({"1", "Down", "Down", "Down", "Right", "Right", "5", "KP_Enter", "Left", "1"});
        QVERIFY(sim_->waitFor(QStringLiteral("cmd 26/2/7"), 3000));
        QVERIFY(sim_->command(QStringLiteral("test input 4 1")));
        QTest::qWait(600);
        QVERIFY(x_->screenshot(shot("testio")));
        const QImage page(shot("testio"));
        // The start lever (input 4) closed: red beside its label.
        QVERIFY2(redPixels(page, QRect(130, 274, 54, 22)) > 10, "the input report did not reach its label");
        QVERIFY2(redPixels(page, QRect(130, 300, 54, 22)) == 0, "the stop lever shows closed");
        // Stop the carriage, then leave.
        keys({"3"});
        leave("testio");
        QVERIFY(sim_->send(QStringLiteral("state")).contains(QStringLiteral("test mode none")));
    }

    void carriage()
    {
        QVERIFY(sim_->command(QStringLiteral("journal clear")));
        QVERIFY(x_->key(QStringLiteral("1")));
        QVERIFY(sim_->waitFor(QStringLiteral("RRQ moto.tst"), 5000));
        QTest::qWait(500);
        // The back bed's first motor to 200; its first selector's blade 3; then the machine
        // reports its second selector all on.
        keys({"3", "Right", "3"});
        QVERIFY(sim_->command(QStringLiteral("test moto 2 3 255")));
        QTest::qWait(500);
        QVERIFY(x_->screenshot(shot("testmoto")));
        QVERIFY(panel_.output().contains("\n26 2 4 0 1b 3 0 2 c8 0 55 aa \n"));
        keys({"m"});
        QTest::qWait(300);
        QVERIFY(x_->screenshot(shot("testmoto-menu")));
        keys({"m"});

        // A whole-group cycle of the selector: a step every 50 ms until its message is closed.
        keys({"KP_Enter"});
        QTest::qWait(1000);
        QVERIFY(x_->screenshot(shot("testmoto-cycle")));
        keys({"Return"});
        QTest::qWait(300);
        const int steps = sim_->traffic().count(QStringLiteral("cmd 26/3/2"));
        QVERIFY2(steps >= 12 && steps <= 30, qPrintable(QString::number(steps)));
        QTest::qWait(500);
        QCOMPARE(sim_->traffic().count(QStringLiteral("cmd 26/3/2")), steps);

        leave("testmoto");
        QVERIFY(panel_.output().contains("send:20 41 0 0 1b 81 0 0 0 0 55 0 \n"));
        QVERIFY(x_->key(QStringLiteral("Escape")));
    }

private:
    void keys(const QStringList &names)
    {
        for (const QString &k : names) {
            QVERIFY(x_->key(k));
            QTest::qWait(60);
        }
    }
    // Escape on a page with knitsim's answer held back: the page must wait for it, then the
    // menu is back as it was.
    void leave(const QByteArray &page)
    {
        QVERIFY(sim_->command(QStringLiteral("fault delay 800")));
        keys({"Escape"});
        QTest::qWait(400);
        QVERIFY(x_->screenshot(shot(page + "-leaving")));
        QTest::qWait(1000);
        QVERIFY(sim_->command(QStringLiteral("fault clear")));
        QVERIFY(x_->screenshot(shot(page + "-left")));
        const QRect menu(0, 50, 640, 430);
        const QImage menuShown = QImage(shot("testmenu")).copy(menu);
        QCOMPARE(QImage(shot(page + "-left")).copy(menu), menuShown);
        QVERIFY2(QImage(shot(page + "-leaving")).copy(menu) != menuShown, "the page closed before the controller answered");
    }

    std::unique_ptr<TestRoot> root_;
    std::unique_ptr<XServer> x_;
    std::unique_ptr<SimProcess> sim_;
    PanelProcess panel_;
};

QTEST_GUILESS_MAIN(TestMachineTestsE2e)
#include "test_machinetests_e2e.moc"
