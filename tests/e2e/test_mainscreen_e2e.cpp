// The real knitpanel against the real knitsim under a private X server, driven by keys: one
// start-up, then the main screen while knitsim knits, then a start-up that meets no controller.
// Faults caught: a start-up that differs between the program and the in-process tests (the
// main(), fonts, style), uploads missing, out of order or not byte-exact, a panel that does not
// go on after the connection message; a panel that does not take the simulator's reports (no
// trace of them), a row field that stands still while the carriage walks, hidden quick keys
// whose texts show through beside the screen-lock button, an alarm that does not bring up the
// red alarm button or does not go with alarm clear, a zeroing message that never shows, a
// panel that does not take the keyboard when shown (key M then leaves the desktop picture over
// the block panel); knitsim's row skip whose message line does not walk its four steps or does
// not go on the skip's row; a row number that does not open skip rows when touched, a zero key
// that homes the machine on No or not on Yes, a quick-function message that does not go again.
#include "panelprocess.h"
#include "portoffset.h"
#include "simprocess.h"
#include "testbytes.h"
#include "testroot.h"
#include "xserver.h"

#include <QDeadlineTimer>
#include <QImage>
#include <QRegularExpression>
#include <QTest>

#include <functional>
#include <memory>

namespace {

QString shot(const char *name)
{
    return QStringLiteral(KNIT_BINARY_DIR) + QStringLiteral("/e2e-") + QLatin1String(name) + QStringLiteral(".png");
}

const QRect kMiddle(QPoint(10, 55), QPoint(630, 350));

// Share of the middle area's pixels that have the given colour.
double shareOf(const QImage &image, QRgb colour)
{
    int same = 0;
    for (int y = kMiddle.top(); y <= kMiddle.bottom(); y += 2) {
        for (int x = kMiddle.left(); x <= kMiddle.right(); x += 2)
            same += image.pixel(x, y) == colour ? 1 : 0;
    }
    return double(same) / double(((kMiddle.width() + 1) / 2) * ((kMiddle.height() + 1) / 2));
}

bool reddish(const QImage &image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    return c.red() > 150 && c.green() < 110 && c.blue() < 110;
}

} // namespace

