// The system tools pages in the real knitpanel against knitsim under a private X server,
// worked by keys and touches as an operator would, with the guide's pictures: the backup page
// (to the disk and the stick, every restore, the reset, a stick file of 400 bytes), the update,
// time and desktop pages, and the touch calibration. Faults caught: an item of the more page
// not opening its page; a restore that sends another name or other bytes than the file, or
// that leaves the check copy stale; a short block sent to the controller; a backup or export
// not written whole; a calibration that does not reach etc/pointercal or the data root.
#include "panelprocess.h"
#include "portoffset.h"
#include "simprocess.h"
#include "testbytes.h"
#include "testroot.h"
#include "xserver.h"

#include <QRegularExpression>
#include <QTest>

#include <memory>

using TestBytes::readFile;
using TestBytes::writeFile;

namespace {

QByteArray block(char fill)
{
    return QByteArray(404, fill);
}

} // namespace

class TestServiceE2e : public QObject
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
        QVERIFY(writeFile(root_->file("/dev/scsi/host0/bus0/target0/lun0/part1"), {}));
        QVERIFY(panel_.start(x_.environment(), root_->path(), sim_.portOffset()));
        QTRY_VERIFY_WITH_TIMEOUT(sim_.traffic().contains(QStringLiteral("cmd 26/21/0")), 20000);
        QTest::qWait(1000);
        QVERIFY(x_.keys({"7", "h", "7", "0", "6", "3", "Return"}, "service-menu"));
    }
    void cleanupTestCase() { panel_.stop(); }

    void backup()
    {
        const QString disk = root_->file("/mnt/ide/knit/para/quorvanta.sys");
        const QString check = root_->file("/mnt/ide/knit/para/checksystem.sys");
        QVERIFY(x_.keys({"3"}, "service-backup"));
        QVERIFY(x_.keys({"4", "Return"}) && x_.keys({"Return"}));
        QCOMPARE(readFile(disk), readFile(sim_.file("file.sys"))); // the block start-up fetched

        QVERIFY(writeFile(disk, block('\x11')));
        QVERIFY(restore({"2", "Return"}, "quorvanta.sys", block('\x11'), "service-restored"));
        QVERIFY(restore({"1", "Return"}, "default.sys", readFile(root_->file("/tmp/default.sys")), nullptr));
        QVERIFY(writeFile(root_->file("/mnt/usb/P1.sys"), block('\x22')));
        QVERIFY(x_.keys({"3"}, nullptr, 800) && restore({"Return"}, "file.sys", block('\x22'), nullptr));

        // A stick file of 400 bytes: refused before anything is sent.
        QVERIFY(QFile::remove(root_->file("/mnt/usb/P1.sys")) && writeFile(root_->file("/mnt/usb/B.sys"), QByteArray(400, '\x33')));
        const int sent = sim_.traffic().filter("WRQ").size();
        QVERIFY(x_.keys({"3"}, nullptr, 800) && x_.keys({"Return"}, "service-short", 800));
        QVERIFY(x_.keys({"Return"}));
        QCOMPARE(sim_.traffic().filter("WRQ").size(), sent);
        QCOMPARE(readFile(check), block('\x22'));

        QVERIFY(x_.keys({"5", "1", "2", "Return"}, nullptr, 800) && x_.keys({"Return"}, nullptr, 800) && x_.keys({"Return"}));
        QCOMPARE(readFile(root_->file("/mnt/usb/12.sys")), block('\x22'));
        QVERIFY(x_.keys({"Escape"}));
    }

    // The main controller's update from the stick: its image sent in the update mode, the
    // success told only once the controller has programmed it and left the mode.
    void masterUpdate()
    {
        QVERIFY(writeFile(root_->file("/mnt/usb/MASTER_V2.BIN"), QByteArray(5000, 'm')) && sim_.command("set flash 1500"));
        QVERIFY(x_.keys({"7", "2"}, nullptr, 800) && x_.keys({"Return"}, "service-programming", 900));
        QTest::qWait(3000);
        QVERIFY(sim_.send("state").contains("update 48 closed"));
        QVERIFY(x_.keys({}, "service-updated") && x_.keys({"Return", "Escape"}));
        QVERIFY(sim_.send("state").contains("image master.bin 5000"));
        const QStringList cmds = sim_.traffic().filter(QRegularExpression("cmd 20/30/|WRQ master"));
        QCOMPARE(cmds.mid(0, 2), QStringList({"cmd 20/30/1", "WRQ master.bin"}));
        QVERIFY(cmds.filter("cmd 20/30/0").size() >= 2); // tried again while it programmed
    }

    // A stick picture becomes the desktop: copied, and word 0 of the management record 1.
    void desktop()
    {
        QVERIFY(writeFile(root_->file("/mnt/usb/D.bmp"), "BMpicture"));
        QVERIFY(x_.keys({"5", "a"}, nullptr, 800) && x_.keys({"Return"}, nullptr, 800) && x_.keys({"Escape"}));
        QCOMPARE(readFile(root_->file("/mnt/ide/knit/image/desktop/1.bmp")), QByteArray("BMpicture"));
        QCOMPARE(readFile(root_->file("/mnt/ide/knit/para/management.bin")).left(2), QByteArray("\x01\x00", 2));
    }

    void pages()
    {
        for (const char *page : {"7", "4", "5"}) {
            QVERIFY(x_.keys({page}, qPrintable(QStringLiteral("service-page-%1").arg(QLatin1String(page)))));
            QVERIFY(x_.keys({"Escape"}));
        }
    }

    void touch()
    {
        QVERIFY(x_.keys({"6"}, "service-touch"));
        for (const QPoint &p : {QPoint(50, 50), QPoint(590, 50), QPoint(590, 430), QPoint(50, 430), QPoint(320, 240)}) {
            QVERIFY(x_.click(p.x(), p.y()));
            QTest::qWait(200);
        }
        QTest::qWait(1500);
        const QByteArray want("65536 0 0 0 65536 0 65536\n");
        QCOMPARE(readFile(root_->file("/etc/pointercal")), want);
        QCOMPARE(readFile(root_->file("/mnt/ide/knit/pointercal")), want);
        QVERIFY(x_.keys({"Escape"}));
    }

private:
    // A restore by its keys up to its success message, which Return then closes: the
    // controller receives name with exactly bytes, the check copy follows.
    bool restore(const QStringList &press, const char *name, const QByteArray &bytes, const char *picture)
    {
        const int sent = sim_.traffic().filter(QStringLiteral("WRQ ") + name).size();
        if (!x_.keys(press, picture, 1500) || !x_.keys({"Return"}))
            return false;
        const bool ok = sim_.traffic().filter(QStringLiteral("WRQ ") + name).size() == sent + 1
            && readFile(sim_.file("file.sys")) == bytes && readFile(root_->file("/mnt/ide/knit/para/checksystem.sys")) == bytes;
        if (!ok)
            qWarning() << name << sim_.traffic().filter("WRQ") << readFile(sim_.file("file.sys")).toHex().left(16);
        return ok;
    }

    std::unique_ptr<TestRoot> root_;
    XServer x_;
    SimProcess sim_;
    PanelProcess panel_;
};

QTEST_GUILESS_MAIN(TestServiceE2e)

#include "test_service_e2e.moc"
