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

#include <QImage>
#include <QTest>

namespace {

const char kProgram[] = "Cnt File Browse Tools";
const char kPattern[] = "Pat File Browse Tools";

// From the first field down to "速    度", then the value and the keypad Enter, confirmed.
QStringList speedSeven()
{
    return {"Down", "Down", "Down", "Down", "Down", "Down", "Down", "Down", "Right", "Right", "7",
            "KP_Enter>QMDialogYN", QStringLiteral("Return>") + kProgram};
}

// A window's step for PanelFixture::walk.
QString to(const char *key, const char *window)
{
    return QLatin1String(key) + QLatin1Char('>') + QLatin1String(window);
}

} // namespace

class TestEditorsE2e : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        PANEL_FIXTURE_START(f_.start({{QStringLiteral("M1"), 40, 100, 30}, {QStringLiteral("M2"), 60, 120, 30}}, &why));
        // M2 sent from the manager becomes the current job, in the panel and in knitsim.
        QVERIFY(f_.walk({"3>dialogide", "Down", "c>QMDialogYN", "Return>QMDialogC"}));
        QVERIFY(f_.sim().send(QStringLiteral("state")).contains(QStringLiteral("job M2")));
        QVERIFY(f_.walk({"Return>dialogide"}));
    }

    void programEditor()
    {
        QVERIFY(f_.walk({to("F5", kProgram)}, "editor-program"));
        QVERIFY(f_.walk(speedSeven() + QStringList{"Escape>QMDialogC", "Return>dialogide"}));
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
        QVERIFY(f_.walk(QStringList{"Up", to("F5", kProgram)} + speedSeven() + QStringList{"Escape>QMDialogC", "Return>dialogide", "Down"}));
        QCOMPARE(quint8(TestBytes::readFile(f_.file("/mnt/ide/knit/wave/M1/M1.cnt")).at(128 + 93)), quint8(7));
        QCOMPARE(f_.sim().traffic().filter(QStringLiteral("cmd 72")).size(), rowCommands);
    }

    void patternEditor()
    {
        QVERIFY(f_.walk({to("F6", kPattern)}, "editor-pattern"));
        // M's question on the line, answered: the picture once the question is gone from it.
        QVERIFY(f_.walk({"5", "KP_Enter", "Right", "Up", "m>QMDialogYN"}, "editor-pattern-line"));
        const QImage question(XServer::picture("editor-pattern-line"));
        const QRect box(120, 140, 400, 200);
        QVERIFY(f_.walk({to("Return", kPattern)}));
        QVERIFY(!f_.x().pictureWhen("editor-pattern-line", [&](const QImage &i) { return i.copy(box) != question.copy(box); }).isNull());
        QVERIFY(f_.walk({"Escape>dialogide"}));
        const QStringList state = f_.sim().send(QStringLiteral("state"));
        QVERIFY2(state.contains(QStringLiteral("pat 2 59 85")), qPrintable(state.join(QLatin1Char('\n'))));
        // knitsim's copy of the pattern is the saved file, checksum included.
        const QString path = f_.file("/mnt/ide/knit/wave/M2/M2.pat");
        QCOMPARE(patfilecheck(path), int(PatCheck::Ok));
        QCOMPARE(TestBytes::readFile(f_.sim().file(QStringLiteral("M2.pat"))), TestBytes::readFile(path));
        const int rowCommands = f_.sim().traffic().filter(QStringLiteral("cmd 72")).size();
        QVERIFY(f_.walk({"Up", to("F6", kPattern), "3", "KP_Enter", "Escape>dialogide"}));
        QCOMPARE(f_.sim().traffic().filter(QStringLiteral("cmd 72")).size(), rowCommands);
        QCOMPARE(quint8(TestBytes::readFile(f_.file("/mnt/ide/knit/wave/M1/M1.pat")).at(50)) >> 4, 3);
    }

    // The answer to the pattern update's opening is lost, the opening itself was not: the
    // operator is told and the update is closed again.
    void patternOpeningAnswerLost()
    {
        QVERIFY(f_.sim().command(QStringLiteral("fault drop 1 0x20 14")) && f_.sim().command(QStringLiteral("journal clear")));
        QVERIFY(f_.walk({"Down", to("F6", kPattern), "5", "KP_Enter>QMDialogC"}) && f_.waitForJournal(QStringLiteral("cmd 20/e/0")));
        QVERIFY(f_.walk({to("Return", kPattern), "Escape>dialogide"}));
        QVERIFY(!f_.sim().send(QStringLiteral("state")).contains(QStringLiteral("open 14")));
    }

private:
    PanelFixture f_;
};

QTEST_GUILESS_MAIN(TestEditorsE2e)

#include "test_editors_e2e.moc"
