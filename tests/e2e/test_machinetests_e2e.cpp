// The test menu and both test pages in the real knitpanel against the real knitsim, under a
// private X server, driven by keys as an operator would: menu, entry, a few outputs and
// elements, a report from the machine, and the leave. Faults caught: a key 6 that opens
// nothing, an entry that never shows its page, an output or element that does not follow the
// controller's report, an input report that never reaches its label, a carriage that does not
// report while it is driven, a cycle that goes on after its message is closed, a leave that
// closes the page before the controller answered or never closes it; the carriage test's trace
// with a prefix.
#include "panelfixture.h"

#include <QElapsedTimer>
#include <QImage>
#include <QRegularExpression>
#include <QTest>

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
        PANEL_FIXTURE_START(f_.start({{QStringLiteral("M1"), 40, 100, 100}}, &why));
        QVERIFY(f_.switchWith({QStringLiteral("6")}));
        menu_ = f_.x().focusWindow();
        QVERIFY(f_.x().screenshot(shot("testmenu")));
    }

    void inputOutput()
    {
        QVERIFY(f_.sim().command(QStringLiteral("journal clear")));
        QVERIFY(f_.switchWith({QStringLiteral("2")}));
        QVERIFY(f_.sim().waitFor(QStringLiteral("RRQ io.tst"), 5000));
        // Red lamp on; speed 5; carriage to the left: it reports needle pulses and its speed.
        keys({"1", "Down", "Down", "Down", "Right", "Right", "5", "KP_Enter", "Left", "1"});
        QVERIFY(f_.sim().waitFor(QStringLiteral("cmd 26/2/7"), 3000));
        QVERIFY(f_.sim().command(QStringLiteral("test input 4 1")));
        const QImage page = f_.x().pictureWhen("testio", [](const QImage &i) { return redPixels(i, QRect(130, 274, 54, 22)) > 10; });
        // The start lever (input 4) closed: red beside its label.
        QVERIFY2(redPixels(page, QRect(130, 274, 54, 22)) > 10, "the input report did not reach its label");
        QVERIFY2(redPixels(page, QRect(130, 300, 54, 22)) == 0, "the stop lever shows closed");
        // Stop the carriage, then leave.
        keys({"3"});
        leave("testio");
        QVERIFY(f_.sim().send(QStringLiteral("state")).contains(QStringLiteral("test mode none")));
    }

    void carriage()
    {
        QVERIFY(f_.sim().command(QStringLiteral("journal clear")));
        QVERIFY(f_.switchWith({QStringLiteral("1")}));
        QVERIFY(f_.sim().waitFor(QStringLiteral("RRQ moto.tst"), 5000));
        // The back bed's first motor to 200; its first selector's blade 3; then the machine
        // reports its second selector all on.
        keys({"3", "Right", "3"});
        QVERIFY(f_.sim().command(QStringLiteral("test moto 2 3 255")));
        QVERIFY(f_.waitForTrace(QStringLiteral("^26 2 4 0 1b 3 0 2 c8 0 55 aa $")));
        QVERIFY(f_.x().screenshot(shot("testmoto")));
        QVERIFY(f_.x().keys({QStringLiteral("m")}, "testmoto-menu"));
        keys({"m"});

        // A whole-group cycle of the selector: a step every 50 ms until its message is closed
        // (no more steps than 50 ms periods while it was up, however slow the machine).
        QElapsedTimer up;
        up.start();
        QVERIFY(f_.switchWith({QStringLiteral("KP_Enter")}));
        QVERIFY(f_.sim().waitFor(QStringLiteral("cmd 26/3/2"), 10000, 12));
        QVERIFY(f_.x().screenshot(shot("testmoto-cycle")));
        QVERIFY(f_.switchWith({QStringLiteral("Return")}));
        const int steps = f_.sim().traffic().count(QStringLiteral("cmd 26/3/2"));
        QVERIFY2(steps >= 12 && steps <= up.elapsed() / 50 + 1, qPrintable(QStringLiteral("%1 in %2 ms").arg(steps).arg(up.elapsed())));
        QTest::qWait(500); // proves an absence: no step after the message closed
        QCOMPARE(f_.sim().traffic().count(QStringLiteral("cmd 26/3/2")), steps);

        leave("testmoto");
        QVERIFY(f_.panel().output().contains("send:20 41 0 0 1b 81 0 0 0 0 55 0 \n"));
        QVERIFY(f_.x().key(QStringLiteral("Escape")));
    }

private:
    void keys(const QStringList &names) { QVERIFY(f_.x().keys(names)); }
    // Escape on a page with knitsim's answer held back: the page must wait for it, then the
    // menu is back as it was.
    void leave(const QByteArray &page)
    {
        const int closing = f_.sim().traffic().filter(QRegularExpression(QStringLiteral("^cmd 20/"))).size();
        QVERIFY(f_.sim().command(QStringLiteral("fault delay 800")));
        QVERIFY(f_.x().key(QStringLiteral("Escape")));
        // The page's closing command is out and its answer held back: the page must still be up.
        QVERIFY(f_.waitForJournal(QStringLiteral("cmd 20"), 10000, closing + 1));
        QVERIFY(f_.x().screenshot(shot(page + "-leaving")));
        QVERIFY(QTest::qWaitFor([&] { return f_.x().focusWindow() == menu_; }, 10000));
        QVERIFY(f_.sim().command(QStringLiteral("fault clear")));
        const QRect menu(0, 50, 640, 430);
        const QImage menuShown = QImage(shot("testmenu")).copy(menu);
        f_.x().pictureWhen((page + "-left").constData(), [&](const QImage &i) { return i.copy(menu) == menuShown; });
        QVERIFY2(QImage(shot(page + "-leaving")).copy(menu) != menuShown, "the page closed before the controller answered");
    }

    PanelFixture f_;
    QByteArray menu_;
};

QTEST_GUILESS_MAIN(TestMachineTestsE2e)
#include "test_machinetests_e2e.moc"
