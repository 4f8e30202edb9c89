// The real knitpanel against the real knitsim under a private X server, driven by keys: one
// start-up, then the main screen while knitsim knits. (A start-up that meets no controller is
// the start-state test's.) Faults caught: a start-up that differs between the program and the
// in-process tests (the main(), fonts, style), uploads missing, out of order or not
// byte-exact; a panel that does not take the simulator's reports (no
// trace of them), a row field that stands still while the carriage walks, hidden quick keys
// whose texts show through beside the screen-lock button, an alarm that does not bring up the
// red alarm button or does not go with alarm clear, a zeroing message that never shows, a
// panel that does not take the keyboard when shown (key M then leaves the desktop picture over
// the block panel); knitsim's row skip whose message line does not walk its four steps or does
// not go on the skip's row; a row number that does not open skip rows when touched, a zero key
// that homes the machine on No or not on Yes, a quick-function message that does not go again.
#include "panelfixture.h"
#include "testbytes.h"

#include <QImage>
#include <QTest>

namespace {

const QRect kMiddle(QPoint(10, 55), QPoint(630, 350));
// The message line above the bottom band.
const QRect kMessageLine(10, 277, 620, 50);

// Share of the middle area's pixels that have the given colour.
double shareOf(const QImage &image, QRgb colour)
{
    return double(countPixels(image, kMiddle, [colour](const QColor &c) { return c.rgb() == colour; })) / (kMiddle.width() * kMiddle.height());
}

} // namespace

