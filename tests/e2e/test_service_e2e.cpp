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
        QVERIFY(f_.walk({"7>extsyspara"}));
        QVERIFY(f_.turnPage({"h>QIDialog", "7063", "Return>extsyspara"}, QRect(10, 60, 620, 410), "service-menu"));
    }

    void backup()
    {
        const QString disk = f_.file("/mnt/ide/knit/para/quorvanta.sys");
        const QString check = f_.file("/mnt/ide/knit/para/checksystem.sys");
        QVERIFY(f_.walk({"3>mydialogbackup"}, "service-backup"));
        QVERIFY(f_.walk({"4>QMDialogYN", "Return>QMDialogC", "Return>mydialogbackup"}));
        QCOMPARE(readFile(disk), readFile(f_.sim().file("file.sys"))); // the block start-up fetched

        QVERIFY(writeFile(disk, block('\x11')));
        QVERIFY(restore({"2>QMDialogYN", "Return>QMDialogC"}, "quorvanta.sys", block('\x11'), "service-restored"));
        QVERIFY(restore({"1>QMDialogYN", "Return>QMDialogC"}, "default.sys", readFile(f_.file("/tmp/default.sys")), nullptr));
        QVERIFY(writeFile(f_.file("/mnt/usb/P1.sys"), block('\x22')));
        QVERIFY(restore({"3>inputfiledialog", "Return>QMDialogC"}, "file.sys", block('\x22'), nullptr));

        // A stick file of 400 bytes: refused before anything is sent.
        QVERIFY(QFile::remove(f_.file("/mnt/usb/P1.sys")) && writeFile(f_.file("/mnt/usb/B.sys"), QByteArray(400, '\x33')));
        const int sent = f_.sim().traffic().filter("WRQ").size();
        QVERIFY(f_.walk({"3>inputfiledialog", "Return>QMDialogC"}, "service-short") && f_.walk({"Return>mydialogbackup"}));
        QCOMPARE(f_.sim().traffic().filter("WRQ").size(), sent);
        QCOMPARE(readFile(check), block('\x22'));

        QVERIFY(f_.walk({"5>QIDialog", "12", "Return>outputfiledialog", "Return>QMDialogC"}));
        QCOMPARE(readFile(f_.file("/mnt/usb/12.sys")), block('\x22'));
        QVERIFY(f_.walk({"Return>mydialogbackup", "Escape>extsyspara"}));
    }

    // The main controller's update from the stick: its image sent in the update mode, the
    // success told only once the controller has programmed it and left the mode.
    void masterUpdate()
    {
        QVERIFY(writeFile(f_.file("/mnt/usb/MASTER_V2.BIN"), QByteArray(5000, 'm')) && f_.sim().command("set flash 1500"));
        QVERIFY(f_.walk({"7>myupdata", "2>inputfiledialog", "Return"}) && f_.waitForJournal(QStringLiteral("WRQ master.bin")) && f_.picture("service-programming"));
        QVERIFY(f_.waitForWindow("QMDialogC") && f_.sim().send("state").contains("update 48 closed") && f_.picture("service-updated"));
        QVERIFY(f_.walk({"Return>myupdata", "Escape>extsyspara"}));
        QVERIFY(f_.sim().send("state").contains("image master.bin 5000"));
        const QStringList cmds = f_.sim().traffic().filter(QRegularExpression("cmd 20/30/|WRQ master"));
        QCOMPARE(cmds.mid(0, 2), QStringList({"cmd 20/30/1", "WRQ master.bin"}));
        QVERIFY(cmds.filter("cmd 20/30/0").size() >= 2); // tried again while it programmed
    }

    // A stick picture becomes the desktop: copied, and word 0 of the management record 1.
    void desktop()
    {
        QVERIFY(writeFile(f_.file("/mnt/usb/D.bmp"), "BMpicture"));
        QVERIFY(f_.walk({"5>myattribute", "a>inputfiledialog", "Return>myattribute", "Escape>extsyspara"}));
        QCOMPARE(readFile(f_.file("/mnt/ide/knit/image/desktop/1.bmp")), QByteArray("BMpicture"));
        QCOMPARE(readFile(f_.file("/mnt/ide/knit/para/management.bin")).left(2), QByteArray("\x01\x00", 2));
    }

    void pages()
    {
        const char *const pages[][2] = {{"7", "myupdata"}, {"4", "mytimedate"}, {"5", "myattribute"}};
        for (const auto &page : pages) {
            QVERIFY(f_.walk({QLatin1String(page[0]) + QLatin1Char('>') + QLatin1String(page[1])},
                            qPrintable(QStringLiteral("service-page-%1").arg(QLatin1String(page[0])))));
            QVERIFY(f_.walk({"Escape>extsyspara"}));
        }
    }

    void touch()
    {
        QVERIFY(f_.walk({"6>TouchCalibration"}, "service-touch"));
        // Each point touched once its cross is drawn there: black lines through it on white.
        for (const QPoint &p : {QPoint(50, 50), QPoint(590, 50), QPoint(590, 430), QPoint(50, 430), QPoint(320, 240)}) {
            QVERIFY(!f_.x().pictureWhen("service-touch-cross", [&](const QImage &i) {
                return qGray(i.pixel(p + QPoint(11, 0))) < 64 && qGray(i.pixel(p + QPoint(0, 11))) < 64;
            }).isNull());
            QVERIFY(f_.x().click(p.x(), p.y()));
        }
        const QByteArray want("65536 0 0 0 65536 0 65536\n");
        QVERIFY(f_.waitForFile(f_.file("/etc/pointercal"), want) && f_.waitForFile(f_.file("/mnt/ide/knit/pointercal"), want));
    }

private:
    // A restore by its keys up to its success message, which Return then closes: the
    // controller receives name with exactly bytes, the check copy follows.
    bool restore(const QStringList &keys, const char *name, const QByteArray &bytes, const char *picture)
    {
        const int sent = f_.sim().traffic().filter(QStringLiteral("WRQ ") + name).size();
        if (!f_.walk(keys, picture) || !f_.walk({"Return>mydialogbackup"}))
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
