// The job's pages in the real knitpanel against knitsim under a private X server, worked by
// keys as an operator would, with the guide's pictures: quick function 3 opens the disk file
// manager, F3 sends another job, F5 and F6 open its editors, F1 imports a job from the stick,
// F2 and M open the export and deletion pages; keys 1 and 4 the work parameters, F7 their
// browser; then the two formatting pages from the system tools menu's more page. Faults
// caught: key 3 not registered or the manager not taking the keyboard; a job sent without the
// main screen loading it; F5 or F6 opening nothing; an editor's live change that never reaches
// the controller, reaches it outside its update or lands on another byte than the saved
// file's; a save that leaves the file without its checksum; another job's file sending
// datagrams; an editor's opening whose answer was lost left open; an import that does not
// reach the disk or leaves the stick mounted; a typed work parameter that never reaches the
// controller, or a .wrk saved that is not what the controller holds; a .wrk import from the
// stick that does not reach the controller and the disk alike; a formatting chain that stops
// or never starts under a real event loop.
#include "panelfixture.h"
#include "testbytes.h"

#include "data/cntfile.h"
#include "data/patfile.h"

#include <QImage>
#include <QRegularExpression>
#include <QTest>

namespace {

const QRect kList(130, 60, 420, 380);
const char kProgram[] = "Cnt File Browse Tools";
const char kPattern[] = "Pat File Browse Tools";

// A step of PanelFixture::walk: the key, then the window it brings up.
QString to(const char *key, const char *window)
{
    return QLatin1String(key) + QLatin1Char('>') + QLatin1String(window);
}

// From the program's first field down to "速    度", then the value and the keypad Enter,
// confirmed; then the editor closed, which tells the file saved.
QStringList speedSeven()
{
    return {"Down", "Down", "Down", "Down", "Down", "Down", "Down", "Down", "Right", "Right", "7", "KP_Enter>QuestionDialog",
            to("Return", kProgram), "Escape>MessageDialog", "Return>DiskFileManager"};
}

} // namespace

