// The disk file manager and the stick dialogs against knitsim, answered by the modal driver.
// Faults caught: F3 commands out of order, missing or extra (a piece reset for the same job),
// uploads not byte-exact, a job made current although an upload was refused or group 12 left
// open, or not made current although the controller took it; an import that misses a
// mixed-case extension, mangles a GBK name, writes anything for a name that is not one plain
// name, ignores F7/F8, or damages the old job when it fails midway; the stick mounted with the
// wrong partition or character set, or left mounted; an export under the wrong name bytes or
// not byte-exact; F8 that deletes the wrong job or keeps a deleted one current; case forms
// tried in the wrong order; size texts off at a boundary; a job left unsent, or a controller
// that did not answer, passed over without a message.
#include "modaldriver.h"
#include "simprocess.h"
#include "testbytes.h"
#include "testroot.h"
#include "testtable.h"

#include "data/defaultblocks.h"
#include "data/machinedata.h"
#include "files/diskfilemanager.h"
#include "logic/files/filetexts.h"
#include "logic/mainwin/startupexchange.h"
#include "platform/atomicfile.h"
#include "platform/nativefs.h"
#include "platform/systemactions.h"
#include "ui/joblistview.h"
#include "ui/operatordialogs.h"
#include "ui/transferdialog.h"

#include <QDateTime>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using TestBytes::readFile;

namespace {

const QByteArray kGbkName("\xb2\xe2\xca\xd4"); // 测试

QByteArray program(int rows, char fill) { return TestBytes::withChecksum(QByteArray((rows + 1) * 128, fill)); }
QByteArray pattern(int width, int height)
{
    QByteArray p(width / 2 * (height + 1), '\x11');
    p[0] = char(width), p[1] = 0, p[2] = char(height), p[3] = 0;
    return TestBytes::withChecksum(p);
}

} // namespace

class TestFileManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("KNIT_TIMEOUT_SCALE", "0.05");
        QVERIFY2(sim_.start(), qPrintable(sim_.error()));
        QVERIFY(root_.makeJob(QStringLiteral("J1"), 20, 100, 20) && root_.makeJob(QStringLiteral("J2"), 30, 120, 20));
        QVERIFY(initWorkParams(machine_) == 1);
        QVERIFY(TestBytes::writeFile(root_.file("/dev/scsi/host0/bus0/target0/lun0/part1"), {}) && QDir().mkpath(root_.file("/mnt/usb")));
        machine_.setJobName(QStringLiteral("J1"));
        page_ = std::make_unique<DiskFileManager>(machine_, nullptr, nullptr, false); // the driver answers only its dialogs
        QVERIFY(shownActive(page_.get()));
    }

    // A job made by knitjob lists its time, not "error"; F4 on it (no picture) says so instead
    // of opening an empty viewer.
    void noPicture()
    {
        QTreeWidgetItem *j2 = page_->list()->findItem(QStringLiteral("J2"), 0);
        QVERIFY(j2);
        QVERIFY2(QDateTime::fromString(j2->text(1), QStringLiteral("yyyy-MM-dd hh:mm:ss")).isValid(), qPrintable(j2->text(1)));
        ModalDriver driver;
        driver.pressOk();
        press(Qt::Key_F4);
        QCOMPARE(driver.texts, QStringList{QStringLiteral("该编织文件没有图片文件 !")});
    }

    // F3 on another job, on the current one, and on one whose upload the controller refuses.
    void send()
    {
        QSignalSpy current(page_.get(), &DiskFileManager::jobChosen);
        const QStringList upload{"cmd 26/21/0", "cmd 20/c/1", "WRQ J2.wrk", "WRQ J2.cnt", "WRQ J2.pat", "cmd 20/c/0"};
        const QStringList reset{"cmd 20/1/1", "cmd 22/1/16", "cmd 22/1/19", "cmd 20/1/0"};
        for (const bool again : {false, true}) {
            QVERIFY(sim_.command(QStringLiteral("journal clear")));
            page_->list()->findItem(QStringLiteral("J2"), 0);
            ModalDriver driver;
            driver.pressOk().pressOk();
            press(Qt::Key_C);
            QCOMPARE(driver.texts, QStringList({"确定选择该编织文件: J2", "选择 J2 成功 !"}));
            QCOMPARE(sim_.traffic(), upload + (again ? QStringList() : reset) + QStringList{"RRQ file.knt"});
            QCOMPARE(current.takeLast(), QVariantList{QStringLiteral("J2")});
        }
        for (const char *ext : {".wrk", ".cnt", ".pat"})
            KNIT_COMPARE_BYTES(readFile(sim_.file(QStringLiteral("J2") + ext)), readFile(root_.file(QStringLiteral("/mnt/ide/knit/wave/J2/J2") + ext)));
        QVERIFY(sim_.send(QStringLiteral("state")).contains(QStringLiteral("job J2")));
        QVERIFY(sim_.send(QStringLiteral("state")).contains(QStringLiteral("value 1 22 1")));
        QCOMPARE(machine_.controllerState().toByteArray(), readFile(sim_.file(QStringLiteral("file.knt"))));

        QVERIFY(sim_.command(QStringLiteral("fault error J1.cnt")));
        page_->list()->findItem(QStringLiteral("J1"), 0);
        ModalDriver driver;
        driver.pressOk().pressOk();
        press(Qt::Key_F3);
        QVERIFY(sim_.command(QStringLiteral("fault clear")));
        QCOMPARE(driver.texts.value(1), QStringLiteral("上传cnt文件失败 !"));
        QCOMPARE(machine_.jobName(), QStringLiteral("J2"));
        QVERIFY(current.isEmpty());
        const QStringList state = sim_.send(QStringLiteral("state"));
        QVERIFY(state.contains(QStringLiteral("job J2")) && !state.contains(QStringLiteral("open 12")));

        // Uploaded and group 12 closed, the running state's fetch refused: the controller knits
        // J1, so the panel names it and says what failed.
        QVERIFY(sim_.command(QStringLiteral("fault error file.knt")));
        driver.texts.clear();
        driver.pressOk().pressOk();
        press(Qt::Key_F3);
        QVERIFY(sim_.command(QStringLiteral("fault clear")));
        QCOMPARE(driver.texts.value(1), QStringLiteral("获得配置文件失败 !"));
        QVERIFY(sim_.send(QStringLiteral("state")).contains(QStringLiteral("job J1")));
        QCOMPARE(machine_.jobName(), QStringLiteral("J1"));
        QCOMPARE(current.takeLast(), QVariantList{QStringLiteral("J1")});
        machine_.setJobName(QStringLiteral("J2"));
        QVERIFY(sim_.command(QStringLiteral("set job J2")));
    }

    // Where the current job's files may not have reached the controller, the operator is told
    // once; nothing of the job is sent after the fault.
    void faultTold_data()
    {
        // fault: knitsim's command
        TestTable::columns<QString, QString, QString>("fault", "action", "message");
        QTest::addRow("re-import while running") << "set motostatus 1" << "import" << "新导入文件未上传到主控制器, 请停止后按F3上传 !";
        QTest::addRow("F3, group 12 unanswered") << "fault refuse 0x20 12" << "F3" << "与主控制器连接失败, 请检查通信线路 !";
        QTest::addRow("start-up upload refused") << "fault error J1.cnt" << "start-up" << "上传cnt文件失败 !";
    }
    void faultTold()
    {
        auto [fault, action, message] = TestTable::fetch<QString, QString, QString>("fault", "action", "message");
        const QString current = machine_.jobName();
        // Start-up takes the name from the controller.
        machine_.setJobName(action == QLatin1String("start-up") ? QString() : QStringLiteral("J1"));
        const QByteArray usb = QFile::encodeName(root_.file("/mnt/usb/"));
        QVERIFY(AtomicFile::saveNative(usb + "J1.cnt", program(20, 5)) && AtomicFile::saveNative(usb + "J1.pat", pattern(100, 20)));
        QVERIFY(root_.writeReferences(sim_.file(QStringLiteral("file.sys")), sim_.file(QStringLiteral("config.cfg"))));
        QVERIFY(sim_.command(QStringLiteral("set job J1")) && sim_.command(QStringLiteral("journal clear")) && sim_.command(fault));
        ModalDriver driver;
        if (action == QLatin1String("import"))
            driver.select("J1.cnt").postClick("Benter");
        for (int i = 0; i < 14; ++i) // a stick import, then JobSender::kTries refusals
            driver.pressOk();
        if (action == QLatin1String("start-up")) {
            StartupExchange::Operator op;
            op.tell = [this](const QString &text) { showMessage(page_.get(), text); };
            StartupExchange(machine_, op, StartupExchange::Link::controller(TransferDialog::withController())).run();
        } else {
            page_->list()->findItem(QStringLiteral("J1"), 0);
            press(action == QLatin1String("F3") ? Qt::Key_F3 : Qt::Key_F1);
        }
        QVERIFY(sim_.command(QStringLiteral("fault clear")) && sim_.command(QStringLiteral("set motostatus 0")));
        machine_.setJobName(current);
        QCOMPARE(driver.texts.filter(message).size(), 1);
        QCOMPARE(driver.texts.last(), message);
        QCOMPARE(sim_.traffic().filter(QStringLiteral("WRQ J1.pat")), QStringList());
    }

    // F1 from a stick: mixed-case extensions with F7 and F8, a GBK name, a refused name; the
    // stick mounted from its one partition with code page 936 and unmounted afterwards.
    void import()
    {
        const QByteArray usb = QFile::encodeName(root_.file("/mnt/usb/"));
        const QByteArray wrk(1556, '\x07');
        for (const auto &f : {std::pair<QByteArray, QByteArray>{"ABC.CNT", program(40, 1)}, {"ABC.Pat", pattern(64, 9)},
                              {"ABC.wRK", wrk}, {"abc.xXx", "pic"}, {"ABC.xXx", "picture"}, {kGbkName + ".cNt", program(5, 2)},
                              {kGbkName + ".pAT", pattern(32, 4)}, {".cnt", program(5, 3)}})
            QVERIFY(AtomicFile::saveNative(usb + f.first, f.second));
        SystemActions::clearRecorded();
        {
            ModalDriver driver;
            driver.select("ABC.CNT").inspect([](QWidget *page) {
                QTest::keyClick(page, Qt::Key_G);
                QTest::keyClick(page, Qt::Key_F8);
            });
            driver.postClick("Benter").pressOk();
            press(Qt::Key_F1);
            QCOMPARE(driver.texts.value(1), QStringLiteral("导入编织文件成功 !"));
        }
        const QString abc = root_.file("/mnt/ide/knit/wave/ABC/ABC");
        KNIT_COMPARE_BYTES(readFile(abc + ".cnt"), program(40, 1));
        QCOMPARE(readFile(abc + ".wrk"), wrk);
        QCOMPARE(readFile(abc + ".xxx"), QByteArray("picture"));
        QVERIFY(readFile(abc + ".txt").size() == 19);
        QCOMPARE(page_->list()->currentName(), QStringLiteral("ABC"));
        const QString stick = root_.file("/dev/scsi/host0/bus0/target0/lun0/part1") + QLatin1Char(' ') + root_.file("/mnt/usb");
        QCOMPARE(SystemActions::recorded().mid(0, 4), QStringList({"umount " + root_.file("/mnt/usb"), "rmmod usb-storage",
                                                                   "insmod " + root_.file("/usr/driver/usb-storage.o"),
                                                                   "mount -t vfat -o codepage=936,iocharset=cp936 " + stick}));
        QCOMPARE(SystemActions::recorded().mid(SystemActions::recorded().size() - 2),
                 QStringList({"umount " + root_.file("/mnt/usb"), "rmmod usb-storage"}));

        ModalDriver gbk;
        gbk.select(".cnt").postClick("Benter").pressOk();
        gbk.select(QStringLiteral("测试.cNt")).postClick("Benter").pressOk();
        press(Qt::Key_A);
        QCOMPARE(gbk.texts.value(1), QStringLiteral("编织文件名称不正确, 导入失败 !"));
        QCOMPARE(gbk.texts.value(3), QStringLiteral("导入编织文件成功 !"));
        KNIT_COMPARE_BYTES(readFile(root_.file("/mnt/ide/knit/wave/测试/测试.pat")), pattern(32, 4));
        QCOMPARE(readFile(root_.file("/mnt/ide/knit/wave/测试/测试.wrk")), readFile(root_.file("/tmp/default.wrk")));
        QCOMPARE(QDir(root_.file("/mnt/ide/knit/wave")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList({"ABC", "J1", "J2", "测试"}));
    }

    // An overwrite whose pattern copy fails: the old job stays whole, nothing staged is left.
    void failedOverwrite()
    {
        const QByteArray usb = QFile::encodeName(root_.file("/mnt/usb/"));
        QVERIFY(AtomicFile::saveNative(usb + "J2.cnt", program(3, 4)) && AtomicFile::saveNative(usb + "J2.pat", pattern(200, 40)));
        const QStringList before = TestBytes::listTree(root_.file("/mnt/ide/knit/wave"));
        QTimer closer; // the copy dialog waits for Exit after a write error
        connect(&closer, &QTimer::timeout, [] {
            QWidget *w = QApplication::activeModalWidget();
            for (QLabel *l : qobject_cast<FileOperateDialog *>(w) ? w->findChildren<QLabel *>() : QList<QLabel *>()) {
                if (l->text().contains(QStringLiteral("错误")))
                    return w->findChild<QAbstractButton *>(QStringLiteral("Button_quit"))->click();
            }
        });
        closer.start(20);
        AtomicFile::setWriteLimitForTesting(2000);
        ModalDriver driver;
        driver.select("J2.cnt").postClick("Benter").pressOk().pressOk().escape();
        press(Qt::Key_F1);
        AtomicFile::setWriteLimitForTesting(-1);
        QCOMPARE(driver.texts.mid(1, 2), QStringList({"该编织文件已经存在, 是否覆盖 ?", "导入pat文件失败 !"}));
        QCOMPARE(TestBytes::listTree(root_.file("/mnt/ide/knit/wave")), before);
    }

    // F2 of the GBK-named job under UTF-8 names and a stick without partitions, then F8.
    void exportAndDelete()
    {
        QVERIFY(TestBytes::writeFile(root_.file("/usr/driver/nls_utf8.o"), "m"));
        QVERIFY(QFile::remove(root_.file("/dev/scsi/host0/bus0/target0/lun0/part1")));
        SystemActions::clearRecorded();
        page_->list()->findItem(QStringLiteral("测试"), 0);
        {
            ModalDriver driver;
            driver.postClick("Benter").pressOk();
            press(Qt::Key_B);
            QCOMPARE(driver.texts.value(1), QStringLiteral("导出文件完毕 !"));
        }
        QVERIFY(SystemActions::recorded().contains("mount -t vfat -o iocharset=utf8 " + root_.file("/dev/scsi/host0/bus0/target0/lun0/disc")
                                                   + ' ' + root_.file("/mnt/usb")));
        for (const char *ext : {".cnt", ".pat", ".wrk", ".txt"})
            QCOMPARE(readFile(root_.file("/mnt/usb/测试/测试") + ext), readFile(root_.file("/mnt/ide/knit/wave/测试/测试") + ext));

        QSignalSpy current(page_.get(), &DiskFileManager::jobChosen);
        page_->list()->findItem(QStringLiteral("ABC"), 0);
        ModalDriver yes;
        yes.pressOk().pressOk();
        press(Qt::Key_H);
        QVERIFY(!QFileInfo::exists(root_.file("/mnt/ide/knit/wave/ABC")));
        QCOMPARE(page_->list()->currentName(), QStringLiteral("J1")); // the one below, not the current job
        QVERIFY(current.isEmpty());
        page_->list()->findItem(QStringLiteral("J2"), 0);
        press(Qt::Key_F8);
        QVERIFY(!QFileInfo::exists(root_.file("/mnt/ide/knit/wave/J2")));
        QCOMPARE(machine_.jobName(), QString());
        QCOMPARE(current.takeFirst(), QVariantList{QString()});
    }

    void cleanupTestCase()
    {
        page_.reset();
        NativeFs::remove(QFile::encodeName(root_.file("/mnt/usb"))); // GBK names are beyond QDir
    }

    void sizeString_data()
    {
        TestTable::columns<qint64, QString>("bytes", "text");
        QTest::addRow("1024") << qint64(1024) << "1024 B";
        QTest::addRow("1025") << qint64(1025) << "1.0 K";
        QTest::addRow("2^20") << (qint64(1) << 20) << "1024.0 K";
        QTest::addRow("2^20 + 1") << (qint64(1) << 20) + 1 << "1.0 M";
        QTest::addRow("2^30") << (qint64(1) << 30) << "1024.0 M";
        QTest::addRow("2^30 + 1") << (qint64(1) << 30) + 1 << "1.0 G";
    }
    void sizeString()
    {
        auto [bytes, text] = TestTable::fetch<qint64, QString>("bytes", "text");
        QCOMPARE(FileTexts::sizeString(bytes), text);
    }

private:
    // The offscreen platform leaves the page inactive after a dialog closed; its keys are
    // shortcuts of the active window.
    void press(Qt::Key key)
    {
        QVERIFY(shownActive(page_.get()));
        QTest::keyClick(page_.get(), key);
    }

    TestRoot root_;
    SimProcess sim_;
    MachineData machine_;
    std::unique_ptr<DiskFileManager> page_;
};

QTEST_MAIN(TestFileManager)
#include "test_filemanager.moc"
