// The system tools pages in the real knitpanel against knitsim under a private X server,
// worked by keys and touches as an operator would, with the guide's pictures: the backup page
// (to the disk and the stick, every restore, the reset, a stick file of 400 bytes), the update,
// time and desktop pages, and the touch calibration. Faults caught: an item of the more page
// not opening its page; a restore that sends another name or other bytes than the file, or
// that leaves the check copy stale; a short block sent to the controller; a backup or export
// not written whole; a calibration that does not reach etc/pointercal or the data root.
#include "panelfixture.h"
#include "testbytes.h"

#include <QImage>
#include <QRegularExpression>
#include <QTest>

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
        PANEL_FIXTURE_START(f_.prepare({{QStringLiteral("M1"), 40, 100, 30}}, &why));
        QVERIFY(writeFile(f_.file("/dev/scsi/host0/bus0/target0/lun0/part1"), {}));
        QVERIFY(f_.startPanel() && f_.waitForMainScreen());
        QVERIFY(f_.walk({"7+", "h+", "7063", "Return+"}, "service-menu"));
    }

    void backup()
    {
        const QString disk = f_.file("/mnt/ide/knit/para/quorvanta.sys");
        const QString check = f_.file("/mnt/ide/knit/para/checksystem.sys");
        QVERIFY(f_.walk({"3+"}, "service-backup"));
        QVERIFY(f_.x().keys({"4", "Return"}) && f_.waitForFile(disk, readFile(f_.sim().file("file.sys"))) && f_.waitForMessage()
                && f_.switchWith({"Return"}));
        QCOMPARE(readFile(disk), readFile(f_.sim().file("file.sys"))); // the block start-up fetched

        QVERIFY(writeFile(disk, block('\x11')));
        QVERIFY(restore({"2", "Return"}, "quorvanta.sys", block('\x11'), "service-restored"));
        QVERIFY(restore({"1", "Return"}, "default.sys", readFile(f_.file("/tmp/default.sys")), nullptr));
        QVERIFY(writeFile(f_.file("/mnt/usb/P1.sys"), block('\x22')));
        QVERIFY(f_.walk({"3+"}) && restore({"Return"}, "file.sys", block('\x22'), nullptr));

        // A stick file of 400 bytes: refused before anything is sent.
        QVERIFY(QFile::remove(f_.file("/mnt/usb/P1.sys")) && writeFile(f_.file("/mnt/usb/B.sys"), QByteArray(400, '\x33')));
        const int sent = f_.sim().traffic().filter("WRQ").size();
        QVERIFY(f_.walk({"3+", "Return+"}, "service-short"));
        QVERIFY(f_.switchWith({"Return"}));
        QCOMPARE(f_.sim().traffic().filter("WRQ").size(), sent);
        QCOMPARE(readFile(check), block('\x22'));

        QVERIFY(f_.walk({"5+", "12", "Return", "Return"}) && f_.waitForFile(f_.file("/mnt/usb/12.sys"), block('\x22')));
        QVERIFY(f_.waitForMessage() && f_.switchWith({"Return"}));
        QCOMPARE(readFile(f_.file("/mnt/usb/12.sys")), block('\x22'));
        QVERIFY(f_.switchWith({"Escape"}));
    }

    // The main controller's update from the stick: its image sent in the update mode, the
    // success told only once the controller has programmed it and left the mode.
    void masterUpdate()
    {
        QVERIFY(writeFile(f_.file("/mnt/usb/MASTER_V2.BIN"), QByteArray(5000, 'm')) && f_.sim().command("set flash 1500"));
        QVERIFY(f_.walk({"7+", "2", "Return"}) && f_.waitForJournal(QStringLiteral("WRQ master.bin")));
        QVERIFY(f_.x().keys({}, "service-programming"));
        QTRY_VERIFY_WITH_TIMEOUT(f_.sim().send("state").contains("update 48 closed"), 10000);
        QVERIFY(f_.waitForMessage() && f_.x().keys({}, "service-updated") && f_.switchWith({"Return"}) && f_.switchWith({"Escape"}));
        QVERIFY(f_.sim().send("state").contains("image master.bin 5000"));
        const QStringList cmds = f_.sim().traffic().filter(QRegularExpression("cmd 20/30/|WRQ master"));
        QCOMPARE(cmds.mid(0, 2), QStringList({"cmd 20/30/1", "WRQ master.bin"}));
        QVERIFY(cmds.filter("cmd 20/30/0").size() >= 2); // tried again while it programmed
    }

    // A stick picture becomes the desktop: copied, and word 0 of the panel settings 1.
    void desktop()
    {
        QVERIFY(writeFile(f_.file("/mnt/usb/D.bmp"), "BMpicture"));
        QVERIFY(f_.walk({"5+", "a", "Return"}) && f_.waitForFile(f_.file("/mnt/ide/knit/image/desktop/1.bmp"), "BMpicture"));
        QVERIFY(f_.x().keys({}) && f_.switchWith({"Escape"}));
        QCOMPARE(readFile(f_.file("/mnt/ide/knit/image/desktop/1.bmp")), QByteArray("BMpicture"));
        QCOMPARE(readFile(f_.file("/mnt/ide/knit/para/management.bin")).left(2), QByteArray("\x01\x00", 2));
    }

    void pages()
    {
        for (const char *page : {"7", "4", "5"}) {
            QVERIFY(f_.walk({QLatin1String(page) + QLatin1Char('+')}, qPrintable(QStringLiteral("service-page-%1").arg(QLatin1String(page)))));
            QVERIFY(f_.walk({"Escape+"}));
        }
    }

    void touch()
    {
        QVERIFY(f_.walk({"6+"}, "service-touch"));
        const QByteArray want("65536 0 0 0 65536 0 65536\n");
        // Each touch taken before the next: the calibration's cross moves on.
        for (const QPoint &p : {QPoint(50, 50), QPoint(590, 50), QPoint(590, 430), QPoint(50, 430), QPoint(320, 240)}) {
            const QImage before = f_.x().pictureWhen("service-touch-cross", [](const QImage &) { return true; });
            QVERIFY(f_.x().click(p.x(), p.y()));
            if (p != QPoint(320, 240))
                f_.x().pictureWhen("service-touch-cross", [&](const QImage &i) { return i != before; });
        }
        QVERIFY(f_.waitForFile(f_.file("/etc/pointercal"), want));
        QCOMPARE(readFile(f_.file("/etc/pointercal")), want);
        QCOMPARE(readFile(f_.file("/mnt/ide/knit/pointercal")), want);
        QVERIFY(f_.x().keys({"Escape"}));
    }

