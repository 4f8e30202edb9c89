// Keys that must arrive on an X server without a window manager (the demo's and the tests'):
// knitpanel against knitsim under a private Xvfb, driven by xdotool.
// Faults caught: a focused button on the main screen that takes the first arrow key to move
// the focus (Up after start-up sends no rollers command); a main window that does not get the
// keyboard back when a page over it closes (the focus stays on the root window, and Escape on
// a raised alarm neither sends the acknowledgement nor logs it).
#include "panelprocess.h"
#include "simprocess.h"
#include "testbytes.h"
#include "testroot.h"
#include "xserver.h"

#include <QTest>

#include <memory>

class TestKeysE2e : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QString why;
        if (!XServer::available(&why))
            QSKIP(qPrintable(why));
        root_ = std::make_unique<TestRoot>();
        x_ = std::make_unique<XServer>();
        QVERIFY2(x_->start(), "Xvfb did not start");
        sim_ = std::make_unique<SimProcess>();
        QVERIFY2(sim_->start(&why), qPrintable(why));
        QVERIFY(root_->makeJob(QStringLiteral("K1"), 40, 100, 50));
        QVERIFY(root_->writeReferences(sim_->file(QStringLiteral("file.sys")), sim_->file(QStringLiteral("config.cfg"))));
        QVERIFY(sim_->command(QStringLiteral("set job K1")));
        QVERIFY(panel_.start(x_->environment(), root_->path(), sim_->portOffset()));
        QVERIFY(sim_->waitFor(QStringLiteral("cmd 26"), 30000));
        // The main screen is the only window of the whole screen's size.
        QVERIFY2(QTest::qWaitFor([&] { return x_->screenSizedFocus(); }, 20000),
                 "the main screen never took the keyboard");
        mainWindow_ = x_->focusWindow();
        QVERIFY(sim_->command(QStringLiteral("journal clear")));
    }
    void cleanupTestCase()
    {
        panel_.stop();
        sim_.reset();
        x_.reset();
    }

    // The very first key after start-up: Up turns the rollers forward (action 17).
    void firstUp()
    {
        QVERIFY(x_->key(QStringLiteral("Up")));
        QVERIFY2(sim_->waitFor(QStringLiteral("cmd 2a/1/11"), 5000), "the first Up sent no rollers command");
    }

    // Key 1's page opens over the main screen and Escape closes it; the main screen has the
    // keyboard again, so Escape on an alarm acknowledges it (command 38, sub-code 33).
    void escapeAfterDialog()
    {
        QVERIFY(x_->key(QStringLiteral("1")));
        QVERIFY2(QTest::qWaitFor([&] { const QByteArray w = x_->focusWindow(); return !w.isEmpty() && w != mainWindow_; }, 10000),
                 "key 1 opened no page");
        QVERIFY(x_->key(QStringLiteral("Escape")));
        QVERIFY2(QTest::qWaitFor([&] { return x_->focusWindow() == mainWindow_; }, 10000),
                 "the keyboard did not come back to the main screen");

        QVERIFY(sim_->command(QStringLiteral("alarm 2 23")));
        QVERIFY(QTest::qWaitFor([&] { return alarmLog().contains("\traised\t2\t23\t"); }, 10000));
        QVERIFY(sim_->command(QStringLiteral("journal clear")));
        QVERIFY(x_->key(QStringLiteral("Escape")));
        QVERIFY2(sim_->waitFor(QStringLiteral("cmd 26/21/0"), 5000), "Escape on the alarm sent no acknowledgement");
        QVERIFY(QTest::qWaitFor([&] { return alarmLog().contains("\tacknowledged\t2\t23\t"); }, 5000));
        QVERIFY(sim_->command(QStringLiteral("alarm clear")));
    }

private:
    QByteArray alarmLog() const { return TestBytes::readFile(root_->file(QStringLiteral("/mnt/ide/knit/log/alarms.log"))); }

    std::unique_ptr<TestRoot> root_;
    std::unique_ptr<XServer> x_;
    std::unique_ptr<SimProcess> sim_;
    PanelProcess panel_;
    QByteArray mainWindow_;
};

QTEST_GUILESS_MAIN(TestKeysE2e)
#include "test_keys_e2e.moc"