class TestFilesE2e : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        PANEL_FIXTURE_START(f_.start({{QStringLiteral("M1"), 40, 100, 30}, {QStringLiteral("M2"), 60, 120, 30}}, &why));
    }

    // M2 sent from the manager becomes the current job, in the panel and in knitsim.
    void manager()
    {
        QVERIFY(f_.picture("files-main") && f_.walk({"3>DiskFileManager"}, "files-manager"));
        const QImage manager(XServer::picture("files-manager"));
        QVERIFY(!manager.isNull() && manager.copy(kList) != QImage(XServer::picture("files-main")).copy(kList));
        QVERIFY(f_.walk({"Down", "c>QuestionDialog"}, "files-send-question"));
        QVERIFY(f_.walk({"Return>MessageDialog"}, "files-sent"));
        QVERIFY(f_.sim().send(QStringLiteral("state")).contains(QStringLiteral("job M2")));
        QVERIFY(f_.walk({"Return>DiskFileManager"}));
        QTRY_VERIFY_WITH_TIMEOUT(f_.panel().output().contains("\nM2\n"), 3000); // the main window loaded it
    }

    void programEditor()
    {
        QVERIFY(f_.walk({to("F5", kProgram)}, "editor-program") && f_.walk(speedSeven()));
        const QStringList state = f_.sim().send(QStringLiteral("state"));
        QVERIFY2(state.contains(QStringLiteral("cnt 1 93 7")) && state.contains(QStringLiteral("unbracketed 0")),
                 qPrintable(state.join(QLatin1Char('\n'))));
        const QString path = job("M2", ".cnt");
        QCOMPARE(checkCntFile(path), int(CntCheck::Ok));
        // knitsim's copy: every byte it took is the saved file's.
        const QByteArray saved = TestBytes::readFile(path);
        for (const QString &line : state.filter(QRegularExpression(QStringLiteral("^cnt ")))) {
            const QStringList f = line.split(QLatin1Char(' '));
            QCOMPARE(quint8(saved.at(f[1].toInt() * 128 + f[2].toInt())), quint8(f[3].toInt()));
        }
        // Another job's program is edited on disk only.
        const int rowCommands = f_.sim().traffic().filter(QStringLiteral("cmd 72")).size();
        QVERIFY(f_.walk(QStringList{"Up", to("F5", kProgram)} + speedSeven() + QStringList{"Down"}));
        QCOMPARE(quint8(TestBytes::readFile(job("M1", ".cnt")).at(128 + 93)), quint8(7));
        QCOMPARE(f_.sim().traffic().filter(QStringLiteral("cmd 72")).size(), rowCommands);
    }

    void patternEditor()
    {
        QVERIFY(f_.walk({to("F6", kPattern)}, "editor-pattern"));
        // M's question on the line, answered: the picture once the question is gone from it.
        QVERIFY(f_.walk({"5", "KP_Enter", "Right", "Up", "m>QuestionDialog"}, "editor-pattern-line"));
        const QImage question(XServer::picture("editor-pattern-line"));
        const QRect box(120, 140, 400, 200);
        QVERIFY(f_.walk({to("Return", kPattern)}));
        QVERIFY(!f_.x().pictureWhen("editor-pattern-line", [&](const QImage &i) { return i.copy(box) != question.copy(box); }).isNull());
        QVERIFY(f_.walk({"Escape>DiskFileManager"}));
        const QStringList state = f_.sim().send(QStringLiteral("state"));
        QVERIFY2(state.contains(QStringLiteral("pat 2 59 85")), qPrintable(state.join(QLatin1Char('\n'))));
        // knitsim's copy of the pattern is the saved file, checksum included.
        QCOMPARE(checkPatFile(job("M2", ".pat")), int(PatCheck::Ok));
        QCOMPARE(TestBytes::readFile(f_.sim().file(QStringLiteral("M2.pat"))), TestBytes::readFile(job("M2", ".pat")));
        const int rowCommands = f_.sim().traffic().filter(QStringLiteral("cmd 72")).size();
        QVERIFY(f_.walk({"Up", to("F6", kPattern), "3", "KP_Enter", "Escape>DiskFileManager"}));
        QCOMPARE(f_.sim().traffic().filter(QStringLiteral("cmd 72")).size(), rowCommands);
        QCOMPARE(quint8(TestBytes::readFile(job("M1", ".pat")).at(50)) >> 4, 3);
    }

    // The answer to the pattern update's opening is lost, the opening itself was not: the
    // operator is told and the update is closed again.
    void patternOpeningAnswerLost()
    {
        QVERIFY(f_.sim().command(QStringLiteral("fault drop 1 0x20 14")) && f_.sim().command(QStringLiteral("journal clear")));
        QVERIFY(f_.walk({"Down", to("F6", kPattern), "5", "KP_Enter>MessageDialog"}) && f_.waitForJournal(QStringLiteral("cmd 20/e/0")));
        QVERIFY(f_.walk({to("Return", kPattern), "Escape>DiskFileManager"}));
        QVERIFY(!f_.sim().send(QStringLiteral("state")).contains(QStringLiteral("open 14")));
    }

    void stick()
    {
        QVERIFY(TestBytes::writeFile(f_.file("/dev/scsi/host0/bus0/target0/lun0/part1"), {}));
        for (const char *ext : {".cnt", ".pat"})
            QVERIFY(TestBytes::writeFile(f_.file(QStringLiteral("/mnt/usb/S1.") + QString::fromLatin1(ext + 1).toUpper()),
                                         TestBytes::readFile(job("M2", ext))));
        QVERIFY(f_.walk({"a>JobImportDialog"}, "files-import"));
        QVERIFY(f_.walk({"Return>MessageDialog"}, "files-imported") && QFileInfo::exists(job("S1", ".wrk")));
        QVERIFY(f_.walk({"Return>DiskFileManager", "b>StickExportDialog"}, "files-export"));
        QVERIFY(f_.walk({"Escape>DiskFileManager", "m>JobDeletionPage"}, "files-delete"));
        QVERIFY(f_.walk({"Escape>DiskFileManager", "Escape>MainScreen"}));
        QVERIFY(TestBytes::readFile(f_.file("/var/log/system-actions.log")).endsWith("rmmod usb-storage\n"));
    }

    // Key 1, a density typed and confirmed, the other tabs looked at, Escape: the job's .wrk
    // is what the controller holds. Key 4 shows the feeders.
    void workParameters()
    {
        QVERIFY(f_.walk({"1>JobParamsDialog", "Down", "427", "KP_Enter"}));
        QTRY_VERIFY_WITH_TIMEOUT(f_.sim().send(QStringLiteral("state")).contains(QStringLiteral("value 2 1 427")), 3000);
        QVERIFY(f_.picture("workparams-density"));
        const QRect tab(0, 45, 640, 390);
        QVERIFY(f_.turnPage({"b"}, tab, "workparams-speed") && f_.turnPage({"e", "m"}, tab, "workparams-replace")
                && f_.turnPage({"f"}, tab, "workparams-pieces"));
        QVERIFY(f_.walk({"a", "Escape>MainScreen"}));
        QCOMPARE(TestBytes::readFile(job("M2", ".wrk")).mid(16, 2), QByteArray("\xab\x01", 2));
        KNIT_COMPARE_BYTES(TestBytes::readFile(job("M2", ".wrk")), TestBytes::readFile(f_.sim().file(QStringLiteral("work.blk"))));
        QVERIFY(f_.walk({"4>YarnFeederDialog"}, "workparams-feeders") && f_.walk({"Escape>MainScreen"}));
    }

    // F7 of the disk file manager on the loaded job: exported to the stick, then a changed copy
    // imported from it, through the controller, onto the disk.
    void workBrowser()
    {
        const QString wrk = job("M2", ".wrk");
        QVERIFY(f_.walk({"3>DiskFileManager", "F7>WorkFileBrowser"}, "workparams-browser"));
        QVERIFY(f_.walk({"a>StickExportDialog", "Return>MessageDialog"}));
        QCOMPARE(TestBytes::readFile(f_.file("/mnt/usb/M2.wrk")), TestBytes::readFile(wrk));
        QByteArray changed = TestBytes::readFile(wrk);
        changed[0] = char(99);
        QVERIFY(TestBytes::writeFile(f_.file("/mnt/usb/M2.wrk"), changed));
        QVERIFY(f_.walk({"Return>WorkFileBrowser", "b>StickImportDialog"}, "workparams-import"));
        QVERIFY(f_.walk({"Return>MessageDialog"}, "workparams-imported"));
        KNIT_COMPARE_BYTES(TestBytes::readFile(wrk), changed);
        KNIT_COMPARE_BYTES(TestBytes::readFile(f_.sim().file(QStringLiteral("work.blk"))), changed);
        QVERIFY(f_.walk({"Return>WorkFileBrowser", "Escape>DiskFileManager", "Escape>MainScreen"}));
    }

    // The formatting pages from the more page (key 7, H, password), each run to its end: the
    // stick's (C) and the flash disk's (B).
    void formatPages()
    {
        QVERIFY(TestBytes::writeFile(f_.file("/mnt/ide/knit/tools/mkdosfs"), "tool"));
        QVERIFY(f_.walk({"7>SystemToolsMenu", "h>TextInputDialog", "7063", "Return>SystemToolsMenu"}));
        for (const char *page : {"stick", "flash"}) {
            const bool stick = QLatin1String(page) == QLatin1String("stick");
            const char *pageClass = stick ? "StickFormatDialog" : "FlashDiskFormatDialog";
            QVERIFY(f_.walk({to(stick ? "c" : "b", pageClass)}));
            QVERIFY(f_.walk({"e>QuestionDialog"}, qPrintable(QStringLiteral("format-%1-question").arg(QLatin1String(page)))));
            QVERIFY(f_.walk({to("Return", pageClass)}));
            QVERIFY(QTest::qWaitFor([&] { return formatted(page); }, 10000));
            QVERIFY(f_.picture(qPrintable(QStringLiteral("format-%1").arg(QLatin1String(page)))));
            // The page ignores Escape until its last step (saving, the capacity) is through:
            // pressed again while the page still has the keyboard, never once it has gone.
            QVERIFY(QTest::qWaitFor([&] {
                if (f_.x().focus().name == pageClass && !f_.x().key(QStringLiteral("Escape")))
                    return false;
                return f_.waitForWindow("SystemToolsMenu", {}, 3000);
            }, 30000));
        }
        QVERIFY(f_.walk({"Escape>MainScreen"}));
        QVERIFY(QFileInfo::exists(f_.file("/mnt/ide/knit/wave")) && !QFileInfo::exists(f_.file("/mnt/ide/knit/wave/M1")));
        QVERIFY(QFileInfo::exists(f_.file("/mnt/ide/knit/para/checksystem.sys")));
    }

private:
    // A file of a job on the panel's disk.
    QString job(const char *name, const char *ext) const
    {
        return f_.file(QStringLiteral("/mnt/ide/knit/wave/%1/%1%2").arg(QLatin1String(name), QLatin1String(ext)));
    }
    // True once the page's formatting ran through: after its mkdosfs (the stick's first, the
    // flash disk's second), the stick unmounted again or the flash disk mounted back twice.
    bool formatted(const char *page)
    {
        const QStringList actions = QString::fromUtf8(TestBytes::readFile(f_.file("/var/log/system-actions.log"))).split(QLatin1Char('\n'));
        const bool stick = QLatin1String(page) == QLatin1String("stick");
        const QStringList tools = actions.filter(QStringLiteral("mkdosfs"));
        if (tools.size() != (stick ? 1 : 2))
            return false;
        const QStringList after = actions.mid(actions.lastIndexOf(tools.last()) + 1);
        return stick ? !after.filter(QRegularExpression(QStringLiteral("^umount "))).isEmpty()
                     : after.filter(QRegularExpression(QStringLiteral("^mount "))).size() >= 2;
    }

    PanelFixture f_;
};

QTEST_GUILESS_MAIN(TestFilesE2e)

#include "test_files_e2e.moc"