class TestMainScreenE2e : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        PANEL_FIXTURE_START(f_.prepare({{QStringLiteral("M1"), 400, 200, 200}}, &why));
        QVERIFY(f_.startPanel());

        // Start-up: the three fetches, the job's uploads byte-exact, then the closing commands.
        QVERIFY2(sim().waitFor(QStringLiteral("cmd 26"), 20000), qPrintable(sim().traffic(true).join(QLatin1Char(','))));
        QCOMPARE(sim().traffic(true), QStringList({"RRQ file.sys", "RRQ config.cfg", "RRQ file.knt", "WRQ M1.wrk", "WRQ M1.cnt",
                                       "WRQ M1.pat", "cmd 20", "cmd 26"}));
        for (const char *ext : {".wrk", ".cnt", ".pat"})
            QCOMPARE(TestBytes::readFile(sim().file(QStringLiteral("M1") + QLatin1String(ext))),
                     TestBytes::readFile(f_.file(QStringLiteral("/mnt/ide/knit/wave/M1/M1") + QLatin1String(ext))));
        QVERIFY2(f_.waitForMainScreen(), "the main screen never took the keyboard");
        QVERIFY(f_.picture("mainscreen-desktop"));
        const QImage desktop(XServer::picture("mainscreen-desktop"));
        const QRgb desktopColour = desktop.pixel(kMiddle.center());
        QVERIFY2(shareOf(desktop, desktopColour) > 0.9, "the desktop picture does not cover the panels after start-up");
        // The running indicator's key M hides the desktop picture over the panels.
        QVERIFY(x().key(QStringLiteral("m")));
        x().pictureWhen("mainscreen-panels", [&](const QImage &i) { return shareOf(i, desktopColour) < 0.5; });
    }

    void knitting()
    {
        QVERIFY(sim().command(QStringLiteral("set speed 4")));
        QVERIFY(sim().command(QStringLiteral("start M1")));
        QVERIFY(f_.waitForTrace(QStringLiteral("send:0 0 0 0 0 14 "), 0, 5000));
        const QRect rowField(220, 365, 100, 50);
        const QImage first = x().pictureWhen("mainscreen-knitting", [](const QImage &) { return true; });
        // The row field moves on while knitting; pictureWhen fails the test if it stands still.
        x().pictureWhen("mainscreen-knitting2", [&](const QImage &i) { return i.copy(rowField) != first.copy(rowField); });
        // The quick keys reached by their key only stay hidden under the screen-lock button: the
        // gap left of it has the window background of the top band.
        for (int y = 12; y <= 42; y += 3) {
            for (int x = 570; x <= 579; x += 3)
                QVERIFY2(first.pixel(x, y) == first.pixel(5, 27), "quick key texts show through beside the screen lock");
        }
    }

    void alarm()
    {
        QVERIFY(sim().command(QStringLiteral("alarm 2 23")));
        x().pictureWhen("mainscreen-alarm", [](const QImage &i) { return isRed(i.pixelColor(30, 382)); });
        QVERIFY(sim().command(QStringLiteral("alarm clear")));
        x().pictureWhen("mainscreen-alarm-cleared", [](const QImage &i) { return !isRed(i.pixelColor(30, 382)); });
    }

    void message()
    {
        const qsizetype from = f_.panel().output().size();
        const QImage before = x().pictureWhen("mainscreen-stopped", [](const QImage &) { return true; });
        QVERIFY(sim().command(QStringLiteral("stop")));
        QVERIFY(sim().command(QStringLiteral("zero")));
        QVERIFY(reported("10", from)); // 16, zeroing started
        x().pictureWhen("mainscreen-message", [&](const QImage &i) { return i.copy(kMessageLine) != before.copy(kMessageLine); });
        QVERIFY(reported("17", from)); // 23, zeroing finished
    }

    // A row skip with knitsim as the machine: key 0 and row 4 arm it; the first start zeroes
    // (17, 16, then 23 and 19), the second runs through rows 1-3 flagged and knits on from row 4.
    // The message line shows each step, and goes when row 4 comes. Zeroing and rows are slow,
    // so that each step stands for a few screenshots.
    void skipRows()
    {
        const QRect line = kMessageLine;
        const QPoint inside(14, 300); // the line's own background, left of its text
        QVERIFY(sim().command(QStringLiteral("set zeroing 3000")) && sim().command(QStringLiteral("set speed 1")));
        const QImage before = x().pictureWhen("skip-before", [](const QImage &) { return true; });
        QVERIFY(f_.walk({"0>TextInputDialog", "4", "Return>MainScreen"}));
        QVERIFY(sim().waitFor(QStringLiteral("cmd 2a/1/8"), 5000));
        const QImage armed = x().pictureWhen("skip-armed", [&](const QImage &i) { return i.pixel(inside) != before.pixel(inside); });
        const QRgb background = armed.pixel(inside);

        qsizetype from = f_.panel().output().size();
        QVERIFY(sim().command(QStringLiteral("start M1")));
        QVERIFY(reported("11", from) && reported("10", from)); // 17, 16: zeroing started
        const QImage zeroing = x().pictureWhen("skip-zeroing", [&](const QImage &i) { return i.copy(line) != armed.copy(line); });
        QVERIFY(reported("17", from) && reported("13", from)); // 23, 19: at row 1
        const QImage stands = x().pictureWhen("skip-stands", [&](const QImage &i) { return i.copy(line) != zeroing.copy(line); });
        QVERIFY(stands.copy(line) != armed.copy(line));

        from = f_.panel().output().size();
        QVERIFY(sim().command(QStringLiteral("start")));
        QVERIFY(reported("14 [0-9a-f]+ [0-9a-f]+ 3 80", from)); // row 1, flagged
        const QImage skipping = x().pictureWhen("skip-skipping", [&](const QImage &i) { return i.copy(line) != stands.copy(line); });
        QVERIFY(skipping.pixel(inside) == background);
        QVERIFY(reported("14 [0-9a-f]+ [0-9a-f]+ 6 0", from)); // row 4, not flagged
        x().pictureWhen("skip-done", [&](const QImage &i) { return i.pixel(inside) != background; });

        QVERIFY(sim().command(QStringLiteral("stop")) && sim().command(QStringLiteral("set zeroing 500")));
        QVERIFY(sim().command(QStringLiteral("journal clear")));
    }

    // The commands of the main screen, as an operator works them: skip rows by touching the row
    // number, zero answered No and then Yes, quick function 5's message and back.
    void commands()
    {
        QVERIFY(x().click(270, 390));
        QVERIFY2(f_.waitForWindow("TextInputDialog"), "touching the row number opened nothing");
        QVERIFY(f_.picture("mainscreen-skip-input"));
        QVERIFY(f_.walk({"12", "Return>MainScreen"}) && sim().waitFor(QStringLiteral("cmd 2a/1/8"), 3000));
        QVERIFY(f_.picture("mainscreen-skip"));

        QVERIFY(f_.walk({"a>QuestionDialog"}, "mainscreen-zero-question") && f_.walk({"Escape>MainScreen", "a>QuestionDialog"}));
        // The question is up: nothing may have gone to the controller before it is answered.
        QVERIFY(!sim().traffic().join(QLatin1Char(',')).contains(QStringLiteral("cmd 2e")));
        QVERIFY(f_.walk({"Return>MainScreen"}) && sim().waitFor(QStringLiteral("cmd 2e/1/0"), 3000));

        QVERIFY(f_.walk({"5>MessageDialog"}, "mainscreen-quickfun5") && f_.walk({"Return>MainScreen"}));
    }

    // The alarm raised and cleared above is in the history: key 7, then F1 shows it.
    void history()
    {
        QVERIFY(f_.walk({"7>SystemToolsMenu", "a>HistoryPage"}, "history"));
        const QByteArray log = TestBytes::readFile(f_.file(QStringLiteral("/mnt/ide/knit/log/alarms.log")));
        QVERIFY2(log.contains("\traised\t2\t23\t") && log.contains("\tcleared\t0\t0\t"), log.constData());
        QVERIFY(f_.walk({"Escape>SystemToolsMenu", "Escape>MainScreen"}));
    }

private:
    XServer &x() { return f_.x(); }
    SimProcess &sim() { return f_.sim(); }
    // True once the panel traced, after byte from of its output, a status report whose bytes
    // from 5 on match the pattern (in the trace's hex).
    bool reported(const char *pattern, qsizetype from)
    {
        return f_.waitForTrace(QStringLiteral("send:0 0 0 0 0 ") + QLatin1String(pattern) + QLatin1Char(' '), from);
    }

    PanelFixture f_;
};

QTEST_GUILESS_MAIN(TestMainScreenE2e)
#include "test_mainscreen_e2e.moc"
