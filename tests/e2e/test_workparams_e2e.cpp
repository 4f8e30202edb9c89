// The work-parameter pages and the .wrk browser in the real knitpanel against knitsim under a
// private X server, worked by keys, with the guide's pictures. Faults caught: keys 1 and 4 not
// registered; a typed value that never reaches the controller, or a .wrk saved that is not
// what the controller holds; the browser not opened by F7, or an import from the stick that
// does not reach the controller and the disk alike.
#include "panelfixture.h"
#include "testbytes.h"

#include <QTest>

class TestWorkParamsE2e : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        PANEL_FIXTURE_START(f_.start({{QStringLiteral("M1"), 40, 100, 30}}, &why));
    }

    // Key 1, a density typed and confirmed, the other tabs looked at, Escape: the job's .wrk
    // is what the controller holds. Key 4 shows the feeders.
    void pages()
    {
        QVERIFY(f_.sim().command(QStringLiteral("journal clear")));
        QVERIFY(f_.walk({"1>para", "Down", "427", "KP_Enter"}));
        QTRY_VERIFY_WITH_TIMEOUT(f_.sim().send(QStringLiteral("state")).contains(QStringLiteral("value 2 1 427")), 3000);
        QVERIFY(f_.picture("workparams-density"));
        const QRect tab(0, 45, 640, 390);
        QVERIFY(f_.turnPage({"b"}, tab, "workparams-speed") && f_.turnPage({"e", "m"}, tab, "workparams-replace")
                && f_.turnPage({"f"}, tab, "workparams-pieces"));
        QVERIFY(f_.walk({"a", "Escape>wave"}));
        const QString wrk = f_.file(QStringLiteral("/mnt/ide/knit/wave/M1/M1.wrk"));
        QCOMPARE(TestBytes::readFile(wrk).mid(16, 2), QByteArray("\xab\x01", 2));
        KNIT_COMPARE_BYTES(TestBytes::readFile(wrk), TestBytes::readFile(f_.sim().file(QStringLiteral("work.blk"))));
        QVERIFY(f_.walk({"4>paraelse"}, "workparams-feeders") && f_.walk({"Escape>wave"}));
    }

    // F7 of the disk file manager on the loaded job: exported to the stick, then a changed copy
    // imported from it, through the controller, onto the disk.
    void browser()
    {
        QVERIFY(TestBytes::writeFile(f_.file("/dev/scsi/host0/bus0/target0/lun0/part1"), {}) && QDir().mkpath(f_.file("/mnt/usb")));
        QVERIFY(f_.walk({"3>dialogide", "F7>workparabrown"}, "workparams-browser"));
        const QString wrk = f_.file(QStringLiteral("/mnt/ide/knit/wave/M1/M1.wrk"));
        QVERIFY(f_.walk({"a>outputfiledialog", "Return>QMDialogC"}));
        QCOMPARE(TestBytes::readFile(f_.file("/mnt/usb/M1.wrk")), TestBytes::readFile(wrk));
        QByteArray changed = TestBytes::readFile(wrk);
        changed[0] = char(99);
        QVERIFY(TestBytes::writeFile(f_.file("/mnt/usb/M1.wrk"), changed));
        QVERIFY(f_.walk({"Return>workparabrown", "b>inputfiledialog"}, "workparams-import"));
        QVERIFY(f_.walk({"Return>QMDialogC"}, "workparams-imported"));
        KNIT_COMPARE_BYTES(TestBytes::readFile(wrk), changed);
        KNIT_COMPARE_BYTES(TestBytes::readFile(f_.sim().file(QStringLiteral("work.blk"))), changed);
        QVERIFY(f_.walk({"Return>workparabrown", "Escape>dialogide", "Escape>wave"}));
    }

private:
    PanelFixture f_;
};

QTEST_GUILESS_MAIN(TestWorkParamsE2e)

#include "test_workparams_e2e.moc"
