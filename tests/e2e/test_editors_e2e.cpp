// The two editors in the real knitpanel against knitsim under a private X server, worked by
// keys from the disk file manager (key 3, F5, F6) as an operator does, with the guide's
// pictures. Faults caught: F5 or F6 opening nothing; a live change that never reaches the
// controller, reaches it outside its update or lands on another byte than the saved file's;
// a save that leaves the file without its checksum; another job's file sending datagrams; an
// opening whose answer was lost left open.
#include "panelfixture.h"
#include "testbytes.h"

#include "data/cntfile.h"
#include "data/patfile.h"

#include <QTest>

namespace {

// From the first field down to "速    度", then the value and the keypad Enter, confirmed.
const QStringList kSpeedSeven{"Down", "Down", "Down", "Down", "Down", "Down", "Down", "Down", "Right", "Right", "7", "KP_Enter", "Return"};

} // namespace

class TestEditorsE2e : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        PANEL_FIXTURE_START(f_.start({{QStringLiteral("M1"), 40, 100, 30}, {QStringLiteral("M2"), 60, 120, 30}}, &why));
        // M2 sent from the manager becomes the current job, in the panel and in knitsim.
        QVERIFY(f_.switchWith({"3"}) && f_.switchWith({"Down", "c"}) && f_.x().keys({"Return"}));
        QTRY_VERIFY_WITH_TIMEOUT(f_.sim().send(QStringLiteral("state")).contains(QStringLiteral("job M2")), 10000);
        QVERIFY(f_.x().keys({}) && f_.switchWith({"Return"}));
    }

    void programEditor()
    {
        QVERIFY(f_.walk({"F5+"}, "editor-program"));
        QVERIFY(f_.x().keys(kSpeedSeven) && f_.walk({"Escape+", "Return+"}));
        const QStringList state = f_.sim().send(QStringLiteral("state"));
        QVERIFY2(state.contains(QStringLiteral("cnt 1 93 7")) && state.contains(QStringLiteral("unbracketed 0")),
                 qPrintable(state.join(QLatin1Char('\n'))));
        const QString path = f_.file("/mnt/ide/knit/wave/M2/M2.cnt");
        QCOMPARE(cntfilecheck(path), int(CntCheck::Ok));
        // knitsim's copy: every byte it took is the saved file's.
        const QByteArray saved = TestBytes::readFile(path);
        for (const QString &line : state.filter(QRegularExpression(QStringLiteral("^cnt ")))) {
            const QStringList f = line.split(QLatin1Char(' '));
            QCOMPARE(quint8(saved.at(f[1].toInt() * 128 + f[2].toInt())), quint8(f[3].toInt()));
        }
        const int rowCommands = f_.sim().traffic().filter(QStringLiteral("cmd 72")).size();
        // Another job's program is edited on disk only.
        QVERIFY(f_.walk({"Up", "F5+"}) && f_.x().keys(kSpeedSeven) && f_.walk({"Escape+", "Return+"}));
        QCOMPARE(quint8(TestBytes::readFile(f_.file("/mnt/ide/knit/wave/M1/M1.cnt")).at(128 + 93)), quint8(7));
        QCOMPARE(f_.sim().traffic().filter(QStringLiteral("cmd 72")).size(), rowCommands);
        QVERIFY(f_.x().keys({"Down"}));
    }

    void patternEditor()
    {
        QVERIFY(f_.walk({"F6+"}, "editor-pattern"));
        QVERIFY(f_.x().keys({"5", "KP_Enter", "Right", "Up"}) && f_.x().keys({"m", "Return"}, "editor-pattern-line"));
        QVERIFY(f_.switchWith({"Escape"}));
        const QStringList state = f_.sim().send(QStringLiteral("state"));
        QVERIFY2(state.contains(QStringLiteral("pat 2 59 85")), qPrintable(state.join(QLatin1Char('\n'))));
        // knitsim's copy of the pattern is the saved file, checksum included.
        const QString path = f_.file("/mnt/ide/knit/wave/M2/M2.pat");
        QCOMPARE(patfilecheck(path), int(PatCheck::Ok));
        QCOMPARE(TestBytes::readFile(f_.sim().file(QStringLiteral("M2.pat"))), TestBytes::readFile(path));
        const int rowCommands = f_.sim().traffic().filter(QStringLiteral("cmd 72")).size();
        QVERIFY(f_.walk({"Up", "F6+", "3", "KP_Enter", "Escape+"}));
        QCOMPARE(f_.sim().traffic().filter(QStringLiteral("cmd 72")).size(), rowCommands);
        QCOMPARE(quint8(TestBytes::readFile(f_.file("/mnt/ide/knit/wave/M1/M1.pat")).at(50)) >> 4, 3);
    }

    // The answer to the pattern update's opening is lost, the opening itself was not: the
    // operator is told and the update is closed again.
    void patternOpeningAnswerLost()
    {
        QVERIFY(f_.sim().command(QStringLiteral("fault drop 1 0x20 14")) && f_.sim().command(QStringLiteral("journal clear")));
        QVERIFY(f_.walk({"Down", "F6+", "5"}) && f_.switchWith({"KP_Enter"}));
        QVERIFY(f_.waitForJournal(QStringLiteral("cmd 20/e/0")) && f_.waitForMessage());
        QVERIFY(f_.switchWith({"Return"}) && f_.walk({"Escape+"}));
        QVERIFY(!f_.sim().send(QStringLiteral("state")).contains(QStringLiteral("open 14")));
    }

private:
    PanelFixture f_;
};

QTEST_GUILESS_MAIN(TestEditorsE2e)

#include "test_editors_e2e.moc"
