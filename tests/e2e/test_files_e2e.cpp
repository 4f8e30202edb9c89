// The file pages in the real knitpanel against knitsim under a private X server, worked by
// keys as an operator would, with the guide's pictures: quick function 3 opens the disk file
// manager, F3 sends another job, F1 imports one from the stick, F2 and M open the export and
// deletion pages; then the two formatting pages from the system tools menu's more page.
// Faults caught: key 3 not registered or the manager not taking the keyboard; a job sent
// without the main screen loading it; an import that does not reach the disk or leaves the
// stick mounted; a formatting chain that stops or never starts under a real event loop.
#include "panelprocess.h"
#include "portoffset.h"
#include "simprocess.h"
#include "testbytes.h"
#include "testroot.h"
#include "xserver.h"

#include <QImage>
#include <QTest>

#include <memory>

namespace {

const QRect kList(130, 60, 420, 380);

} // namespace

class TestFilesE2e : public QObject
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
    }
    void cleanupTestCase() { panel_.stop(); }

    void manager()
    {
        QVERIFY(x_.keys({}, "files-main") && x_.keys({"3"}, "files-manager"));
        const QImage manager(XServer::picture("files-manager"));
        QVERIFY(!manager.isNull() && manager.copy(kList) != QImage(XServer::picture("files-main")).copy(kList));
        QVERIFY(x_.keys({"Down", "c"}, "files-send-question"));
        QVERIFY(x_.keys({"Return"}, nullptr, 3000));
        QVERIFY(x_.keys({}, "files-sent"));
        QVERIFY(x_.keys({"Return"}));
        QVERIFY(sim_.send(QStringLiteral("state")).contains(QStringLiteral("job M2")));
        QTRY_VERIFY_WITH_TIMEOUT(panel_.output().contains("\nM2\n"), 3000); // the main window loaded it
    }

    void stick()
    {
        QVERIFY(TestBytes::writeFile(root_->file("/dev/scsi/host0/bus0/target0/lun0/part1"), {}));
        for (const char *ext : {".cnt", ".pat"})
            QVERIFY(TestBytes::writeFile(root_->file(QStringLiteral("/mnt/usb/S1.") + QString::fromLatin1(ext + 1).toUpper()),
                                         TestBytes::readFile(root_->file("/mnt/ide/knit/wave/M2/M2") + ext)));
        QVERIFY(x_.keys({"a"}, "files-import", 800));
        QVERIFY(x_.keys({"Return"}, "files-imported", 1500));
        QVERIFY(x_.keys({"Return"}));
        QVERIFY(QFileInfo::exists(root_->file("/mnt/ide/knit/wave/S1/S1.wrk")));
        QVERIFY(x_.keys({"b"}, "files-export", 800));
        QVERIFY(x_.keys({"Escape"}));
        QVERIFY(x_.keys({"m"}, "files-delete"));
        QVERIFY(x_.keys({"Escape", "Escape"}));
        QVERIFY(TestBytes::readFile(root_->file("/var/log/system-actions.log")).endsWith("rmmod usb-storage\n"));
    }

    // The formatting pages from the more page (key 7, H, password), each run to its end: the
    // stick's (C) and the flash disk's (B).
    void formatPages()
    {
        QVERIFY(TestBytes::writeFile(root_->file("/mnt/ide/knit/tools/mkdosfs"), "tool"));
        QVERIFY(x_.keys({"7", "h", "7", "0", "6", "3", "Return"}, "format-menu"));
        for (const char *page : {"stick", "flash"}) {
            QVERIFY(x_.keys({QLatin1String(page) == "stick" ? "c" : "b"}, nullptr, 800));
            QVERIFY(x_.keys({"e"}, qPrintable(QStringLiteral("format-%1-question").arg(QLatin1String(page)))));
            QVERIFY(x_.keys({"Return"}, qPrintable(QStringLiteral("format-%1").arg(QLatin1String(page))), 5000));
            QVERIFY(x_.keys({"Escape"}));
        }
        QVERIFY(x_.keys({"Escape"}));
        QVERIFY(QFileInfo::exists(root_->file("/mnt/ide/knit/wave")) && !QFileInfo::exists(root_->file("/mnt/ide/knit/wave/M1")));
        QVERIFY(QFileInfo::exists(root_->file("/mnt/ide/knit/para/checksystem.sys")));
    }

private:
    std::unique_ptr<TestRoot> root_;
    XServer x_;
    SimProcess sim_;
    PanelProcess panel_;
};

QTEST_GUILESS_MAIN(TestFilesE2e)

#include "test_files_e2e.moc"
