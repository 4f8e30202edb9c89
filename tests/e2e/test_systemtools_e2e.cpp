// The system tools (key 7) under a private X server: the real knitpanel against the real
// knitsim, worked by keys and touches as an operator would through every page of the menu and
// its more page (the guide's pictures): a system parameter and a personalisation value
// changed, then a second start on the same controller root; the backup page (to the disk and
// the stick, every restore, the reset, a stick file of 400 bytes), the update, time and
// desktop pages, and the touch calibration. Faults caught: a page that does not open from its
// key or password; a change that does not reach the controller's blocks in the form the panel
// keeps in its check copies (the second start would then stop at the mismatch question and
// never send its closing commands); a carrier table not read back at start (its next save
// would wipe the first run's correction); a restore that sends another name or other bytes
// than the file, or that leaves the check copy stale; a short block sent to the controller; a
// backup or export not written whole; an update told done before the controller programmed it;
// a calibration that does not reach etc/pointercal or the data root.
#include "panelfixture.h"
#include "testbytes.h"

#include <QImage>
#include <QRegularExpression>
#include <QTest>

using TestBytes::readFile;
using TestBytes::writeFile;

namespace {

// The menu's items.
const QRect kItems(QPoint(10, 60), QPoint(630, 470));
const QString kPassword = QStringLiteral("7063");

QByteArray block(char fill)
{
    return QByteArray(404, fill);
}

} // namespace