class TestMainScreenE2e : public QObject
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
        QVERIFY(root_->makeJob(QStringLiteral("M1"), 400, 200, 200));
        QVERIFY(root_->writeReferences(sim_->file(QStringLiteral("file.sys")), sim_->file(QStringLiteral("config.cfg"))));
        QVERIFY(sim_->command(QStringLiteral("set job M1")));
        startPanel(QStringLiteral("1"));

        // Start-up: the three fetches, the job's uploads byte-exact, then the closing commands.
        QVERIFY2(sim_->waitFor(QStringLiteral("cmd 26"), 20000), qPrintable(codes().join(QLatin1Char(','))));
        QCOMPARE(codes(), QStringList({"RRQ file.sys", "RRQ config.cfg", "RRQ file.knt", "WRQ M1.wrk", "WRQ M1.cnt",
                                       "WRQ M1.pat", "cmd 20", "cmd 26"}));
        for (const char *ext : {".wrk", ".cnt", ".pat"})
            QCOMPARE(TestBytes::readFile(sim_->file(QStringLiteral("M1") + QLatin1String(ext))),
                     TestBytes::readFile(root_->file(QStringLiteral("/mnt/ide/knit/wave/M1/M1") + QLatin1String(ext))));
        QTest::qWait(1500);
        QVERIFY(panel_.running());
        QVERIFY(x_->screenshot(shot("startup")));
        QVERIFY(x_->screenshot(shot("mainscreen-desktop")));
        const QImage desktop(shot("mainscreen-desktop"));
        QVERIFY(!desktop.isNull());
        const QRgb desktopColour = desktop.pixel(kMiddle.center());
        QVERIFY2(shareOf(desktop, desktopColour) > 0.9, "the desktop picture does not cover the panels after start-up");
        // The running indicator's key M hides the desktop picture over the panels.
        QVERIFY(x_->key(QStringLiteral("m")));
        QTest::qWait(300);
        QVERIFY(x_->screenshot(shot("mainscreen-panels")));
        QVERIFY2(shareOf(QImage(shot("mainscreen-panels")), desktopColour) < 0.5, "key M did not uncover the block panel");
    }
    void cleanupTestCase()
    {
        panel_.stop();
        sim_.reset();
        x_.reset();
    }

    void knitting()
    {
        QVERIFY(sim_->command(QStringLiteral("set speed 4")));
        QVERIFY(sim_->command(QStringLiteral("start M1")));
        QTRY_VERIFY_WITH_TIMEOUT(panel_.output().contains("send:0 0 0 0 0 14 "), 5000);
        QTest::qWait(600);
        QVERIFY(x_->screenshot(shot("mainscreen-knitting")));
        const QImage first(shot("mainscreen-knitting"));
        QTest::qWait(800);
        QVERIFY(x_->screenshot(shot("mainscreen-knitting2")));
        const QImage second(shot("mainscreen-knitting2"));
        QVERIFY(!first.isNull() && !second.isNull());
        const QRect rowField(220, 365, 100, 50);
        QVERIFY2(first.copy(rowField) != second.copy(rowField), "the row field stood still while knitting");
        // The quick keys reached by their key only stay hidden under the screen-lock button: the
        // gap left of it has the window background of the top band.
        for (int y = 12; y <= 42; y += 3) {
            for (int x = 570; x <= 579; x += 3)
                QVERIFY2(first.pixel(x, y) == first.pixel(5, 27), "quick key texts show through beside the screen lock");
        }
    }

    void alarm()
    {
        QVERIFY(sim_->command(QStringLiteral("alarm 2 23")));
        QTest::qWait(400);
        QVERIFY(x_->screenshot(shot("mainscreen-alarm")));
        QVERIFY(reddish(QImage(shot("mainscreen-alarm")), 30, 382));
        QVERIFY(sim_->command(QStringLiteral("alarm clear")));
        QTest::qWait(400);
        QVERIFY(x_->screenshot(shot("mainscreen-alarm-cleared")));
        QVERIFY(!reddish(QImage(shot("mainscreen-alarm-cleared")), 30, 382));
    }

    void message()
    {
        const qsizetype from = panel_.output().size();
        QVERIFY(sim_->command(QStringLiteral("stop")));
        QVERIFY(sim_->command(QStringLiteral("zero")));
        QVERIFY(reported("10", from)); // 16, zeroing started
        QTest::qWait(100);
        QVERIFY(x_->screenshot(shot("mainscreen-message")));
        QVERIFY(reported("17", from)); // 23, zeroing finished
    }

    // A row skip with knitsim as the machine: key 0 and row 4 arm it; the first start zeroes
    // (17, 16, then 23 and 19), the second runs through rows 1-3 flagged and knits on from row 4.
    // The message line shows each step, and goes when row 4 comes. Zeroing and rows are slow,
    // so that each step stands for a few screenshots.
    void skipRows()
    {
        const QRect line(10, 277, 620, 50);
        const QPoint inside(14, 300); // the line's own background, left of its text
        QVERIFY(sim_->command(QStringLiteral("set zeroing 3000")) && sim_->command(QStringLiteral("set speed 1")));
        const QImage before = picture("skip-before", [](const QImage &) { return true; });
        const QRect dialog(120, 140, 400, 130);
        QVERIFY(x_->key(QStringLiteral("0")));
        picture("skip-ask", [&](const QImage &i) { return i.copy(dialog) != before.copy(dialog); });
        QVERIFY(x_->key(QStringLiteral("4")) && x_->key(QStringLiteral("Return")));
        QVERIFY(sim_->waitFor(QStringLiteral("cmd 2a/1/8"), 5000));
        const QImage armed = picture("skip-armed", [&](const QImage &i) { return i.pixel(inside) != before.pixel(inside); });
        const QRgb background = armed.pixel(inside);

        qsizetype from = panel_.output().size();
        QVERIFY(sim_->command(QStringLiteral("start M1")));
        QVERIFY(reported("11", from) && reported("10", from)); // 17, 16: zeroing started
        const QImage zeroing = picture("skip-zeroing", [&](const QImage &i) { return i.copy(line) != armed.copy(line); });
        QVERIFY(reported("17", from) && reported("13", from)); // 23, 19: at row 1
        const QImage stands = picture("skip-stands", [&](const QImage &i) { return i.copy(line) != zeroing.copy(line); });
        QVERIFY(stands.copy(line) != armed.copy(line));

        from = panel_.output().size();
        QVERIFY(sim_->command(QStringLiteral("start")));
        QVERIFY(reported("14 [0-9a-f]+ [0-9a-f]+ 3 80", from)); // row 1, flagged
        const QImage skipping = picture("skip-skipping", [&](const QImage &i) { return i.copy(line) != stands.copy(line); });
        QVERIFY(skipping.pixel(inside) == background);
        QVERIFY(reported("14 [0-9a-f]+ [0-9a-f]+ 6 0", from)); // row 4, not flagged
        picture("skip-done", [&](const QImage &i) { return i.pixel(inside) != background; });

        QVERIFY(sim_->command(QStringLiteral("stop")) && sim_->command(QStringLiteral("set zeroing 500")));
        QVERIFY(sim_->command(QStringLiteral("journal clear")));
    }

    // The commands of the main screen, as an operator works them: skip rows by touching the row
    // number, zero answered No and then Yes, quick function 5's message and back.
    void commands()
    {
        QVERIFY(x_->click(270, 390));
        QTest::qWait(400);
        QVERIFY(x_->screenshot(shot("mainscreen-skip-input")));
        QVERIFY(x_->key(QStringLiteral("1")) && x_->key(QStringLiteral("2")) && x_->key(QStringLiteral("Return")));
        QVERIFY(sim_->waitFor(QStringLiteral("cmd 2a/1/8"), 3000));
        QTest::qWait(200);
        QVERIFY(x_->screenshot(shot("mainscreen-skip")));

        QVERIFY(x_->key(QStringLiteral("a")));
        QTest::qWait(400);
        QVERIFY(x_->screenshot(shot("mainscreen-zero-question")));
        QVERIFY(x_->key(QStringLiteral("Escape")));
        QVERIFY(x_->key(QStringLiteral("a")));
        QTest::qWait(400);
        QVERIFY(!sim_->traffic().join(QLatin1Char(',')).contains(QStringLiteral("cmd 2e")));
        QVERIFY(x_->key(QStringLiteral("Return")));
        QVERIFY(sim_->waitFor(QStringLiteral("cmd 2e/1/0"), 3000));

        QVERIFY(x_->key(QStringLiteral("5")));
        QTest::qWait(400);
        QVERIFY(x_->screenshot(shot("mainscreen-quickfun5")));
        QVERIFY(x_->key(QStringLiteral("Return")));
        QTest::qWait(400);
        QVERIFY(x_->screenshot(shot("mainscreen-back")));
        const QRect box(120, 140, 400, 200);
        QVERIFY2(QImage(shot("mainscreen-quickfun5")).copy(box) != QImage(shot("mainscreen-back")).copy(box), "the message stayed");
    }

    // A second panel against a silent controller: eleven tries, the message, and only after
    // Return the closing commands.
    // The alarm raised and cleared above is in the history: key 7, then F1 shows it.
    void history()
    {
        QVERIFY(x_->key(QStringLiteral("7")));
        QTest::qWait(400);
        QVERIFY(x_->key(QStringLiteral("a")));
        QTest::qWait(600);
        QVERIFY(x_->screenshot(shot("history")));
        const QByteArray log = TestBytes::readFile(root_->file(QStringLiteral("/mnt/ide/knit/log/alarms.log")));
        QVERIFY2(log.contains("\traised\t2\t23\t") && log.contains("\tcleared\t0\t0\t"), log.constData());
        QVERIFY(x_->key(QStringLiteral("Escape")) && x_->key(QStringLiteral("Escape")));
        QTest::qWait(300);
    }

    void noController()
    {
        panel_.stop();
        QVERIFY(sim_->command(QStringLiteral("journal clear")));
        QVERIFY(sim_->command(QStringLiteral("fault silent-after 0")));
        startPanel(QStringLiteral("0.02"));
        QVERIFY(sim_->waitFor(QStringLiteral("RRQ file.sys"), 10000, 11));
        QTest::qWait(300); // the last time-out, then the message
        QVERIFY(x_->screenshot(shot("no-controller")));
        QVERIFY(!codes().contains(QStringLiteral("cmd 20")));
        QVERIFY(x_->key(QStringLiteral("Return")));
        QVERIFY(sim_->waitFor(QStringLiteral("cmd 26"), 10000));
        QCOMPARE(codes(), QStringList(11, QStringLiteral("RRQ file.sys")) + QStringList({"cmd 20", "cmd 26"}));
    }

