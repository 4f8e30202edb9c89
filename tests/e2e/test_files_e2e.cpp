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
        QVERIFY(f_.x().keys({}, "files-main") && f_.walk({"3+"}, "files-manager"));
        const QImage manager(XServer::picture("files-manager"));
        QVERIFY(!manager.isNull() && manager.copy(kList) != QImage(XServer::picture("files-main")).copy(kList));
        QVERIFY(f_.switchWith({"Down", "c"}) && f_.x().keys({}, "files-send-question"));
        QVERIFY(f_.x().keys({"Return"}));
        QTRY_VERIFY_WITH_TIMEOUT(f_.sim().send(QStringLiteral("state")).contains(QStringLiteral("job M2")), 10000);
        QVERIFY(f_.x().keys({}, "files-sent"));
        QVERIFY(f_.switchWith({"Return"}));
        QTRY_VERIFY_WITH_TIMEOUT(f_.panel().output().contains("\nM2\n"), 3000); // the main window loaded it
    }

    void stick()
    {
        QVERIFY(TestBytes::writeFile(f_.file("/dev/scsi/host0/bus0/target0/lun0/part1"), {}));
        for (const char *ext : {".cnt", ".pat"})
            QVERIFY(TestBytes::writeFile(f_.file(QStringLiteral("/mnt/usb/S1.") + QString::fromLatin1(ext + 1).toUpper()),
                                         TestBytes::readFile(f_.file("/mnt/ide/knit/wave/M2/M2") + ext)));
        QVERIFY(f_.switchWith({"a"}) && f_.x().keys({}, "files-import"));
        QVERIFY(f_.x().keys({"Return"}));
        QVERIFY(f_.waitForFile(f_.file("/mnt/ide/knit/wave/S1/S1.wrk")));
        QVERIFY(f_.waitForMessage() && f_.x().keys({}, "files-imported"));
        QVERIFY(f_.switchWith({"Return"}));
        QVERIFY(f_.switchWith({"b"}) && f_.x().keys({}, "files-export"));
        QVERIFY(f_.switchWith({"Escape"}));
        QVERIFY(f_.walk({"m+"}, "files-delete"));
        QVERIFY(f_.walk({"Escape+", "Escape+"}));
        QVERIFY(TestBytes::readFile(f_.file("/var/log/system-actions.log")).endsWith("rmmod usb-storage\n"));
    }

    // The formatting pages from the more page (key 7, H, password), each run to its end: the
    // stick's (C) and the flash disk's (B).
    void formatPages()
    {
        QVERIFY(TestBytes::writeFile(f_.file("/mnt/ide/knit/tools/mkdosfs"), "tool"));
        QVERIFY(f_.walk({"7+", "h+", "7063", "Return+"}, "format-menu"));
        for (const char *page : {"stick", "flash"}) {
            QVERIFY(f_.switchWith({QLatin1String(page) == "stick" ? "c" : "b"}));
            QVERIFY(f_.walk({"e+"}, qPrintable(QStringLiteral("format-%1-question").arg(QLatin1String(page)))));
            QVERIFY(f_.x().keys({"Return"}));
            QVERIFY(QTest::qWaitFor([&] { return formatted(page); }, 10000));
            QVERIFY(f_.x().keys({}, qPrintable(QStringLiteral("format-%1").arg(QLatin1String(page)))));
            // The page ignores Escape until its last step (saving, the capacity) is through:
            // pressed again while the page still has the keyboard, never once it has gone.
            const QByteArray formatPage = f_.x().focusWindow();
            QVERIFY(QTest::qWaitFor([&] {
                if (f_.x().focusWindow() == formatPage && !f_.x().key(QStringLiteral("Escape")))
                    return false;
                return f_.waitForFocusOff(formatPage, 3000);
            }, 30000));
        }
        QVERIFY(f_.x().keys({"Escape"}));
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
