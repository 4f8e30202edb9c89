// The work-parameter pages and the .wrk browser in the real knitpanel against knitsim under a
// private X server, worked by keys, with the guide's pictures. Faults caught: keys 1 and 4 not
// registered; a typed value that never reaches the controller, or a .wrk saved that is not
// what the controller holds; the browser not opened by F7, or an import from the stick that
// does not reach the controller and the disk alike.
#include "panelprocess.h"
#include "portoffset.h"
#include "simprocess.h"
#include "testbytes.h"
#include "testroot.h"
#include "xserver.h"

#include <QTest>

#include <memory>

class TestWorkParamsE2e : public QObject
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
        QVERIFY(root_->makeJob(QStringLiteral("M1"), 40, 100, 30));
        QVERIFY(root_->writeReferences(sim_.file(QStringLiteral("file.sys")), sim_.file(QStringLiteral("config.cfg"))));
        QVERIFY(sim_.command(QStringLiteral("set job M1")));
        QVERIFY(panel_.start(x_.environment(), root_->path(), sim_.portOffset()));
        QTRY_VERIFY_WITH_TIMEOUT(sim_.traffic().contains(QStringLiteral("cmd 26/21/0")), 20000);
        QTest::qWait(1000);
    }
    void cleanupTestCase() { panel_.stop(); }

    // Key 1, a density typed and confirmed, the other tabs looked at, Escape: the job's .wrk
    // is what the controller holds. Key 4 shows the feeders.
    void pages()
    {
        QVERIFY(sim_.command(QStringLiteral("journal clear")));
        QVERIFY(x_.keys({"1"}, nullptr, 800));
        QVERIFY(x_.keys({"Down", "4", "2", "7", "KP_Enter"}, "workparams-density"));
        QTRY_VERIFY_WITH_TIMEOUT(sim_.send(QStringLiteral("state")).contains(QStringLiteral("value 2 1 427")), 3000);
        QVERIFY(x_.keys({"b"}, "workparams-speed") && x_.keys({"e", "m"}, "workparams-replace") && x_.keys({"f"}, "workparams-pieces"));
        QVERIFY(x_.keys({"a", "Escape"}, nullptr, 800));
        const QString wrk = root_->file(QStringLiteral("/mnt/ide/knit/wave/M1/M1.wrk"));
        QCOMPARE(TestBytes::readFile(wrk).mid(16, 2), QByteArray("\xab\x01", 2));
        KNIT_COMPARE_BYTES(TestBytes::readFile(wrk), TestBytes::readFile(sim_.file(QStringLiteral("work.blk"))));
        QVERIFY(x_.keys({"4"}, "workparams-feeders", 800) && x_.keys({"Escape"}));
    }

    // F7 of the disk file manager on the loaded job: exported to the stick, then a changed copy
    // imported from it, through the controller, onto the disk.
    void browser()
    {
        QVERIFY(TestBytes::writeFile(root_->file("/dev/scsi/host0/bus0/target0/lun0/part1"), {}) && QDir().mkpath(root_->file("/mnt/usb")));
        QVERIFY(x_.keys({"3"}, nullptr, 800) && x_.keys({"F7"}, "workparams-browser", 800));
        QVERIFY(x_.keys({"a"}, nullptr, 1000) && x_.keys({"Return"}, nullptr, 1000) && x_.keys({"Return"}, nullptr, 800));
        const QString wrk = root_->file(QStringLiteral("/mnt/ide/knit/wave/M1/M1.wrk"));
        QTRY_COMPARE_WITH_TIMEOUT(TestBytes::readFile(root_->file("/mnt/usb/M1.wrk")), TestBytes::readFile(wrk), 3000);
        QByteArray changed = TestBytes::readFile(wrk);
        changed[0] = char(99);
        QVERIFY(TestBytes::writeFile(root_->file("/mnt/usb/M1.wrk"), changed));
        QVERIFY(x_.keys({"b"}, "workparams-import", 1000) && x_.keys({"Return"}, nullptr, 1500));
        QVERIFY(x_.keys({}, "workparams-imported") && x_.keys({"Return", "Escape", "Escape"}));
        KNIT_COMPARE_BYTES(TestBytes::readFile(wrk), changed);
        KNIT_COMPARE_BYTES(TestBytes::readFile(sim_.file(QStringLiteral("work.blk"))), changed);
    }

private:
    std::unique_ptr<TestRoot> root_;
    XServer x_;
    SimProcess sim_;
    PanelProcess panel_;
};

QTEST_GUILESS_MAIN(TestWorkParamsE2e)

#include "test_workparams_e2e.moc"