class TestSystemToolsE2e : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        PANEL_FIXTURE_START(f_.prepare({{QStringLiteral("P1"), 40, 100, 40}}, &why));
        QVERIFY(f_.sim().command(QStringLiteral("set racking 50")));
        QVERIFY(writeFile(f_.file("/dev/scsi/host0/bus0/target0/lun0/part1"), {}));
        QVERIFY(f_.startPanel() && f_.waitForMainScreen());
    }

    // Each parameter page from the menu, as an operator reaches it; a value on two of them.
    void parameterPages()
    {
        walk({"7>SystemToolsMenu"}, "menu");
        walk({"2>TextInputDialog", kPassword, "Return>SystemParamFrame"}, "system");
        walk({"Right", "50", "Return"}, nullptr, QStringLiteral("cmd 22/0/a"));
        walk({"Escape>SystemToolsMenu", "1>RunningParamFrame"}, "running");
        walk({"Escape>SystemToolsMenu", "3>TextInputDialog", kPassword, "Return>DensityCorrectionFrame"}, "density");
        walk({"Escape>SystemToolsMenu", "4>DensityIdleFrame"}, "idle-density");
        walk({"Escape>SystemToolsMenu", "5>TextInputDialog", kPassword, "Return>RackingCorrectionFrame"}, "racking");
        walk({"Down", "Return>RackingPositionDialog"}, "racking-correction");
        walk({"Escape>RackingCorrectionFrame", "Escape>SystemToolsMenu"}, nullptr);
        QVERIFY(f_.turnPage({"h>TextInputDialog", kPassword, "Return>SystemToolsMenu"}, kItems, "params-menu-more"));
        walk({"1>CarriageAccelerationFrame"}, "acceleration");
        walk({"Escape>SystemToolsMenu", "2>PersonalisationFrame"}, "personalisation");
        // Its values ask for their own password first.
        walk({"500", "Return>TextInputDialog", "3761", "Return>PersonalisationFrame"}, nullptr, QStringLiteral("cmd 22/20/0"));
        walk({"Escape>SystemToolsMenu", "a>TextInputDialog", kPassword, "Return>CarrierSpeedCorrectionFrame"}, "carrier");
        walk({"-30", "Return"}, nullptr, QStringLiteral("cmd 22/10/a0"));
        walk({"Escape>SystemToolsMenu", "h", "Escape>MainScreen", "2>FrequentSettingsFrame"}, "frequent");
        walk({"Escape>MainScreen"}, nullptr);
        QVERIFY(f_.sim().send(QStringLiteral("state")).contains(QStringLiteral("value 0 10 50")));
        QVERIFY(f_.sim().send(QStringLiteral("state")).contains(QStringLiteral("value 32 0 500")));
    }

    // The second start finds the controller's blocks equal to the panel's copies: no question,
    // straight on to the closing commands and the main screen. The carrier table kept from the
    // first run: a change now saves it with the earlier one.
    void restartFindsCopiesEqual()
    {
        f_.panel().stop();
        QVERIFY(f_.startPanel() && f_.waitForMainScreen());
        walk({"7>SystemToolsMenu", "h>TextInputDialog", kPassword, "Return>SystemToolsMenu", "a>TextInputDialog", kPassword, "Return>CarrierSpeedCorrectionFrame", "Down",
              "-20", "Return"}, nullptr, QStringLiteral("cmd 22/10/a2"));
        // Saved once the controller took it.
        QTRY_COMPARE_WITH_TIMEOUT(readFile(f_.file(QStringLiteral("/mnt/ide/knit/para/speed.mth"))).mid(2 * 224, 6),
                                  QByteArray::fromHex("460064005000"), 10000);
        QVERIFY(f_.walk({"Escape>SystemToolsMenu"}));
    }

    void backup()
    {
        const QString disk = f_.file("/mnt/ide/knit/para/quorvanta.sys");
        const QString check = f_.file("/mnt/ide/knit/para/checksystem.sys");
        QVERIFY(f_.walk({"3>ParamBackupFrame"}, "service-backup"));
        QVERIFY(f_.walk({"4>QuestionDialog", "Return>MessageDialog", "Return>ParamBackupFrame"}));
        QCOMPARE(readFile(disk), readFile(f_.sim().file("file.sys"))); // the block start-up fetched

        QVERIFY(writeFile(disk, block('\x11')));
        QVERIFY(restore({"2>QuestionDialog", "Return>MessageDialog"}, "quorvanta.sys", block('\x11'), "service-restored"));
        QVERIFY(restore({"1>QuestionDialog", "Return>MessageDialog"}, "default.sys", readFile(f_.file("/tmp/default.sys")), nullptr));
        QVERIFY(writeFile(f_.file("/mnt/usb/P1.sys"), block('\x22')));
        QVERIFY(restore({"3>StickImportDialog", "Return>MessageDialog"}, "file.sys", block('\x22'), nullptr));

        // A stick file of 400 bytes: refused before anything is sent.
        QVERIFY(QFile::remove(f_.file("/mnt/usb/P1.sys")) && writeFile(f_.file("/mnt/usb/B.sys"), QByteArray(400, '\x33')));
        const int sent = f_.sim().traffic().filter("WRQ").size();
        QVERIFY(f_.walk({"3>StickImportDialog", "Return>MessageDialog"}, "service-short") && f_.walk({"Return>ParamBackupFrame"}));
        QCOMPARE(f_.sim().traffic().filter("WRQ").size(), sent);
        QCOMPARE(readFile(check), block('\x22'));

        QVERIFY(f_.walk({"5>TextInputDialog", "12", "Return>StickExportDialog", "Return>MessageDialog"}));
        QCOMPARE(readFile(f_.file("/mnt/usb/12.sys")), block('\x22'));
        QVERIFY(f_.walk({"Return>ParamBackupFrame", "Escape>SystemToolsMenu"}));
    }

    // The main controller's update from the stick: its image sent in the update mode, the
    // success told only once the controller has programmed it and left the mode.
    void masterUpdate()
    {
        QVERIFY(writeFile(f_.file("/mnt/usb/MASTER_V2.BIN"), QByteArray(5000, 'm')) && f_.sim().command("set flash 1500"));
        QVERIFY(f_.walk({"7>SoftwareUpdateFrame"}, "service-page-7") && f_.walk({"2>StickImportDialog", "Return"}));
        QVERIFY(f_.waitForJournal(QStringLiteral("WRQ master.bin")) && f_.picture("service-programming"));
        QVERIFY(f_.waitForWindow("MessageDialog") && f_.sim().send("state").contains("update 48 closed") && f_.picture("service-updated"));
        QVERIFY(f_.walk({"Return>SoftwareUpdateFrame", "Escape>SystemToolsMenu"}));
        QVERIFY(f_.sim().send("state").contains("image master.bin 5000"));
        const QStringList cmds = f_.sim().traffic().filter(QRegularExpression("cmd 20/30/|WRQ master"));
        QCOMPARE(cmds.mid(0, 2), QStringList({"cmd 20/30/1", "WRQ master.bin"}));
        QVERIFY(cmds.filter("cmd 20/30/0").size() >= 2); // tried again while it programmed
    }

    // The clock's page looked at; a stick picture becomes the desktop: copied, and word 0 of the
    // panel settings 1.
    void desktop()
    {
        QVERIFY(f_.walk({"4>ClockFrame"}, "service-page-4") && f_.walk({"Escape>SystemToolsMenu"}));
        QVERIFY(writeFile(f_.file("/mnt/usb/D.bmp"), "BMpicture"));
        QVERIFY(f_.walk({"5>DesktopSettingsFrame"}, "service-page-5"));
        QVERIFY(f_.walk({"a>StickImportDialog", "Return>DesktopSettingsFrame", "Escape>SystemToolsMenu"}));
        QCOMPARE(readFile(f_.file("/mnt/ide/knit/image/desktop/1.bmp")), QByteArray("BMpicture"));
        QCOMPARE(readFile(f_.file("/mnt/ide/knit/para/management.bin")).left(2), QByteArray("\x01\x00", 2));
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
    // PanelFixture::walk, then the picture params-NAME if named, or a datagram in knitsim's
    // journal.
    void walk(const QStringList &steps, const char *picture, const QString &sent = QString())
    {
        QVERIFY(f_.walk(steps, picture ? qPrintable(QStringLiteral("params-") + QLatin1String(picture)) : nullptr));
        QVERIFY2(sent.isEmpty() || f_.waitForJournal(sent), qPrintable(sent));
    }
    // A restore by its keys up to its success message, which Return then closes: the
    // controller receives name with exactly bytes, the check copy follows.
    bool restore(const QStringList &keys, const char *name, const QByteArray &bytes, const char *picture)
    {
        const int sent = f_.sim().traffic().filter(QStringLiteral("WRQ ") + name).size();
        if (!f_.walk(keys, picture) || !f_.walk({"Return>ParamBackupFrame"}))
            return false;
        // Which of them failed, and the panel's last words: a failure message is a MessageDialog too.
        const int requests = f_.sim().traffic().filter(QStringLiteral("WRQ ") + name).size() - sent;
        const bool controller = readFile(f_.sim().file("file.sys")) == bytes;
        const bool check = readFile(f_.file("/mnt/ide/knit/para/checksystem.sys")) == bytes;
        if (requests != 1 || !controller || !check)
            qWarning("restore %s: %d requests, controller's block %s, check copy %s; the panel's output ends:\n%s", name, requests,
                     controller ? "sent" : "differs", check ? "written" : "differs", f_.panel().output().right(1500).constData());
        return requests == 1 && controller && check;
    }

    PanelFixture f_;
};

QTEST_GUILESS_MAIN(TestSystemToolsE2e)
#include "test_systemtools_e2e.moc"