private:
    void startPanel(const QString &timeoutScale)
    {
        QVERIFY(panel_.start(x_->environment(), root_->path(), sim_->portOffset(), timeoutScale));
    }
    // Screenshots until done takes one (then kept as e2e-NAME.png), at most ten seconds.
    QImage picture(const char *name, const std::function<bool(const QImage &)> &done)
    {
        const QDeadlineTimer deadline(10000);
        QImage image;
        while (!deadline.hasExpired()) {
            if (x_->screenshot(shot(name)) && image.load(shot(name)) && done(image))
                return image;
        }
        QTest::qFail(qPrintable(QStringLiteral("the screen never showed %1").arg(QLatin1String(name))), __FILE__, __LINE__);
        return image;
    }
    // True once the panel traced, after byte from of its output, a status report whose bytes
    // from 5 on match the pattern (in the trace's hex).
    bool reported(const char *pattern, qsizetype from)
    {
        const QRegularExpression line(QStringLiteral("send:0 0 0 0 0 ") + QLatin1String(pattern) + QLatin1Char(' '));
        return QTest::qWaitFor([&] { return line.match(QString::fromLatin1(panel_.output().mid(from))).hasMatch(); }, 10000);
    }
    // The simulator's traffic with the command arguments left out ("cmd 26").
    QStringList codes() { return sim_->traffic().replaceInStrings(QRegularExpression(QStringLiteral("/.*")), QString()); }

    std::unique_ptr<TestRoot> root_;
    std::unique_ptr<XServer> x_;
    std::unique_ptr<SimProcess> sim_;
    PanelProcess panel_;
};

QTEST_GUILESS_MAIN(TestMainScreenE2e)
#include "test_mainscreen_e2e.moc"