private:
    // A restore by its keys up to its success message, which Return then closes (the next key
    // waits for the page below to have the keyboard again): the controller receives name with
    // exactly bytes, the check copy follows.
    bool restore(const QStringList &press, const char *name, const QByteArray &bytes, const char *picture)
    {
        const int sent = f_.sim().traffic().filter(QStringLiteral("WRQ ") + name).size();
        if (!f_.x().keys(press) || !f_.waitForJournal(QStringLiteral("WRQ ") + name, 10000, sent + 1)
            || !f_.waitForFile(f_.file("/mnt/ide/knit/para/checksystem.sys"), bytes) || !f_.waitForMessage()
            || !f_.x().keys({}, picture)
            || !f_.switchWith({"Return"}))
            return false;
        const bool ok = f_.sim().traffic().filter(QStringLiteral("WRQ ") + name).size() == sent + 1
            && readFile(f_.sim().file("file.sys")) == bytes && readFile(f_.file("/mnt/ide/knit/para/checksystem.sys")) == bytes;
        if (!ok)
            qWarning() << name << f_.sim().traffic().filter("WRQ") << readFile(f_.sim().file("file.sys")).toHex().left(16);
        return ok;
    }

    PanelFixture f_;
};

QTEST_GUILESS_MAIN(TestServiceE2e)

#include "test_service_e2e.moc"
