// The two editors in the real knitpanel against knitsim under a private X server, worked by
// keys from the disk file manager (key 3, F5, F6) as an operator does, with the guide's
// pictures. Faults caught: F5 or F6 opening nothing; a live change that never reaches the
// controller, reaches it outside its update or lands on another byte than the saved file's;
// a save that leaves the file without its checksum; another job's file sending datagrams.
#include "panelprocess.h"
#include "portoffset.h"
#include "simprocess.h"
#include "testbytes.h"
#include "testroot.h"
#include "xserver.h"

#include "data/cntfile.h"
#include "data/patfile.h"

#include <QTest>

#include <memory>

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
        QString why;
        if (!XServer::available(&why))
            QSKIP(qPrintable(why));
        root_ = std::make_unique<TestRoot>();
        PortOffset::useFree();
        QVERIFY2(x_.start(), "Xvfb did not start");
        QVERIFY2(sim_.start(&why), qPrintable(why));
        QVERIFY(root_->makeJob(QStringLiteral("M1"), 40, 100, 30) && root_->makeJob(QStringLiteral("M2"), 60, 120, 30));
        QVERIFY(root_->writeReferences(sim_.file(QStringLiteral("file.sys")), sim_.file(QStringLiteral("config.cfg"))));
        QVERIFY(sim_.command(QStringLiteral("set job M1")));
        QVERIFY(panel_.start(x_.environment(), root_->path(), sim_.portOffset()));
        QTRY_VERIFY_WITH_TIMEOUT(sim_.traffic().contains(QStringLiteral("cmd 26/21/0")), 20000);
        QTest::qWait(1000);
        // M2 sent from the manager becomes the current job, in the panel and in knitsim.
        QVERIFY(x_.keys({"3", "Down", "c"}, nullptr, 400) && x_.keys({"Return"}, nullptr, 3000) && x_.keys({"Return"}));
        QVERIFY(sim_.send(QStringLiteral("state")).contains(QStringLiteral("job M2")));
    }
    void cleanupTestCase() { panel_.stop(); }

    void programEditor()
    {
        QVERIFY(x_.keys({"F5"}, "editor-program", 800));
        QVERIFY(x_.keys(kSpeedSeven, nullptr, 600) && x_.keys({"Escape"}, nullptr, 600) && x_.keys({"Return"}));
        const QStringList state = sim_.send(QStringLiteral("state"));
        QVERIFY2(state.contains(QStringLiteral("cnt 1 93 7")) && state.contains(QStringLiteral("unbracketed 0")),
                 qPrintable(state.join(QLatin1Char('\n'))));
        const QString path = root_->file("/mnt/ide/knit/wave/M2/M2.cnt");
        QCOMPARE(cntfilecheck(path), int(CntCheck::Ok));
        // knitsim's copy: every byte it took is the saved file's.
        const QByteArray saved = TestBytes::readFile(path);
        for (const QString &line : state.filter(QRegularExpression(QStringLiteral("^cnt ")))) {
            const QStringList f = line.split(QLatin1Char(' '));
            QCOMPARE(quint8(saved.at(f[1].toInt() * 128 + f[2].toInt())), quint8(f[3].toInt()));
        }
        const int rowCommands = sim_.traffic().filter(QStringLiteral("cmd 72")).size();
        // Another job's program is edited on disk only.
        QVERIFY(x_.keys({"Up", "F5"}, nullptr, 800) && x_.keys(kSpeedSeven, nullptr, 600) && x_.keys({"Escape"}, nullptr, 600)
                && x_.keys({"Return"}));
        QCOMPARE(quint8(TestBytes::readFile(root_->file("/mnt/ide/knit/wave/M1/M1.cnt")).at(128 + 93)), quint8(7));
        QCOMPARE(sim_.traffic().filter(QStringLiteral("cmd 72")).size(), rowCommands);
        QVERIFY(x_.keys({"Down"}));
    }

    void patternEditor()
    {
        QVERIFY(x_.keys({"F6"}, "editor-pattern", 800));
        QVERIFY(x_.keys({"5", "KP_Enter", "Right", "Up"}, nullptr, 400) && x_.keys({"m", "Return"}, "editor-pattern-line", 1500));
        QVERIFY(x_.keys({"Escape"}, nullptr, 800));
        const QStringList state = sim_.send(QStringLiteral("state"));
        QVERIFY2(state.contains(QStringLiteral("pat 2 59 85")), qPrintable(state.join(QLatin1Char('\n'))));
        // knitsim's copy of the pattern is the saved file, checksum included.
        const QString path = root_->file("/mnt/ide/knit/wave/M2/M2.pat");
        QCOMPARE(patfilecheck(path), int(PatCheck::Ok));
        QCOMPARE(TestBytes::readFile(sim_.file(QStringLiteral("M2.pat"))), TestBytes::readFile(path));
        const int rowCommands = sim_.traffic().filter(QStringLiteral("cmd 72")).size();
        QVERIFY(x_.keys({"Up", "F6", "3", "KP_Enter"}, nullptr, 600) && x_.keys({"Escape"}, nullptr, 600));
        QCOMPARE(sim_.traffic().filter(QStringLiteral("cmd 72")).size(), rowCommands);
        QCOMPARE(quint8(TestBytes::readFile(root_->file("/mnt/ide/knit/wave/M1/M1.pat")).at(50)) >> 4, 3);
    }

private:
    std::unique_ptr<TestRoot> root_;
    XServer x_;
    SimProcess sim_;
    PanelProcess panel_;
};

QTEST_GUILESS_MAIN(TestEditorsE2e)

#include "test_editors_e2e.moc"
