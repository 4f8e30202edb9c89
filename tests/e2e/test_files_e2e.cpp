// The file pages in the real knitpanel against knitsim under a private X server, worked by
// keys as an operator would, with the guide's pictures: quick function 3 opens the disk file
// manager, F3 sends another job, F1 imports one from the stick, F2 and M open the export and
// deletion pages; then the two formatting pages from the system tools menu's more page.
// Faults caught: key 3 not registered or the manager not taking the keyboard; a job sent
// without the main screen loading it; an import that does not reach the disk or leaves the
// stick mounted; a formatting chain that stops or never starts under a real event loop.
#include "panelfixture.h"
#include "testbytes.h"

#include <QImage>
#include <QRegularExpression>
#include <QTest>

namespace {

const QRect kList(130, 60, 420, 380);

} // namespace

class TestFilesE2e : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        PANEL_FIXTURE_START(f_.start({{QStringLiteral("M1"), 40, 100, 30}, {QStringLiteral("M2"), 60, 120, 30}}, &why));
    }

    void manager()
    {
        QVERIFY(f_.picture("files-main") && f_.walk({"3>dialogide"}, "files-manager"));
        const QImage manager(XServer::picture("files-manager"));
        QVERIFY(!manager.isNull() && manager.copy(kList) != QImage(XServer::picture("files-main")).copy(kList));
        QVERIFY(f_.walk({"Down", "c>QMDialogYN"}, "files-send-question"));
        QVERIFY(f_.walk({"Return>QMDialogC"}, "files-sent"));
        QVERIFY(f_.sim().send(QStringLiteral("state")).contains(QStringLiteral("job M2")));
        QVERIFY(f_.walk({"Return>dialogide"}));
        QTRY_VERIFY_WITH_TIMEOUT(f_.panel().output().contains("\nM2\n"), 3000); // the main window loaded it
    }

    void stick()
    {
        QVERIFY(TestBytes::writeFile(f_.file("/dev/scsi/host0/bus0/target0/lun0/part1"), {}));
        for (const char *ext : {".cnt", ".pat"})
            QVERIFY(TestBytes::writeFile(f_.file(QStringLiteral("/mnt/usb/S1.") + QString::fromLatin1(ext + 1).toUpper()),
                                         TestBytes::readFile(f_.file("/mnt/ide/knit/wave/M2/M2") + ext)));
        QVERIFY(f_.walk({"a>inputdirdialog"}, "files-import"));
        QVERIFY(f_.walk({"Return>QMDialogC"}, "files-imported") && QFileInfo::exists(f_.file("/mnt/ide/knit/wave/S1/S1.wrk")));
        QVERIFY(f_.walk({"Return>dialogide", "b>outputfiledialog"}, "files-export"));
        QVERIFY(f_.walk({"Escape>dialogide", "m>dialogdel"}, "files-delete"));
        QVERIFY(f_.walk({"Escape>dialogide", "Escape>wave"}));
        QVERIFY(TestBytes::readFile(f_.file("/var/log/system-actions.log")).endsWith("rmmod usb-storage\n"));
    }

    // The formatting pages from the more page (key 7, H, password), each run to its end: the
    // stick's (C) and the flash disk's (B).
    void formatPages()
    {
        QVERIFY(TestBytes::writeFile(f_.file("/mnt/ide/knit/tools/mkdosfs"), "tool"));
        QVERIFY(f_.walk({"7>extsyspara", "h>QIDialog", "7063", "Return>extsyspara"}));
        for (const char *page : {"stick", "flash"}) {
            const bool stick = QLatin1String(page) == QLatin1String("stick");
            const QByteArray pageClass = stick ? "UDiskFormatDialog" : "HDiskFormatDialog";
            QVERIFY(f_.walk({QString::fromLatin1((stick ? "c>" : "b>") + pageClass)}));
            QVERIFY(f_.walk({"e>QMDialogYN"}, qPrintable(QStringLiteral("format-%1-question").arg(QLatin1String(page)))));
            QVERIFY(f_.walk({QString::fromLatin1("Return>" + pageClass)}));
            QVERIFY(QTest::qWaitFor([&] { return formatted(page); }, 10000));
            QVERIFY(f_.picture(qPrintable(QStringLiteral("format-%1").arg(QLatin1String(page)))));
            // The page ignores Escape until its last step (saving, the capacity) is through:
            // pressed again while the page still has the keyboard, never once it has gone.
            QVERIFY(QTest::qWaitFor([&] {
                if (f_.x().focus().name == pageClass && !f_.x().key(QStringLiteral("Escape")))
                    return false;
                return f_.waitForWindow("extsyspara", {}, 3000);
            }, 30000));
        }
        QVERIFY(f_.walk({"Escape>wave"}));
        QVERIFY(QFileInfo::exists(f_.file("/mnt/ide/knit/wave")) && !QFileInfo::exists(f_.file("/mnt/ide/knit/wave/M1")));
        QVERIFY(QFileInfo::exists(f_.file("/mnt/ide/knit/para/checksystem.sys")));
    }

private:
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
